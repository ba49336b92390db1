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
    std::array<std::uint64_t, 8> revisions{};
    bool valid = false;
    // Every drawn picture sat at its own cell and fitted in it, so a cell can be recomposed on its own.
    bool regular = false;
    // The canvas buffer equals the composition everywhere outside overlay.
    bool bufferInSync = false;
    QRect overlay;
};
