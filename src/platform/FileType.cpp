#include "platform/FileType.h"

void FileType::Register() {
    mRegistered = true;
}

QString FileType::ToString() {
    Register();
    return mName;
}

QString FileType::DialogFilter() {
    const QString name = ToString();
    QStringList patterns;
    for (QString extension : mExtension.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        extension = extension.trimmed();
        if (!extension.startsWith(QLatin1Char('.')))
            extension.prepend(QLatin1Char('.'));
        patterns.append(QLatin1Char('*') + extension);
    }
    return QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
}
