// Writes FOLDER/sample.mqm, 16 x 16 cells showing the sample tileset's 64 tiles in turn, with the tileset
// copied beside it: a map for the package check to thumbnail, export and have the desktop recognise.
// usage: sample_map FOLDER SAMPLE_TILES_PNG
#include "MapCorpus.h"
#include "document/MapFileWriter.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const QDir folder(QFile::decodeName(argv[1]));
    const QString tiles = folder.filePath(QStringLiteral("sample-tiles.png"));
    QFile::remove(tiles);
    if (!QFile::copy(QFile::decodeName(argv[2]), tiles))
        return 1;
    const MapFileResult saved = MapFile::Save(MapCorpus::ManyLoadsOfOneImage(tiles, 64, 32),
                                              folder.filePath(QStringLiteral("sample.mqm")));
    if (!saved.ok())
        std::fprintf(stderr, "%s\n", qPrintable(saved.reason));
    return saved.ok() ? 0 : 1;
}
