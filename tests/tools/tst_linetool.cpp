// The line tool in the window: what a drag previews on the canvas and what the release stores.
#include "EditorFixture.h"
#include "ToolStroke.h"
#include "platform/ScrollBar.h"

#include <QtTest>

Q_DECLARE_METATYPE(CellSet)

namespace {
constexpr int kLine = 2;
} // namespace

class TestLineTool : public QObject {
    Q_OBJECT
private slots:
    void lineFromDragToPress_data();
    void lineFromDragToPress();
    void scrolledMapCommitsAtMapCells();
    void lineLeavingTheMapStopsAtItsEdge_data();
    void lineLeavingTheMapStopsAtItsEdge();
    void noSelectedTileDrawsAndPlacesNothing();
};

void TestLineTool::lineFromDragToPress_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<CellSet>("cells");
    // The walk starts at the dragged cell, so a shallow line bends where that end wants it to.
    QTest::newRow("shallow, (2,0) not (2,1)")
        << QPoint(0, 0) << QPoint(4, 1) << CellSet{{4, 1}, {3, 1}, {2, 0}, {1, 0}, {0, 0}};
    QTest::newRow("same line dragged the other way")
        << QPoint(4, 1) << QPoint(0, 0) << CellSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}};
    QTest::newRow("three across, one down")
        << QPoint(0, 0) << QPoint(3, 1) << CellSet{{3, 1}, {2, 1}, {1, 0}, {0, 0}};
    QTest::newRow("equal deltas: diagonal")
        << QPoint(0, 0) << QPoint(2, 2) << CellSet{{2, 2}, {1, 1}, {0, 0}};
    QTest::newRow("upward diagonal") << QPoint(1, 4) << QPoint(4, 1)
                                     << CellSet{{4, 1}, {3, 2}, {2, 3}, {1, 4}};
    QTest::newRow("vertical") << QPoint(0, 0) << QPoint(0, 3) << CellSet{{0, 0}, {0, 1}, {0, 2}, {0, 3}};
    QTest::newRow("steep") << QPoint(2, 1) << QPoint(3, 5) << CellSet{{3, 5}, {3, 4}, {2, 3}, {2, 2}, {2, 1}};
}

void TestLineTool::lineFromDragToPress() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, drag);
    QFETCH(CellSet, cells);
    EditorFixture f;
    f.LoadSolidTiles(3, 1);
    f->btnTool_Action(kLine);
    const QRgb tile = TileColour(f.window(), 1);

    Stroke s(f.window(), press.x(), press.y());
    s.DragTo(drag.x(), drag.y());
    // The preview shows the tile on exactly the line's cells and nothing is stored yet.
    QCOMPARE(Describe(CellsShowing(f.window(), tile)), Describe(cells));
    QVERIFY(Occupied(f->Layer(0)).empty());

    s.Release();
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(cells));
    CellSet seen;
    for (const auto& [c, r] : cells) {
        const CellRef cell = f->Layer(0).Get(c, r);
        QCOMPARE(cell->ImageIndex(), 1);
        QCOMPARE(cell->X(), c * 32);
        QCOMPARE(cell->Y(), r * 32);
        QCOMPARE(cell->ZOrder(), 0);
    }
    // Every cell is an object of its own.
    std::set<clsVOCell*> objects;
    for (const auto& [c, r] : cells)
        objects.insert(f->Layer(0).Get(c, r).get());
    QCOMPARE(objects.size(), cells.size());
    // After the release the canvas shows the stored cells and the cursor tile at the release cell.
    QCOMPARE(Describe(CellsShowing(f.window(), tile)), Describe(cells));
}

void TestLineTool::scrolledMapCommitsAtMapCells() {
    EditorFixture f;
    f.LoadSolidTiles(2, 0);
    f->btnTool_Action(kLine);
    f->scbMainHorizontal->setValue(10);
    f->scbMainVertical->setValue(5);
    QCOMPARE(f->m_intMapOffsetX, 10);
    QCOMPARE(f->m_intMapOffsetY, 5);

    Stroke s(f.window(), 0, 0);
    s.DragTo(4, 1);
    // The preview is drawn in visible cells.
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 0))),
             Describe(CellSet{{4, 1}, {3, 1}, {2, 0}, {1, 0}, {0, 0}}));
    s.Release();
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(CellSet{{14, 6}, {13, 6}, {12, 5}, {11, 5}, {10, 5}}));
    const CellRef end = f->Layer(0).Get(14, 6);
    QCOMPARE(end->X(), 448);
    QCOMPARE(end->Y(), 192);
    QCOMPARE(f->Layer(0).Get(10, 5)->X(), 320);
    QCOMPARE(f->Layer(0).Get(10, 5)->Y(), 160);
}

void TestLineTool::lineLeavingTheMapStopsAtItsEdge_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<CellSet>("placed");
    // On a 5 x 3 map. The walk from (9,2) to (0,0) is (9,2) (8,2) (7,2) (6,1) (5,1) (4,1) (3,1) (2,0) (1,0)
    // (0,0); only the cells inside the map are stored.
    QTest::newRow("past the last column")
        << QPoint(0, 0) << QPoint(9, 2) << CellSet{{4, 1}, {3, 1}, {2, 0}, {1, 0}, {0, 0}};
    QTest::newRow("past the last row") << QPoint(1, 0) << QPoint(1, 6) << CellSet{{1, 0}, {1, 1}, {1, 2}};
    // Dragged off the canvas to the left: the cells left of the map are dropped.
    QTest::newRow("left of the map") << QPoint(2, 1) << QPoint(-3, 1) << CellSet{{0, 1}, {1, 1}, {2, 1}};
}

void TestLineTool::lineLeavingTheMapStopsAtItsEdge() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, drag);
    QFETCH(CellSet, placed);
    EditorFixture f;
    ApplyMap(f.window(), 5, 3);
    f.LoadSolidTiles(2, 1);
    f->btnTool_Action(kLine);
    DragStroke(f.window(), press.x(), press.y(), drag.x(), drag.y());
    QVERIFY(f->Layer(0).SizedTo(5, 3));
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(placed));
}

void TestLineTool::noSelectedTileDrawsAndPlacesNothing() {
    EditorFixture f;
    f.LoadSolidTiles(3, -1);
    QVERIFY(!f->m_VOTileset->SelectedTile());
    f->btnTool_Action(kLine);
    Stroke s(f.window(), 0, 0);
    s.DragTo(4, 1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(CellsShowing(f.window(), TileColour(f.window(), i)).empty());
    // The canvas still shows the empty map: black cells.
    QCOMPARE(CellsShowing(f.window(), qRgb(0, 0, 0)).count({4, 1}), 1u);
    s.Release();
    QVERIFY(Occupied(f->Layer(0)).empty());
}

QTEST_MAIN(TestLineTool)
#include "tst_linetool.moc"
