// Regions of the map through real mouse and key events and the Edit menu: select, copy, paste, cut, delete
// and move, undone against whole-map snapshots; Escape's order; palette blocks stamped as an anchored
// pattern; picking from the map; the clipboard's form read back whole or refused when cut short.
#include "UserSteps.h"
#include "document/PieceCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QtTest>
#include <array>

namespace {
bool Enabled(const char* item) {
    return mnuMain::Instance()->Item(QLatin1String(item))->isEnabled();
}
// The tiles at (layer, column, row) of each cell given, -1 where empty, joined by spaces.
QString Tiles(const frmMain& w, std::initializer_list<std::array<int, 3>> cells) {
    QStringList tiles;
    for (const auto& [k, c, r] : cells)
        tiles << QString::number(w.Layer(k).Get(c, r) ? w.Layer(k).Get(c, r).ImageIndex() : -1);
    return tiles.join(' ');
}
} // namespace

class TestRegions : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CellRef::FailCellMemoryAfter(-1); }

    // A wall moved by a drag from inside the selection empties the cells left behind, in one step whose undo
    // and redo bring back each side's map and selection; Escape drops a move and a shape. Then a selection
    // copied on every layer and pasted as the stamp; cut and delete of the edit layer's cells, each one step
    // that undo takes back to the map as it was.
    void moveCopyPasteCutDelete() {
        EditorFixture f;
        f.LoadSolidTiles(4, 0);
        Put(f.w, 0, 1, 1, 1), Put(f.w, 0, 1, 2, 1), Put(f.w, 0, 1, 3, 1);
        // A tool button clicked amid a stroke ends it first: the plot so far is a step of its own.
        const int steps = f.w.Document().Steps().Count();
        MouseStroke plot(f.w, 5, 5);
        plot.DragTo(7, 5);
        f.w.Controls().btnTool[ToolIndex(Tool::Select)]->click();
        plot.Release();
        QVERIFY(f.w.Document().Steps().Count() == steps + 1 && !f.w.Document().OpenEdit());
        ChooseItem("EditUndo");
        const MapSnapshot before = MapOf(f.w);
        Type(f.w, Qt::Key_S);
        DragStroke(f.w, 1, 1, 1, 3);
        DragStroke(f.w, 1, 2, 4, 2);
        QCOMPARE(Describe(Occupied(f.w.Layer(0))), "(4,1) (4,2) (4,3)");
        QCOMPARE(f.w.Selection(), QRect(4, 1, 1, 3));
        const MapSnapshot after = MapOf(f.w);
        ChooseItem("EditUndo");
        QVERIFY(MapOf(f.w) == before && f.w.Selection() == QRect(1, 1, 1, 3));
        ChooseItem("EditRedo");
        QVERIFY(MapOf(f.w) == after && f.w.Selection() == QRect(4, 1, 1, 3));
        // Escape during the drag puts the cells back; a second Escape clears the selection.
        const int moved = f.w.Document().Steps().Count();
        MouseStroke move(f.w, 4, 2);
        move.DragTo(7, 2);
        QVERIFY(Occupied(f.w.Layer(0)).empty());
        // What is carried shows under the pointer only, not where it was.
        QCOMPARE(Describe(CellsShowing(f.w, TileColour(f.w, 1))), "(7,1) (7,2) (7,3)");
        Type(f.w, Qt::Key_Escape);
        move.Release();
        QVERIFY(MapOf(f.w) == after);
        QCOMPARE(Say(f.w.Document().Steps().Count(), f.w.Selection().width()), Say(moved, 1));
        Type(f.w, Qt::Key_Escape);
        QVERIFY(f.w.Selection().isEmpty());
        ChooseTool(f.w, Tool::FilledRectangle);
        MouseStroke rect(f.w, 6, 6);
        rect.DragTo(9, 9);
        Type(f.w, Qt::Key_Escape);
        rect.Release();
        QVERIFY(MapOf(f.w) == after);
        // Carried past the map's edge: what lands off it is gone, the selection keeps what is left.
        ChooseTool(f.w, Tool::Select);
        DragStroke(f.w, 4, 1, 4, 3);
        DragStroke(f.w, 4, 2, 4, 0);
        ChooseItem("EditUndo");
        ChooseItem("EditRedo");
        QCOMPARE(Say(Describe(Occupied(f.w.Layer(0))), f.w.Selection() == QRect(4, 0, 1, 2)),
                 "(4,0) (4,1) true");
        Put(f.w, 0, 1, 1, 0), Put(f.w, 0, 2, 1, 1), Put(f.w, 0, 1, 2, 2), Put(f.w, 1, 2, 2, 3);
        DragStroke(f.w, 1, 1, 2, 2);
        HoverAt(f.w, CellMiddle(f.w, 2, 2));
        QCOMPARE(f.w.Controls().lblStatus->text(), "Select X: 1 Y: 1 W: 2 H: 2");
        QVERIFY(Enabled("EditCopy") && Enabled("EditCut") && Enabled("EditClear"));
        QVERIFY(Activate(f.w)); // for the window's shortcuts
        Type(f.w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const MapSnapshot unpasted = MapOf(f.w);
        ChooseItem("EditPaste");
        QVERIFY(f.w.CurrentStroke().CurrentTool() == Tool::Plot && Enabled("EditPaste"));
        Click(f.w, 5, 5);
        QCOMPARE(Tiles(f.w, {{0, 5, 5}, {0, 6, 5}, {0, 5, 6}, {0, 6, 6}, {1, 6, 6}, {1, 5, 5}}),
                 "0 1 2 -1 3 -1");
        // A paste writes the piece's records themselves, shared with the cells it was copied from.
        QCOMPARE(f.w.Layer(0).Record(6, 5).get(), f.w.Layer(0).Record(2, 1).get());
        ChooseItem("EditUndo");
        QVERIFY(MapOf(f.w) == unpasted);
        ChooseTool(f.w, Tool::Select);
        for (const char* item : {"EditCut", "EditClear"}) { // amid a move, whose carried cells go back first
            MouseStroke carried(f.w, 1, 1);
            carried.DragTo(3, 3);
            ChooseItem(item);
            carried.Release();
            QCOMPARE(Tiles(f.w, {{0, 1, 1}, {0, 2, 1}, {1, 2, 2}}), "-1 -1 3");
            ChooseItem("EditUndo");
            QVERIFY(MapOf(f.w) == unpasted);
        }
        Type(f.w, Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier); // every layer
        QCOMPARE(Tiles(f.w, {{0, 1, 1}, {1, 2, 2}, {1, 5, 5}}), "-1 -1 -1");
        ChooseItem("EditUndo");
        // Select All takes the whole map, and a click outside the selection clears it.
        ChooseItem("EditSelectAll");
        QCOMPARE(f.w.Selection(), QRect(0, 0, 100, 100));
        f.w.SetSelection(QRect(1, 1, 2, 2));
        ChooseTool(f.w, Tool::Select);
        Click(f.w, 8, 8);
        QVERIFY(f.w.Selection().isEmpty());
        // A piece of every layer pasted into a map using fewer of them: the status line counts those left
        // out.
        f.w.SetSelection(QRect(1, 1, 2, 2));
        f.w.EditCopy_Action(true);
        Apply(f.w, "1", "32", "32", "100", "100");
        ChooseItem("EditPaste");
        QCOMPARE(f.w.Controls().lblStatus->text(),
                 "2 of the piece's layers are not in use on this map and left out");
        // A smaller map keeps only the selected cells it still has: here none, so nothing to copy.
        f.w.SetSelection(QRect(90, 90, 5, 5));
        Apply(f.w, "1", "32", "32", "50", "50");
        QVERIFY(f.w.Selection().isEmpty() && !Enabled("EditCopy"));
    }

    // A 2 x 2 block dragged across a palette narrower than its image: the block follows the image. A click
    // places it once, top-left at the click; a drag writes the pattern anchored at the press, never smeared.
    // The block goes with its tiles.
    void paletteBlockStamps() {
        EditorFixture f;
        f.LoadTiles("wide.png", MakeTileSheet(8 * 32, 3 * 32, 32, 32));
        PaletteStroke(f.w, PaletteTile(f.w, 1), PaletteTile(f.w, 10));
        Click(f.w, 3, 3);
        QCOMPARE(Tiles(f.w, {{0, 3, 3}, {0, 4, 3}, {0, 3, 4}, {0, 4, 4}, {0, 5, 3}}), "1 2 9 10 -1");
        // The block places each tile's own record, as a plot of that tile does.
        QCOMPARE(f.w.Layer(0).Record(4, 4).get(), f.w.Tileset().PlacedRecord(10).get());
        MouseStroke s(f.w, 3, 7);
        s.DragTo(9, 7);
        s.DragTo(4, 7);
        s.Release();
        for (int c = 3; c <= 11; ++c) // columns of 1 over 9 and 2 over 10 up to the block placed at 9
            QCOMPARE(Tiles(f.w, {{0, c, 7}, {0, c, 8}}), QString(c > 10 ? "-1 -1" : c % 2 ? "1 9" : "2 10"));
        // A fill lays the pattern anchored where it starts, and leaves the painted cells alone.
        ChooseTool(f.w, Tool::Fill);
        Click(f.w, 21, 30);
        QCOMPARE(Tiles(f.w, {{0, 21, 30}, {0, 22, 30}, {0, 21, 31}, {0, 20, 29}, {0, 3, 3}, {0, 3, 9}}),
                 "1 2 9 10 1 9");
        // Removed tiles take the block with them: brought back, none is framed as picked.
        f.dialogs->replies.push_back("Yes");
        ChooseItem("FileRemoveTiles");
        ChooseItem("EditUndo");
        QCOMPARE(f.w.Controls().canTiles->Buffer().pixel(PaletteTile(f.w, 9) - QPoint(19, 0)), 0xff646464u);
        // A block one tile wide still lays its pattern: the fill taken back, a 1 x 2 block fills again.
        ChooseItem("EditUndo");
        PaletteStroke(f.w, PaletteTile(f.w, 1), PaletteTile(f.w, 9));
        Click(f.w, 21, 30);
        QCOMPARE(Tiles(f.w, {{0, 21, 30}, {0, 22, 30}, {0, 21, 31}, {0, 20, 29}}), "1 1 9 9");
    }

    // Ctrl+click picks the edit layer's cell, its own record included; over an empty cell nothing. Ctrl+drag
    // picks the block between press and release, its empty cells included. Then the clipboard.
    void pickFromTheMapAndTheClipboard() {
        EditorFixture f;
        f.LoadSolidTiles(3, 0);
        GameValues door;
        door.custom1 = QStringLiteral("door");
        Put(f.w, 0, 2, 2, 2, door);
        // Ctrl held, the button pressed on (c0, r0) and released on (c1, r1), with a move there if elsewhere.
        const auto ctrlDrag = [&](int c0, int r0, int c1, int r1) {
            HoverAt(f.w, CellMiddle(f.w, c0, r0));
            Input::Press(f.w.Controls().canMain, CellMiddle(f.w, c0, r0), Qt::LeftButton,
                         Qt::ControlModifier);
            // The pick's frame shows from the press, before any move.
            QCOMPARE(QColor(MapPixel(f.w, c0 * 32 - 1, r0 * 32 + 16)), QColor(Qt::white));
            if (c1 != c0 || r1 != r0)
                Input::Move(f.w.Controls().canMain, CellMiddle(f.w, c1, r1), Qt::LeftButton);
            Input::Release(f.w.Controls().canMain, CellMiddle(f.w, c1, r1));
        };
        ctrlDrag(2, 2, 2, 2);
        QCOMPARE(f.w.Palette().SelectedTile()->ImageIndex(), 2);
        ctrlDrag(5, 5, 5, 5);
        QVERIFY(f.w.Controls().lblStatus->text().startsWith("Nothing to pick"));
        Click(f.w, 6, 6);
        QCOMPARE(Say(Tiles(f.w, {{0, 6, 6}}), f.w.Layer(0).Get(6, 6)->Custom1(), Tiles(f.w, {{0, 5, 5}})),
                 "2 door -1");
        Put(f.w, 0, 3, 3, 1);
        ctrlDrag(2, 2, 3, 3);
        Put(f.w, 0, 11, 10, 0);
        Click(f.w, 10, 10);
        QCOMPARE(Say(Tiles(f.w, {{0, 10, 10}}), f.w.Layer(0).Get(10, 10)->Custom1(),
                     Tiles(f.w, {{0, 11, 10}, {0, 10, 11}, {0, 11, 11}})),
                 "2 door 0 -1 1");
        // The clipboard's own form read back whole (from another program, not this window's piece); other
        // contents refused with a message; forms cut short refused. (Forms with bytes changed are the map
        // fuzzer's: it reads any bytes as a piece.)
        GameValues passable;
        passable.passable = true;
        // Every layer, and a cell of tile 2 whose values are not those of the first one copied.
        Put(f.w, 0, 1, 1, 1), Put(f.w, 0, 2, 1, 2, passable), Put(f.w, 1, 0, 1, 2);
        f.w.SetSelection(QRect(0, 1, 3, 1));
        QVERIFY(Activate(f.w));
        Type(f.w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        const QByteArray bytes = copied->data(PieceCodec::kMimeType);
        QCOMPARE(copied->text(), "\t1\t2\n\n2\t\t\n\n\t\t\n");
        auto* foreign = new QMimeData;
        foreign->setData(PieceCodec::kMimeType, bytes);
        QApplication::clipboard()->setMimeData(foreign);
        ChooseItem("EditPaste");
        Click(f.w, 5, 5);
        QCOMPARE(Tiles(f.w, {{0, 5, 5}, {0, 6, 5}, {0, 7, 5}, {1, 5, 5}}), "-1 1 2 2");
        QCOMPARE(Say(f.w.Layer(0).Get(7, 5)->Passable(), f.w.Layer(0).Get(6, 5)->Passable(),
                     f.w.Layer(1).Get(5, 5)->Passable()),
                 "true false false");
        // Memory running out stops a copy or a paste whole, in red; the clipboard keeps what it held.
        CellRef::FailCellMemoryAfter(0);
        ChooseItem("EditCopy");
        QCOMPARE(Say(f.w.Controls().lblStatus->text(), QApplication::clipboard()->mimeData() == foreign),
                 "Out of memory: copy stopped true");
        ChooseItem("EditPaste");
        QCOMPARE(f.w.Controls().lblStatus->text(), "Out of memory: paste stopped");
        CellRef::FailCellMemoryAfter(-1);
        QApplication::clipboard()->setText(QStringLiteral("hello"));
        ChooseItem("EditPaste");
        QCOMPARE(f.w.Controls().lblStatus->text(), "The clipboard holds no map cells");

        PieceSnapshot whole, read;
        QCOMPARE(PieceCodec::Decode(bytes, &whole), QString());
        QCOMPARE(PieceCodec::Encode(whole), bytes);
        for (int i = 0; i < bytes.size(); ++i)
            QVERIFY2(!PieceCodec::Decode(bytes.left(i), &read).isEmpty(), qPrintable(Say(i)));
        // A piece claiming the largest size with almost no bytes is refused before anything is taken.
        PieceSnapshot huge = whole;
        huge.width = huge.height = 4096;
        huge.layers.resize(1);
        huge.layers[0].cells.tiles.assign(4096 * 4096, 0);
        huge.layers[0].cells.exceptions.clear();
        QByteArray claim = PieceCodec::Encode(huge);
        QCOMPARE(PieceCodec::Decode(claim, &read), QString()); // whole, the largest size is a piece
        claim.truncate(claim.size() / 2);
        QVERIFY(!PieceCodec::Decode(claim, &whole).isEmpty());
    }
};

QTEST_MAIN(TestRegions)
#include "tst_regions.moc"
