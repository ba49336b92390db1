#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// A map as plain values: what a map file holds, what a recovery copy is made of and what an export reads.
// It holds no cells, no pictures and no widgets, so it can be gathered on the user-interface thread and
// written on another, and a file can be read into one and checked whole before the open map is touched.

// The twelve fields of one cell record, as values.
struct CellRecord {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t listIndex = 0;
    std::int16_t imageIndex = 0;
    std::int16_t imageValue = 0;
    QString custom1;
    QString custom2;
    std::uint8_t zOrder = 0;
    bool passable = false;
    bool destroyable = false;

    bool operator==(const CellRecord&) const = default;
};

// A placed cell whose record is not what its place and its tile make of it (see LayerSnapshot).
struct CellException {
    // row * mapWidth + column.
    std::uint32_t index = 0;
    CellRecord record;

    bool operator==(const CellException&) const = default;
};

// Tile values of a layer: 0 is an empty cell; v from 1 to 32768 is a cell showing tile v - 1; kOddTile marks
// a cell whose tile index is no tile number at all (below 0), which always has an exception.
constexpr std::uint16_t kOddTile = 0xFFFF;

// One layer. A cell at (column, row) with tile value v and no exception has the record of tile v - 1's
// template cell (a record with every field at its initial value when there is no such template), with
// imageIndex v - 1, x = column * tileWidth, y = row * tileHeight and zOrder = the layer's number. Every other
// placed cell is listed in exceptions with its whole record.
struct LayerSnapshot {
    // mapWidth * mapHeight values, row by row, each row left to right; empty for a layer not in use.
    std::vector<std::uint16_t> tiles;
    // In ascending index order, at most one per index, each at a position whose tile value is not 0.
    std::vector<CellException> exceptions;

    bool operator==(const LayerSnapshot&) const = default;
};

// One tileset image load: where the image came from and which tiles it gave.
struct TilesetLoadRecord {
    // To the map file's folder, with '/' separators (empty when the map has no file yet).
    QString relativePath;
    QString absolutePath;
    // The tile size the image was cut at.
    int tileWidth = 0;
    int tileHeight = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    // SHA-256 of the image file's bytes, 32 bytes.
    QByteArray contentHash;
    // The load's tiles are firstTile .. firstTile + tileCount - 1; loads follow each other without gaps.
    int firstTile = 0;
    int tileCount = 0;
    // The image was not found when the map was opened: its tiles are placeholders with no picture, and an
    // export writes cells showing them as empty. Not kept in map files: opening looks for the image again.
    bool imageMissing = false;

    bool operator==(const TilesetLoadRecord&) const = default;
};

struct MapSnapshot {
    int mapWidth = 100;
    int mapHeight = 100;
    // Layers in use, 1 to 8: layers 0 .. layers - 1 have tiles, the others none.
    int layers = 3;
    int tileWidth = 32;
    int tileHeight = 32;
    QString name;
    // Bit k set: layer k is shown.
    std::uint8_t visibleLayers = 1;
    std::array<LayerSnapshot, 8> layer;
    // Tile i's template cell is templates[i]; there are as many as the tileset has tiles, at most 32768.
    std::vector<CellRecord> templates;
    std::vector<TilesetLoadRecord> loads;

    bool operator==(const MapSnapshot&) const = default;
};
