// The map as a file, through the menus as a user reaches them: saved, opened and compared cell by cell and
// pixel by pixel, the question that guards unsaved work on every path with every answer, saves that fail,
// files that are refused, and tileset images that went missing or changed.
#include "ExportedMapReader.h"
#include "MapCorpus.h"
#include "UserSteps.h"
#include "app/mnuMain.h"
#include "document/CellRecords.h"
#include "document/MapFileWriter.h"
#include "platform/ScrollBar.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QtTest>
#include <random>

namespace {

void Choose(const char* item) {
    mnuMain::Instance()->Item(QLatin1String(item))->trigger();
}

struct PlacedCell {
    int layer, index;
    CellRecord record;
    bool operator==(const PlacedCell&) const = default;
};

// Every stored cell of every layer, with its place, as records: all twelve fields.
std::vector<PlacedCell> AllCells(const frmMain& w) {
    std::vector<PlacedCell> cells;
    for (int k = 0; k < 8; ++k)
        for (std::uint32_t i = 0; i < w.Layer(k).Count(); ++i)
            if (const CellRef& cell = w.Layer(k).AtIndex(i))
                cells.push_back({k, int(i), RecordOf(*cell)});
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
    door->SetPassable(true);
    door->SetListIndex(-7);
    door->SetCustom1(QStringLiteral("door, \"A\"\nsecond line"));
    std::mt19937 rng(seed);
    const auto cell = [&](int n) { return int(rng() % unsigned(n)); };
    for (int k = 0; k < 8; ++k) {
        ChooseEditLayer(w, k);
        if (k > 0 && k != 5)
            w.btnLayer[std::size_t(k)]->click();
        for (int s = 0; s < 5; ++s) {
            ChooseTool(w, cell(8));
            f.PickTile(cell(12));
            DragStroke(w, cell(33), cell(31), cell(33), cell(31));
        }
    }
    CellRecord own = RecordOf(w.Tileset().GetTile(3)->Template());
    own.x = 5 * 16, own.y = 6 * 16, own.zOrder = 2, own.custom2 = QStringLiteral("key"),
    own.destroyable = true;
    MapDocument::CellEdit edit(w.Document(), QStringLiteral("Own"));
    edit.Set(2, 5, 6, MakeCell(own));
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

    // Map Properties typed but not applied are asked about before the map is saved, exported or left, before
    // the question about unsaved changes: Apply applies them, Don't Apply puts the fields back, Cancel stops.
    void typedMapProperties_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        for (const char* command : {"FileSave", "FileSaveAs", "FileExport", "FileNewMap", "FileOpenMap",
                                    "FileClose", "FileQuit", "close box"})
            for (const char* answer : {"Apply", "Don't Apply", "Cancel", "Apply refused"})
                QTest::addRow("%s, %s", command, answer) << QString(command) << QString(answer);
    }
    void typedMapProperties() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        EditorFixture f;
        frmMain& w = f.window();
        const QString path = QDir(f.temp.path()).filePath("m.mqm");
        f.dialogs->saveAnswers.push_back(FolderItem(path));
        Choose("FileSaveAs");
        HoverAt(w, QPoint(5, 5)); // the save's report goes
        w.txtName->setText("Typed");
        w.txtMapWidth->setText(answer == "Apply refused" ? "0" : "50");
        f.dialogs->replies = {answer == "Apply refused" ? "Apply" : answer, "Discard"};
        f.dialogs->saveAnswers.push_back(FolderItem(QDir(f.temp.path()).filePath("other.tmx")));
        if (command == "close box")
            w.close();
        else
            Choose(qPrintable(command));
        const bool applied = answer == "Apply", goesOn = applied || answer == "Don't Apply";
        const bool leaves = !command.startsWith("FileSave") && command != "FileExport";
        QStringList asked{"Apply the map properties you typed?"};
        if (applied && leaves)
            asked << "Save the changes to m.mqm?";
        QCOMPARE(f.dialogs->questions, asked);
        const bool proceeded = command == "FileSave"      ? w.lblStatus->text() == "m.mqm saved"
                               : command == "FileOpenMap" ? f.dialogs->requests.size() == 1
                               : !leaves                  ? f.dialogs->saveRequests.size() == 2
                               : command.contains("Quit") || command == "close box"
                                   ? !w.isVisible()
                                   : w.windowTitle() == "2D Mosaicor";
        QCOMPARE(proceeded, goesOn);
        if (leaves && goesOn)
            return;
        const QString expected = applied                   ? "Typed 50 Typed"
                                 : answer == "Don't Apply" ? " 100 "
                                                           : " 100 Typed";
        QCOMPARE(Say(w.Document().Name(), w.MapWidth(), w.txtName->text()), expected);
        if (answer == "Apply refused")
            QVERIFY(w.lblStatus->text().startsWith("Map width"));
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

    // Loads that name one image share one reading of it; the open can be cancelled while the images are
    // read; and when the image is missing, the user is asked once for all of them.
    void manyLoadsOfOneImage() {
        EditorFixture f;
        frmMain& w = f.window();
        const QDir dir(f.temp.path());
        const QString image = f.WritePng("tiles.png", MakeTileSheet(64, 32, 32, 32));
        QVERIFY(MapFile::Save(MapCorpus::ManyLoadsOfOneImage(image, 300, 32), dir.filePath("many.mqm")).ok());
        const auto open = [&] {
            f.dialogs->answers.push_back(FolderItem(dir.filePath("many.mqm")));
            Choose("FileOpenMap");
        };
        int updates = 0;
        f.dialogs->whileWorking = [&] { ++updates; };
        f.dialogs->cancelWorkAfter = 20;
        open();
        QCOMPARE(Say(w.windowTitle(), updates), "2D Mosaicor 21");
        f.dialogs->cancelWorkAfter = -1;
        open();
        QCOMPARE(Say(w.windowTitle(), w.Tileset().Count(), f.dialogs->questions.size()),
                 "many.mqm[*] - 2D Mosaicor 300 0");
        for (int i = 1; i < 300; ++i)
            QVERIFY(w.Tileset().GetTileImage(i) == w.Tileset().GetTileImage(0));
        QVERIFY(QFile::rename(image, dir.filePath("gone.png")));
        f.dialogs->replies = {"Open Without It"};
        open();
        QCOMPARE(Say(w.Tileset().Count(), bool(w.Tileset().GetTileImage(299)), f.dialogs->questions.size()),
                 "300 false 1");
    }

    // A missing tileset image loaded again takes its place, its cells showing at once (one step, undone
    // exactly); an image of other content that cuts into as many tiles is offered: Use, Add as New Tiles or
    // Cancel.
    void missingImageLoadedAgain() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(3, 2);
        DragStroke(w, 1, 1, 4, 1);
        const QRgb colour = TileColour(w, 2);
        const CellSet painted = CellsShowing(w, colour);
        const QDir dir(f.temp.path());
        f.dialogs->saveAnswers.push_back(FolderItem(dir.filePath("map.mqm")));
        Choose("FileSaveAs");
        QVERIFY(QFile::rename(dir.filePath("solid.png"), dir.filePath("moved.png")));
        const auto openWithout = [&] {
            f.dialogs->replies = {"Open Without It"};
            f.dialogs->answers.push_back(FolderItem(dir.filePath("map.mqm")));
            Choose("FileOpenMap");
            Input::Leave(w.canMain);
        };
        openWithout();
        const QStringList asked = f.dialogs->questions;
        f.dialogs->answers.push_back(FolderItem(dir.filePath("moved.png")));
        Choose("FileLoadTiles");
        QCOMPARE(f.dialogs->questions, asked);
        QCOMPARE(Say(w.Tileset().Count(), w.lblStatus->text()),
                 Say(3, "moved.png takes the place of the missing tileset image: 4 cells show again"));
        QCOMPARE(Describe(CellsShowing(w, colour)), Describe(painted));
        Choose("EditUndo");
        QVERIFY(!w.Tileset().GetTileImage(2) && w.Document().Loads()[0].imageMissing);
        Choose("EditRedo");
        QVERIFY(w.Tileset().GetTileImage(2) && !w.Document().Loads()[0].imageMissing);

        f.dialogs->replies = {"Discard"};
        Choose("FileNewMap");
        openWithout();
        const QString other = f.WritePng("other.png", MakeTileSheet(96, 32, 32, 32).mirrored(true, false));
        for (const char* answer : {"Add as New Tiles", "Cancel", "Use"}) {
            f.dialogs->replies = {answer};
            f.dialogs->answers.push_back(FolderItem(other));
            Choose("FileLoadTiles");
            QCOMPARE(f.dialogs->questions.last(),
                     "Use other.png in place of the missing tileset image solid.png?");
            QCOMPARE(w.Tileset().Count(), QString(answer) == "Add as New Tiles" ? 6 : 3);
            if (QString(answer) == "Add as New Tiles")
                Choose("EditUndo");
        }
        QCOMPARE(Describe(CellsShowing(w, TileColour(w, 2))), Describe(painted));
        QCOMPARE(TileColour(w, 2), MakeTileSheet(96, 32, 32, 32).pixel(16, 16));
    }

    // Export through the menu as TMX and as JSON: the layers read back by a game's kind of reader are the
    // map's cells, and cells whose tileset image is missing are written as empty, as the status line says.
    void exportThroughTheMenu() {
        EditorFixture f;
        frmMain& w = f.window();
        Apply(w, "2", "32", "32", "12", "9");
        f.LoadSolidTiles(3, 0);
        f.LoadTiles("other.png", MakeTileSheet(64, 32, 32, 32));
        w.Tileset().GetTile(0)->SetPassable(true);
        for (int k = 0; k < 2; ++k) {
            ChooseEditLayer(w, k);
            for (int i = 0; i < 5; ++i) {
                f.PickTile((i + k) % 5);
                DragStroke(w, i, k, i + 3, k + 4);
            }
        }
        const QDir dir(f.temp.path());
        f.dialogs->saveAnswers.push_back(FolderItem(dir.filePath("map.mqm")));
        Choose("FileSaveAs");
        QVERIFY(QFile::remove(dir.filePath("other.png")));
        f.dialogs->replies.push_back("Open Without It");
        f.dialogs->answers.push_back(FolderItem(dir.filePath("map.mqm")));
        Choose("FileOpenMap");
        std::vector<qint64> expected;
        int gone = 0;
        for (int k = 0; k < 2; ++k)
            for (std::uint32_t i = 0; i < w.Layer(k).Count(); ++i) {
                const CellRef& cell = w.Layer(k).AtIndex(i);
                expected.push_back(cell && cell->ImageIndex() < 3 ? cell->ImageIndex() + 1 : 0);
                gone += cell && cell->ImageIndex() >= 3;
            }
        QVERIFY(gone > 0);
        for (const char* name : {"out", "out.tmj"}) {
            f.dialogs->saveAnswers.push_back(FolderItem(dir.filePath(name)));
            Choose("FileExport");
            const QString file = QString(name) == "out" ? "out.tmx" : name;
            QCOMPARE(w.lblStatus->text(),
                     QStringLiteral("%1 exported; %2 cells written as empty, their tiles are gone")
                         .arg(file)
                         .arg(gone));
            const ReadMap read =
                file.endsWith("tmx") ? ReadTmx(dir.filePath(file)) : ReadTmj(dir.filePath(file));
            QVERIFY2(read.faults.isEmpty(), qPrintable(read.faults.join('\n')));
            QCOMPARE(int(read.tilesets.size()), 1);
            QCOMPARE(read.tilesets[0].tiles.value(0).value("passable").second, QVariant(true));
            std::vector<qint64> gids;
            for (const ReadLayer& layer : read.layers)
                if (layer.isTileLayer)
                    gids.insert(gids.end(), layer.gids.begin(), layer.gids.end());
            QVERIFY(gids == expected);
        }
    }

    // The file dialogs start beside the map, Load Tiles and Locate beside its last tileset image, else where
    // the last dialog chose; Save As and Export propose the map's name, an untitled map's Name setting.
    void dialogsStartBesideTheMap() {
        EditorFixture f;
        frmMain& w = f.window();
        const QDir dir(f.temp.path());
        QVERIFY(dir.mkpath("art") && dir.mkpath("maps"));
        const QString art = dir.filePath("art"), maps = dir.filePath("maps");
        f.LoadTiles("art/a.png", MakeTileSheet(64, 32, 32, 32));
        QCOMPARE(f.dialogs->requests.back().StartAt, QDir::homePath());
        w.txtName->setText(QStringLiteral(" ../Keep/Hall "));
        w.btnApply->click();
        f.dialogs->saveAnswers.push_back(FolderItem(maps + "/keep.mqm"));
        Choose("FileSaveAs");
        Choose("FileExport");
        Choose("FileSaveAs");
        QStringList proposed;
        for (const SaveDialogRequest& request : f.dialogs->saveRequests)
            proposed << request.StartAt;
        QCOMPARE(proposed, QStringList({art + "/-Keep-Hall.mqm", maps + "/keep.tmx", maps + "/keep.mqm"}));
        Choose("FileOpenMap");
        QCOMPARE(f.dialogs->requests.back().StartAt, maps);
        Choose("FileLoadTiles");
        QCOMPARE(f.dialogs->requests.back().StartAt, art);
        QVERIFY(QFile::rename(art + "/a.png", dir.filePath("a.png")));
        f.dialogs->replies = {"Locate…", "Cancel"};
        f.dialogs->answers.push_back(FolderItem(maps + "/keep.mqm"));
        Choose("FileOpenMap");
        QCOMPARE(f.dialogs->requests.back().Title, "Locate a.png");
        QCOMPARE(f.dialogs->requests.back().StartAt, art);
        QCOMPARE(ProposedFileName(QString(), "mqm"), "Untitled.mqm");
    }

    // How the user looks at the map is not the map: tool, grid, edit layer and scrolling leave it unmodified;
    // showing or hiding a layer changes it.
    void viewStateIsNotSaved() {
        EditorFixture f;
        frmMain& w = f.window();
        ChooseTool(w, 3);
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
