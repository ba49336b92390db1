#include "document/ForeignMap.h"

#include "document/MapSettings.h"
#include "document/MapSnapshotCheck.h"

#include <QFileInfo>
#include <algorithm>

namespace {

constexpr int kMaxTiles = 32768;
constexpr int kMaxLayers = 8;

QString Counted(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

std::int16_t ClampedShort(qint64 value) {
    return std::int16_t(std::clamp<qint64>(value, INT16_MIN, INT16_MAX));
}

} // namespace

QStringList ImportReport::Notes() const {
    QStringList notes;
    if (flippedTiles > 0)
        notes << Counted(flippedTiles, "flipped or rotated tile placed unflipped",
                         "flipped or rotated tiles placed unflipped");
    if (flattenedGroups > 0)
        notes << Counted(flattenedGroups, "group of layers flattened", "groups of layers flattened");
    if (skippedLayers > 0)
        notes << Counted(skippedLayers, "object or image layer skipped", "object or image layers skipped");
    if (skippedObjects > 0)
        notes << Counted(skippedObjects, "object skipped", "objects skipped");
    if (ignoredLayerLooks > 0)
        notes << Counted(ignoredLayerLooks, "layer's opacity, offset or tint ignored",
                         "layers' opacity, offsets or tints ignored");
    if (unknownTiles > 0)
        notes << Counted(unknownTiles, "cell left empty: its tile is in no tileset",
                         "cells left empty: their tiles are in no tileset");
    return notes;
}

void SortTiles(ForeignTileset& tileset) {
    auto& tiles = tileset.tiles;
    std::stable_sort(tiles.begin(), tiles.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The last of equal ids holds: keep it in the first one's place.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (kept > 0 && tiles[kept - 1].first == tiles[i].first)
            tiles[kept - 1] = std::move(tiles[i]);
        else
            tiles[kept++] = std::move(tiles[i]);
    }
    tiles.resize(kept);
}

bool SetGameProperty(CellRecord& record, const QString& name, const QVariant& value) {
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    const auto setNumber = [&](std::int16_t& field) {
        if (ok)
            field = ClampedShort(number);
        else if (value.typeId() == QMetaType::Bool)
            field = value.toBool();
    };
    if (name == QLatin1String("passable"))
        record.passable = value.toBool();
    else if (name == QLatin1String("destroyable"))
        record.destroyable = value.toBool();
    else if (name == QLatin1String("prop_width"))
        setNumber(record.width);
    else if (name == QLatin1String("prop_height"))
        setNumber(record.height);
    else if (name == QLatin1String("list_index"))
        setNumber(record.listIndex);
    else if (name == QLatin1String("image_value"))
        setNumber(record.imageValue);
    else if (name == QLatin1String("custom1"))
        record.custom1 = value.toString();
    else if (name == QLatin1String("custom2"))
        record.custom2 = value.toString();
    else
        return false;
    return true;
}

QString ForeignMapBuilder::Begin(const QString& orientation, bool infinite, qint64 width, qint64 height,
                                 qint64 tileWidth, qint64 tileHeight) {
    if (!orientation.isEmpty() && orientation != QLatin1String("orthogonal"))
        return QStringLiteral("its orientation is %1; only orthogonal maps can be shown")
            .arg(orientation.left(20));
    if (infinite)
        return QStringLiteral("it is an infinite map; only maps of a fixed size can be shown");
    if (width < 1 || height < 1 || tileWidth < 1 || tileHeight < 1)
        return QStringLiteral("it is damaged: its map size or tile size is missing or not above 0");
    if (width > kMaxMapSide || height > kMaxMapSide || width * height > kMaxMapCells)
        return QStringLiteral("its size %1 × %2 is beyond the limits (%3 cells on a side, %4 cells a layer)")
            .arg(width)
            .arg(height)
            .arg(kMaxMapSide)
            .arg(kMaxMapCells);
    if (tileWidth > kMaxTileSide || tileHeight > kMaxTileSide)
        return QStringLiteral("its tiles of %1 × %2 pixels are larger than the limit of %3")
            .arg(tileWidth)
            .arg(tileHeight)
            .arg(kMaxTileSide);
    m_map = MapSnapshot();
    m_map.mapWidth = int(width);
    m_map.mapHeight = int(height);
    m_map.tileWidth = int(tileWidth);
    m_map.tileHeight = int(tileHeight);
    m_map.visibleLayers = 0;
    m_cells = width * height;
    m_begun = true;
    return {};
}

QString ForeignMapBuilder::AddTileset(qint64 firstGid, const ForeignTileset& tileset) {
    const QString name =
        tileset.name.isEmpty() ? QStringLiteral("%1").arg(m_ranges.size() + 1) : tileset.name.left(64);
    if (!m_begun || m_layers > 0)
        return QStringLiteral("it is damaged: a tileset comes after its layers");
    if (firstGid < 1 || firstGid > 0x0FFFFFFF || (!m_ranges.empty() && firstGid <= m_ranges.back().firstGid))
        return QStringLiteral("it is damaged: its tilesets' first gids are not in ascending order");
    if (m_ranges.size() >= std::size_t(kMaxTiles))
        return QStringLiteral("it has more than %1 tilesets").arg(kMaxTiles);
    if (tileset.collection || tileset.image.isEmpty())
        return QStringLiteral("its tileset %1 is a collection of separate images, which cannot be shown")
            .arg(name);
    if (tileset.spacing != 0 || tileset.margin != 0)
        return QStringLiteral(
                   "its tileset %1 has spacing or a margin around its tiles, which cannot be shown")
            .arg(name);
    if (tileset.tileWidth != m_map.tileWidth || tileset.tileHeight != m_map.tileHeight)
        return QStringLiteral("its tileset %1 has tiles of %2 × %3 pixels, not the map's %4 × %5")
            .arg(name)
            .arg(tileset.tileWidth)
            .arg(tileset.tileHeight)
            .arg(m_map.tileWidth)
            .arg(m_map.tileHeight);
    const QString notPng = QStringLiteral("the image of its tileset %1 is not a PNG image").arg(name);
    const ImageFacts facts = m_probe(tileset.image);
    TilesetLoadRecord load;
    load.absolutePath = tileset.image;
    load.tileWidth = tileset.tileWidth;
    load.tileHeight = tileset.tileHeight;
    if (facts.found) {
        if (!facts.png)
            return notPng;
        load.imageWidth = facts.width;
        load.imageHeight = facts.height;
    } else {
        // A missing image is asked about when the map is opened; its tiles keep their places meanwhile.
        if (QFileInfo(tileset.image).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) != 0)
            return notPng;
        const int columns = std::clamp(tileset.columns, 0, 65536);
        const int rows =
            columns > 0 ? (std::clamp(tileset.tileCount, 0, kMaxTiles) + columns - 1) / columns : 0;
        load.imageWidth = tileset.imageWidth > 0 ? tileset.imageWidth : columns * tileset.tileWidth;
        load.imageHeight = tileset.imageHeight > 0 ? tileset.imageHeight : rows * tileset.tileHeight;
    }
    const qint64 count = qint64(load.imageWidth / load.tileWidth) * (load.imageHeight / load.tileHeight);
    const qint64 first = qint64(m_map.templates.size());
    if (first + count > kMaxTiles)
        return QStringLiteral("its tilesets hold more than %1 tiles").arg(kMaxTiles);
    load.firstTile = int(first);
    load.tileCount = int(count);
    m_map.loads.push_back(load);
    m_map.templates.resize(std::size_t(first + count));
    // Sorted: only the tiles the image has are visited, however many the tileset lists.
    for (auto tile = tileset.tiles.begin(); tile != tileset.tiles.end() && tile->first < count; ++tile)
        if (tile->first >= 0)
            m_map.templates[std::size_t(first + tile->first)] = tile->second;
    m_ranges.push_back({firstGid, int(first) + 1, int(count)});
    return {};
}

QString ForeignMapBuilder::BeginLayer(const QString& name, qint64 declaredWidth, qint64 declaredHeight,
                                      bool visible) {
    if (m_layers == kMaxLayers)
        return QStringLiteral("it has more than %1 tile layers").arg(kMaxLayers);
    if (declaredWidth != m_map.mapWidth || declaredHeight != m_map.mapHeight)
        return QStringLiteral("its layer %1 is not the map's size").arg(name.left(64));
    m_tiles = &m_map.layer[std::size_t(m_layers)].tiles;
    m_tiles->clear();
    m_tiles->reserve(std::size_t(m_cells));
    if (visible)
        m_map.visibleLayers |= std::uint8_t(1u << m_layers);
    m_inLayer = true;
    return {};
}

QString ForeignMapBuilder::EndLayer() {
    m_inLayer = false;
    if (qint64(m_tiles->size()) != m_cells)
        return QStringLiteral("it is damaged: layer %1 holds %2 cells instead of %3")
            .arg(m_layers)
            .arg(m_tiles->size())
            .arg(m_cells);
    ++m_layers;
    return {};
}

std::uint16_t ForeignMapBuilder::TileOf(std::uint32_t gid) {
    const std::uint32_t id = gid & 0x0FFFFFFFu;
    if (id == 0)
        return 0;
    if (gid & 0xF0000000u)
        ++m_report.flippedTiles;
    const auto fits = [&](std::size_t t) {
        return m_ranges[t].firstGid <= id && (t + 1 == m_ranges.size() || id < m_ranges[t + 1].firstGid);
    };
    if (m_lastRange >= m_ranges.size() || !fits(m_lastRange)) {
        const auto after =
            std::upper_bound(m_ranges.begin(), m_ranges.end(), qint64(id),
                             [](qint64 value, const Range& range) { return value < range.firstGid; });
        if (after == m_ranges.begin()) {
            ++m_report.unknownTiles;
            return 0;
        }
        m_lastRange = std::size_t(after - m_ranges.begin()) - 1;
    }
    const Range& range = m_ranges[m_lastRange];
    const qint64 local = qint64(id) - range.firstGid;
    if (local >= range.count) {
        ++m_report.unknownTiles;
        return 0;
    }
    return std::uint16_t(range.firstValue + local);
}

bool ForeignMapBuilder::CellObject(const std::vector<std::pair<QString, QVariant>>& properties) {
    qint64 column = -1;
    qint64 row = -1;
    for (const auto& [name, value] : properties) {
        const bool isColumn = name == QLatin1String("column");
        if (!isColumn && name != QLatin1String("row"))
            continue;
        bool ok = false;
        const qint64 number = value.toLongLong(&ok);
        if (!ok)
            return false;
        (isColumn ? column : row) = number;
    }
    if (m_inLayer || m_layers == 0 || column < 0 || row < 0 || column >= m_map.mapWidth ||
        row >= m_map.mapHeight)
        return false;
    const int k = m_layers - 1;
    const auto index = std::uint32_t(row * m_map.mapWidth + column);
    const std::uint16_t value = m_map.layer[std::size_t(k)].tiles[index];
    if (value == 0)
        return false;
    CellRecord record = m_map.templates[value - 1u];
    CellRecord placed = record;
    for (const auto& [name, property] : properties)
        SetGameProperty(record, name, property);
    if (record == placed)
        return true;
    record.imageIndex = std::int16_t(value - 1);
    record.x = std::int32_t(column * m_map.tileWidth);
    record.y = std::int32_t(row * m_map.tileHeight);
    record.zOrder = std::uint8_t(k);
    m_exceptions[k].push_back({index, std::move(record)});
    return true;
}

QString ForeignMapBuilder::Finish(MapSnapshot* map, const QString& defaultName) {
    if (!m_begun)
        return QStringLiteral("it is damaged: it has no map");
    if (!m_named)
        m_map.name = defaultName;
    m_map.layers = std::max(m_layers, 1);
    if (m_layers == 0) {
        m_map.layer[0].tiles.assign(std::size_t(m_cells), 0);
        m_map.visibleLayers = 1;
    }
    for (int k = 0; k < m_layers; ++k) {
        std::vector<CellException>& cells = m_exceptions[k];
        std::stable_sort(cells.begin(), cells.end(),
                         [](const CellException& a, const CellException& b) { return a.index < b.index; });
        // The last object for a cell holds.
        std::vector<CellException>& kept = m_map.layer[std::size_t(k)].exceptions;
        for (CellException& cell : cells) {
            if (!kept.empty() && kept.back().index == cell.index)
                kept.back() = std::move(cell);
            else
                kept.push_back(std::move(cell));
        }
    }
    // What an import makes keeps every rule a map file's content keeps (texts within their limit, ...).
    if (QString problem = MapSnapshotCheck::Whole(m_map); !problem.isEmpty())
        return problem;
    *map = std::move(m_map);
    return {};
}
