// The map as a file, through the menus as a user reaches them: saved, opened and compared cell by cell and
// pixel by pixel, the question that guards unsaved work on every path with every answer, saves that fail,
// files that are refused, and tileset images that went missing or changed, exported without them or loaded
// again.
#include "UserSteps.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "platform/ScrollBar.h"
#include "tiles/CellGameValues.h"

#include <QDir>
#include <QLabel>
#include <QtTest>
#include <random>

namespace {

// Opens map.mqm, the question about its tileset image answered with reply and, given located, the Locate
// dialog with that file; the pointer away from the map.
void OpenMap(EditorFixture& f, const QString& reply, const QString& located = QString()) {
    f.dialogs->replies = {reply};
    f.dialogs->answers.push_back(FolderItem(f.temp.filePath("map.mqm")));
    if (!located.isEmpty())
        f.dialogs->answers.push_back(FolderItem(f.temp.filePath(located)));
    ChooseItem("FileOpenMap");
    Input::Leave(f.w.Controls().canMain);
}

// A map as a user paints it: 8 layers of 16-pixel tiles, strokes of every tool on every layer, tiles with
// game properties, a cell with properties of its own, a hidden layer and a name.
void Paint(EditorFixture& f, std::uint32_t seed) {
    f.w.Controls().txtName->setText(QStringLiteral("Ruins \"north\" & ü"));
    Apply(f.w, "8", "16", "16", "40", "30");
    f.LoadSolidTiles(12, 0);
    const TileRef door = f.w.Tileset().GetTile(3); // given values outside the history
    CellValues values = door->Template().Values();
    values.game.passable = true, values.game.listIndex = -7;
    values.game.custom1 = QStringLiteral("door, \"A\"\nsecond line");
    door->SetCell(CellRef::Make(values));
    std::mt19937 rng(seed);
    const auto cell = [&](int n) { return int(rng() % unsigned(n)); };
    for (int k = 0; k < 8; ++k) {
        ChooseEditLayer(f.w, k);
        if (k > 0 && k != 5)
            f.w.Controls().btnLayer[std::size_t(k)]->click();
        for (int s = 0; s < 5; ++s) {
            ChooseTool(f.w, ToolAt(cell(8)));
            f.PickTile(cell(12));
            DragStroke(f.w, cell(33), cell(31), cell(33), cell(31));
        }
    }
    GameValues own = GameValuesOf(f.w.Tileset().GetTile(3)->Template());
    own.custom2 = QStringLiteral("key"), own.destroyable = true;
    Put(f.w, 2, 5, 6, 3, own);
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    // Painted, saved through Save on an untitled map, a new map, then opened: every field of every cell, the
    // settings, the tiles and their properties, the picture and the title are back.
    void roundTripThenFailedSaves() {
        EditorFixture f;
        Paint(f, 1);
        const auto cells = AllCells(f.w);
        const QImage picture = ShownMap(f.w);
        const MapSettingsValues settings = f.w.Document().Settings();
        const QString path = f.temp.filePath("painted");
        f.Save("FileSave", path);
        ChooseItem("FileNewMap");
        QCOMPARE(Say(f.w.windowTitle(), f.w.MapWidth(), f.w.Layers(), f.w.Tileset().Count(),
                     f.w.Controls().txtWidth->text(), f.w.Controls().txtName->text(),
                     f.w.Controls().btnLayer[1]->isEnabled()),
                 "2D Mosaicor 100 3 0 32  true");
        f.Open(path + ".mqm");
        QVERIFY(AllCells(f.w) == cells && f.w.Document().Settings() == settings);
        QCOMPARE(ShownMap(f.w), picture);
        QCOMPARE(Say(f.w.windowTitle(), f.w.isWindowModified(), f.w.Controls().txtMapWidth->text(),
                     f.w.Controls().txtName->text(), f.w.Controls().btnLayer[5]->Value(),
                     f.w.Controls().btnLayer[6]->Value(), f.w.Tileset().Count()),
                 "painted.mqm[*] - 2D Mosaicor false 40 Ruins \"north\" & ü false true 12");
        const clsVOCell& door = f.w.Tileset().GetTile(3)->Template();
        QCOMPARE(Say(door.Passable(), door.ListIndex(), door.Custom1(), door.ImageIndex()),
                 "true -7 door, \"A\"\nsecond line 3");
        // A record naming another place than where it lies takes that place, and the status line says so.
        MapSnapshot saved;
        QVERIFY(MapFile::Open(path + ".mqm", &saved).ok());
        ++saved.layer[2].exceptions.at(0).record.x;
        QVERIFY(MapFile::Save(saved, path + ".mqm").ok());
        f.Open(path + ".mqm");
        QVERIFY(AllCells(f.w) == cells);
        QCOMPARE(
            Say(f.w.Controls().lblStatus->text(),
                f.w.Controls().lblStatus->palette().color(QPalette::WindowText).name()),
            "painted.mqm opened; 1 cell records named a position or layer other than where they lie, and "
            "now take it from there #000000");

        // A save that fails, or is cancelled part way, leaves the map open and modified; a failure says why.
        // A file that is not a map, or a map that memory runs out for while it is built, is refused with its
        // reason; the map shown stays as it was. (The file on disk staying as it was is the file writer's to
        // keep, and its test's to check.)
        f.LoadSolidTiles(2, 13); // a tile the painting did not use
        Click(f.w, 1, 1);
        f.Save("FileSaveAs", "map.mqm");
        Click(f.w, 2, 2);
        f.dialogs->cancelWorkAfter = 1; // the user cancels the progress part way
        ChooseItem("FileSave");
        f.dialogs->cancelWorkAfter = -1;
        QVERIFY(f.w.isWindowModified() && f.dialogs->messages.isEmpty());
        QVERIFY(QDir(f.temp.path()).mkdir("taken.mqm")); // a folder where the file should be
        f.Save("FileSaveAs", "taken.mqm");
        QVERIFY(f.w.isWindowModified() && f.w.windowTitle() == "map.mqm[*] - 2D Mosaicor");
        const auto kept = AllCells(f.w);
        f.dialogs->replies = {"Discard"};
        f.Open(f.WritePng("not-a-map.mqm", MakeTileSheet(32, 32, 32, 32)));
        QVERIFY(AllCells(f.w) == kept && f.w.Tileset().Count() == 14);
        f.Save("FileSaveAs", "good.mqm");
        Click(f.w, 3, 3);
        const auto changed = AllCells(f.w);
        f.dialogs->replies = {"Discard"};
        CellRef::FailCellMemoryAfter(0);
        f.Open("good.mqm");
        CellRef::FailCellMemoryAfter(-1);
        QVERIFY(AllCells(f.w) == changed && changed != kept);
        QCOMPARE(f.dialogs->messages.size(), 3);
        QVERIFY(f.dialogs->messages[0].startsWith("taken.mqm could not be saved: "));
        QVERIFY(f.dialogs->messages[1].startsWith("not-a-map.mqm could not be opened: "));
        QCOMPARE(f.dialogs->messages[2], "good.mqm could not be opened: there is not enough memory for it");
    }

    // Whatever leaves the map asks first when it has unsaved changes: Save (untitled: the save dialog, whose
    // cancel cancels the command too), Discard or Cancel, and Cancel really cancels.
    void unsavedChanges_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        for (const char* command : {"FileNewMap", "FileOpenMap", "FileClose", "FileQuit", "close box"})
            for (const char* answer : {"Save", "Save, then cancel", "Discard", "Cancel"})
                QTest::addRow("%s, %s", command, answer) << QString(command) << QString(answer);
    }
    void unsavedChanges() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        const bool proceeds = answer == "Save" || answer == "Discard";
        EditorFixture f;
        f.LoadSolidTiles(2, 1);
        Click(f.w, 3, 4);
        const auto cells = AllCells(f.w);
        const QString saved = f.temp.filePath("kept.mqm");
        f.dialogs->replies.push_back(answer.section(',', 0, 0));
        if (answer == "Save")
            f.dialogs->saveAnswers.push_back(FolderItem(saved));
        command == "close box" ? void(f.w.close()) : ChooseItem(qPrintable(command));
        QCOMPARE(f.dialogs->questions, QStringList{"Save the changes to Untitled?"});
        QCOMPARE(QFile::exists(saved), answer == "Save");
        const bool left = command == "FileQuit" || command == "close box" ? !f.w.isVisible()
                          : command == "FileOpenMap"                      ? f.dialogs->requests.size() == 2
                                                                          : f.w.Tileset().Count() == 0;
        QCOMPARE(left, proceeds);
        if (!proceeds)
            QVERIFY(AllCells(f.w) == cells && f.w.isWindowModified());
    }

    // A tileset image that went missing or changed: the user may open the map without it (its tiles stay as
    // placeholders, the cells keep their records and show empty), load it again, locate it, or not open the
    // map at all. Loaded again it takes its place, its cells showing at once (one step, undone exactly); an
    // image of other content that cuts into as many tiles is offered: Use, Add as New Tiles or Cancel.
    void tilesetImages() {
        EditorFixture f;
        f.LoadSolidTiles(3, 2);
        DragStroke(f.w, 1, 1, 4, 1);
        f.Save("FileSaveAs", "map.mqm");
        QVERIFY(QFile::rename(f.temp.filePath("solid.png"), f.temp.filePath("moved.png")));
        const QRgb colour = TileColour(f.w, 2);
        const auto cells = AllCells(f.w);
        const QImage picture = ShownMap(f.w);
        const CellSet painted = CellsShowing(f.w, colour);
        OpenMap(f, "Open Without It");
        QCOMPARE(f.dialogs->questions.last(), "The tileset image solid.png is missing.");
        QVERIFY(AllCells(f.w) == cells && f.w.Tileset().Count() == 3 && !f.w.Tileset().GetTile(2)->Image());
        QVERIFY(CellsShowing(f.w, colour).empty());
        // Exported so, through the menu (a name without a suffix is a TMX map), those cells are written as
        // empty, and the status line counts them.
        f.Save("FileExport", "out");
        QCOMPARE(f.w.Controls().lblStatus->text(),
                 "out.tmx exported; 4 cells written as empty, their tiles are gone");
        const QStringList asked = f.dialogs->questions;
        Apply(f.w, "3", "32", "16", "100", "100"); // the image is cut as it was, not at the size now
        f.Open("moved.png", "FileLoadTiles");
        QCOMPARE(
            Say(f.dialogs->questions == asked, f.w.Tileset().GetTileImage(2)->Height(), f.w.Tileset().Count(),
                f.w.Controls().lblStatus->text()),
            Say(true, 32, 3, "moved.png takes the place of the missing tileset image: 4 cells show again"));
        QCOMPARE(f.w.Document().Steps().UndoText(), "Load Tiles");
        ChooseItem("EditUndo");
        QVERIFY(!f.w.Tileset().GetTileImage(2) && f.w.Document().Loads()[0].imageMissing);
        ChooseItem("EditRedo");
        QVERIFY(f.w.Tileset().GetTileImage(2) && !f.w.Document().Loads()[0].imageMissing);
        Apply(f.w, "3", "32", "32", "100", "100");
        QCOMPARE(Describe(CellsShowing(f.w, colour)), Describe(painted));
        f.dialogs->replies = {"Discard"};
        ChooseItem("FileNewMap");
        OpenMap(f, "Locate\u2026", "moved.png");
        QVERIFY(AllCells(f.w) == cells && f.w.Tileset().GetTile(2)->Image());
        QCOMPARE(ShownMap(f.w), picture);
        ChooseItem("FileSave"); // the map now refers to the image where it was found
        f.WritePng("moved.png", MakeTileSheet(96, 32, 16, 32)); // the same size, other pictures
        f.w.Controls().scbMainHorizontal->setValue(3);
        f.w.Controls().scbMainVertical->setValue(2);
        ChooseItem("FileNewMap"); // a new map is seen from its top left
        QCOMPARE(Say(f.w.View().OffsetX(), f.w.View().OffsetY()), "0 0");
        OpenMap(f, "Cancel");
        QCOMPARE(Say(f.dialogs->questions.last(), f.w.windowTitle()),
                 "The tileset image moved.png is not the image the map was made with. 2D Mosaicor");

        QVERIFY(QFile::remove(f.temp.filePath("moved.png")));
        OpenMap(f, "Open Without It");
        const QString other = f.WritePng("other.png", MakeTileSheet(96, 32, 32, 32).mirrored(true, false));
        // The question closed (its Escape) is Cancel: the image stays missing and no tile is added.
        for (const QString answer : {"Add as New Tiles", "(closed)", "Use"}) {
            f.dialogs->replies = {answer};
            f.Open(other, "FileLoadTiles");
            QCOMPARE(f.dialogs->questions.last(),
                     "Use other.png in place of the missing tileset image moved.png?");
            QCOMPARE(Say(f.w.Tileset().Count(), bool(f.w.Tileset().GetTileImage(2))),
                     Say(answer == "Add as New Tiles" ? 6 : 3, answer == "Use"));
            if (answer == "Add as New Tiles")
                ChooseItem("EditUndo");
        }
        QCOMPARE(Describe(CellsShowing(f.w, TileColour(f.w, 2))), Describe(painted));
        QCOMPARE(TileColour(f.w, 2), MakeTileSheet(96, 32, 32, 32).pixel(16, 16));
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
