#pragma once

#include <QFileInfo>
#include <QString>

// A file the editor was handed or looks for; null when there is none (a cancelled dialog).
class FolderItem {
public:
    FolderItem() = default;
    explicit FolderItem(QString path) : m_path(std::move(path)) {}

    bool IsNull() const { return m_path.isEmpty(); }
    const QString& Path() const { return m_path; }
    // The file's name with its extension, without its folder.
    QString Name() const { return QFileInfo(m_path).fileName(); }

private:
    QString m_path;
};

// A file beside the running program.
FolderItem GetFolderItem(const QString& name);
// A file in the given folder (the program's folder when folder is empty).
FolderItem GetFolderItem(const QString& folder, const QString& name);
