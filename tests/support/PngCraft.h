#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <functional>

// PNG files written byte by byte: for kinds the Qt writer cannot make (grey with alpha, interlaced) and for
// deliberately damaged or hostile files.
namespace PngCraft {

enum ColourType : quint8 { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

quint32 Crc32(const QByteArray& bytes);
// One chunk: length, type, data and the CRC over type and data.
QByteArray Chunk(const QByteArray& type, const QByteArray& data);
// A chunk whose length field claims the given length, whatever data follows.
QByteArray LyingChunk(const QByteArray& type, const QByteArray& data, quint32 claimedLength);
QByteArray Ihdr(quint32 width, quint32 height, quint8 depth, quint8 colourType, bool interlaced);
// A zlib stream of raw.
QByteArray Deflate(const QByteArray& raw);
// A zlib stream that inflates to the given number of zero bytes (a whole number of mebibytes, at least 3),
// built without ever holding them: about a thousandth of that size.
QByteArray DeflateZeros(qint64 bytes);

// The filtered scanlines (filter 0) of an image whose pixel (x, y) is encoded by pixelBytes, in Adam7
// pass order when interlaced.
QByteArray Scanlines(int width, int height, bool interlaced,
                     const std::function<QByteArray(int x, int y)>& pixelBytes);

// The same for one sample of 1, 2 or 4 bits per pixel (grey or palette index), packed into bytes.
QByteArray PackedScanlines(int width, int height, int depth, bool interlaced,
                           const std::function<int(int x, int y)>& sample);

extern const QByteArray kSignature;

// A whole file: signature, IHDR, the extra chunks (PLTE, tRNS …) as given, one IDAT and IEND.
QByteArray File(const QByteArray& ihdr, const QByteArray& idatPayload, const QByteArray& extraChunks = {});

// A valid 8-bit RGBA file of the image, written by Qt.
QByteArray QtPng(const QImage& image);

bool Write(const QString& path, const QByteArray& bytes);

} // namespace PngCraft
