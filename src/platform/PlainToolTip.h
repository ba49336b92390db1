#pragma once

#include <QString>
#include <QTextDocument>

// Qt shows a tooltip that looks like markup as markup; one that names a file or quotes one must show as it
// is. Text that would be read as markup is given as markup that shows it literally, line breaks kept; any
// other text is left as it is.
inline QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(text.toHtmlEscaped());
}
