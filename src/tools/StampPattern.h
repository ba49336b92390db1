#pragma once

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
