#pragma once

#include "tools/ToolGeometry.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Cells and preview frame of the rectangle tool, dragged from a start corner to the current corner.

// The rectangle between two dragged corners, whichever way the drag went.
CellBounds NormaliseCorners(int ax, int ay, int cx, int cy);

// Calls visit(column, row) for the cells of shape that lie inside clip, rows top to bottom and columns left
// to right, all of them when filled, only the border when outlineOnly. Only clipped cells are ever walked
// (and for the outline only the clipped border), so a drag far beyond the view costs no more than the view.
template <class Visit>
void ForEachRectCell(const CellBounds& shape, bool outlineOnly, const CellBounds& clip, Visit&& visit) {
    // 64-bit counters so a bound of INT_MAX still ends its loop.
    const std::int64_t left = std::max(shape.left, clip.left);
    const std::int64_t right = std::min(shape.right, clip.right);
    const std::int64_t top = std::max(shape.top, clip.top);
    const std::int64_t bottom = std::min(shape.bottom, clip.bottom);
    if (left > right || top > bottom)
        return;
    for (std::int64_t row = top; row <= bottom; ++row) {
        const int r = static_cast<int>(row);
        if (!outlineOnly || r == shape.top || r == shape.bottom) {
            for (std::int64_t column = left; column <= right; ++column)
                visit(static_cast<int>(column), r);
            continue;
        }
        // Inside the clipped range the only border cells of an inner row are its two end columns.
        if (shape.left >= left)
            visit(shape.left, r);
        if (shape.right != shape.left && shape.right <= right)
            visit(shape.right, r);
    }
}

// One bar of the preview frame in pixels; width and height may be negative, the painter normalises them.
// 64-bit, so a far-off drag keeps its true edges; the painter clips them to the picture.
struct FrameBar {
    std::int64_t x;
    std::int64_t y;
    std::int64_t width;
    std::int64_t height;
};

// The preview frame around the dragged cells of tw x th pixels: four outer bars, then, for outlines big
// enough to have a hollow, inner bars tracing the inside edge.
std::vector<FrameBar> RectFrameBars(int ax, int ay, int cx, int cy, int tw, int th, bool withInnerFrame);
