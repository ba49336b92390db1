#include "PngCraft.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>
#include <array>
#include <zlib.h>

namespace PngCraft {

namespace {

QByteArray BigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

} // namespace

quint32 Crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<quint8>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray Chunk(const QByteArray& type, const QByteArray& data) {
    const QByteArray body = type + data;
    return BigEndian32(static_cast<quint32>(data.size())) + body + BigEndian32(Crc32(body));
}

QByteArray LyingChunk(const QByteArray& type, const QByteArray& data, quint32 claimedLength) {
    QByteArray chunk = Chunk(type, data);
    qToBigEndian(claimedLength, chunk.data());
    return chunk;
}

QByteArray Ihdr(quint32 width, quint32 height, quint8 depth, quint8 colourType, bool interlaced) {
    QByteArray data = BigEndian32(width) + BigEndian32(height);
    data.append(static_cast<char>(depth));
    data.append(static_cast<char>(colourType));
    data.append('\0'); // deflate
    data.append('\0'); // adaptive filtering
    data.append(static_cast<char>(interlaced ? 1 : 0));
    return Chunk("IHDR", data);
}

QByteArray Deflate(const QByteArray& raw) {
    // qCompress puts the uncompressed length in front of a plain zlib stream.
    return qCompress(raw, 9).mid(4);
}

QByteArray DeflateZeros(qint64 bytes) {
    constexpr qint64 kPiece = qint64(1) << 20;
    Q_ASSERT(bytes % kPiece == 0 && bytes >= 3 * kPiece);
    z_stream z{};
    deflateInit(&z, 9);
    QByteArray zeros(kPiece, '\0');
    // Each piece ends in a sync flush, so it ends on a byte boundary; once the window holds nothing but
    // zeros, every further piece compresses to the very same bytes.
    auto piece = [&] {
        QByteArray out;
        z.next_in = reinterpret_cast<Bytef*>(zeros.data());
        z.avail_in = static_cast<uInt>(kPiece);
        do {
            char buffer[16384];
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, Z_SYNC_FLUSH);
            out.append(buffer, static_cast<qsizetype>(sizeof buffer - z.avail_out));
        } while (z.avail_out == 0);
        return out;
    };
    QByteArray stream = piece();
    const QByteArray repeat = piece();
    const bool periodic = piece() == repeat;
    deflateEnd(&z);
    if (!periodic)
        qFatal("DeflateZeros: deflate's output did not settle");
    for (qint64 n = 1; n < bytes / kPiece; ++n)
        stream += repeat;
    // An empty final block with fixed codes, then the Adler-32 of the zeros: a = 1, b = 1 per byte.
    stream += QByteArray("\x03\x00", 2);
    const quint32 adler = (static_cast<quint32>(bytes % 65521) << 16) | 1u;
    QByteArray trailer(4, '\0');
    qToBigEndian(adler, trailer.data());
    return stream + trailer;
}

namespace {

// Calls row(x0, dx, y) for every scanline of the image, in Adam7 pass order when interlaced.
void ForEachScanline(int width, int height, bool interlaced, const std::function<void(int, int, int)>& row) {
    struct Pass {
        int x0, y0, dx, dy;
    };
    static constexpr Pass kWhole{0, 0, 1, 1};
    static constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    auto run = [&](const Pass& pass) {
        // A pass with no pixel in its columns or its rows has no scanlines at all.
        if (pass.x0 >= width || pass.y0 >= height)
            return;
        for (int y = pass.y0; y < height; y += pass.dy)
            row(pass.x0, pass.dx, y);
    };
    if (interlaced)
        for (const Pass& pass : kAdam7)
            run(pass);
    else
        run(kWhole);
}

} // namespace

QByteArray Scanlines(int width, int height, bool interlaced,
                     const std::function<QByteArray(int x, int y)>& pixelBytes) {
    QByteArray raw;
    ForEachScanline(width, height, interlaced, [&](int x0, int dx, int y) {
        raw.append('\0');
        for (int x = x0; x < width; x += dx)
            raw.append(pixelBytes(x, y));
    });
    return raw;
}

QByteArray PackedScanlines(int width, int height, int depth, bool interlaced,
                           const std::function<int(int x, int y)>& sample) {
    QByteArray raw;
    ForEachScanline(width, height, interlaced, [&](int x0, int dx, int y) {
        raw.append('\0');
        int byte = 0;
        int bits = 0;
        for (int x = x0; x < width; x += dx) {
            // Samples fill each byte from its most significant bit down.
            byte = (byte << depth) | (sample(x, y) & ((1 << depth) - 1));
            bits += depth;
            if (bits == 8) {
                raw.append(static_cast<char>(byte));
                byte = bits = 0;
            }
        }
        if (bits > 0)
            raw.append(static_cast<char>(byte << (8 - bits)));
    });
    return raw;
}

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);

QByteArray File(const QByteArray& ihdr, const QByteArray& idatPayload, const QByteArray& extraChunks) {
    return kSignature + ihdr + extraChunks + Chunk("IDAT", idatPayload) + Chunk("IEND", {});
}

QByteArray QtPng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image.convertToFormat(QImage::Format_ARGB32));
    return bytes;
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace PngCraft
