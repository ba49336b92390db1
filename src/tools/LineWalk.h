#pragma once

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
