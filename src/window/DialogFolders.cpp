// Where the file dialogs start and which name they propose: beside the map being edited, beside the tileset
// images it uses, else where the user last was in this run; never the folder the program happened to be
// started from.
#include "window/frmMain.h"

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

QString frmMain::MapStartFolder() const {
    if (!Document().FilePath().isEmpty())
        return QFileInfo(Document().FilePath()).absolutePath();
    // A map imported from another program has no file of its own yet: beside the file it came from.
    if (!Document().ImportedFrom().isEmpty())
        return QFileInfo(Document().ImportedFrom()).absolutePath();
    // Before any dialog chose a file, the user's own folder: the folder the program was started from is
    // often one nobody keeps maps in.
    return m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
}

QString frmMain::ImageStartFolder() const {
    const std::vector<TilesetLoadRecord>& loads = Document().Loads();
    if (!loads.empty())
        return QFileInfo(loads.back().absolutePath).absolutePath();
    if (!m_lastImageFolder.isEmpty())
        return m_lastImageFolder;
    return MapStartFolder();
}

QString frmMain::ProposedMapPath(const QString& suffix) const {
    const QString& path = Document().FilePath().isEmpty() ? Document().ImportedFrom() : Document().FilePath();
    const QString name = path.isEmpty() ? ProposedFileName(Document().Name(), suffix)
                                        : QFileInfo(path).completeBaseName() + QLatin1Char('.') + suffix;
    return QDir(MapStartFolder()).filePath(name);
}

void frmMain::RememberFolder(const QString& chosenFile, bool image) {
    if (chosenFile.isEmpty())
        return;
    m_lastFolder = QFileInfo(chosenFile).absolutePath();
    if (image)
        m_lastImageFolder = m_lastFolder;
}

QString frmMain::LocateStartFolder(const QString& mapPath) const {
    if (!m_lastImageFolder.isEmpty())
        return m_lastImageFolder;
    return mapPath.isEmpty() ? MapStartFolder() : QFileInfo(mapPath).absolutePath();
}
