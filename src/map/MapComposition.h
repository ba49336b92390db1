#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>

// Everything the composed map picture (black ground, visible layers, grid) depends on besides the cells.
struct MapViewKey {
    QSize canvas;
    int tileWidth = 0;
    int tileHeight = 0;
    // Percent.
    int zoom = 100;
    int offsetX = 0;
    int offsetY = 0;
    int mapWidth = 0;
    int mapHeight = 0;
    int visibleColumns = 0;
    int visibleRows = 0;
    unsigned shownLayers = 0;
    bool grid = false;
    int tileCount = 0;
    bool operator==(const MapViewKey&) const = default;
};

// The layers as last composed, kept so that a Draw on a mouse move only repaints the cursor, and a change of
// a few cells recomposes only those cells.
struct MapComposition {
    QImage image;
    MapViewKey key;
    bool valid = false;
    // Every drawn picture sat at its own cell and fitted in it, so a cell can be recomposed on its own.
    bool regular = false;
    // The canvas buffer equals the composition everywhere outside overlay.
    bool bufferInSync = false;
    QRect overlay;

    // Cells changed since the last composition, in map columns and rows. Kept in a fixed number of
    // rectangles (a change is noted while the document is being changed, where nothing may fail); beyond
    // them, everything is composed anew.
    static constexpr int kMaxChanges = 64;
    std::array<QRect, kMaxChanges> changed{};
    int changedCount = 0;
    bool allChanged = false;

    void MarkChanged(const QRect& cells) noexcept {
        if (allChanged || cells.isEmpty())
            return;
        if (changedCount == kMaxChanges) {
            allChanged = true;
            return;
        }
        changed[static_cast<std::size_t>(changedCount++)] = cells;
    }
    void MarkAllChanged() noexcept { allChanged = true; }
    void ClearChanges() noexcept {
        changedCount = 0;
        allChanged = false;
    }
};
