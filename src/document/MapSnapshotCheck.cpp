#include "document/MapSnapshotCheck.h"

#include "document/MapFileFormat.h"
#include "document/MapSettings.h"

namespace MapSnapshotCheck {

namespace {

bool TextFits(const QString& text) {
    // Three UTF-8 bytes at most per UTF-16 unit: most texts need no conversion to be measured.
    return text.size() <= MapFileFormat::kMaxTextBytes / 3 ||
           text.toUtf8().size() <= MapFileFormat::kMaxTextBytes;
}

bool RecordFits(const CellRecord& record) {
    return TextFits(record.custom1) && TextFits(record.custom2);
}

} // namespace

QString Settings(int mapWidth, int mapHeight, int layers, int tileWidth, int tileHeight) {
    if (mapWidth < 1 || mapHeight < 1 || mapWidth > kMaxMapSide || mapHeight > kMaxMapSide ||
        qint64(mapWidth) * mapHeight > kMaxMapCells)
        return QStringLiteral("its map size %1 × %2 is beyond the limits (%3 on a side, %4 cells)")
            .arg(mapWidth)
            .arg(mapHeight)
            .arg(kMaxMapSide)
            .arg(kMaxMapCells);
    if (layers < 1 || layers > MapFileFormat::kMaxLayers)
        return QStringLiteral("it claims %1 layers").arg(layers);
    if (tileWidth < 1 || tileHeight < 1 || tileWidth > kMaxTileSide || tileHeight > kMaxTileSide)
        return QStringLiteral("its tile size %1 × %2 is beyond the limit of %3")
            .arg(tileWidth)
            .arg(tileHeight)
            .arg(kMaxTileSide);
    return {};
}

QString Layer(const LayerSnapshot& layer, int layerNumber, qint64 cells) {
    const QString which = QStringLiteral("layer %1").arg(layerNumber);
    if (qint64(layer.tiles.size()) != cells)
        return which + QStringLiteral(" holds %1 cells instead of %2").arg(layer.tiles.size()).arg(cells);
    qint64 oddTiles = 0;
    for (const std::uint16_t value : layer.tiles) {
        if (!IsTileValue(value))
            return which + QStringLiteral(" has a cell with the tile value %1").arg(value);
        oddTiles += value == kOddTile;
    }
    qint64 previous = -1;
    for (const CellException& exception : layer.exceptions) {
        if (qint64(exception.index) <= previous || exception.index >= cells)
            return which + QStringLiteral("'s cell properties are out of order or outside the map");
        if (layer.tiles[exception.index] == 0)
            return which + QStringLiteral(" has cell properties for an empty cell");
        if (!RecordFits(exception.record))
            return which + QStringLiteral(" has a cell text longer than the limit");
        oddTiles -= layer.tiles[exception.index] == kOddTile;
        previous = exception.index;
    }
    if (oddTiles != 0)
        return which + QStringLiteral(" has a cell with an odd tile and no properties of its own");
    return {};
}

QString Load(const TilesetLoadRecord& load) {
    if (!TextFits(load.relativePath) || !TextFits(load.absolutePath))
        return QStringLiteral("a tileset image's path is longer than the limit");
    if (load.tileWidth < 1 || load.tileHeight < 1 || load.tileWidth > kMaxTileSide ||
        load.tileHeight > kMaxTileSide || load.imageWidth < 0 || load.imageHeight < 0)
        return QStringLiteral("a tileset image's sizes are beyond the limits");
    // Empty: not known, for an image that was missing when the map was imported from another program.
    if (!load.contentHash.isEmpty() && load.contentHash.size() != MapFileFormat::kHashBytes)
        return QStringLiteral("a tileset image's content hash is not %1 bytes or none")
            .arg(MapFileFormat::kHashBytes);
    return {};
}

QString Loads(const std::vector<TilesetLoadRecord>& loads, qint64 tileCount) {
    if (loads.size() > std::size_t(MapFileFormat::kMaxTiles))
        return QStringLiteral("it has more than %1 tileset images").arg(MapFileFormat::kMaxTiles);
    qint64 next = 0;
    for (const TilesetLoadRecord& load : loads) {
        if (const QString problem = Load(load); !problem.isEmpty())
            return problem;
        if (load.firstTile != next || load.tileCount < 0 || load.tileCount > MapFileFormat::kMaxTiles)
            return QStringLiteral("its tileset images do not number their tiles one after the other");
        next += load.tileCount;
    }
    if (next != tileCount)
        return QStringLiteral("its tileset images give %1 tiles, but it has %2 tile properties")
            .arg(next)
            .arg(tileCount);
    return {};
}

namespace {

QString Leading(const MapSnapshot& map) {
    if (QString problem = Settings(map.mapWidth, map.mapHeight, map.layers, map.tileWidth, map.tileHeight);
        !problem.isEmpty())
        return problem;
    if (!TextFits(map.name))
        return QStringLiteral("its name is longer than the limit");
    return {};
}

QString Tiles(const MapSnapshot& map) {
    if (map.templates.size() > std::size_t(MapFileFormat::kMaxTiles))
        return QStringLiteral("it has more than %1 tiles").arg(MapFileFormat::kMaxTiles);
    for (const CellRecord& record : map.templates)
        if (!RecordFits(record))
            return QStringLiteral("a tile's text is longer than the limit");
    return Loads(map.loads, qint64(map.templates.size()));
}

} // namespace

QString Header(const MapSnapshot& map) {
    if (QString problem = Leading(map); !problem.isEmpty())
        return problem;
    return Tiles(map);
}

QString Whole(const MapSnapshot& map) {
    if (QString problem = Leading(map); !problem.isEmpty())
        return problem;
    const qint64 cells = qint64(map.mapWidth) * map.mapHeight;
    for (int k = 0; k < int(map.layer.size()); ++k)
        if (QString problem = Layer(map.layer[k], k, k < map.layers ? cells : 0); !problem.isEmpty())
            return problem;
    return Tiles(map);
}

} // namespace MapSnapshotCheck
