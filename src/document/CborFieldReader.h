#pragma once

#include <QCborStreamReader>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class QIODevice;

// Reads a map file's values one by one from a device that allows random access (its size is known), each
// checked for its type and its range before it is taken, so nothing the file claims is allocated unchecked.
// The first problem met is kept as the reason to refuse the file, and every call after it fails.
class CborFieldReader {
public:
    explicit CborFieldReader(QIODevice& device);
    ~CborFieldReader();

    const QString& Problem() const { return m_problem; }
    bool Failed() const { return !m_problem.isEmpty(); }
    // Keeps the first problem; returns false.
    bool Fail(const QString& problem);
    QCborStreamReader& Stream() { return m_stream; }
    // Bytes from the current value to the end of the file.
    qint64 BytesLeft() const;

    // Enters a map or an array. *count is its claimed number of entries, or -1 when it does not say; a count
    // above maxCount, or one the rest of the file is too short for at minBytes each, is refused.
    bool EnterMap(std::string_view what, qint64* count);
    bool EnterArray(std::string_view what, qint64 maxCount, qint64 minBytes, qint64* count);
    // Whether the container entered last has another entry; false at its end and after a problem.
    bool HasNext();
    bool Leave();

    // The next map key. Keys are text strings; any other key, or one too long to be known, comes back empty.
    bool Key(std::string_view* key);
    bool Integer(std::string_view what, qint64 min, qint64 max, qint64* value);
    bool Bool(std::string_view what, bool* value);
    // A UTF-8 text of at most MapFileFormat::kMaxTextBytes bytes.
    bool Text(std::string_view what, QString* value);
    // A byte string of at most maxBytes bytes, valid until the next text or byte string is read.
    bool Bytes(std::string_view what, qint64 maxBytes, std::span<const char>* bytes);
    // Passes over one value whatever it holds (an unknown field's).
    bool Skip();
    // Goes back (or on) to the value at offset, a place Stream().currentOffset() gave, to read it again.
    bool Reposition(qint64 offset);
    // Passes over the tag if the current value carries it.
    bool SkipTag(quint64 tag);

    // Reads a map whose known keys are keys: readField(i) reads the value of keys[i]. Unknown keys are passed
    // over; a key given twice, or one whose bit is set in required and that is missing, refuses the file.
    template <typename ReadField>
    bool Fields(std::string_view what, std::span<const std::string_view> keys, std::uint32_t required,
                ReadField&& readField);

private:
    bool FieldMissing(std::string_view what, std::string_view key);
    bool FieldTwice(std::string_view what, std::string_view key);
    bool StreamOk();
    // Whether a step of the stream went well; a step that failed is a problem even when the stream names
    // none.
    bool Succeeded(bool streamStep);
    bool WrongType(std::string_view what, const char* wanted);
    bool ReadString(std::string_view what, qint64 maxBytes, std::vector<char>* buffer, qint64* length);

    class SizedInput;
    std::unique_ptr<SizedInput> m_input;
    QCborStreamReader m_stream;
    QString m_problem;
    std::vector<char> m_buffer;
    char m_key[32];
};

template <typename ReadField>
bool CborFieldReader::Fields(std::string_view what, std::span<const std::string_view> keys,
                             std::uint32_t required, ReadField&& readField) {
    qint64 count = 0;
    if (!EnterMap(what, &count))
        return false;
    std::uint32_t seen = 0;
    while (HasNext()) {
        std::string_view key;
        if (!Key(&key))
            return false;
        std::size_t field = 0;
        while (field < keys.size() && keys[field] != key)
            ++field;
        if (field == keys.size()) {
            if (!Skip())
                return false;
            continue;
        }
        if (seen & (1u << field))
            return FieldTwice(what, key);
        seen |= 1u << field;
        if (!readField(field))
            return false;
    }
    if (!Leave())
        return false;
    for (std::size_t field = 0; field < keys.size(); ++field)
        if ((required & (1u << field)) && !(seen & (1u << field)))
            return FieldMissing(what, keys[field]);
    return true;
}
