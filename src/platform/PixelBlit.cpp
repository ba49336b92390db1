#include "platform/PixelBlit.h"

#include <algorithm>

namespace {
// Each 8-bit channel of x times a / 255, rounded the way Qt's raster engine rounds it.
inline QRgb ByteMul(QRgb x, uint a) {
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

inline QRgb Over(QRgb source, QRgb target) {
    const uint alpha = qAlpha(source);
    if (alpha == 255)
        return source;
    if (alpha == 0)
        return target;
    return source + ByteMul(target, 255 - alpha);
}
} // namespace

void BlendOver(QImage& target, std::int64_t x, std::int64_t y, const QImage& source, int factor) {
    if (factor < 1 || source.isNull() || target.isNull())
        return;
    const std::int64_t width = std::int64_t{source.width()} * factor;
    const std::int64_t height = std::int64_t{source.height()} * factor;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + width, target.width());
    const std::int64_t bottom = std::min<std::int64_t>(y + height, target.height());
    if (left >= right || top >= bottom)
        return;
    // One detach for the whole picture, not one per row.
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    for (std::int64_t ty = top; ty < bottom; ++ty) {
        const auto* from =
            reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>((ty - y) / factor)));
        auto* to = reinterpret_cast<QRgb*>(bits + ty * stride);
        if (factor == 1) {
            const QRgb* s = from + (left - x);
            for (std::int64_t tx = left; tx < right; ++tx, ++s)
                to[tx] = Over(*s, to[tx]);
            continue;
        }
        // A run of factor target pixels per source pixel; the first and last run may be cut by the clip.
        std::int64_t tx = left;
        while (tx < right) {
            const std::int64_t column = (tx - x) / factor;
            const QRgb pixel = from[column];
            const std::int64_t runEnd = std::min<std::int64_t>(x + (column + 1) * factor, right);
            const uint alpha = qAlpha(pixel);
            if (alpha == 255)
                std::fill(to + tx, to + runEnd, pixel);
            else if (alpha != 0)
                for (std::int64_t i = tx; i < runEnd; ++i)
                    to[i] = pixel + ByteMul(to[i], 255 - alpha);
            tx = runEnd;
        }
    }
}
