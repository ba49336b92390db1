#include "document/ForeignImport.h"

#include <QDir>
#include <QFileInfo>

namespace ForeignImport {

char Kind(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    for (const char c : bytes) {
        if (c == '<')
            return 'x';
        if (c == '{')
            return 'j';
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return 0;
    }
    return 0;
}

QString ReadTilesetFile(const QByteArray& bytes, const QString& path, ForeignTileset* tileset) {
    switch (Kind(bytes.first(std::min<qsizetype>(bytes.size(), 4096)))) {
    case 'x':
        return ReadTsx(bytes, path, tileset);
    case 'j':
        return ReadTsj(bytes, path, tileset);
    default:
        return QStringLiteral("it is no tileset file");
    }
}

QString ExternalTileset(const QString& source, const QString& mapPath, ForeignFiles& files,
                        TilesetCache& cache, SharedTileset* tileset) {
    if (const auto known = cache.constFind(source); known != cache.constEnd()) {
        *tileset = *known;
        return {};
    }
    const QString path = QDir::cleanPath(QFileInfo(mapPath).absoluteDir().absoluteFilePath(source));
    const QString name = QFileInfo(path).fileName().left(64);
    QString refusal;
    const std::optional<QByteArray> bytes = files.TilesetFile(path, &refusal);
    if (!bytes)
        return QStringLiteral("its tileset file %1 could not be read: %2").arg(name, refusal);
    auto read = std::make_shared<ForeignTileset>();
    if (QString problem = ReadTilesetFile(*bytes, path, read.get()); !problem.isEmpty())
        return QStringLiteral("its tileset file %1 could not be read: %2").arg(name, problem);
    SortTiles(*read);
    *tileset = read;
    cache.insert(source, read);
    return {};
}

} // namespace ForeignImport
