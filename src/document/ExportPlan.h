#pragma once

#include "document/GameProperties.h"
#include "document/MapSnapshot.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// What an export writes, worked out once from a snapshot and the target's place so that the TMX and the JSON
// writer say the same thing. The large parts (the layers' tile values, the cells' records) are not copied:
// the plan points into the snapshot, which must outlive it.

// Whether tile i exists: a template that a load covers whose image is there.
using TileExistence = std::vector<std::uint8_t>;

// The loads follow each other from tile 0, so tile i of the tileset is gid i + 1 in both formats and a tile
// value v (tile v - 1) is written as gid v. A cell whose tile is gone (a tile number the tileset no longer
// has, after Remove Tiles, a tile whose image is missing, or an odd tile) is written as 0.
inline std::uint32_t GidOfTileValue(std::uint16_t value, const TileExistence& exists) {
    const std::uint32_t tile = std::uint32_t(value) - 1u;
    return tile < exists.size() && exists[tile] ? value : 0u;
}

struct ExportTileset {
    int firstGid = 1;
    QString name;
    // The image's path relative to the exported file's folder, with '/' separators.
    QString source;
    int imageWidth = 0;
    int imageHeight = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    int tileCount = 0;
    int columns = 0;
    // Local ids of the tiles whose game properties are not all at their initial values, ascending.
    std::vector<int> tilesWithProperties;
};

struct ExportLayer {
    int number = 0;
    int id = 0;
    bool visible = true;
    const LayerSnapshot* cells = nullptr;
    // The layer's cells whose game properties differ from their tile's become point objects with these ids,
    // in a group of their own; a layer without such cells has no group (objectGroupId 0).
    int objectGroupId = 0;
    int firstObjectId = 0;
    int objectCount = 0;
};

// A cell exported as a point object: where it is and what it carries: its column and row, then the game
// properties in which it differs from its tile.
struct CellObject {
    int id = 0;
    int column = 0;
    int row = 0;
    // The cell's centre in pixels.
    double x = 0;
    double y = 0;
    std::vector<GameProperty> properties;
};

struct ExportPlan {
    const MapSnapshot* map = nullptr;
    TileExistence tileExists;
    std::vector<ExportTileset> tilesets;
    std::vector<ExportLayer> layers;
    int nextLayerId = 1;
    int nextObjectId = 1;
    // Cells written as 0 because their tile is gone.
    qint64 goneCells = 0;
};

// Checks that the snapshot's parts fit together and works out the plan for a file at exportPath; when they do
// not, or an image has no path relative to the export, returns nothing and says why in failure.
std::optional<ExportPlan> PlanExport(const MapSnapshot& map, const QString& exportPath, QString& failure);

// Calls visit for each of the layer's cells exported as a point object, in the order of their ids.
void ForEachCellObject(const ExportPlan& plan, const ExportLayer& layer,
                       const std::function<void(const CellObject&)>& visit);

// A pixel coordinate as text: whole numbers without a fraction, halves as "n.5".
QString PixelText(double pixels);
