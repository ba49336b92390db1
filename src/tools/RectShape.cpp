#include "tools/RectShape.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The outer and inner pixel edges of one axis: the start side and the current side of the drag.
struct AxisEdges {
    std::int64_t start;
    std::int64_t current;
    std::int64_t innerStart;
    std::int64_t innerCurrent;
};

// Dragging backwards puts the start cell on the far side, so its far edge (plus the bar) becomes the start.
AxisEdges EdgesOf(int a, int c, int size) {
    const std::int64_t s = size;
    AxisEdges e{};
    if (c < a) {
        e.start = a * s + s + 2;
        e.current = c * s - 2;
        e.innerStart = e.start - s - 2;
        e.innerCurrent = e.current + s + 2;
    } else {
        e.start = a * s;
        e.current = c * s + s;
        e.innerStart = e.start + s + 2;
        e.innerCurrent = e.current - s - 2;
    }
    return e;
}

FrameBar Bar(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    return {x, y, width, height};
}

} // namespace

CellBounds NormaliseCorners(int ax, int ay, int cx, int cy) {
    const auto [left, right] = std::minmax(ax, cx);
    const auto [top, bottom] = std::minmax(ay, cy);
    return CellBounds{left, top, right, bottom};
}

std::vector<FrameBar> RectFrameBars(int ax, int ay, int cx, int cy, int tw, int th, bool withInnerFrame) {
    const AxisEdges h = EdgesOf(ax, cx, tw);
    const AxisEdges v = EdgesOf(ay, cy, th);
    const std::int64_t a = h.start, b = h.current, c = v.start, d = v.current;
    std::vector<FrameBar> bars{Bar(a, c - 2, b - a, 2), Bar(a, d, b - a, 2), Bar(a - 2, c, 2, d - c),
                               Bar(b, c, 2, d - c)};
    if (!withInnerFrame)
        return bars;
    const std::int64_t ai = h.innerStart, bi = h.innerCurrent, ci = v.innerStart, di = v.innerCurrent;
    // The inner frame only appears once the hollow is wider (then taller) than a tile plus both bars.
    if (std::int64_t{tw} + 4 < std::llabs(a - bi)) {
        bars.push_back(Bar(ai, ci - 2, bi - ai, 2));
        bars.push_back(Bar(ai, di, bi - ai, 2));
        if (std::int64_t{th} + 4 < std::llabs(c - di)) {
            bars.push_back(Bar(ai - 2, ci, 2, di - ci));
            bars.push_back(Bar(bi, ci, 2, di - ci));
        }
    }
    return bars;
}
