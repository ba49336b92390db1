#pragma once

#include <QString>
#include <QStringList>

// A file type the program declares: its name, extensions and classic type and creator codes. Using it where
// text is expected (a dialog filter) registers it, once. Qt needs no registration to offer a type as a
// dialog filter, so registering only records that it happened.
class FileType {
public:
    const QString& Name() const { return mName; }
    void SetName(const QString& name) { mName = name; }
    const QString& MacCreator() const { return mMacCreator; }
    void SetMacCreator(const QString& creator) { mMacCreator = creator; }
    const QString& MacType() const { return mMacType; }
    void SetMacType(const QString& type) { mMacType = type; }
    const QString& Extensions() const { return mExtension; }
    void SetExtensions(const QString& extensions) { mExtension = extensions; }

    void Register();
    // Registers the type, then yields its name.
    QString ToString();
    // A filter an open dialog understands: the name followed by the file pattern, "image/png (*.png)".
    QString DialogFilter();

private:
    QString mName;
    QString mMacCreator;
    QString mMacType;
    QString mExtension;
    bool mRegistered = false;
};
