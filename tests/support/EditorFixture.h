#pragma once

#include "ScriptedDialogs.h"
#include "window/frmMain.h"

#include <QImage>
#include <QTemporaryDir>
#include <memory>

// Opens the editor window off screen with scripted dialogs, as a user would see it after start-up.
struct EditorFixture {
    // resourceFolder: where the icon images are looked for; empty means beside the test program, where the
    // build puts the real ones. Each fixture keeps the user's data (recovery copies) in a folder of its own,
    // or in dataFolder when given; replies answer the questions asked while the window opens; own: dialogs of
    // the test's own, scripted in part.
    explicit EditorFixture(const QString& resourceFolder = QString(), const QString& dataFolder = QString(),
                           const QStringList& replies = {}, std::shared_ptr<ScriptedDialogs> own = nullptr);
    ~EditorFixture();

    // Writes an image as a PNG into the fixture's temporary folder and returns its path.
    QString WritePng(const QString& name, const QImage& image);
    // Chooses FileSave, FileSaveAs or FileExport, the save dialog (if asked) answering with file: a path, or
    // a name in the temporary folder.
    void Save(const char* item, const QString& file);
    // Chooses FileOpenMap or FileLoadTiles, the open dialog answering with file, named as for Save.
    void Open(const QString& file, const char* item = "FileOpenMap");
    // Loads an image through File, Load Tiles as a user would, the dialog answering with it.
    void LoadTiles(const QString& name, const QImage& image);
    // Loads count distinct opaque tiles of the current tile size and selects tile `select` (or none if -1).
    void LoadSolidTiles(int count, int select = 0);
    // Picks palette tile i by hovering over it and clicking, as a user does.
    void PickTile(int i);

    std::shared_ptr<ScriptedDialogs> dialogs;
    QTemporaryDir temp;

private:
    std::unique_ptr<frmMain> Start(const QString& resourceFolder, const QString& dataFolder,
                                   const QStringList& replies);
    std::unique_ptr<frmMain> m_window;

public:
    frmMain& w;
};

// An image of width x height whose tile-sized blocks each have a colour of their own.
QImage MakeTileSheet(int width, int height, int tileWidth, int tileHeight);
