// Where the file dialogs start and which name they propose: beside the map being edited, beside the tileset
// images it uses, else where the user last was in this run; never the folder the program happened to be
// started from.
#include "window/DialogFolders.h"

#include "document/MapDocument.h"

#include <QDir>
#include <QFileInfo>

QString ProposedFileName(const QString& name, const QString& suffix) {
    QString base = name.trimmed();
    // A name is no path: separators and what a file system refuses become dashes, and a leading dot would
    // hide the file.
    for (QChar& c : base)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            c = QLatin1Char('-');
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    if (base.isEmpty())
        base = QStringLiteral("Untitled");
    return base + QLatin1Char('.') + suffix;
}

QString DialogFolders::MapStart(const MapDocument& map) const {
    if (!map.FilePath().isEmpty())
        return QFileInfo(map.FilePath()).absolutePath();
    // A map imported from another program has no file of its own yet: beside the file it came from.
    if (!map.ImportedFrom().isEmpty())
        return QFileInfo(map.ImportedFrom()).absolutePath();
    // Before any dialog chose a file, the user's own folder: the folder the program was started from is
    // often one nobody keeps maps in.
    return m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
}

QString DialogFolders::ImageStart(const MapDocument& map) const {
    const std::vector<TilesetLoadRecord>& loads = map.Loads();
    if (!loads.empty())
        return QFileInfo(loads.back().absolutePath).absolutePath();
    if (!m_lastImageFolder.isEmpty())
        return m_lastImageFolder;
    return MapStart(map);
}

QString DialogFolders::ProposedMapPath(const MapDocument& map, const QString& suffix) const {
    const QString& path = map.FilePath().isEmpty() ? map.ImportedFrom() : map.FilePath();
    const QString name = path.isEmpty() ? ProposedFileName(map.Name(), suffix)
                                        : QFileInfo(path).completeBaseName() + QLatin1Char('.') + suffix;
    return QDir(MapStart(map)).filePath(name);
}

void DialogFolders::Remember(const QString& chosenFile, bool image) {
    if (chosenFile.isEmpty())
        return;
    m_lastFolder = QFileInfo(chosenFile).absolutePath();
    if (image)
        m_lastImageFolder = m_lastFolder;
}

QString DialogFolders::LocateStart(const MapDocument& map, const QString& mapPath) const {
    if (!m_lastImageFolder.isEmpty())
        return m_lastImageFolder;
    return mapPath.isEmpty() ? MapStart(map) : QFileInfo(mapPath).absolutePath();
}
