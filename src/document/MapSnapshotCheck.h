#pragma once

#include "document/MapSnapshot.h"

#include <QString>
#include <vector>

// The rules every map file keeps (see the comments of MapSnapshot): the writer checks a map against them
// before it writes, so no file is made that could not be opened again, and the reader checks what it read.
// Each function returns the first rule broken, in a few words, or an empty text when all are kept.
namespace MapSnapshotCheck {

// A tile value that means something: empty, a tile number, or the odd-tile mark.
inline bool IsTileValue(std::uint16_t value) {
    return value <= 32768 || value == kOddTile;
}

QString Settings(int mapWidth, int mapHeight, int layers, int tileWidth, int tileHeight);
// layerNumber counts from 0; cells is mapWidth * mapHeight for a layer in use and 0 for one that is not.
QString Layer(const LayerSnapshot& layer, int layerNumber, qint64 cells);
QString Load(const TilesetLoadRecord& load);
// The loads in order with tileCount tiles in all.
QString Loads(const std::vector<TilesetLoadRecord>& loads, qint64 tileCount);
// Everything but the layers' data.
QString Header(const MapSnapshot& map);
QString Whole(const MapSnapshot& map);

} // namespace MapSnapshotCheck
