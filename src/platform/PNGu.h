#pragma once

#include "platform/Picture.h"

#include <QByteArray>
#include <QString>

// Reading PNG images with their transparency. Every file a user opens is untrusted: a file that lies about
// its size, its chunks or its data is refused cheaply, before memory is spent on what it claims.
namespace PNGu {

// The most pixels the editor agrees to decode, whatever the image's shape (an 8192 x 8192 tileset has this
// many): a header that claims more, a decompression bomb for one, is refused before any pixel memory is
// taken.
constexpr qint64 kMaxPixels = qint64(8192) * 8192;

// The largest file read: an image at the pixel limit stored as 8-bit RGBA without any compression is this
// big.
constexpr qint64 kMaxFileBytes = kMaxPixels * 4 + (qint64(1) << 20);

// The PNG file at path as a picture with its transparency, or null when the file is missing, is not a PNG,
// is damaged, lies about its content or is too large. Throws std::bad_alloc when memory for the pixels of
// an acceptable image cannot be had. gamma is accepted for the callers' sake; images are used as stored.
PicturePtr OpenAsPictureWithMask(const QString& path, double gamma = 0.0);

// The same for a PNG file already in memory.
PicturePtr Decode(const QByteArray& bytes);

} // namespace PNGu
