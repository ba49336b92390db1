#pragma once

#include <algorithm>
#include <cstdint>

// Calls visit(x, y) for every cell of the one-cell-thick straight line from (x0, y0) to (x1, y1), start and
// end included, in walk order. The error term starts at half the major extent so the line is centred on
// the ideal one; all arithmetic is 64-bit so lines between far-apart int coordinates cannot overflow.
template <class Visit> void WalkLine(int x0, int y0, int x1, int y1, Visit&& visit) {
    const std::int64_t dx = x1 < x0 ? std::int64_t{x0} - x1 : std::int64_t{x1} - x0;
    const std::int64_t dy = y1 < y0 ? std::int64_t{y0} - y1 : std::int64_t{y1} - y0;
    const int sx = x1 < x0 ? -1 : 1;
    const int sy = y1 < y0 ? -1 : 1;
    const bool xMajor = dx >= dy;
    const std::int64_t den = xMajor ? dx : dy;
    const std::int64_t add = xMajor ? dy : dx;
    std::int64_t err = den / 2;
    // Every visited cell lies between the two end points, so x and y always fit in an int.
    int x = x0;
    int y = y0;
    for (std::int64_t step = 0; step <= den; ++step) {
        visit(x, y);
        if (step == den)
            break; // stepping past the end point could leave the int range
        err += add;
        if (err >= den) {
            err -= den;
            if (xMajor)
                y += sy;
            else
                x += sx;
        }
        if (xMajor)
            x += sx;
        else
            y += sy;
    }
}

// Calls visit(x, y) for exactly those cells of WalkLine(x0, y0, x1, y1) that lie in columns 0 .. width - 1
// and rows 0 .. height - 1, in walk order, without stepping through the rest: a line from far off the grid
// costs what its cells on the grid cost. The cell at each step is worked out directly (step k of the walk
// along the major axis is k, along the minor axis (extent / 2 + k * minor extent) / major extent), so the
// steps that can land on the grid are found by division. Ends must lie within ±2^30, which keeps every
// product in 64 bits.
template <class Visit>
void WalkLineWithin(int x0, int y0, int x1, int y1, int width, int height, Visit&& visit) {
    using I = std::int64_t;
    const I dx = x1 < x0 ? I{x0} - x1 : I{x1} - x0;
    const I dy = y1 < y0 ? I{y0} - y1 : I{y1} - y0;
    const bool xMajor = dx >= dy;
    const I den = xMajor ? dx : dy;
    const I add = xMajor ? dy : dx;
    const I major0 = xMajor ? x0 : y0;
    const I minor0 = xMajor ? y0 : x0;
    const I majorStep = (xMajor ? x1 < x0 : y1 < y0) ? -1 : 1;
    const I minorStep = (xMajor ? y1 < y0 : x1 < x0) ? -1 : 1;
    const I majorLimit = xMajor ? width : height;
    const I minorLimit = xMajor ? height : width;
    if (majorLimit < 1 || minorLimit < 1)
        return;
    // Floor and ceiling of a / b for b > 0, whatever the sign of a.
    const auto floorDiv = [](I a, I b) { return a / b - (a % b < 0 ? 1 : 0); };
    const auto ceilDiv = [](I a, I b) { return a / b + (a % b > 0 ? 1 : 0); };
    // Steps whose major coordinate lies on the grid.
    I first = majorStep > 0 ? -major0 : major0 - (majorLimit - 1);
    I last = majorStep > 0 ? majorLimit - 1 - major0 : major0;
    first = std::max<I>(first, 0);
    last = std::min<I>(last, den);
    // Minor steps taken so far must keep the minor coordinate on the grid: between lo and hi.
    const I lo = minorStep > 0 ? -minor0 : minor0 - (minorLimit - 1);
    const I hi = minorStep > 0 ? minorLimit - 1 - minor0 : minor0;
    const I half = den / 2;
    if (add == 0) {
        // No minor step is ever taken.
        if (lo > 0 || hi < 0)
            return;
    } else {
        // (half + k * add) / den >= lo and <= hi, solved for k.
        first = std::max<I>(first, ceilDiv(lo * den - half, add));
        last = std::min<I>(last, floorDiv(hi * den + den - 1 - half, add));
    }
    for (I k = first; k <= last; ++k) {
        const I minorSteps = den == 0 ? 0 : (half + k * add) / den;
        const I major = major0 + majorStep * k;
        const I minor = minor0 + minorStep * minorSteps;
        if (xMajor)
            visit(static_cast<int>(major), static_cast<int>(minor));
        else
            visit(static_cast<int>(minor), static_cast<int>(major));
    }
}
