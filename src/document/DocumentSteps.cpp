#include "document/DocumentSteps.h"

#include "tiles/CellPool.h"

CellsStep::CellsStep(MapDocument& document, const QString& text, CellChanges&& changes)
    : m_document(document), m_changes(std::move(changes)) {
    setText(text);
}

void CellsStep::undo() {
    m_changes.ExchangeAll(m_document.m_layers, true);
    m_document.AnnounceCells(m_changes.Bounds());
    if (m_selectionMove)
        emit m_document.selectionRestored(m_selectionMove->first);
}

void CellsStep::redo() {
    m_changes.ExchangeAll(m_document.m_layers, false);
    m_document.AnnounceCells(m_changes.Bounds());
    if (m_selectionMove)
        emit m_document.selectionRestored(m_selectionMove->second);
}

SettingsStep::SettingsStep(MapDocument& document, const MapSettingsValues& other,
                           std::array<LayerGrid, 8>&& grids, bool gridsChanged)
    : m_document(document), m_other(other), m_grids(std::move(grids)), m_gridsChanged(gridsChanged) {
    setText(QStringLiteral("Apply"));
}

void SettingsStep::Exchange() {
    m_document.ExchangeSettings(m_other, m_gridsChanged ? &m_grids : nullptr);
    // The grids kept here hold every cell of their size; those the map no longer holds live only here.
    m_gridBytes = 0;
    if (!m_gridsChanged)
        return;
    for (const LayerGrid& grid : m_grids) {
        m_gridBytes += grid.Count() * sizeof(CellRef);
        for (std::uint32_t i = 0; i < grid.Count(); ++i)
            if (const CellRef& cell = grid.AtIndex(i); cell && cell.use_count() == 1)
                m_gridBytes += CellPool::kSlotSize;
    }
}

VisibilityStep::VisibilityStep(MapDocument& document, std::uint8_t other)
    : m_document(document), m_other(other) {}

TilesetLoadStep::TilesetLoadStep(MapDocument& document, const QString& text, int firstTile)
    : m_document(document), m_firstTile(firstTile) {
    setText(text);
}

void TilesetLoadStep::undo() {
    m_document.TakeTiles(m_firstTile, m_tiles, m_loads);
}

void TilesetLoadStep::redo() {
    m_document.RestoreTiles(m_tiles, m_loads);
}

namespace {
// Memory of tiles that only a step keeps: each tile, its template and its picture.
std::size_t TileBytes(const std::vector<TileRef>& tiles) {
    std::size_t bytes = 0;
    for (const TileRef& tile : tiles)
        bytes += sizeof(clsVOTile) + CellPool::kSlotSize +
                 (tile->Image() ? tile->Image()->Image().sizeInBytes() : 0);
    return bytes;
}
} // namespace

std::size_t TilesetLoadStep::Bytes() const {
    return sizeof(*this) + TileBytes(m_tiles);
}

TilesRemovalStep::TilesRemovalStep(MapDocument& document, const QString& text) : m_document(document) {
    setText(text);
}

void TilesRemovalStep::undo() {
    m_document.RestoreTiles(m_tiles, m_loads);
}

void TilesRemovalStep::redo() {
    m_document.TakeTiles(0, m_tiles, m_loads);
}

std::size_t TilesRemovalStep::Bytes() const {
    return sizeof(*this) + TileBytes(m_tiles);
}

TilePropertiesStep::TilePropertiesStep(MapDocument& document, const QString& text, TileRef tile,
                                       CellRef other, CellChanges&& changes)
    : m_document(document), m_tile(std::move(tile)), m_template(std::move(other)),
      m_changes(std::move(changes)) {
    setText(text);
}

void TilePropertiesStep::undo() {
    m_changes.ExchangeAll(m_document.m_layers, true);
    m_document.ExchangeTemplate(*m_tile, m_template);
    m_document.AnnounceCells(m_changes.Bounds());
}

void TilePropertiesStep::redo() {
    m_changes.ExchangeAll(m_document.m_layers, false);
    m_document.ExchangeTemplate(*m_tile, m_template);
    m_document.AnnounceCells(m_changes.Bounds());
}

std::size_t TilePropertiesStep::Bytes() const {
    return sizeof(*this) + CellPool::kSlotSize + m_changes.Bytes();
}
