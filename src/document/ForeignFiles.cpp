#include "document/ForeignFiles.h"

#include "platform/PNGu.h"
#include "platform/UntrustedFile.h"

#include <QFileInfo>

std::optional<QByteArray> DiskForeignFiles::TilesetFile(const QString& path, QString* refusal) {
    const std::unique_ptr<QFile> file = UntrustedFile::Open(path, kMaxTilesetBytes, refusal);
    if (!file)
        return std::nullopt;
    QByteArray bytes = file->readAll();
    if (bytes.size() != file->size()) {
        *refusal = QStringLiteral("it cannot be read");
        return std::nullopt;
    }
    return bytes;
}

ImageFacts DiskForeignFiles::Image(const QString& path) {
    if (const auto known = m_images.constFind(path); known != m_images.constEnd())
        return *known;
    ImageFacts facts;
    // Only the signature and the header are read here; the image is cut into tiles when the map is built.
    const PNGu::Reader reader(path);
    if (reader.Ok()) {
        facts = {true, true, reader.Width(), reader.Height()};
    } else {
        QString refusal;
        const std::unique_ptr<QFile> file = UntrustedFile::Open(path, PNGu::kMaxFileBytes, &refusal);
        // A damaged PNG counts as missing: its tiles keep their places, and opening the map asks about it.
        facts.found = file && file->read(8) != QByteArray("\x89PNG\r\n\x1a\n", 8);
    }
    m_images.insert(path, facts);
    return facts;
}
