#pragma once

#include "platform/Picture.h"

#include <QString>

// Reading PNG images with their transparency.
namespace PNGu {

// The largest image the editor agrees to decode, in pixels: an 8192 x 8192 tileset fits, a header that claims
// far more (a decompression bomb) is refused before any pixel memory is taken.
constexpr qint64 kMaxPixels = qint64(8192) * 8192;

// The PNG file at path as a picture with its transparency, or null when the file is missing, is not a PNG,
// is damaged or is too large. gamma is accepted for the callers' sake; images are used as stored.
PicturePtr OpenAsPictureWithMask(const QString& path, double gamma = 0.0);

} // namespace PNGu
