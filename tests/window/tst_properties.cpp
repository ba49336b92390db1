// Game properties as a user edits them: Tile Properties… from the palette's context menu and Cell
// Properties… from the map's, reached by real right clicks, with the dialog answered by a script; each change
// is one step that Undo and Redo take back and make again exactly. The tooltip over a cell unlike its tile,
// and Remove Tiles answered Yes and No and with no tiles.
#include "UserSteps.h"
#include "document/MapSnapshotCheck.h"
#include "platform/ScrollBar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QtTest>
#include <functional>

namespace {

const QString kTileItem = QStringLiteral("Tile Properties\u2026");
const QString kCellItem = QStringLiteral("Cell Properties\u2026");

// The user's edit of the values the dialog shows, with the option chosen or not.
auto Edit(std::function<void(GameValues&)> change, bool option = false) {
    return [change, option](const PropertiesRequest& request) {
        PropertiesAnswer answer{request.Values, option};
        change(answer.Values);
        return std::optional(answer);
    };
}

// Undo, then Redo: whether each gave back its map (before, then after) exactly, as one step.
QString UndoRedo(frmMain& w, const MapSnapshot& before, const MapSnapshot& after) {
    const int index = w.Document().Steps().Index();
    ChooseItem("EditUndo");
    const bool undone = MapOf(w) == before && w.Document().Steps().Index() == index - 1;
    ChooseItem("EditRedo");
    return Say(undone, MapOf(w) == after && w.Document().Steps().Index() == index);
}

// An 8-layer map of 16-pixel tiles, larger than the canvas shows, with 4 tiles: tile 1 painted on layers 0
// and 7 (the last), tile 2 beside it.
void PaintTwoTiles(EditorFixture& f) {
    Apply(f.w, "8", "16", "16", "120", "90");
    f.LoadSolidTiles(4, 1);
    ChooseTool(f.w, Tool::FilledRectangle);
    DragStroke(f.w, 0, 0, 3, 3);
    ChooseEditLayer(f.w, 7);
    DragStroke(f.w, 5, 0, 6, 1);
    f.PickTile(2);
    ChooseEditLayer(f.w, 0);
    DragStroke(f.w, 4, 0, 4, 3);
}

} // namespace

class TestProperties : public QObject {
    Q_OBJECT
private slots:
    // Tile Properties… on tile 1: the template takes the new values and cells placed later carry them; with
    // the option, the placed cells of tile 1 that still had its old values take them too (not the one with
    // values of its own, nor tile 2's). One step, undone and redone exactly.
    void tileProperties_data() {
        QTest::addColumn<bool>("option");
        QTest::newRow("template only") << false;
        QTest::newRow("and the placed cells") << true;
    }
    void tileProperties() {
        QFETCH(bool, option);
        EditorFixture f;
        PaintTwoTiles(f);
        // One cell of tile 1 gets a value of its own first.
        f.dialogs->menuReplies.push_back(kCellItem);
        f.dialogs->propertyEdits.push_back(Edit([](GameValues& v) { v.listIndex = 5; }));
        RightClick(f.w.Controls().canMain, CellMiddle(f.w, 2, 2));

        const MapSnapshot before = MapOf(f.w);
        f.dialogs->menuReplies.push_back(kTileItem);
        f.dialogs->propertyEdits.push_back(
            Edit([](GameValues& v) { v.passable = true, v.width = -32768, v.custom1 = "door"; }, option));
        RightClick(f.w.Controls().canTiles, PaletteTile(f.w, 1));
        const PropertiesRequest& shown = f.dialogs->propertyRequests.back();
        QCOMPARE(Say(shown.Title, shown.Facts.at(0).first, shown.Facts.at(0).second, shown.Option.isEmpty(),
                     shown.Picture.pixel(3, 3) == TileColour(f.w, 1)),
                 "Tile Properties Tile 1 false true");
        const clsVOCell& tile = f.w.Tileset().GetTile(1)->Template();
        QCOMPARE(Say(tile.Passable(), tile.Width(), tile.Custom1(), tile.ImageIndex()), "true -32768 door 1");
        // Passable with the option: 16 cells on layer 0 and 4 on layer 7, less the one with a list index of
        // its own; they share the tile's texts rather than keep copies.
        int passable = 0;
        for (const auto& [place, cell] : AllCells(f.w))
            passable += cell.passable;
        QCOMPARE(Say(passable, f.w.Layer(0).At(0, 0)->TextsHandle() == tile.TextsHandle()),
                 Say(option ? 19 : 0, option));
        const MapSnapshot after = MapOf(f.w);
        QCOMPARE(UndoRedo(f.w, before, after), "true true");

        f.PickTile(1);
        ChooseTool(f.w, Tool::Plot);
        Click(f.w, 10, 10);
        QCOMPARE(Say(f.w.Layer(0).At(10, 10)->Passable(), f.w.Layer(0).At(10, 10)->Custom1()), "true door");
        // Opened again, the dialog starts from the values the tile now has. Unchanged, cancelled, or over no
        // tile (the item there but disabled), it makes no step.
        const int steps = f.w.Document().Steps().Index();
        f.dialogs->menuReplies = {kTileItem, kTileItem, kTileItem};
        f.dialogs->propertyEdits.push_back(Edit([](GameValues&) {}, option));
        RightClick(f.w.Controls().canTiles, PaletteTile(f.w, 1));
        const GameValues& again = f.dialogs->propertyRequests.back().Values;
        QCOMPARE(Say(again.passable, again.width, again.custom1), "true -32768 door");
        RightClick(f.w.Controls().canTiles, PaletteTile(f.w, 0));
        RightClick(f.w.Controls().canTiles, PaletteTile(f.w, 4)); // where a fifth tile would be
        QCOMPARE(Say(f.dialogs->menus.back().join(""), int(f.dialogs->propertyRequests.size()),
                     f.w.Document().Steps().Index()),
                 Say(kTileItem + " (disabled)", 4, steps));
    }

    // Cell Properties… on the edit layer's cell under the pointer, the map scrolled: the dialog shows the
    // cell's place, layer and tile; OK writes a fresh cell with the new values in one step, the tile and the
    // cells that shared its values untouched. An empty cell, or one on another layer, offers the item
    // disabled. The tooltip and the status line tell where a cell differs from its tile. Then Remove Tiles
    // empties the palette once the user says Yes; the cells keep their records and show empty, and a load
    // after it numbers its tiles from 0. With no tiles it asks nothing and makes no step. (That No changes
    // nothing is the window test's menus case.)
    void cellPropertiesAndRemoveTiles() {
        EditorFixture f;
        ChooseItem("FileRemoveTiles");
        QVERIFY(f.dialogs->questions.isEmpty() && !f.w.Document().Steps().CanUndo());
        PaintTwoTiles(f);
        f.w.Controls().scbMainVertical->setValue(1);
        f.w.Controls().scbMainHorizontal->setValue(2);
        const MapSnapshot before = MapOf(f.w);
        f.dialogs->menuReplies = {kCellItem, kCellItem, kCellItem};
        f.dialogs->propertyEdits.push_back(
            Edit([](GameValues& v) { v.custom1 = "chest", v.destroyable = true; }));
        RightClick(f.w.Controls().canMain, CellMiddle(f.w, 1, 2)); // map cell (3, 3)
        RightClick(f.w.Controls().canMain, CellMiddle(f.w, 5, 2)); // empty
        ChooseEditLayer(f.w, 2);
        RightClick(f.w.Controls().canMain, CellMiddle(f.w, 1, 2)); // empty on layer 2
        QCOMPARE(f.dialogs->menus,
                 (std::vector<QStringList>{
                     {kCellItem}, {kCellItem + " (disabled)"}, {kCellItem + " (disabled)"}}));
        QStringList facts{f.dialogs->propertyRequests[0].Title};
        for (const auto& [label, value] : f.dialogs->propertyRequests[0].Facts)
            facts << label + ": " + value;
        QCOMPARE(
            facts.join(" | "),
            "Cell Properties | Position: column 3, row 3 | Layer: 0 | Tile: 1 | Unlike its tile: nothing");
        const PlacedCell cell = f.w.Layer(0).At(3, 3);
        QCOMPARE(Say(cell->Custom1(), cell->Destroyable(), cell->X(), cell->Y(), cell->ZOrder(),
                     cell->ImageIndex()),
                 "chest true 48 48 0 1");
        QVERIFY(f.w.Layer(0).At(3, 2)->Custom1().isEmpty() && f.w.Tileset().GetTile(1)->Custom1().isEmpty());
        const MapSnapshot after = MapOf(f.w);
        QCOMPARE(UndoRedo(f.w, before, after), "true true");

        ChooseEditLayer(f.w, 0);
        const QPoint at = CellMiddle(f.w, 1, 2); // map cell (3, 3)
        HoverAt(f.w, at);
        QHelpEvent help(QEvent::ToolTip, at, f.w.Controls().canMain->mapToGlobal(at));
        QApplication::sendEvent(f.w.Controls().canMain, &help);
        QCOMPARE(QToolTip::text(),
                 "Column 3, row 3 of layer 0 differs from tile 1 in: Destroyable, Custom 1");
        // The status line says so too, after the plot cursor's place, and only over that cell.
        QCOMPARE(f.w.Controls().lblStatus->text(), "unlike its tile: Destroyable, Custom 1");
        ChooseTool(f.w, Tool::Plot);
        HoverAt(f.w, CellMiddle(f.w, 1, 2));
        QCOMPARE(f.w.Controls().lblStatus->text(),
                 "Plot X: 3 Y: 3 \u2014 unlike its tile: Destroyable, Custom 1");
        HoverAt(f.w, CellMiddle(f.w, 0, 2));
        QCOMPARE(f.w.Controls().lblStatus->text(), "Plot X: 2 Y: 3");
        // Unchanged or cancelled, the dialog makes no step.
        const int steps = f.w.Document().Steps().Count();
        f.dialogs->menuReplies = {kCellItem, kCellItem};
        f.dialogs->propertyEdits.push_back(Edit([](GameValues&) {}));
        RightClick(f.w.Controls().canMain, CellMiddle(f.w, 1, 2));
        RightClick(f.w.Controls().canMain, CellMiddle(f.w, 1, 2));
        QCOMPARE(f.dialogs->propertyRequests.back().Facts.at(3).second, "Destroyable, Custom 1");
        QVERIFY(MapOf(f.w) == after && f.w.Document().Steps().Count() == steps);

        Input::Leave(f.w.Controls().canMain);
        const MapSnapshot painted = MapOf(f.w);
        const QRgb tileColour = TileColour(f.w, 1);
        const CellSet shown = CellsShowing(f.w, tileColour);
        f.dialogs->replies.push_back("Yes");
        ChooseItem("FileRemoveTiles");
        QCOMPARE(f.dialogs->questions, QStringList{"Remove all 4 tiles from the tileset?"});
        QCOMPARE(Say(f.w.Tileset().Count(), int(f.w.Document().Loads().size()),
                     f.w.Palette().SelectedTile() == nullptr, f.w.Controls().scbTilesVertical->isEnabled()),
                 "0 0 true false");
        const MapSnapshot removed = MapOf(f.w);
        QVERIFY(removed.layer == painted.layer);
        QCOMPARE(Describe(CellsShowing(f.w, tileColour)), QString());
        const QImage& palette = f.w.Controls().canTiles->Buffer(); // no tile left in its slot
        for (int i = 0; i < 4; ++i)
            QCOMPARE(palette.pixel(PaletteTile(f.w, i)), palette.pixel(2, 2));
        QCOMPARE(UndoRedo(f.w, painted, removed), "true true");

        // Two new tiles: numbered 0 and 1, the cells of those numbers show them, and undoing the load and
        // the removal brings the first tileset back with its records.
        f.LoadTiles("new.png", MakeTileSheet(32, 16, 16, 16));
        QCOMPARE(Say(f.w.Tileset().Count(), int(f.w.Document().Loads().size()),
                     f.w.Document().Loads()[0].firstTile, f.w.Document().Loads()[0].tileCount),
                 "2 1 0 2");
        QVERIFY(MapSnapshotCheck::Whole(MapOf(f.w)).isEmpty());
        // The map shows the new tiles at once, the pointer nowhere near it.
        QCOMPARE(Describe(CellsShowing(f.w, TileColour(f.w, 1))), Describe(shown));
        ChooseItem("EditUndo");
        ChooseItem("EditUndo");
        QVERIFY(MapOf(f.w) == painted);
        QCOMPARE(Describe(CellsShowing(f.w, tileColour)), Describe(shown));
        ChooseItem("EditRedo"); // removed again, then one tile: the question speaks of it alone
        f.LoadTiles("one.png", MakeTileSheet(16, 16, 16, 16));
        f.dialogs->replies.push_back("Return"); // a question that destroys work defaults to No
        ChooseItem("FileRemoveTiles");
        QCOMPARE(Say(f.dialogs->questions.last(), f.w.Tileset().Count()),
                 "Remove the tile from the tileset? 1");
    }
};

QTEST_MAIN(TestProperties)
#include "tst_properties.moc"
