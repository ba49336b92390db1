#pragma once

#include <QImage>
#include <cstdint>

// Drawing a premultiplied picture over an opaque one without a painter, for drawing many small pictures fast.
// The blend is QPainter's source-over to the bit, so what it draws matches what a painter would.

// Draws source (QImage::Format_ARGB32_Premultiplied) over target (QImage::Format_RGB32) with its top-left
// corner at (x, y), every source pixel as a block of factor x factor target pixels, clipped to the target.
// Positions are 64-bit: a picture far off the target draws nothing.
void BlendOver(QImage& target, std::int64_t x, std::int64_t y, const QImage& source, int factor = 1);
