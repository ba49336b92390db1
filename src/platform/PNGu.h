#pragma once

#include "platform/Picture.h"

#include <QByteArray>
#include <QString>
#include <climits>
#include <memory>

// Reading PNG images with their transparency. Every file a user opens is untrusted: a file that lies about
// its size, its chunks or its data is refused cheaply, before memory is spent on what it claims. Files are
// read as a stream: the header first, then the image data a band of rows at a time, chunks of no use skipped
// in passing, so what a reader holds is what its caller decodes.
namespace PNGu {

// The most pixels the editor agrees to decode, whatever the image's shape (an 8192 x 8192 tileset has this
// many): a header that claims more, a decompression bomb for one, is refused before any pixel memory is
// taken.
constexpr qint64 kMaxPixels = qint64(8192) * 8192;

// The largest file read: an image at the pixel limit stored as 8-bit RGBA without any compression is this
// big.
constexpr qint64 kMaxFileBytes = kMaxPixels * 4 + (qint64(1) << 20);

// The widest picture of 32-bit pixels Qt can hold: it counts a line's bits in an int.
constexpr qint64 kMaxPictureWidth = (qint64(INT_MAX) - 31) / 32;

// A PNG file read front to back. Construction opens the file (only a regular file of at most kMaxFileBytes,
// opened without blocking and checked on the open descriptor) and reads its signature and header, nothing
// more; the rows are decoded on request, into the caller's lines as 8-bit ARGB (QImage::Format_ARGB32):
// every colour type, depth and interlacing expanded, colour keys turned into transparency.
class Reader {
public:
    explicit Reader(const QString& path);
    // The same for a file already in memory.
    explicit Reader(const QByteArray& bytes);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // False once the file has been found missing, not a PNG, damaged or lying about its content, or larger
    // than the limits above; nothing more can be read from it then.
    bool Ok() const;
    int Width() const;
    int Height() const;
    bool Interlaced() const;

    // Decodes the next lines.height() rows of a non-interlaced image into lines (Format_ARGB32, Width()
    // wide). False when the file is damaged. Throws std::bad_alloc when memory runs out.
    bool ReadRows(QImage& lines);
    // Decodes an interlaced image whole, keeping its first lines.height() rows in lines; the others are
    // decoded to nowhere. False when the file is damaged. Throws std::bad_alloc when memory runs out.
    bool ReadInterlaced(QImage& lines);
    // Reads the rest of the file, checking the image data not decoded and every chunk to the end. False when
    // the file is damaged.
    bool Finish();
    // SHA-256 of every byte of the file, once Finish has succeeded; empty before.
    QByteArray ContentHash() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The PNG file at path as a picture with its transparency, or null when the file is missing, is not a PNG,
// is damaged, lies about its content or is too large. Throws std::bad_alloc when memory for the pixels of
// an acceptable image cannot be had. gamma is accepted for the callers' sake; images are used as stored.
PicturePtr OpenAsPictureWithMask(const QString& path, double gamma = 0.0);

// The same for a PNG file already in memory.
PicturePtr Decode(const QByteArray& bytes);

} // namespace PNGu
