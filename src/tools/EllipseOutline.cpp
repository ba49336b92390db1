#include "tools/EllipseOutline.h"

#include <limits>

EllipseInterior::EllipseInterior(int rx, int ry)
    : ry_(std::clamp(ry, 0, kMaxEllipseRadius)),
      rows_(static_cast<std::size_t>(2 * ry_ + 1),
            Span{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
    WalkEllipseOutline(rx, ry, [&](int dx, int dy) {
        if (dy < -ry_ || dy > ry_)
            return; // the walk stays within ry; this only keeps a broken walk from writing out of bounds
        Span& span = rows_[static_cast<std::size_t>(dy + ry_)];
        span.left = std::min(span.left, dx);
        span.right = std::max(span.right, dx);
    });
}

bool EllipseInterior::Contains(int dx, int dy) const {
    if (dy < -ry_ || dy > ry_)
        return false;
    const Span& span = rows_[static_cast<std::size_t>(dy + ry_)];
    // An empty row has left > right, so nothing can lie strictly between.
    return span.left < dx && dx < span.right;
}
