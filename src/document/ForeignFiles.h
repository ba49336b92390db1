#pragma once

#include "document/ForeignMap.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

// What importing a map reads besides the map file: the tileset files and the images it names. Behind an
// interface, so the readers can be tried on any bytes with no disk in the way.
class ForeignFiles {
public:
    virtual ~ForeignFiles() = default;
    // The bytes of the tileset file at path (absolute), or nothing with *refusal saying why in a few words.
    virtual std::optional<QByteArray> TilesetFile(const QString& path, QString* refusal) = 0;
    // Whether the image at path is there and a PNG, and its size.
    virtual ImageFacts Image(const QString& path) = 0;
};

// The files on disk, opened as untrusted files; each image's header is read once, however many tilesets
// name it.
class DiskForeignFiles : public ForeignFiles {
public:
    // A tileset file larger than this is refused: even 32,768 tiles with all their properties take less.
    static constexpr qint64 kMaxTilesetBytes = qint64(64) << 20;

    std::optional<QByteArray> TilesetFile(const QString& path, QString* refusal) override;
    ImageFacts Image(const QString& path) override;

private:
    QHash<QString, ImageFacts> m_images;
};
