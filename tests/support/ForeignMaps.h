#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// TMX and JSON maps as other programs write them, from the format's public description: every encoding of
// layer data, embedded or external tilesets. For the importer's tests, its benchmark and its fuzzers' seeds.
namespace ForeignMaps {

enum class Encoding { Csv, Base64, Zlib, Gzip, Zstd, TileElements };

struct Tileset {
    int firstGid = 1;
    // Relative to the map (or to the tileset file, when external).
    QString image;
    int tileSize = 16;
    int imageWidth = 0, imageHeight = 0;
    int spacing = 0;
    // Written to this file beside the map (.tsx or .tsj) when not empty.
    QString external;
    // Raw tile entries in the file's own format, e.g. <tile id="1">…</tile> or {"id":1,…}.
    QString tiles;
};

struct Layer {
    std::vector<std::uint32_t> gids;
    bool visible = true;
    // Raw attributes (TMX) or members (JSON, each with a leading comma).
    QString extra;
};

struct Map {
    int width = 4, height = 3;
    int tileSize = 16;
    QString orientation = QStringLiteral("orthogonal");
    bool infinite = false;
    // Written as the map property "name" when not null.
    QString name;
    std::vector<Tileset> tilesets;
    std::vector<Layer> layers;
    // Raw layers after the tile layers (object layers, groups...).
    QString after;
};

QByteArray Tmx(const Map& map, Encoding encoding);
QByteArray Tmj(const Map& map, Encoding encoding);
// The external tileset files the map names, written into folder. False when one could not be written.
bool WriteTilesets(const Map& map, bool json, const QString& folder);

} // namespace ForeignMaps
