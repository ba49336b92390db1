// The map as a file, through the menus as a user reaches them: saved, opened and compared cell by cell and
// pixel by pixel, the question that guards unsaved work on every path with every answer, saves that fail,
// files that are refused, and tileset images that went missing or changed, exported without them.
#include "UserSteps.h"
#include "document/CellRecords.h"
#include "platform/ScrollBar.h"
#include "window/mnuMain.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QtTest>
#include <random>

namespace {

void Choose(const char* item) {
    mnuMain::Instance()->Item(QLatin1String(item))->trigger();
}

struct StoredCell {
    int layer, index;
    CellRecord record;
    bool operator==(const StoredCell&) const = default;
};

// Every stored cell of every layer, with its place, as records: all twelve fields.
std::vector<StoredCell> AllCells(const frmMain& w) {
    std::vector<StoredCell> cells;
    for (int k = 0; k < 8; ++k)
        for (std::uint32_t i = 0; i < w.Layer(k).Count(); ++i)
            if (const LayerGrid& grid = w.Layer(k); grid.AtIndex(i))
                cells.push_back({k, int(i), RecordOf(grid.At(int(i) % grid.Width(), int(i) / grid.Width()))});
    return cells;
}

// The map canvas with no cursor on it.
QImage ShownMap(frmMain& w) {
    Input::Leave(w.canMain);
    return w.canMain->Buffer().copy();
}

// A map as a user paints it: 8 layers of 16-pixel tiles, strokes of every tool on every layer, tiles with
// game properties, a cell with properties of its own, a hidden layer and a name.
void Paint(EditorFixture& f, std::uint32_t seed) {
    frmMain& w = f.window();
    w.txtName->setText(QStringLiteral("Ruins \"north\" & ü"));
    Apply(w, "8", "16", "16", "40", "30");
    f.LoadSolidTiles(12, 0);
    const TileRef door = w.Tileset().GetTile(3);
    ChangeTemplate(w, 3, [](GameValues& values) {
        values.passable = true;
        values.listIndex = -7;
        values.custom1 = QStringLiteral("door, \"A\"\nsecond line");
    });
    std::mt19937 rng(seed);
    const auto cell = [&](int n) { return int(rng() % unsigned(n)); };
    for (int k = 0; k < 8; ++k) {
        ChooseEditLayer(w, k);
        if (k > 0 && k != 5)
            w.btnLayer[std::size_t(k)]->click();
        for (int s = 0; s < 5; ++s) {
            ChooseTool(w, ToolAt(cell(8)));
            f.PickTile(cell(12));
            DragStroke(w, cell(33), cell(31), cell(33), cell(31));
        }
    }
    CellRecord own = RecordOf(w.Tileset().GetTile(3)->Template());
    own.x = 5 * 16, own.y = 6 * 16, own.zOrder = 2, own.custom2 = QStringLiteral("key"),
    own.destroyable = true;
    MapDocument::CellEdit edit(w.Document(), QStringLiteral("Own"));
    edit.Put(2, 5, 6, CellRef::Make(ValuesOf(own)));
    edit.Commit();
    w.Refresh();
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    // Painted, saved through Save on an untitled map, a new map, then opened: every field of every cell, the
    // settings, the tiles and their properties, the picture and the title are back.
    void roundTrip() {
        for (std::uint32_t seed : {1u, 2u, 3u}) {
            EditorFixture f;
            frmMain& w = f.window();
            Paint(f, seed);
            const auto cells = AllCells(w);
            const QImage picture = ShownMap(w);
            const MapSettingsValues settings = w.Document().Settings();
            QVERIFY(w.isWindowModified() && w.windowTitle() == "Untitled[*] - 2D Mosaicor");
            const QString path = QDir(f.temp.path()).filePath("painted");
            f.dialogs->saveAnswers.push_back(FolderItem(path));
            Choose("FileSave");
            QCOMPARE(w.windowTitle(), "painted.mqm[*] - 2D Mosaicor");
            QVERIFY(!w.isWindowModified());
            QCOMPARE(w.lblStatus->text(), "painted.mqm saved");
            Choose("FileNewMap");
            QVERIFY(f.dialogs->questions.isEmpty());
            QCOMPARE(Say(w.windowTitle(), w.MapWidth(), w.Layers(), w.Tileset().Count(), w.txtWidth->text(),
                         w.txtName->text(), w.btnLayer[1]->isEnabled()),
                     "2D Mosaicor 100 3 0 32  true");
            f.dialogs->answers.push_back(FolderItem(path + ".mqm"));
            Choose("FileOpenMap");
            QVERIFY(AllCells(w) == cells);
            QCOMPARE(ShownMap(w), picture);
            QVERIFY(w.Document().Settings() == settings);
            QCOMPARE(Say(w.windowTitle(), w.isWindowModified(), w.txtMapWidth->text(), w.txtName->text(),
                         w.btnLayer[5]->Value(), w.btnLayer[6]->Value(), w.Tileset().Count()),
                     "painted.mqm[*] - 2D Mosaicor false 40 Ruins \"north\" & ü false true 12");
            const clsVOCell& door = w.Tileset().GetTile(3)->Template();
            QCOMPARE(Say(door.Passable(), door.ListIndex(), door.Custom1(), door.ImageIndex()),
                     "true -7 door, \"A\"\nsecond line 3");
        }
    }

    // Whatever leaves the map asks first when it has unsaved changes: Save (untitled: the save dialog, whose
    // cancel cancels the command too), Discard or Cancel, and Cancel really cancels.
    void unsavedChanges_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("proceeds");
        for (const char* command : {"FileNewMap", "FileOpenMap", "FileClose", "FileQuit", "close box"})
            for (const auto& [answer, proceeds] :
                 {std::pair{"Save", true}, std::pair{"Save, then cancel", false}, std::pair{"Discard", true},
                  std::pair{"Cancel", false}})
                QTest::addRow("%s, %s", command, answer) << QString(command) << QString(answer) << proceeds;
    }
    void unsavedChanges() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(bool, proceeds);
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(2, 1);
        Click(w, 3, 4);
        const auto cells = AllCells(w);
        const QString saved = QDir(f.temp.path()).filePath("kept.mqm");
        f.dialogs->replies.push_back(answer.section(',', 0, 0));
        if (answer == "Save")
            f.dialogs->saveAnswers.push_back(FolderItem(saved));
        if (command == "close box")
            w.close();
        else
            Choose(qPrintable(command));
        QCOMPARE(f.dialogs->questions, QStringList{"Save the changes to Untitled?"});
        QCOMPARE(QFile::exists(saved), answer == "Save");
        const bool left = command == "FileQuit" || command == "close box" ? !w.isVisible()
                          : command == "FileOpenMap"                      ? f.dialogs->requests.size() == 2
                                                                          : w.Tileset().Count() == 0;
        QCOMPARE(left, proceeds);
        if (!proceeds)
            QVERIFY(AllCells(w) == cells && w.isWindowModified());
    }

    // A save that fails leaves the map open and modified, says why, and leaves the file there as it was.
    void failedSaves() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(2, 1);
        Click(w, 1, 1);
        const QDir dir(f.temp.path());
        const QString path = dir.filePath("map.mqm");
        f.dialogs->saveAnswers.push_back(FolderItem(path));
        Choose("FileSaveAs");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        Click(w, 2, 2);
        f.dialogs->cancelWorkAfter = 1; // the user cancels the progress part way
        Choose("FileSave");
        f.dialogs->cancelWorkAfter = -1;
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        QVERIFY(w.isWindowModified() && f.dialogs->messages.isEmpty());
        QFile blocker(dir.filePath("folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        QVERIFY(dir.mkdir("taken.mqm")); // a folder where the file should be
        for (const QString& target : {dir.filePath("folder/map.mqm"), dir.filePath("taken.mqm")}) {
            f.dialogs->saveAnswers.push_back(FolderItem(target));
            Choose("FileSaveAs");
        }
        QCOMPARE(f.dialogs->messages.size(), 2);
        QVERIFY(f.dialogs->messages[0].startsWith("map.mqm could not be saved: "));
        QVERIFY(w.isWindowModified() && w.windowTitle() == "map.mqm[*] - 2D Mosaicor");
    }

    // A file that is not a map is refused with its reason; the map shown stays as it was.
    void refusedFiles() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(2, 1);
        Click(w, 1, 1);
        const auto cells = AllCells(w);
        const QString bad = f.WritePng("not-a-map.mqm", MakeTileSheet(32, 32, 32, 32));
        f.dialogs->replies.push_back("Discard");
        f.dialogs->answers.push_back(FolderItem(bad));
        Choose("FileOpenMap");
        QCOMPARE(f.dialogs->messages.size(), 1);
        QVERIFY(f.dialogs->messages[0].startsWith("not-a-map.mqm could not be opened: "));
        QVERIFY(AllCells(w) == cells && w.Tileset().Count() == 2);
        // A map that memory runs out for while it is built is refused the same way.
        const QString good = QDir(f.temp.path()).filePath("good.mqm");
        f.dialogs->saveAnswers.push_back(FolderItem(good));
        Choose("FileSaveAs");
        Click(w, 2, 2);
        const auto changed = AllCells(w);
        f.dialogs->replies.push_back("Discard");
        f.dialogs->answers.push_back(FolderItem(good));
        CellRef::FailCellMemoryAfter(0);
        Choose("FileOpenMap");
        CellRef::FailCellMemoryAfter(-1);
        QCOMPARE(f.dialogs->messages.last(),
                 "good.mqm could not be opened: there is not enough memory for it");
        QVERIFY(AllCells(w) == changed && changed != cells);
    }

    // A tileset image that went missing or changed: the user may open the map without it (its tiles stay as
    // placeholders, the cells keep their records and show empty), locate it, or not open the map at all.
    void tilesetImages() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(3, 2);
        DragStroke(w, 1, 1, 4, 1);
        const QRgb colour = TileColour(w, 2);
        const auto cells = AllCells(w);
        const QImage picture = ShownMap(w);
        const QDir dir(f.temp.path());
        f.dialogs->saveAnswers.push_back(FolderItem(dir.filePath("map.mqm")));
        Choose("FileSaveAs");
        QVERIFY(QFile::rename(dir.filePath("solid.png"), dir.filePath("moved.png")));
        const auto open = [&](const QString& reply, const QString& located = QString()) {
            f.dialogs->replies.push_back(reply);
            f.dialogs->answers.push_back(FolderItem(dir.filePath("map.mqm")));
            if (!located.isEmpty())
                f.dialogs->answers.push_back(FolderItem(dir.filePath(located)));
            Choose("FileOpenMap");
        };
        open("Open Without It");
        QCOMPARE(f.dialogs->questions.last(), "The tileset image solid.png is missing.");
        QVERIFY(AllCells(w) == cells && w.Tileset().Count() == 3 && !w.Tileset().GetTile(2)->Image());
        QVERIFY(CellsShowing(w, colour).empty());
        // Exported so, through the menu (a name without a suffix is a TMX map), those cells are written as
        // empty, and the status line counts them.
        f.dialogs->saveAnswers.push_back(FolderItem(dir.filePath("out")));
        Choose("FileExport");
        QCOMPARE(w.lblStatus->text(), "out.tmx exported; 4 cells written as empty, their tiles are gone");
        open("Locate\u2026", "moved.png");
        QVERIFY(AllCells(w) == cells && w.Tileset().GetTile(2)->Image());
        QCOMPARE(ShownMap(w), picture);
        Choose("FileSave"); // the map now refers to the image where it was found
        f.WritePng("moved.png", MakeTileSheet(96, 32, 16, 32)); // the same size, other pictures
        Choose("FileNewMap");
        open("Cancel");
        QCOMPARE(f.dialogs->questions.last(),
                 "The tileset image moved.png is not the image the map was made with.");
        QCOMPARE(w.windowTitle(), "2D Mosaicor");
    }

    // How the user looks at the map is not the map: tool, grid, edit layer and scrolling leave it unmodified;
    // showing or hiding a layer changes it.
    void viewStateIsNotSaved() {
        EditorFixture f;
        frmMain& w = f.window();
        ChooseTool(w, Tool::Rectangle);
        w.btnViewGrid->click();
        ChooseEditLayer(w, 2);
        w.scbMainVertical->setValue(4);
        QVERIFY(!w.isWindowModified() && w.windowTitle() == "2D Mosaicor");
        w.btnLayer[1]->click();
        QVERIFY(w.isWindowModified() && w.Document().LayerVisible(1));
        Choose("EditUndo");
        QVERIFY(!w.isWindowModified() && !w.btnLayer[1]->Value());
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
