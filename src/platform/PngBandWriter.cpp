#include "platform/PngBandWriter.h"

#include <QIODevice>
#include <QtEndian>
#include <new>
#include <zlib.h>

namespace {
// An IDAT chunk is written whenever this much compressed data is waiting.
constexpr qsizetype kChunkBytes = qsizetype(1) << 20;
// Fast compression: a large map's picture is mostly repeated tiles, which even the fastest level packs well.
constexpr int kLevel = 3;
} // namespace

struct PngBandWriter::Stream {
    z_stream z{};
    bool open = false;
    ~Stream() {
        if (open)
            deflateEnd(&z);
    }
};

PngBandWriter::PngBandWriter(QIODevice& device, int width, int height)
    : m_device(device), m_width(width), m_height(height), m_stream(std::make_unique<Stream>()) {
    if (deflateInit(&m_stream->z, kLevel) != Z_OK)
        throw std::bad_alloc();
    m_stream->open = true;
    m_row.resize(1 + qsizetype(width) * 3);
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (m_device.write(signature, 8) != 8) {
        Fail(m_device.errorString());
        return;
    }
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(width), header.data());
    qToBigEndian<quint32>(quint32(height), header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    Chunk("IHDR", header);
}

PngBandWriter::~PngBandWriter() = default;

bool PngBandWriter::Fail(const QString& why) {
    if (m_problem.isEmpty())
        m_problem = why.isEmpty() ? QStringLiteral("it could not be written") : why;
    return false;
}

bool PngBandWriter::Chunk(const char* type, const QByteArray& data) {
    if (!m_problem.isEmpty())
        return false;
    QByteArray chunk(8, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk.replace(4, 4, type, 4);
    chunk += data;
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), uInt(chunk.size() - 4)));
    QByteArray tail(4, '\0');
    qToBigEndian<quint32>(crc, tail.data());
    chunk += tail;
    if (m_device.write(chunk) != chunk.size())
        return Fail(m_device.errorString());
    return true;
}

bool PngBandWriter::Deflate(const unsigned char* data, std::size_t bytes, bool last) {
    z_stream& z = m_stream->z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(bytes);
    unsigned char out[65536];
    int status = Z_OK;
    do {
        z.next_out = out;
        z.avail_out = sizeof out;
        status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (status == Z_STREAM_ERROR)
            return Fail(QStringLiteral("its data could not be compressed"));
        m_pending.append(reinterpret_cast<const char*>(out), qsizetype(sizeof out - z.avail_out));
        if (m_pending.size() >= kChunkBytes || (last && status == Z_STREAM_END)) {
            if (!Chunk("IDAT", m_pending))
                return false;
            m_pending.clear();
        }
    } while (z.avail_out == 0 || (last && status != Z_STREAM_END));
    return true;
}

bool PngBandWriter::AddRows(const QImage& band) {
    if (!m_problem.isEmpty())
        return false;
    if (band.width() != m_width || band.height() > m_height - m_rowsDone || band.depth() != 32)
        return Fail(QStringLiteral("its rows do not fit the picture"));
    unsigned char* row = reinterpret_cast<unsigned char*>(m_row.data());
    for (int y = 0; y < band.height(); ++y) {
        const QRgb* pixels = reinterpret_cast<const QRgb*>(band.constScanLine(y));
        // Filter "Sub": each byte less the one a pixel to its left, which makes runs of a colour zeros.
        row[0] = 1;
        unsigned char before[3] = {0, 0, 0};
        for (int x = 0; x < m_width; ++x) {
            const unsigned char rgb[3] = {uchar(qRed(pixels[x])), uchar(qGreen(pixels[x])),
                                          uchar(qBlue(pixels[x]))};
            for (int c = 0; c < 3; ++c) {
                row[1 + 3 * x + c] = uchar(rgb[c] - before[c]);
                before[c] = rgb[c];
            }
        }
        if (!Deflate(row, std::size_t(m_row.size()), false))
            return false;
    }
    m_rowsDone += band.height();
    return true;
}

bool PngBandWriter::Finish() {
    if (!m_problem.isEmpty())
        return false;
    if (m_rowsDone != m_height)
        return Fail(QStringLiteral("its rows were not all written"));
    return Deflate(nullptr, 0, true) && Chunk("IEND", QByteArray());
}
