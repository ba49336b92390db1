#include "document/ReadMapFile.h"

#include "document/MapFileReader.h"

MapFileResult ReadMapFile(const QString& path, MapSnapshot* map, const MapFileProgress& progress) {
    return MapFile::Open(path, map, progress);
}
