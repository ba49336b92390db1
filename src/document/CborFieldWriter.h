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
    // Qt's own conversion makes a lone surrogate '?', which reads back as a different, real character.
    QString whole = text;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c.isHighSurrogate() && i + 1 < whole.size() && whole[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            whole[i] = QChar::ReplacementCharacter;
    }
    const QByteArray utf8 = whole.toUtf8();
    writer.appendTextString(utf8.constData(), utf8.size());
}
