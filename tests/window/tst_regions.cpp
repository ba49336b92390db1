// Regions of the map as a user works with them, through real mouse and key events and the Edit menu: select,
// copy, paste, cut, delete and move with undo checked against whole-map snapshots, Escape's order, palette
// blocks stamped as an anchored pattern, picking from the map, and the clipboard's form read back whole or
// refused when cut short.
#include "UserSteps.h"
#include "document/PieceCodec.h"
#include "tiles/TileSwatch.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QtTest>

namespace {
bool Enabled(const char* item) {
    return mnuMain::Instance()->Item(QLatin1String(item))->isEnabled();
}
int TileAtCell(const frmMain& w, int layer, int c, int r) {
    const PlacedCell cell = w.Layer(layer).Get(c, r);
    return cell ? cell.ImageIndex() : -1;
}
} // namespace

class TestRegions : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CellRef::FailCellMemoryAfter(-1); }

    // A selection dragged with the select tool, copied on every layer and pasted as the stamp; cut and delete
    // of the edit layer's cells, each one step that undo takes back to the map as it was; Escape clears.
    void copyPasteCutDelete() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(4, 0);
        Put(w, 0, 1, 1, 0), Put(w, 0, 2, 1, 1), Put(w, 0, 1, 2, 2), Put(w, 1, 2, 2, 3);
        Type(w, Qt::Key_S);
        DragStroke(w, 1, 1, 2, 2);
        HoverAt(w, CellMiddle(w, 2, 2));
        QCOMPARE(w.Controls().lblStatus->text(), "Select X: 1 Y: 1 W: 2 H: 2");
        QVERIFY(Enabled("EditCopy") && Enabled("EditCut") && Enabled("EditClear"));
        QVERIFY(Activate(w)); // for the window's shortcuts
        Type(w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(Enabled("EditPaste"));
        const MapSnapshot before = MapOf(w);
        ChooseItem("EditPaste");
        QCOMPARE(w.CurrentStroke().CurrentTool(), Tool::Plot);
        Click(w, 5, 5);
        QCOMPARE(Say(TileAtCell(w, 0, 5, 5), TileAtCell(w, 0, 6, 5), TileAtCell(w, 0, 5, 6),
                     TileAtCell(w, 0, 6, 6), TileAtCell(w, 1, 6, 6), TileAtCell(w, 1, 5, 5)),
                 "0 1 2 -1 3 -1");
        // A paste writes the piece's records themselves, shared with the cells it was copied from.
        QCOMPARE(w.Layer(0).Record(6, 5).get(), w.Layer(0).Record(2, 1).get());
        ChooseItem("EditUndo");
        QVERIFY(MapOf(w) == before);
        for (const char* item : {"EditCut", "EditClear"}) {
            ChooseItem(item);
            QCOMPARE(Say(TileAtCell(w, 0, 1, 1), TileAtCell(w, 0, 2, 1), TileAtCell(w, 1, 2, 2)), "-1 -1 3");
            ChooseItem("EditUndo");
            QVERIFY(MapOf(w) == before);
        }
        Type(w, Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier); // every layer
        QCOMPARE(Say(TileAtCell(w, 0, 1, 1), TileAtCell(w, 1, 2, 2), TileAtCell(w, 1, 5, 5)), "-1 -1 -1");
        ChooseItem("EditUndo");
        Type(w, Qt::Key_Escape);
        QVERIFY(w.Selection().isEmpty() && !Enabled("EditCopy"));
        // Select All takes the whole map, and a click outside the selection clears it.
        ChooseItem("EditSelectAll");
        QCOMPARE(w.Selection(), QRect(0, 0, 100, 100));
        w.SetSelection(QRect(1, 1, 2, 2));
        ChooseTool(w, Tool::Select);
        Click(w, 8, 8);
        QVERIFY(w.Selection().isEmpty());
        // A piece of every layer pasted into a map using fewer of them: the status line counts those left
        // out.
        w.SetSelection(QRect(1, 1, 2, 2));
        w.EditCopy_Action(true);
        Apply(w, "1", "32", "32", "100", "100");
        ChooseItem("EditPaste");
        QCOMPARE(w.Controls().lblStatus->text(),
                 "2 of the piece's layers are not in use on this map and left out");
        // A smaller map keeps only the selected cells it still has: here none, so nothing to copy.
        w.SetSelection(QRect(90, 90, 5, 5));
        Apply(w, "1", "32", "32", "50", "50");
        QVERIFY(w.Selection().isEmpty() && !Enabled("EditCopy"));
    }

    // A wall moved by a drag from inside the selection: the cells left behind are emptied, one step whose
    // undo and redo bring back the map and the selection of each side. Escape drops a move and a shape.
    void moveAndEscape() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(2, 0);
        for (int r = 1; r <= 3; ++r)
            Put(w, 0, 1, r, 1);
        const MapSnapshot before = MapOf(w);
        Type(w, Qt::Key_S);
        DragStroke(w, 1, 1, 1, 3);
        DragStroke(w, 1, 2, 4, 2);
        QCOMPARE(Describe(Occupied(w.Layer(0))), "(4,1) (4,2) (4,3)");
        QCOMPARE(w.Selection(), QRect(4, 1, 1, 3));
        const MapSnapshot after = MapOf(w);
        ChooseItem("EditUndo");
        QVERIFY(MapOf(w) == before && w.Selection() == QRect(1, 1, 1, 3));
        ChooseItem("EditRedo");
        QVERIFY(MapOf(w) == after && w.Selection() == QRect(4, 1, 1, 3));
        // Escape during the drag puts the cells back; a second Escape clears the selection.
        const int steps = w.Document().Steps().Count();
        MouseStroke move(w, 4, 2);
        move.DragTo(7, 2);
        QVERIFY(Occupied(w.Layer(0)).empty());
        // What is carried shows under the pointer only, not where it was.
        QCOMPARE(Describe(CellsShowing(w, TileColour(w, 1))), "(7,1) (7,2) (7,3)");
        Type(w, Qt::Key_Escape);
        move.Release();
        QVERIFY(MapOf(w) == after);
        QCOMPARE(Say(w.Document().Steps().Count(), w.Selection().width()), Say(steps, 1));
        Type(w, Qt::Key_Escape);
        QVERIFY(w.Selection().isEmpty());
        ChooseTool(w, Tool::FilledRectangle);
        MouseStroke rect(w, 6, 6);
        rect.DragTo(9, 9);
        Type(w, Qt::Key_Escape);
        rect.Release();
        QVERIFY(MapOf(w) == after);
        // Carried past the map's edge: what lands off it is gone, the selection keeps what is left.
        ChooseTool(w, Tool::Select);
        DragStroke(w, 4, 1, 4, 3);
        DragStroke(w, 4, 2, 4, 0);
        ChooseItem("EditUndo");
        ChooseItem("EditRedo");
        QCOMPARE(Say(Describe(Occupied(w.Layer(0))), w.Selection() == QRect(4, 0, 1, 2)), "(4,0) (4,1) true");
    }

    // A 2 x 2 block dragged across a palette narrower than its image: the block follows the image. A click
    // places it once, top-left at the click; a drag writes the pattern anchored at the press, never smeared.
    // The block goes with its tiles.
    void paletteBlockStamps() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadTiles("wide.png", MakeTileSheet(8 * 32, 3 * 32, 32, 32));
        const auto tile = [&](int i) { return PaletteSlot(w, i) + QPoint(16, 16); };
        PaletteStroke(w, tile(1), tile(10));
        QCOMPARE(w.Palette().PaletteBlock(), (TileBlock{2, 2, {1, 2, 9, 10}}));
        QVERIFY(w.Controls().swatchSelectedTile->Shown() != nullptr);
        ChooseTool(w, Tool::Plot);
        Click(w, 3, 3);
        QCOMPARE(Say(TileAtCell(w, 0, 3, 3), TileAtCell(w, 0, 4, 3), TileAtCell(w, 0, 3, 4),
                     TileAtCell(w, 0, 4, 4), TileAtCell(w, 0, 5, 3)),
                 "1 2 9 10 -1");
        // The block places each tile's own record, as a plot of that tile does.
        QCOMPARE(w.Layer(0).Record(4, 4).get(), w.Tileset().PlacedRecord(10).get());
        MouseStroke s(w, 3, 7);
        s.DragTo(9, 7);
        s.DragTo(4, 7);
        s.Release();
        const int pattern[2][2] = {{1, 2}, {9, 10}};
        for (int c = 3; c <= 10; ++c)
            for (int r = 7; r <= 8; ++r)
                QCOMPARE(TileAtCell(w, 0, c, r), pattern[(r - 7) % 2][(c - 3) % 2]);
        QCOMPARE(TileAtCell(w, 0, 11, 7), -1);
        // A fill lays the pattern anchored where it starts, and leaves the painted cells alone.
        ChooseTool(w, Tool::Fill);
        Click(w, 21, 30);
        QCOMPARE(Say(TileAtCell(w, 0, 21, 30), TileAtCell(w, 0, 22, 30), TileAtCell(w, 0, 21, 31),
                     TileAtCell(w, 0, 20, 29), TileAtCell(w, 0, 3, 3), TileAtCell(w, 0, 3, 9)),
                 "1 2 9 10 1 9");
        // Removed tiles take the block with them: brought back, none is framed as picked.
        f.dialogs->replies.push_back("Yes");
        ChooseItem("FileRemoveTiles");
        ChooseItem("EditUndo");
        QCOMPARE(w.Controls().canTiles->Buffer().pixel(tile(9) - QPoint(19, 0)), 0xff646464u);
    }

    // Ctrl+click picks the edit layer's cell, its own record included; over an empty cell nothing. Ctrl+drag
    // picks the block between press and release, its empty cells included.
    void pickFromTheMap() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(3, 0);
        GameValues door;
        door.custom1 = QStringLiteral("door");
        Put(w, 0, 2, 2, 2, door);
        // Ctrl held, the button pressed on (c0, r0) and released on (c1, r1), with a move there if elsewhere.
        const auto ctrlDrag = [&](int c0, int r0, int c1, int r1) {
            HoverAt(w, CellMiddle(w, c0, r0));
            Input::Press(w.Controls().canMain, CellMiddle(w, c0, r0), Qt::LeftButton, Qt::NoButton,
                         Qt::ControlModifier);
            if (c1 != c0 || r1 != r0)
                Input::Move(w.Controls().canMain, CellMiddle(w, c1, r1), Qt::LeftButton);
            Input::Release(w.Controls().canMain, CellMiddle(w, c1, r1));
        };
        ctrlDrag(2, 2, 2, 2);
        QCOMPARE(w.Palette().SelectedTile()->ImageIndex(), 2);
        ctrlDrag(5, 5, 5, 5);
        QVERIFY(w.Controls().lblStatus->text().startsWith("Nothing to pick"));
        Click(w, 6, 6);
        QCOMPARE(Say(TileAtCell(w, 0, 6, 6), w.Layer(0).Get(6, 6)->Custom1(), TileAtCell(w, 0, 5, 5)),
                 "2 door -1");
        Put(w, 0, 3, 3, 1);
        ctrlDrag(2, 2, 3, 3);
        Put(w, 0, 11, 10, 0);
        Click(w, 10, 10);
        QCOMPARE(Say(TileAtCell(w, 0, 10, 10), w.Layer(0).Get(10, 10)->Custom1(), TileAtCell(w, 0, 11, 10),
                     TileAtCell(w, 0, 10, 11), TileAtCell(w, 0, 11, 11)),
                 "2 door 0 -1 1");
    }

    // The clipboard's own form read back whole (from another program, not this window's piece); other
    // contents refused with a message; forms cut short refused. (Forms with bytes changed are the map
    // fuzzer's: it reads any bytes as a piece.)
    void clipboardForms() {
        EditorFixture f;
        frmMain& w = f.window();
        f.LoadSolidTiles(3, 0);
        GameValues passable;
        passable.passable = true;
        // Every layer, and a cell of tile 2 whose values are not those of the first one copied.
        Put(w, 0, 1, 1, 1), Put(w, 0, 2, 1, 2, passable), Put(w, 1, 0, 1, 2);
        w.SetSelection(QRect(0, 1, 3, 1));
        QVERIFY(Activate(w));
        Type(w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        const QByteArray bytes = copied->data(PieceCodec::kMimeType);
        QCOMPARE(copied->text(), "\t1\t2\n\n2\t\t\n\n\t\t\n");
        auto* foreign = new QMimeData;
        foreign->setData(PieceCodec::kMimeType, bytes);
        QApplication::clipboard()->setMimeData(foreign);
        ChooseItem("EditPaste");
        Click(w, 5, 5);
        QCOMPARE(Say(TileAtCell(w, 0, 5, 5), TileAtCell(w, 0, 6, 5), TileAtCell(w, 0, 7, 5),
                     TileAtCell(w, 1, 5, 5)),
                 "-1 1 2 2");
        QCOMPARE(Say(w.Layer(0).Get(7, 5)->Passable(), w.Layer(0).Get(6, 5)->Passable(),
                     w.Layer(1).Get(5, 5)->Passable()),
                 "true false false");
        // Memory running out stops a copy or a paste whole, in red; the clipboard keeps what it held.
        CellRef::FailCellMemoryAfter(0);
        ChooseItem("EditCopy");
        QCOMPARE(Say(w.Controls().lblStatus->text(), QApplication::clipboard()->mimeData() == foreign),
                 "Out of memory: copy stopped true");
        ChooseItem("EditPaste");
        QCOMPARE(w.Controls().lblStatus->text(), "Out of memory: paste stopped");
        CellRef::FailCellMemoryAfter(-1);
        QApplication::clipboard()->setText(QStringLiteral("hello"));
        ChooseItem("EditPaste");
        QCOMPARE(w.Controls().lblStatus->text(), "The clipboard holds no map cells");

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
        claim.truncate(claim.size() / 2);
        QVERIFY(!PieceCodec::Decode(claim, &whole).isEmpty());
    }
};

QTEST_MAIN(TestRegions)
#include "tst_regions.moc"
