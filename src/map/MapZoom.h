#pragma once

#include <array>
#include <cstdint>

// The map view's zoom: the scales it can take and the arithmetic between map pixels, canvas pixels and cells.
// At 100 % a map cell is its tile size on the canvas; the other levels scale it.

// The zoom levels in percent, smallest first.
inline constexpr std::array<int, 5> kZoomLevels{25, 50, 100, 200, 400};

// The level steps levels away from percent (positive steps zoom in), held to the first and last level. A
// percent that is no level counts as 100.
int ZoomStepped(int percent, int steps);

// The canvas pixels one side of a cell takes at percent: the tile side scaled and rounded to the nearest
// pixel, at least 1. Zooming in multiplies exactly (200 % doubles, 400 % quadruples).
int ZoomedSide(int tileSide, int percent);

// Map pixels to canvas pixels, for a cell side of tileSide map pixels shown as viewSide canvas pixels; rounds
// towards minus infinity, so a cell placed at a whole number of tiles lands on a whole number of view cells.
std::int64_t MapToView(std::int64_t mapPixels, int tileSide, int viewSide);

// The map column (or row) shown at canvas pixel `pixel`, with cells of side canvas pixels and `offset` the
// first visible column: every handler that asks which cell is under the pointer asks this, at every zoom.
std::int64_t CanvasToMapCell(int pixel, int side, int offset);

// The first visible column (or row) that keeps map cell `cell` under canvas pixel `pixel`, with cells of side
// canvas pixels, held to 0 .. maximum (the scroll range).
int OffsetKeeping(std::int64_t cell, int pixel, int side, int maximum);
