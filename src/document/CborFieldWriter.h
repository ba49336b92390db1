#pragma once

#include <QCborStreamWriter>
#include <QString>
#include <string_view>

// Writing a map file's keys and texts: keys are ASCII, texts go out as UTF-8 (a lone surrogate, which is no
// character, becomes U+FFFD).
inline void AppendKey(QCborStreamWriter& writer, std::string_view key) {
    writer.append(QLatin1StringView(key.data(), qsizetype(key.size())));
}

inline void AppendText(QCborStreamWriter& writer, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    writer.appendTextString(utf8.constData(), utf8.size());
}
