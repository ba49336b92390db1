#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// Cells of the ellipse tool around its centre: the outline as a midpoint walk, the inside as row spans.

// Radii are capped here so every intermediate product (up to about 2 * r^3) stays inside 64 bits.
inline constexpr int kMaxEllipseRadius = 1000000;

namespace ellipse_walk {

// Region 1: from the right end (a, 0) upwards while the outline is steeper than 45 degrees. twoA and twoB
// are 2a^2 and 2b^2, raised to at least 1.
template <class PlotFour>
void SteepRegion(std::int64_t a, std::int64_t b, std::int64_t twoA, std::int64_t twoB, PlotFour& plotFour) {
    std::int64_t x = a, y = 0;
    std::int64_t xChange = b * b * (1 - 2 * a);
    std::int64_t yChange = a * a;
    std::int64_t err = 0;
    std::int64_t stopX = 2 * b * b * a;
    std::int64_t stopY = 0;
    // A zero step would never move the stopping values apart, so a flat ellipse would loop for ever.
    if (xChange == 0)
        xChange = 1;
    if (yChange == 0)
        yChange = 1;
    while (stopY <= stopX) {
        plotFour(x, y);
        ++y;
        stopY += twoA;
        err += yChange;
        yChange += twoA;
        if (2 * err + xChange > 0) {
            --x;
            stopX -= twoB;
            err += xChange;
            xChange += twoB;
        }
    }
}

// Region 2: from the top (0, b) down to where region 1 stopped.
template <class PlotFour>
void FlatRegion(std::int64_t a, std::int64_t b, std::int64_t twoA, std::int64_t twoB, PlotFour& plotFour) {
    std::int64_t x = 0, y = b;
    std::int64_t xChange = b * b;
    std::int64_t yChange = a * a * (1 - 2 * b);
    std::int64_t err = 0;
    std::int64_t stopX = 0;
    std::int64_t stopY = twoA * b;
    while (stopX <= stopY) {
        plotFour(x, y);
        ++x;
        stopX += twoB;
        err += xChange;
        xChange += twoB;
        if (2 * err + yChange > 0) {
            --y;
            stopY -= twoA;
            err += yChange;
            yChange += twoA;
        }
    }
}

} // namespace ellipse_walk

// Calls plot(dx, dy) with offsets from the centre for the outline of the ellipse with radii rx and ry,
// four mirrored points per step, duplicates included. The walk runs in two regions so each step moves the
// faster-changing axis by one cell; zero radii are guarded so flat and single-cell ellipses still end.
template <class Plot> void WalkEllipseOutline(int rx, int ry, Plot&& plot) {
    const std::int64_t a = std::clamp(rx, 0, kMaxEllipseRadius);
    const std::int64_t b = std::clamp(ry, 0, kMaxEllipseRadius);
    const std::int64_t twoA = std::max<std::int64_t>(2 * a * a, 1);
    const std::int64_t twoB = std::max<std::int64_t>(2 * b * b, 1);
    const auto plotFour = [&](std::int64_t x, std::int64_t y) {
        const int px = static_cast<int>(x), py = static_cast<int>(y);
        plot(px, py);
        plot(-px, py);
        plot(-px, -py);
        plot(px, -py);
    };
    ellipse_walk::SteepRegion(a, b, twoA, twoB, plotFour);
    ellipse_walk::FlatRegion(a, b, twoA, twoB, plotFour);
}

// The cells strictly inside an ellipse outline, for the filled variant: per row the outline's leftmost and
// rightmost cell, so a row's inside is the span between them and storage grows with ry, not the area.
class EllipseInterior {
public:
    EllipseInterior(int rx, int ry);

    // True when row dy has outline cells and dx lies strictly between its leftmost and rightmost one.
    bool Contains(int dx, int dy) const;

private:
    struct Span {
        int left;
        int right;
    };
    int ry_;
    std::vector<Span> rows_; // index dy + ry_; empty rows have left > right
};
