#pragma once

// A rectangle of cells, all four bounds inclusive.
struct CellBounds {
    int left;
    int top;
    int right;
    int bottom;
};

// The cells whose pictures can reach a canvas of the given size: a picture of picWidth x picHeight drawn at
// (column x tileWidth, row x tileHeight). Previews paint only these; the rest could never show.
CellBounds PaintableCells(int canvasWidth, int canvasHeight, int tileWidth, int tileHeight, int picWidth,
                          int picHeight);

// True when the cell lies within the bounds (inclusive).
inline bool Contains(const CellBounds& bounds, long long column, long long row) {
    return column >= bounds.left && column <= bounds.right && row >= bounds.top && row <= bounds.bottom;
}
