#include "PngCraft.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <span>
#include <zlib.h>

namespace PngCraft {

static QByteArray BigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);

QByteArray Chunk(const QByteArray& type, const QByteArray& data) {
    const QByteArray body = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()));
    return BigEndian32(quint32(data.size())) + body + BigEndian32(quint32(crc));
}

QByteArray Ihdr(quint32 width, quint32 height, quint8 depth, quint8 colourType, bool interlaced) {
    // Then deflate, adaptive filtering and the interlace method.
    const char tail[] = {char(depth), char(colourType), 0, 0, char(interlaced ? 1 : 0)};
    return Chunk("IHDR", BigEndian32(width) + BigEndian32(height) + QByteArray(tail, 5));
}

QByteArray Deflate(const QByteArray& raw) {
    // qCompress puts the uncompressed length in front of a plain zlib stream.
    return qCompress(raw, 9).mid(4);
}

QByteArray DeflateZeros(qint64 bytes) {
    constexpr qint64 kPiece = qint64(1) << 20;
    z_stream z{};
    deflateInit(&z, 9);
    QByteArray zeros(kPiece, '\0'), pieces[3];
    // Each piece ends in a sync flush, so on a byte boundary; once the window holds nothing but zeros, every
    // further piece compresses to the very same bytes.
    for (QByteArray& out : pieces) {
        out.resize(qsizetype(deflateBound(&z, kPiece)) + 64);
        z.next_in = reinterpret_cast<Bytef*>(zeros.data());
        z.avail_in = uInt(kPiece);
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        deflate(&z, Z_SYNC_FLUSH);
        out.chop(qsizetype(z.avail_out));
    }
    deflateEnd(&z);
    if (pieces[1] != pieces[2] || z.avail_in != 0 || bytes % kPiece != 0 || bytes < 3 * kPiece)
        qFatal("DeflateZeros: not whole mebibytes, or deflate's output did not settle");
    // An empty final block with fixed codes, then the Adler-32 of the zeros: a = 1, b = 1 per byte.
    return pieces[0] + pieces[1].repeated(bytes / kPiece - 1) + QByteArray("\x03\x00", 2) +
           BigEndian32((quint32(bytes % 65521) << 16) | 1u);
}

QByteArray Scanlines(int width, int height, int depth, int channels, bool interlaced,
                     const std::function<int(int x, int y, int c)>& sample) {
    struct Pass {
        int x0, y0, dx, dy;
    };
    static constexpr Pass kPasses[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}, {0, 0, 1, 1}};
    QByteArray raw;
    // The first seven are Adam7's; the last is the whole image.
    for (const Pass& pass : std::span(kPasses).subspan(interlaced ? 0 : 7, interlaced ? 7 : 1)) {
        // A pass with no pixel in its columns or its rows has no scanlines at all.
        if (pass.x0 >= width)
            continue;
        for (int y = pass.y0; y < height; y += pass.dy) {
            raw.append('\0');
            quint32 bits = 0, held = 0;
            for (int x = pass.x0; x < width; x += pass.dx)
                for (int c = 0; c < channels; ++c) {
                    bits = (bits << depth) | (quint32(sample(x, y, c)) & ((1u << depth) - 1));
                    for (held += depth; held >= 8; held -= 8)
                        raw.append(char(bits >> (held - 8)));
                }
            if (held > 0)
                raw.append(char(bits << (8 - held)));
        }
    }
    return raw;
}

QByteArray File(const QByteArray& ihdr, const QByteArray& idatPayload, const QByteArray& extraChunks) {
    return kSignature + ihdr + extraChunks + Chunk("IDAT", idatPayload) + Chunk("IEND", {});
}

QByteArray QtPng(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "png");
    return buffer.data();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace PngCraft
