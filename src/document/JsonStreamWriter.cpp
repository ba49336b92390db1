#include "document/JsonStreamWriter.h"

#include "document/WriteAll.h"

namespace {

constexpr qsizetype kFlushBytes = 64 * 1024;

void AppendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// Appends text as a JSON string; returns false when a lone surrogate had to become U+FFFD.
bool AppendJsonString(QByteArray& out, const QString& text) {
    static constexpr char hex[] = "0123456789abcdef";
    bool intact = true;
    out += '"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, QChar::ReplacementCharacter);
            intact = false;
        } else {
            AppendUtf8(out, c);
        }
    }
    out += '"';
    return intact;
}

} // namespace

JsonStreamWriter::JsonStreamWriter(QIODevice& device) : device(device) {
    held.reserve(kFlushBytes + 4096);
}

void JsonStreamWriter::NewLine() {
    held += '\n';
    held.append(qsizetype(open.size()) * 2, ' ');
}

void JsonStreamWriter::BeginValue() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (open.empty())
        return;
    Container& container = open.back();
    if (container.layout == Layout::OneLine) {
        if (container.hasValue)
            held += ", ";
    } else {
        if (container.hasValue)
            held += ',';
        NewLine();
    }
    container.hasValue = true;
}

void JsonStreamWriter::Open(char bracket, Layout layout) {
    BeginValue();
    held += bracket;
    open.push_back({false, layout});
}

void JsonStreamWriter::Close(char bracket) {
    const Container closed = open.back();
    open.pop_back();
    if (closed.hasValue && closed.layout == Layout::Lines)
        NewLine();
    held += bracket;
    if (open.empty())
        held += '\n';
    FlushIfFull();
}

void JsonStreamWriter::BeginObject(Layout layout) {
    Open('{', layout);
}
void JsonStreamWriter::EndObject() {
    Close('}');
}
void JsonStreamWriter::BeginArray() {
    Open('[', Layout::Lines);
}
void JsonStreamWriter::EndArray() {
    Close(']');
}

JsonStreamWriter& JsonStreamWriter::Key(const char* key) {
    BeginValue();
    held += '"';
    held += key;
    held += "\": ";
    afterKey = true;
    return *this;
}

void JsonStreamWriter::String(const QString& text) {
    BeginValue();
    altered += !AppendJsonString(held, text);
    FlushIfFull();
}

void JsonStreamWriter::Int(qint64 value) {
    BeginValue();
    held += QByteArray::number(value);
}

void JsonStreamWriter::Bool(bool value) {
    BeginValue();
    held += value ? "true" : "false";
}

void JsonStreamWriter::Number(const QString& text) {
    BeginValue();
    held += text.toLatin1();
}

QIODevice& JsonStreamWriter::BeginRawValue() {
    BeginValue();
    Finish();
    return device;
}

void JsonStreamWriter::FlushIfFull() {
    if (held.size() >= kFlushBytes)
        Finish();
}

bool JsonStreamWriter::Finish() {
    if (!failed && !held.isEmpty())
        failed = !WriteAll(device, held.constData(), held.size());
    held.resize(0); // keeps the buffer
    return !failed;
}
