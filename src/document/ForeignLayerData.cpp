#include "document/ForeignLayerData.h"

#include "document/ForeignMap.h"

#include <QByteArray>
#include <array>
#include <zlib.h>
#include <zstd.h>

namespace {

const QString kTooMany = QStringLiteral("it is damaged: a layer holds more cells than the map");
const QString kUnreadable = QStringLiteral("it is damaged: a layer's compressed data cannot be read");
const QString kCutShort = QStringLiteral("it is damaged: a layer's data is cut short");

class CsvReader : public ForeignLayerData::Reader {
public:
    explicit CsvReader(ForeignMapBuilder& builder) : m_builder(builder) {}

    QString Feed(QStringView text) override {
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

    QString Finish() override {
        if (m_state == InValue && !m_builder.Add(std::uint32_t(m_gid)))
            return kTooMany;
        m_state = AfterValue;
        return {};
    }

private:
    ForeignMapBuilder& m_builder;
    enum { Expect, InValue, AfterValue } m_state = Expect;
    std::uint64_t m_gid = 0;
};

// Base64 text decoded a piece at a time into bytes, which Unpack turns into gids.
class Base64Reader : public ForeignLayerData::Reader {
public:
    explicit Base64Reader(ForeignMapBuilder& builder) : m_builder(builder) { m_pending.reserve(kPiece + 4); }

    QString Feed(QStringView text) override {
        for (const QChar c : text) {
            if (c.isSpace())
                continue;
            // Padding ends the data.
            if (c.unicode() > 127 || (m_padded && c != u'='))
                return Damaged();
            m_padded = m_padded || c == u'=';
            m_pending.append(char(c.unicode()));
            if (m_pending.size() >= kPiece && m_pending.size() % 4 == 0)
                if (QString problem = Decode(); !problem.isEmpty())
                    return problem;
        }
        return {};
    }

    QString Finish() override {
        if (QString problem = Decode(); !problem.isEmpty())
            return problem;
        if (QString problem = End(); !problem.isEmpty())
            return problem;
        return m_have == 0 ? QString()
                           : QStringLiteral("it is damaged: a layer's data ends in the middle of a gid");
    }

protected:
    static constexpr qsizetype kPiece = 65536;

    // The decoded bytes: gids as they stand, or compressed data to inflate.
    virtual QString Unpack(const unsigned char* bytes, std::size_t count) { return Gids(bytes, count); }
    virtual QString End() { return {}; }

    QString Gids(const unsigned char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            m_gid |= std::uint32_t(bytes[i]) << (8 * m_have);
            if (++m_have == 4) {
                if (!m_builder.Add(m_gid))
                    return kTooMany;
                m_gid = 0;
                m_have = 0;
            }
        }
        return {};
    }

    std::array<unsigned char, 65536> m_out{};

private:
    static QString Damaged() { return QStringLiteral("it is damaged: a layer's data is not base64"); }

    QString Decode() {
        if (m_pending.isEmpty())
            return {};
        const auto decoded =
            QByteArray::fromBase64Encoding(m_pending, QByteArray::AbortOnBase64DecodingErrors);
        m_pending.clear();
        if (!decoded)
            return Damaged();
        return Unpack(reinterpret_cast<const unsigned char*>(decoded.decoded.constData()),
                      std::size_t(decoded.decoded.size()));
    }

    ForeignMapBuilder& m_builder;
    QByteArray m_pending;
    bool m_padded = false;
    std::uint32_t m_gid = 0;
    int m_have = 0;
};

class ZlibReader : public Base64Reader {
public:
    ZlibReader(ForeignMapBuilder& builder, bool gzip) : Base64Reader(builder) {
        if (inflateInit2(&m_stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK)
            throw std::bad_alloc();
    }
    ~ZlibReader() override { inflateEnd(&m_stream); }

private:
    QString Unpack(const unsigned char* bytes, std::size_t count) override {
        m_stream.next_in = const_cast<Bytef*>(bytes);
        m_stream.avail_in = uInt(count);
        while (m_stream.avail_in > 0) {
            if (m_ended)
                return kUnreadable;
            m_stream.next_out = m_out.data();
            m_stream.avail_out = uInt(m_out.size());
            const int status = inflate(&m_stream, Z_NO_FLUSH);
            if (status == Z_MEM_ERROR)
                throw std::bad_alloc();
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                return kUnreadable;
            m_ended = status == Z_STREAM_END;
            const std::size_t produced = m_out.size() - m_stream.avail_out;
            if (status == Z_BUF_ERROR && produced == 0)
                return kUnreadable;
            if (QString problem = Gids(m_out.data(), produced); !problem.isEmpty())
                return problem;
        }
        return {};
    }
    QString End() override { return m_ended ? QString() : kCutShort; }

    z_stream m_stream{};
    bool m_ended = false;
};

class ZstdReader : public Base64Reader {
public:
    explicit ZstdReader(ForeignMapBuilder& builder) : Base64Reader(builder), m_context(ZSTD_createDCtx()) {
        if (!m_context)
            throw std::bad_alloc();
        // A frame may ask for a window of up to 2 GB; a layer's data never needs more than 128 MB.
        ZSTD_DCtx_setParameter(m_context, ZSTD_d_windowLogMax, 27);
    }
    ~ZstdReader() override { ZSTD_freeDCtx(m_context); }

private:
    QString Unpack(const unsigned char* bytes, std::size_t count) override {
        ZSTD_inBuffer in{bytes, count, 0};
        while (in.pos < in.size || m_status != 0) {
            ZSTD_outBuffer out{m_out.data(), m_out.size(), 0};
            m_status = ZSTD_decompressStream(m_context, &out, &in);
            if (ZSTD_isError(m_status))
                return kUnreadable;
            if (QString problem = Gids(m_out.data(), out.pos); !problem.isEmpty())
                return problem;
            if (in.pos == in.size && out.pos < out.size)
                break;
        }
        return {};
    }
    QString End() override { return m_status == 0 ? QString() : kCutShort; }

    ZSTD_DCtx* m_context;
    std::size_t m_status = 1;
};

} // namespace

namespace ForeignLayerData {

std::unique_ptr<Reader> ReaderFor(const QString& encoding, const QString& compression,
                                  ForeignMapBuilder& builder, QString* refusal) {
    if (encoding == QLatin1String("csv"))
        return std::make_unique<CsvReader>(builder);
    if (encoding != QLatin1String("base64")) {
        *refusal = QStringLiteral("a layer's data is encoded as %1, which this program cannot read")
                       .arg(encoding.left(20));
        return nullptr;
    }
    if (compression.isEmpty())
        return std::make_unique<Base64Reader>(builder);
    if (compression == QLatin1String("zlib") || compression == QLatin1String("gzip"))
        return std::make_unique<ZlibReader>(builder, compression == QLatin1String("gzip"));
    if (compression == QLatin1String("zstd"))
        return std::make_unique<ZstdReader>(builder);
    *refusal = QStringLiteral("a layer's data is compressed as %1, which this program cannot read")
                   .arg(compression.left(20));
    return nullptr;
}

} // namespace ForeignLayerData
