#include "document/ForeignLayerData.h"

#include "document/ForeignMap.h"

#include <QByteArray>
#include <array>
#include <memory>
#include <zlib.h>
#include <zstd.h>

namespace {

const QString kTooMany = QStringLiteral("it is damaged: a layer holds more cells than the map");

// Takes inflated bytes in pieces of any length and hands each whole 32-bit gid to the builder.
class GidBytes {
public:
    explicit GidBytes(ForeignMapBuilder& builder) : m_builder(builder) {}

    bool Take(const unsigned char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            m_gid |= std::uint32_t(bytes[i]) << (8 * m_have);
            if (++m_have == 4) {
                if (!m_builder.Add(m_gid))
                    return false;
                m_gid = 0;
                m_have = 0;
            }
        }
        return true;
    }
    bool Whole() const { return m_have == 0; }

private:
    ForeignMapBuilder& m_builder;
    std::uint32_t m_gid = 0;
    int m_have = 0;
};

QString Inflate(const QByteArray& packed, bool gzip, GidBytes& gids) {
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK)
        throw std::bad_alloc();
    const std::unique_ptr<z_stream, int (*)(z_stream*)> owner(&stream, inflateEnd);
    std::array<unsigned char, 65536> piece{};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    for (;;) {
        stream.next_out = piece.data();
        stream.avail_out = uInt(piece.size());
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_MEM_ERROR)
            throw std::bad_alloc();
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            return QStringLiteral("it is damaged: a layer's compressed data cannot be read");
        if (!gids.Take(piece.data(), piece.size() - stream.avail_out))
            return kTooMany;
        if (status == Z_STREAM_END)
            return {};
        if (status == Z_BUF_ERROR || (stream.avail_in == 0 && stream.avail_out != 0))
            return QStringLiteral("it is damaged: a layer's compressed data is cut short");
    }
}

QString Unzstd(const QByteArray& packed, GidBytes& gids) {
    const std::unique_ptr<ZSTD_DCtx, std::size_t (*)(ZSTD_DCtx*)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
    if (!context)
        throw std::bad_alloc();
    // A frame may ask for a window of up to 2 GB; the layer's data never needs more than 128 MB.
    ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, 27);
    std::array<unsigned char, 65536> piece{};
    ZSTD_inBuffer in{packed.constData(), std::size_t(packed.size()), 0};
    std::size_t status = 1;
    while (status != 0) {
        ZSTD_outBuffer out{piece.data(), piece.size(), 0};
        status = ZSTD_decompressStream(context.get(), &out, &in);
        if (ZSTD_isError(status))
            return QStringLiteral("it is damaged: a layer's compressed data cannot be read");
        if (!gids.Take(piece.data(), out.pos))
            return kTooMany;
        if (status != 0 && in.pos == in.size && out.pos < out.size)
            return QStringLiteral("it is damaged: a layer's compressed data is cut short");
    }
    return {};
}

} // namespace

namespace ForeignLayerData {

QString CsvReader::Feed(QStringView text) {
    const QString damaged = QStringLiteral("it is damaged: a layer's data is not a list of gids");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9') {
            if (m_state == AfterValue)
                return damaged;
            m_gid = m_gid * 10 + (u - '0');
            if (m_gid > 0xFFFFFFFFu)
                return QStringLiteral("it is damaged: a layer holds a gid larger than 32 bits");
            m_state = InValue;
            continue;
        }
        const bool comma = u == ',';
        if (!comma && !c.isSpace())
            return damaged;
        if (m_state == InValue) {
            if (!m_builder.Add(std::uint32_t(m_gid)))
                return kTooMany;
            m_gid = 0;
            m_state = AfterValue;
        } else if (comma && m_state == Expect) {
            return damaged;
        }
        if (comma)
            m_state = Expect;
    }
    return {};
}

QString CsvReader::Finish() {
    if (m_state == InValue && !m_builder.Add(std::uint32_t(m_gid)))
        return kTooMany;
    m_state = AfterValue;
    return {};
}

QString ReadCsv(QStringView text, ForeignMapBuilder& builder) {
    CsvReader reader(builder);
    QString problem = reader.Feed(text);
    return problem.isEmpty() ? reader.Finish() : problem;
}

QString ReadBase64(QByteArrayView text, const QString& compression, ForeignMapBuilder& builder) {
    QByteArray compact;
    compact.reserve(text.size());
    for (const char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            compact.append(c);
    const auto decoded = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return QStringLiteral("it is damaged: a layer's data is not base64");
    compact = QByteArray();
    GidBytes gids(builder);
    QString problem;
    if (compression.isEmpty()) {
        if (!gids.Take(reinterpret_cast<const unsigned char*>(decoded.decoded.constData()),
                       std::size_t(decoded.decoded.size())))
            problem = kTooMany;
    } else if (compression == QLatin1String("zlib") || compression == QLatin1String("gzip")) {
        problem = Inflate(decoded.decoded, compression == QLatin1String("gzip"), gids);
    } else if (compression == QLatin1String("zstd")) {
        problem = Unzstd(decoded.decoded, gids);
    } else {
        return QStringLiteral("a layer's data is compressed as %1, which this program cannot read")
            .arg(compression.left(20));
    }
    if (problem.isEmpty() && !gids.Whole())
        problem = QStringLiteral("it is damaged: a layer's data ends in the middle of a gid");
    return problem;
}

} // namespace ForeignLayerData
