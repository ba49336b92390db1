#include "document/ExportPlan.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

// The parts of a snapshot come from one document and always fit; a snapshot that does not is refused rather
// than written as a file whose gids point at the wrong tiles.
QString Inconsistency(const MapSnapshot& map) {
    if (map.mapWidth < 1 || map.mapHeight < 1 || map.tileWidth < 1 || map.tileHeight < 1 || map.layers < 1 ||
        map.layers > int(map.layer.size()))
        return QStringLiteral("the map's size, tile size or number of layers is out of range");
    const auto cells = std::size_t(map.mapWidth) * std::size_t(map.mapHeight);
    for (int k = 0; k < map.layers; ++k)
        if (map.layer[k].tiles.size() != cells)
            return QStringLiteral("layer %1 does not hold one value per cell of the map").arg(k);
    int nextTile = 0;
    for (const TilesetLoadRecord& load : map.loads) {
        if (load.firstTile != nextTile || load.tileCount < 0)
            return QStringLiteral("the tileset's loads do not follow each other from tile 0");
        if (load.tileCount > 0) {
            if (load.tileWidth < 1 || load.tileHeight < 1 || load.imageWidth < load.tileWidth ||
                load.imageHeight < load.tileHeight ||
                qint64(load.imageWidth / load.tileWidth) * (load.imageHeight / load.tileHeight) <
                    load.tileCount)
                return QStringLiteral("the load of %1 claims more tiles than its image holds")
                    .arg(load.absolutePath);
            if (load.absolutePath.isEmpty())
                return QStringLiteral("a tileset image has no known place");
        }
        nextTile += load.tileCount;
    }
    return {};
}

// Gives the object a cell becomes, or nothing when its tile is gone or it has its tile's game properties.
std::optional<CellObject> ObjectOf(const ExportPlan& plan, const ExportLayer& layer,
                                   const CellException& cell) {
    const MapSnapshot& map = *plan.map;
    const std::vector<std::uint16_t>& tiles = layer.cells->tiles;
    if (cell.index >= tiles.size() || GidOfTileValue(tiles[cell.index], plan.tileExists) == 0)
        return std::nullopt;
    auto properties = DifferingGameProperties(cell.record, map.templates[tiles[cell.index] - 1]);
    if (properties.empty())
        return std::nullopt;
    CellObject object;
    object.column = int(cell.index % std::uint32_t(map.mapWidth));
    object.row = int(cell.index / std::uint32_t(map.mapWidth));
    object.x = (object.column + 0.5) * map.tileWidth;
    object.y = (object.row + 0.5) * map.tileHeight;
    object.properties = {{QLatin1String("column"), PropertyType::Int, object.column, {}},
                         {QLatin1String("row"), PropertyType::Int, object.row, {}}};
    object.properties.insert(object.properties.end(), properties.begin(), properties.end());
    return object;
}

// Which tiles exist: those a load covers, as far as the templates go, whose image is there.
TileExistence TilesThatExist(const MapSnapshot& map) {
    const int loadedTiles = map.loads.empty() ? 0 : map.loads.back().firstTile + map.loads.back().tileCount;
    const int tileCount = int(std::min<qint64>(loadedTiles, qint64(map.templates.size())));
    TileExistence exists(std::size_t(tileCount), 1);
    for (const TilesetLoadRecord& load : map.loads)
        if (load.imageMissing)
            for (int i = load.firstTile; i < std::min(load.firstTile + load.tileCount, tileCount); ++i)
                exists[std::size_t(i)] = 0;
    return exists;
}

// One tileset per load with tiles left, its image named relative to the exported file's folder; nothing,
// with failure saying why, when an image has no such path.
std::optional<std::vector<ExportTileset>> PlanTilesets(const MapSnapshot& map, int tileCount,
                                                       const QString& exportPath, QString& failure) {
    std::vector<ExportTileset> tilesets;
    const QDir exportFolder = QFileInfo(exportPath).absoluteDir();
    for (const TilesetLoadRecord& load : map.loads) {
        // Tiles past the tileset's count are gone, and with them a load none of whose tiles is left.
        const int tiles = std::clamp(tileCount - load.firstTile, 0, load.tileCount);
        if (tiles == 0 || load.imageMissing)
            continue;
        ExportTileset tileset;
        tileset.firstGid = load.firstTile + 1;
        tileset.name = QFileInfo(load.absolutePath).completeBaseName();
        tileset.source = exportFolder.relativeFilePath(QDir::cleanPath(load.absolutePath));
        if (QDir::isAbsolutePath(tileset.source)) {
            failure = QStringLiteral("%1 has no path relative to the exported file's folder")
                          .arg(QDir::toNativeSeparators(load.absolutePath));
            return std::nullopt;
        }
        tileset.imageWidth = load.imageWidth;
        tileset.imageHeight = load.imageHeight;
        tileset.tileWidth = load.tileWidth;
        tileset.tileHeight = load.tileHeight;
        tileset.tileCount = tiles;
        tileset.columns = load.imageWidth / load.tileWidth;
        for (int local = 0; local < tiles; ++local)
            if (!HasInitialGameProperties(map.templates[std::size_t(load.firstTile + local)]))
                tileset.tilesWithProperties.push_back(local);
        tilesets.push_back(std::move(tileset));
    }
    return tilesets;
}

// Every layer, with the ids of its object group and objects when it has cells unlike their tiles, and the
// cells whose tile is gone counted.
void PlanLayers(ExportPlan& plan) {
    const MapSnapshot& map = *plan.map;
    int objects = 0;
    for (int k = 0; k < map.layers; ++k) {
        ExportLayer layer;
        layer.number = k;
        layer.id = k + 1;
        layer.visible = (map.visibleLayers >> k) & 1;
        layer.cells = &map.layer[std::size_t(k)];
        for (const std::uint16_t value : layer.cells->tiles)
            plan.goneCells += value != 0 && GidOfTileValue(value, plan.tileExists) == 0;
        for (const CellException& cell : layer.cells->exceptions)
            layer.objectCount += ObjectOf(plan, layer, cell).has_value();
        if (layer.objectCount > 0) {
            layer.objectGroupId = map.layers + k + 1;
            layer.firstObjectId = objects + 1;
            objects += layer.objectCount;
        }
        plan.nextLayerId = std::max({plan.nextLayerId, layer.id + 1, layer.objectGroupId + 1});
        plan.layers.push_back(layer);
    }
    plan.nextObjectId = objects + 1;
}

} // namespace

std::optional<ExportPlan> PlanExport(const MapSnapshot& map, const QString& exportPath, QString& failure) {
    failure = Inconsistency(map);
    if (!failure.isEmpty())
        return std::nullopt;
    ExportPlan plan;
    plan.map = &map;
    plan.tileExists = TilesThatExist(map);
    auto tilesets = PlanTilesets(map, int(plan.tileExists.size()), exportPath, failure);
    if (!tilesets)
        return std::nullopt;
    plan.tilesets = std::move(*tilesets);
    PlanLayers(plan);
    return plan;
}

void ForEachCellObject(const ExportPlan& plan, const ExportLayer& layer,
                       const std::function<void(const CellObject&)>& visit) {
    int id = layer.firstObjectId;
    for (const CellException& cell : layer.cells->exceptions)
        if (auto object = ObjectOf(plan, layer, cell)) {
            object->id = id++;
            visit(*object);
        }
}

QString PixelText(double pixels) {
    return QString::number(pixels, 'f', pixels == std::floor(pixels) ? 0 : 1);
}
