#pragma once

#include <algorithm>
#include <cstdint>

// Every tool paints with a stamp of w x h cells laid as a pattern over the map, anchored at the cell where
// the stroke was pressed: cells one stamp apart take the same stamp cell, so strokes that cross their own
// footprint write what is already there and never smear the stamp.

// The non-negative remainder of a by m (m > 0): -1 mod 3 is 2, not -1.
constexpr int FloorMod(std::int64_t a, int m) {
    const std::int64_t r = a % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// Which cell of the stamp goes to map cell (c, r) when the pattern is anchored at (c0, r0): the stamp's cell
// ((c - c0) mod w, (r - r0) mod h). 64-bit differences, so no pair of int cells can overflow.
struct StampCell {
    int column;
    int row;
    bool operator==(const StampCell&) const = default;
};
constexpr StampCell PatternCell(int c, int r, int c0, int r0, int w, int h) {
    return {FloorMod(std::int64_t{c} - c0, w), FloorMod(std::int64_t{r} - r0, h)};
}

// The stamp column of the cell steps to the right of one whose stamp column is column (steps >= 0): the same
// as PatternCell's, with a division only where the run wraps past the stamp's width w.
constexpr int PatternColumnOn(int column, int steps, int w) {
    const int k = column + steps;
    return k < w ? k : w == 1 ? 0 : k % w;
}

// The cells of a stamp's footprint that lie on the canvas, along one axis, as [first, end): the footprint is
// cells long and begins at visible cell at, a cell is side pixels and the canvas canvasPixels. Only these
// are drawn in a preview: a pasted piece may be many times the canvas's size.
struct CellSpan {
    int first;
    int end;
};
constexpr CellSpan ShownCells(std::int64_t at, int cells, int side, int canvasPixels) {
    const std::int64_t onCanvas = (std::int64_t{canvasPixels} + side - 1) / side;
    return {static_cast<int>(std::clamp<std::int64_t>(-at, 0, cells)),
            static_cast<int>(std::clamp<std::int64_t>(onCanvas - at, 0, cells))};
}
