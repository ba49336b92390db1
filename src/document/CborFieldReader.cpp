#include "document/CborFieldReader.h"

#include "document/MapFileFormat.h"

#include <QIODevice>
#include <QStringDecoder>

namespace {
QString Name(std::string_view what) {
    return QString::fromUtf8(what.data(), qsizetype(what.size()));
}
} // namespace

// The device as the stream reader sees it. The stream reader asks for the bytes available before each text
// it reads and peeks ahead by reading and seeking back; on a file each of these is a system call. So the size
// is taken once, and the file is read front to back in large blocks kept here, so a step back within the
// last block costs nothing.
class CborFieldReader::SizedInput : public QIODevice {
public:
    explicit SizedInput(QIODevice& source)
        : m_source(source), m_start(source.pos()), m_size(source.size() - m_start) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 size() const override { return m_size; }
    bool seek(qint64 pos) override {
        if (pos < m_blockStart || pos > m_blockStart + qint64(m_block.size())) {
            if (!m_source.seek(m_start + pos))
                return false;
            m_blockStart = pos;
            m_block.clear();
        }
        return QIODevice::seek(pos);
    }

protected:
    // Fills the whole request unless the file ends: a short read is an error to the stream reader.
    qint64 readData(char* data, qint64 maxSize) override {
        qint64 done = 0;
        for (qint64 at = pos(); done < maxSize;) {
            const qint64 blockEnd = m_blockStart + qint64(m_block.size());
            if (at < blockEnd) {
                const qint64 count = qMin(maxSize - done, blockEnd - at);
                std::copy_n(m_block.data() + (at - m_blockStart), count, data + done);
                done += count;
                at += count;
                continue;
            }
            // Large reads go straight through; small ones start a new block.
            const bool direct = maxSize - done >= kBlockBytes;
            if (!direct)
                m_block.resize(std::size_t(kBlockBytes));
            const qint64 read = direct ? m_source.read(data + done, maxSize - done)
                                       : m_source.read(m_block.data(), kBlockBytes);
            m_block.resize(direct ? 0 : std::size_t(qMax<qint64>(read, 0)));
            m_blockStart = direct ? at + qMax<qint64>(read, 0) : at;
            if (read < 0)
                return done > 0 ? done : -1;
            if (read == 0)
                break;
            if (direct) {
                done += read;
                at += read;
            }
        }
        return done;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    static constexpr qint64 kBlockBytes = 1 << 16;
    QIODevice& m_source;
    const qint64 m_start;
    const qint64 m_size;
    std::vector<char> m_block;
    // Where m_block starts, counted like pos(); the source is at the block's end.
    qint64 m_blockStart = 0;
};

CborFieldReader::CborFieldReader(QIODevice& device)
    : m_input(std::make_unique<SizedInput>(device)), m_stream(m_input.get()) {}

CborFieldReader::~CborFieldReader() = default;

bool CborFieldReader::Fail(const QString& problem) {
    if (m_problem.isEmpty())
        m_problem = problem;
    return false;
}

qint64 CborFieldReader::BytesLeft() const {
    return m_input->size() - m_stream.currentOffset();
}

bool CborFieldReader::StreamOk() {
    if (Failed())
        return false;
    switch (m_stream.lastError().c) {
    case QCborError::NoError:
        return true;
    case QCborError::EndOfFile:
        return Fail(QStringLiteral("it ends too early"));
    case QCborError::InputOutputError:
        return Fail(QStringLiteral("it cannot be read"));
    default:
        return Fail(QStringLiteral("it is damaged: it is not well-formed"));
    }
}

bool CborFieldReader::WrongType(std::string_view what, const char* wanted) {
    return StreamOk() &&
           Fail(QStringLiteral("it is damaged: “%1” is not %2").arg(Name(what), QLatin1StringView(wanted)));
}

bool CborFieldReader::EnterMap(std::string_view what, qint64* count) {
    if (!StreamOk())
        return false;
    if (!m_stream.isMap())
        return WrongType(what, "a map");
    *count = m_stream.isLengthKnown() ? qint64(qMin<quint64>(m_stream.length(), quint64(1) << 62)) : -1;
    return Succeeded(m_stream.enterContainer());
}

bool CborFieldReader::EnterArray(std::string_view what, qint64 maxCount, qint64 minBytes, qint64* count) {
    if (!StreamOk())
        return false;
    if (!m_stream.isArray())
        return WrongType(what, "a list");
    *count = -1;
    if (m_stream.isLengthKnown()) {
        if (m_stream.length() > quint64(maxCount))
            return Fail(QStringLiteral("it is damaged: “%1” claims %2 entries, more than %3")
                            .arg(Name(what))
                            .arg(m_stream.length())
                            .arg(maxCount));
        *count = qint64(m_stream.length());
        // Entries the rest of the file cannot hold: what a file cut short looks like.
        if (*count * minBytes > BytesLeft())
            return Fail(QStringLiteral("it ends too early"));
    }
    return Succeeded(m_stream.enterContainer());
}

bool CborFieldReader::HasNext() {
    return StreamOk() && m_stream.hasNext();
}

bool CborFieldReader::Leave() {
    return StreamOk() && Succeeded(m_stream.leaveContainer());
}

bool CborFieldReader::Key(std::string_view* key) {
    *key = {};
    if (!StreamOk())
        return false;
    if (!m_stream.isString())
        return Skip();
    qint64 length = 0;
    if (!ReadString("a field's name", MapFileFormat::kMaxTextBytes, &m_buffer, &length))
        return false;
    // A name longer than any known one stays unknown.
    if (length <= qint64(sizeof(m_key))) {
        std::copy_n(m_buffer.data(), length, m_key);
        *key = std::string_view(m_key, std::size_t(length));
    }
    return true;
}

bool CborFieldReader::Integer(std::string_view what, qint64 min, qint64 max, qint64* value) {
    if (!StreamOk())
        return false;
    bool inRange = false;
    if (m_stream.isUnsignedInteger()) {
        const quint64 number = m_stream.toUnsignedInteger();
        inRange = max >= 0 && number <= quint64(max);
        *value = inRange ? qint64(number) : 0;
    } else if (m_stream.isNegativeInteger()) {
        // The value is -magnitude; the largest magnitude CBOR holds wraps to 0 here.
        const quint64 magnitude = quint64(m_stream.toNegativeInteger());
        inRange = magnitude != 0 && min < 0 && magnitude <= quint64(-(min + 1)) + 1;
        *value = inRange ? qint64(0 - magnitude) : 0;
    } else {
        return WrongType(what, "a whole number");
    }
    if (!inRange || *value < min || *value > max)
        return Fail(QStringLiteral("it is damaged: “%1” is out of range").arg(Name(what)));
    return Succeeded(m_stream.next());
}

bool CborFieldReader::Bool(std::string_view what, bool* value) {
    if (!StreamOk())
        return false;
    if (!m_stream.isBool())
        return WrongType(what, "true or false");
    *value = m_stream.toBool();
    return Succeeded(m_stream.next());
}

bool CborFieldReader::ReadString(std::string_view what, qint64 maxBytes, std::vector<char>* buffer,
                                 qint64* length) {
    // The buffer only grows: reused from one chunk of layer data to the next, it is not cleared each time.
    *length = 0;
    for (;;) {
        if (!StreamOk())
            return false;
        const qint64 chunk = m_stream.currentStringChunkSize();
        if (chunk < 0 || *length + chunk > maxBytes)
            return Fail(QStringLiteral("it is damaged: “%1” is longer than it can be").arg(Name(what)));
        // A string that could be this long but runs past the end is a file cut short.
        if (chunk > BytesLeft())
            return Fail(QStringLiteral("it ends too early"));
        if (qint64(buffer->size()) < *length + chunk)
            buffer->resize(std::size_t(*length + chunk));
        const auto read = m_stream.readStringChunk(buffer->data() + *length, chunk);
        if (read.status == QCborStreamReader::Error)
            return StreamOk() && Fail(QStringLiteral("it is damaged: “%1” cannot be read").arg(Name(what)));
        if (read.status == QCborStreamReader::EndOfString)
            return StreamOk();
        *length += read.data;
    }
}

bool CborFieldReader::Text(std::string_view what, QString* value) {
    if (!StreamOk())
        return false;
    if (!m_stream.isString())
        return WrongType(what, "a text");
    qint64 length = 0;
    if (!ReadString(what, MapFileFormat::kMaxTextBytes, &m_buffer, &length))
        return false;
    // A byte order mark at the start is part of the text, not a hint to drop.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *value = decoder(QByteArrayView(m_buffer.data(), length));
    if (decoder.hasError())
        return Fail(QStringLiteral("it is damaged: “%1” is not valid UTF-8").arg(Name(what)));
    return true;
}

bool CborFieldReader::Bytes(std::string_view what, qint64 maxBytes, std::span<const char>* bytes) {
    if (!StreamOk())
        return false;
    if (!m_stream.isByteArray())
        return WrongType(what, "a byte string");
    qint64 length = 0;
    if (!ReadString(what, maxBytes, &m_buffer, &length))
        return false;
    *bytes = {m_buffer.data(), std::size_t(length)};
    return true;
}

bool CborFieldReader::Skip() {
    if (!StreamOk())
        return false;
    // Passing a tag leads into the value it tags, which is then passed in turn.
    while (m_stream.isTag())
        if (!Succeeded(m_stream.next()))
            return false;
    return Succeeded(m_stream.next(MapFileFormat::kMaxSkipDepth));
}

bool CborFieldReader::Reposition(qint64 offset) {
    if (!StreamOk())
        return false;
    if (!m_input->seek(offset))
        return Fail(QStringLiteral("it cannot be read"));
    m_stream.setDevice(m_input.get());
    return StreamOk();
}

bool CborFieldReader::Succeeded(bool streamStep) {
    if (!StreamOk())
        return false;
    return streamStep || Fail(QStringLiteral("it is damaged: it is not well-formed"));
}

bool CborFieldReader::SkipTag(quint64 tag) {
    if (!StreamOk())
        return false;
    if (!m_stream.isTag() || quint64(m_stream.toTag()) != tag)
        return true;
    return Succeeded(m_stream.next());
}

bool CborFieldReader::FieldMissing(std::string_view what, std::string_view key) {
    return Fail(QStringLiteral("it is damaged: “%1” has no “%2”").arg(Name(what), Name(key)));
}

bool CborFieldReader::FieldTwice(std::string_view what, std::string_view key) {
    return Fail(QStringLiteral("it is damaged: “%1” has “%2” twice").arg(Name(what), Name(key)));
}
