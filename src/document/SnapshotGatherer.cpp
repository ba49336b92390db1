#include "document/SnapshotGatherer.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

SnapshotGatherer::SnapshotGatherer(const MapDocument& document, const QString& mapPath, Layers layers)
    : m_document(document) {
    const MapSettingsValues& settings = document.Settings();
    m_snapshot.mapWidth = settings.mapWidth;
    m_snapshot.mapHeight = settings.mapHeight;
    m_snapshot.layers = settings.layers;
    m_snapshot.tileWidth = settings.tileWidth;
    m_snapshot.tileHeight = settings.tileHeight;
    m_snapshot.name = settings.name;
    m_snapshot.visibleLayers = settings.visibleLayers;
    const clsVOTileset& tileset = document.Tileset();
    m_templates.reserve(static_cast<std::size_t>(tileset.Count()));
    m_snapshot.templates.reserve(static_cast<std::size_t>(tileset.Count()));
    for (int i = 0; i < tileset.Count(); ++i) {
        const clsVOCell& cell = tileset.GetTile(i)->Template();
        m_templates.push_back(&cell);
        m_snapshot.templates.push_back(RecordOf(cell));
    }
    const QDir folder = mapPath.isEmpty() ? QDir() : QFileInfo(mapPath).absoluteDir();
    for (TilesetLoadRecord load : document.Loads()) {
        load.relativePath = mapPath.isEmpty() ? QString() : folder.relativeFilePath(load.absolutePath);
        load.imageMissing = load.tileCount > 0;
        for (int i = load.firstTile; i < load.firstTile + load.tileCount && i < tileset.Count(); ++i)
            load.imageMissing = load.imageMissing && !tileset.GetTile(i)->Image();
        m_snapshot.loads.push_back(std::move(load));
    }
    const std::size_t cells =
        static_cast<std::size_t>(settings.mapWidth) * static_cast<std::size_t>(settings.mapHeight);
    for (int k = 0; k < settings.layers; ++k) {
        if (layers == Layers::Gathered)
            m_snapshot.layer[static_cast<std::size_t>(k)].tiles.resize(cells);
        m_total += static_cast<std::int64_t>(cells);
    }
}

bool SnapshotGatherer::Advance(std::int64_t cells) {
    const int width = m_snapshot.mapWidth;
    while (m_layer < m_snapshot.layers && cells > 0) {
        const LayerGrid& grid = m_document.Layer(m_layer);
        LayerSnapshot& layer = m_snapshot.layer[static_cast<std::size_t>(m_layer)];
        // A grid that never got its cells (memory ran out at start) holds none to gather.
        const auto end =
            grid.SizedTo(width, m_snapshot.mapHeight) ? static_cast<std::uint32_t>(layer.tiles.size()) : 0u;
        if (end == 0)
            m_done += static_cast<std::int64_t>(layer.tiles.size());
        const std::uint32_t stop =
            static_cast<std::uint32_t>(std::min<std::int64_t>(end, std::int64_t(m_index) + cells));
        GatherRange(m_layer, layer, m_index, stop);
        m_done += stop - m_index;
        cells -= stop - m_index;
        m_index = stop;
        if (m_index == end) {
            ++m_layer;
            m_index = 0;
        }
    }
    return m_layer >= m_snapshot.layers;
}

void SnapshotGatherer::GatherRange(int k, LayerSnapshot& layer, std::uint32_t from, std::uint32_t to) {
    const int width = m_snapshot.mapWidth;
    static const CellRecord kInitial;
    const LayerGrid& grid = m_document.Layer(k);
    for (std::uint32_t i = from; i < to; ++i) {
        const CellRef& cell = grid.AtIndex(i);
        if (!cell) {
            layer.tiles[i] = 0;
            continue;
        }
        const int image = cell->ImageIndex();
        const clsVOCell* tile =
            image >= 0 && image < static_cast<int>(m_templates.size()) ? m_templates[image] : nullptr;
        layer.tiles[i] = image >= 0 ? static_cast<std::uint16_t>(image + 1) : kOddTile;
        // Most cells hold their tile's template, shared; only the others are kept whole.
        const bool asPlaced =
            image >= 0 &&
            (cell.get() == tile || (tile ? cell->SameValues(*tile) : SameGameProperties(*cell, kInitial)));
        if (!asPlaced) {
            const int column = static_cast<int>(i % static_cast<std::uint32_t>(width));
            const int row = static_cast<int>(i / static_cast<std::uint32_t>(width));
            layer.exceptions.push_back({i, RecordOf(grid.At(column, row))});
        }
    }
}

void SnapshotGatherer::GatherLayer(int k, LayerSnapshot* layer) {
    layer->exceptions.clear();
    layer->tiles.assign(
        static_cast<std::size_t>(m_snapshot.mapWidth) * static_cast<std::size_t>(m_snapshot.mapHeight), 0);
    // A grid that never got its cells (memory ran out at start) holds none to gather.
    if (m_document.Layer(k).SizedTo(m_snapshot.mapWidth, m_snapshot.mapHeight))
        GatherRange(k, *layer, 0, static_cast<std::uint32_t>(layer->tiles.size()));
}

MapSnapshot TakeSnapshot(const MapDocument& document, const QString& mapPath) {
    SnapshotGatherer gatherer(document, mapPath);
    gatherer.Advance(std::numeric_limits<std::int64_t>::max());
    return gatherer.Take();
}
