#include "document/XmlSafeText.h"

bool IsXmlCharacter(const QString& text, qsizetype at) {
    const char16_t c = text[at].unicode();
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    if (QChar::isHighSurrogate(c))
        return at + 1 < text.size() && text[at + 1].isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return at > 0 && text[at - 1].isHighSurrogate();
    return c != 0xFFFE && c != 0xFFFF;
}

QString XmlSafeText(const QString& text, int& altered) {
    QString safe = text;
    bool changed = false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!IsXmlCharacter(text, i)) {
            safe[i] = QChar::ReplacementCharacter;
            changed = true;
        }
    altered += changed;
    return safe;
}
