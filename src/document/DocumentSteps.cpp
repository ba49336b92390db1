#include "document/DocumentSteps.h"

CellsStep::CellsStep(MapDocument& document, const QString& text, CellChanges&& changes)
    : m_document(document), m_changes(std::move(changes)) {
    setText(text);
}

void CellsStep::undo() {
    m_changes.ExchangeAll(m_document.MutableLayers(), true);
    m_document.AnnounceCells(m_changes.Bounds());
}

void CellsStep::redo() {
    m_changes.ExchangeAll(m_document.MutableLayers(), false);
    m_document.AnnounceCells(m_changes.Bounds());
}

SettingsStep::SettingsStep(MapDocument& document, const MapSettingsValues& other,
                           std::array<LayerGrid, 8>&& grids, bool gridsChanged)
    : m_document(document), m_other(other), m_grids(std::move(grids)), m_gridsChanged(gridsChanged) {
    setText(QStringLiteral("Apply"));
}

void SettingsStep::Exchange() {
    m_document.ExchangeSettings(m_other, m_gridsChanged ? &m_grids : nullptr);
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
