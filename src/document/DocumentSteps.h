#pragma once

#include "document/CellChanges.h"
#include "document/History.h"
#include "document/MapDocument.h"

// The steps of the history, one kind per kind of change. Each keeps what the document does not hold while
// it is done (or undone) and exchanges it with the document: the same exchange takes the step back and
// makes it again.

// Cells written by one edit: a stroke, a shape, a fill.
class CellsStep : public HistoryStep {
public:
    CellsStep(MapDocument& document, const QString& text, CellChanges&& changes);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override { return sizeof(*this) + m_changes.Bytes(); }
    void SetSelectionMove(const QRect& before, const QRect& after) { m_selectionMove = {before, after}; }

private:
    MapDocument& m_document;
    CellChanges m_changes;
    std::optional<std::pair<QRect, QRect>> m_selectionMove;
};

// Apply: the settings and, when the size or the layers in use changed, the grids as they were.
class SettingsStep : public HistoryStep {
public:
    SettingsStep(MapDocument& document, const MapSettingsValues& other, std::array<LayerGrid, 8>&& grids,
                 bool gridsChanged);
    void undo() override { Exchange(); }
    void redo() override { Exchange(); }
    // Makes the change for the first time.
    void Exchange();
    std::size_t Bytes() const override { return sizeof(*this) + m_gridBytes; }

private:
    MapDocument& m_document;
    MapSettingsValues m_other;
    std::array<LayerGrid, 8> m_grids;
    bool m_gridsChanged;
    std::size_t m_gridBytes = 0;
};

// A layer shown or hidden.
class VisibilityStep : public HistoryStep {
public:
    VisibilityStep(MapDocument& document, std::uint8_t other);
    void undo() override { m_document.ExchangeVisibility(m_other); }
    void redo() override { m_document.ExchangeVisibility(m_other); }
    std::size_t Bytes() const override { return sizeof(*this); }

private:
    MapDocument& m_document;
    std::uint8_t m_other;
};

// Tiles appended by a tileset load. Undone, the tiles leave the tileset (cells showing them stay and draw as
// empty) and wait here to come back.
class TilesetLoadStep : public HistoryStep {
public:
    TilesetLoadStep(MapDocument& document, const QString& text, int firstTile);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override;

private:
    MapDocument& m_document;
    int m_firstTile;
    std::vector<TileRef> m_tiles;
    std::vector<TilesetLoadRecord> m_loads;
};

// Remove Tiles: the whole tileset and the records of its loads wait here while the step is done.
class TilesRemovalStep : public HistoryStep {
public:
    TilesRemovalStep(MapDocument& document, const QString& text);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override;

private:
    MapDocument& m_document;
    std::vector<TileRef> m_tiles;
    std::vector<TilesetLoadRecord> m_loads;
};

// Tile Properties: the tile's other template cell (the old one while the step is done), and the placed cells
// that took the new values with it.
class TilePropertiesStep : public HistoryStep {
public:
    TilePropertiesStep(MapDocument& document, const QString& text, TileRef tile, CellRef other,
                       CellChanges&& changes);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override;
    CellRef& Template() { return m_template; }
    std::array<QRect, 8> Bounds() const { return m_changes.Bounds(); }
    std::size_t CellCount() const { return m_changes.CellCount(); }

private:
    MapDocument& m_document;
    TileRef m_tile;
    CellRef m_template;
    CellChanges m_changes;
};
