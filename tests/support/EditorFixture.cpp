#include "EditorFixture.h"

#include "MapInput.h"
#include "UserSteps.h"
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"
#include "tiles/clsVOTileset.h"

#include <QDir>
#include <QFile>
#include <QTest>

EditorFixture::EditorFixture(const QString& resourceFolder, const QString& dataFolder,
                             const QStringList& replies, std::shared_ptr<ScriptedDialogs> own)
    : dialogs(own ? std::move(own) : std::make_shared<ScriptedDialogs>()),
      m_window(Start(resourceFolder, dataFolder, replies)), w(*m_window) {}

std::unique_ptr<frmMain> EditorFixture::Start(const QString& resourceFolder, const QString& dataFolder,
                                              const QStringList& replies) {
    // Tests run side by side, in two builds at once: none may see another's recovery copies.
    qputenv("XDG_DATA_HOME",
            QFile::encodeName(dataFolder.isEmpty() ? QDir(temp.path()).filePath("data") : dataFolder));
    dialogs->replies.insert(dialogs->replies.end(), replies.begin(), replies.end());
    auto window = std::make_unique<frmMain>(dialogs, resourceFolder);
    window->show();
    return window;
}

// Every window test also proves that no message or question waits under the busy cursor.
EditorFixture::~EditorFixture() {
    if (!dialogs->underBusyCursor.isEmpty())
        QTest::qFail(qPrintable("under the busy cursor: " + dialogs->underBusyCursor.join(" | ")), __FILE__,
                     __LINE__);
}

QString EditorFixture::WritePng(const QString& name, const QImage& image) {
    const QString path = QDir(temp.path()).filePath(name);
    image.save(path, "PNG");
    return path;
}

void EditorFixture::Save(const char* item, const QString& file) {
    dialogs->saveAnswers.push_back(FolderItem(QDir(temp.path()).filePath(file)));
    ChooseItem(item);
}

void EditorFixture::Open(const QString& file, const char* item) {
    dialogs->answers.push_back(FolderItem(QDir(temp.path()).filePath(file)));
    ChooseItem(item);
}

void EditorFixture::LoadTiles(const QString& name, const QImage& image) {
    Open(WritePng(name, image), "FileLoadTiles");
}

void EditorFixture::LoadSolidTiles(int count, int select) {
    const int tw = w.Tileset().TileWidth(), th = w.Tileset().TileHeight();
    LoadTiles(QStringLiteral("solid.png"), MakeTileSheet(tw * count, th, tw, th));
    if (select >= 0)
        PickTile(select);
}

void EditorFixture::PickTile(int i) {
    if (!w.Tileset().GetTile(i))
        return;
    // Scroll the palette towards the tile's row, then hover over it and click.
    w.Controls().scbTilesVertical->setValue(w.Palette().DisplayRow(i));
    PaletteStroke(w, PaletteTile(w, i));
}

QImage MakeTileSheet(int width, int height, int tileWidth, int tileHeight) {
    QImage image(width, height, QImage::Format_ARGB32);
    const int across = width / tileWidth; // whole tiles only, counted row by row
    for (int y = 0; y < height / tileHeight * tileHeight; ++y)
        for (int x = 0; x < across * tileWidth; ++x) {
            const int n = y / tileHeight * across + x / tileWidth;
            image.setPixelColor(x, y, QColor::fromHsv((n * 47) % 360, 200, 120 + (n * 13) % 120));
        }
    return image;
}
