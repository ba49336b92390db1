#include "tools/ToolGeometry.h"

#include "platform/ScrollMath.h"

#include <algorithm>

CellBounds PaintableCells(int canvasWidth, int canvasHeight, int tileWidth, int tileHeight, int picWidth,
                          int picHeight) {
    CellBounds bounds;
    // A cell left of the canvas shows when its picture reaches past the left edge.
    bounds.left = PixelToCell(-std::max(picWidth, 1), tileWidth);
    bounds.top = PixelToCell(-std::max(picHeight, 1), tileHeight);
    bounds.right = PixelToCell(std::max(canvasWidth - 1, 0), tileWidth);
    bounds.bottom = PixelToCell(std::max(canvasHeight - 1, 0), tileHeight);
    return bounds;
}
