#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

// PNG files written byte by byte: for kinds the Qt writer cannot make (grey with alpha, interlaced, low
// depths) and for deliberately damaged or hostile files.
namespace PngCraft {

enum ColourType : quint8 { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

extern const QByteArray kSignature;
// One chunk: length, type, data and the CRC over type and data. Deflate: a zlib stream of raw.
QByteArray Chunk(const QByteArray& type, const QByteArray& data);
QByteArray Ihdr(quint32 width, quint32 height, quint8 depth, quint8 colourType, bool interlaced);
QByteArray Deflate(const QByteArray& raw);
// A zlib stream that inflates to the given number of zero bytes (whole mebibytes, at least 3), built
// without ever holding them: about a thousandth of that size.
QByteArray DeflateZeros(qint64 bytes);
// The filtered scanlines (filter 0) of an image whose pixel (x, y) has `channels` samples of `depth` bits,
// sample(x, y, c) each, packed from the most significant bit down; in Adam7 pass order when interlaced.
QByteArray Scanlines(int width, int height, int depth, int channels, bool interlaced,
                     const std::function<int(int x, int y, int c)>& sample);
// A whole file: signature, IHDR, the extra chunks (PLTE, tRNS …) as given, one IDAT and IEND.
QByteArray File(const QByteArray& ihdr, const QByteArray& idatPayload, const QByteArray& extraChunks = {});
QByteArray QtPng(const QImage& image); // a valid 8-bit RGBA file, written by Qt
bool Write(const QString& path, const QByteArray& bytes);
QByteArray Read(const QString& path); // "(missing)" when it cannot be read

} // namespace PngCraft
