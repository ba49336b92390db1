#include "platform/FolderItem.h"

#include <QCoreApplication>
#include <QDir>

FolderItem GetFolderItem(const QString& name) {
    return GetFolderItem(QString(), name);
}

FolderItem GetFolderItem(const QString& folder, const QString& name) {
    const QString base = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    return FolderItem(QDir(base).filePath(name));
}
