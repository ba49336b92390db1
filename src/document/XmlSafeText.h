#pragma once

#include <QString>

// XML 1.0 has no way to write most control characters, U+FFFE, U+FFFF or a lone UTF-16 surrogate, not even as
// a character reference, and the XML writer leaves a text holding one out altogether. Such characters (a
// custom text can hold them, pasted) are written as U+FFFD instead. altered counts the texts that needed it.
QString XmlSafeText(const QString& text, int& altered);

// True for a character XML 1.0 can hold; a surrogate counts when it is half of a pair.
bool IsXmlCharacter(const QString& text, qsizetype at);
