// Writes FOLDER/sample.mqm, a map painted with the sample tileset, and copies the tileset beside it: a map
// for the package check to thumbnail, export and have the desktop recognise.
// usage: sample_map FOLDER SAMPLE_TILES_PNG
#include "document/MapFileWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const QDir folder(QFile::decodeName(argv[1]));
    const QString tiles = folder.filePath(QStringLiteral("sample-tiles.png"));
    QFile::remove(tiles);
    QFile source(QFile::decodeName(argv[2]));
    if (!source.open(QIODevice::ReadOnly) || !QFile::copy(source.fileName(), tiles))
        return 1;
    MapSnapshot map;
    map.mapWidth = 40;
    map.mapHeight = 30;
    map.layers = 2;
    map.visibleLayers = 3;
    map.name = QStringLiteral("Sample");
    map.templates.resize(64);
    TilesetLoadRecord load;
    load.relativePath = QStringLiteral("sample-tiles.png");
    load.absolutePath = tiles;
    load.tileWidth = load.tileHeight = 32;
    load.imageWidth = load.imageHeight = 256;
    load.tileCount = 64;
    load.contentHash = QCryptographicHash::hash(source.readAll(), QCryptographicHash::Sha256);
    map.loads.push_back(load);
    for (int k = 0; k < 2; ++k)
        map.layer[std::size_t(k)].tiles.resize(std::size_t(map.mapWidth * map.mapHeight));
    for (int i = 0; i < map.mapWidth * map.mapHeight; ++i) {
        map.layer[0].tiles[std::size_t(i)] = std::uint16_t(1 + (i / 7) % 16);
        map.layer[1].tiles[std::size_t(i)] = i % 11 == 0 ? std::uint16_t(33 + i % 8) : 0;
    }
    const MapFileResult saved = MapFile::Save(map, folder.filePath(QStringLiteral("sample.mqm")));
    if (!saved.ok())
        std::fprintf(stderr, "%s\n", qPrintable(saved.reason));
    return saved.ok() ? 0 : 1;
}
