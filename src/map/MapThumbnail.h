#pragma once

#include "document/MapSnapshot.h"

#include <QImage>
#include <QString>
#include <vector>

// Small pictures of maps for file managers, drawn from what can be reached cheaply: each tile is shown as the
// average colour of its picture, which is all a cell is at the sizes file managers show.
namespace MapThumbnail {

// The colour a tile shows where its image cannot be reached.
constexpr QRgb kUnreached = 0xFF808080;

// Each tile's average colour (alpha included, not premultiplied), tile i at [i]. Each load's image is looked
// for beside the map, then where it was; one that cannot be read, or would take decoding more than
// pixelBudget pixels in all, leaves its tiles kUnreached. No content check: a changed image shows as it is
// now.
std::vector<QRgb> TileColours(const MapSnapshot& map, const QString& mapPath, qint64 pixelBudget);

// The map's shown layers over black, each cell its tile's colour, shrunk to fit size x size pixels (never
// enlarged past one pixel a map pixel).
QImage Draw(const MapSnapshot& map, const std::vector<QRgb>& tileColours, int size);

} // namespace MapThumbnail
