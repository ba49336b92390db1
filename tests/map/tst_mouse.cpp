// The mouse on the map canvas: where plot and erase strokes land, clicks, strokes that leave the canvas,
// releases, other buttons, and strokes that begin without a move.
#include "MapSteps.h"
#include "platform/ScrollBar.h"

#include <QLabel>
#include <QtTest>

using namespace MapSteps;

namespace {
int CellCount(const LayerGrid& grid) {
    int count = 0;
    for (int row = 0; row < grid.Height(); ++row)
        for (int column = 0; column < grid.Width(); ++column)
            count += grid.Get(column, row) ? 1 : 0;
    return count;
}
} // namespace

class TestMouse : public QObject {
    Q_OBJECT
private slots:
    void dragStoresTheCellUnderThePointer_data();
    void dragStoresTheCellUnderThePointer();
    void dragPaintsEveryCellItPasses();
    void plainClickPlotsAndErases();
    void dragLeftOfOrAboveTheCanvasNeverPaintsTheEdge_data();
    void dragLeftOfOrAboveTheCanvasNeverPaintsTheEdge();
    void dragBeyondTheCanvasPaintsTheMapCellThere();
    void releaseWritesNothingMore();
    void rightButtonDoesNotPaint();
    void realLeftButtonStrokePaints();
    void pressAfterADialogStartsTheStrokeThere();
};

void TestMouse::dragStoresTheCellUnderThePointer_data() {
    QTest::addColumn<int>("scrollX");
    QTest::addColumn<int>("scrollY");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::newRow("unscrolled") << 0 << 0 << 1 << 2;
    QTest::newRow("scrolled 10, 5") << 10 << 5 << 11 << 7;
}

void TestMouse::dragStoresTheCellUnderThePointer() {
    QFETCH(int, scrollX);
    QFETCH(int, scrollY);
    QFETCH(int, column);
    QFETCH(int, row);
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(4, 3);
    w.scbMainHorizontal->setValue(scrollX);
    w.scbMainVertical->setValue(scrollY);
    HoverAt(w, QPoint(20, 20));
    QVERIFY(w.canMain_MouseDown(20, 20));
    w.canMain_MouseDrag(40, 70);
    const CellRef cell = w.Layer(0).Get(column, row);
    QVERIFY(cell);
    QCOMPARE(cell->X(), column * 32);
    QCOMPARE(cell->Y(), row * 32);
    QCOMPARE(cell->ImageIndex(), std::int16_t(3));
    QCOMPARE(cell->ZOrder(), std::uint8_t(0));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Plot X: %1 Y: %2").arg(column).arg(row));
    // The new cell shows under the cursor.
    QCOMPARE(MapPixel(w, 40, 70), TileColour(w, 3));
    w.canMain_MouseUp(40, 70);
    QCOMPARE(CellCount(w.Layer(0)), 2); // the press cell and the drag cell
}

void TestMouse::dragPaintsEveryCellItPasses() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 1);
    ChooseEditLayer(w, 2);
    Stroke(w, CellCentre(3, 3), {CellCentre(4, 3), CellCentre(5, 3), CellCentre(5, 4), CellCentre(4, 3)});
    QCOMPARE(CellCount(w.Layer(2)), 4);
    for (const auto& [c, r] : QList<QPair<int, int>>{{3, 3}, {4, 3}, {5, 3}, {5, 4}})
        QVERIFY(w.Layer(2).Get(c, r));
    QCOMPARE(CellCount(w.Layer(0)), 0);

    // Erasing back over part of it clears only the cells under the pointer.
    ChooseTool(w, 1);
    Stroke(w, CellCentre(4, 3), {CellCentre(5, 3)});
    QCOMPARE(CellCount(w.Layer(2)), 2);
    QVERIFY(w.Layer(2).Get(3, 3));
    QVERIFY(w.Layer(2).Get(5, 4));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Erase X: 5 Y: 3"));
}

void TestMouse::plainClickPlotsAndErases() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    Stroke(w, QPoint(40, 70));
    QVERIFY(w.Layer(0).Get(1, 2));
    QCOMPARE(CellCount(w.Layer(0)), 1);
    Stroke(w, QPoint(300, 300));
    QVERIFY(w.Layer(0).Get(9, 9));
    ChooseTool(w, 1);
    Stroke(w, QPoint(45, 75));
    QVERIFY(!w.Layer(0).Get(1, 2));
    QVERIFY(w.Layer(0).Get(9, 9));
}

void TestMouse::dragLeftOfOrAboveTheCanvasNeverPaintsTheEdge_data() {
    QTest::addColumn<QPoint>("position");
    QTest::newRow("x -1") << QPoint(-1, 70);
    QTest::newRow("x -16") << QPoint(-16, 70);
    QTest::newRow("x -31") << QPoint(-31, 70);
    QTest::newRow("y -1") << QPoint(40, -1);
    QTest::newRow("y -31") << QPoint(40, -31);
    QTest::newRow("both -1") << QPoint(-1, -1);
}

void TestMouse::dragLeftOfOrAboveTheCanvasNeverPaintsTheEdge() {
    QFETCH(QPoint, position);
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    // A stroke that starts inside and leaves the canvas to the left or top: only the press cell is painted.
    Stroke(w, CellCentre(3, 3), {position});
    QCOMPARE(CellCount(w.Layer(0)), 1);
    QVERIFY(w.Layer(0).Get(3, 3));

    // Scrolled, the same position lies over the map cell left of or above the view, and paints it.
    w.scbMainHorizontal->setValue(10);
    w.scbMainVertical->setValue(10);
    Stroke(w, CellCentre(3, 3), {position});
    const int column = position.x() < 0 ? 9 : 11;
    const int row = position.y() < 0 ? 9 : 12;
    QVERIFY(w.Layer(0).Get(column, row));
    QVERIFY(!w.Layer(0).Get(10, row));
    QVERIFY(!w.Layer(0).Get(column, 10));
}

void TestMouse::dragBeyondTheCanvasPaintsTheMapCellThere() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    Stroke(w, CellCentre(16, 15), {QPoint(600, 520)});
    const CellRef cell = w.Layer(0).Get(18, 16);
    QVERIFY(cell);
    QCOMPARE(cell->X(), 18 * 32);
    QCOMPARE(cell->Y(), 16 * 32);
    // Past the map's end nothing is stored.
    w.scbMainHorizontal->setValue(84);
    Stroke(w, CellCentre(15, 1), {QPoint(600, 40)});
    QCOMPARE(CellCount(w.Layer(0)), 3);
}

void TestMouse::releaseWritesNothingMore() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    HoverAt(w, CellCentre(1, 1));
    w.canMain_MouseDown(CellCentre(1, 1).x(), CellCentre(1, 1).y());
    w.canMain_MouseDrag(CellCentre(2, 1).x(), CellCentre(2, 1).y());
    w.canMain_MouseUp(CellCentre(6, 6).x(), CellCentre(6, 6).y());
    QCOMPARE(CellCount(w.Layer(0)), 2);
    QVERIFY(!w.Layer(0).Get(6, 6));

    w.PlaceTile(6 * 32, 6 * 32, 6, 6, false);
    ChooseTool(w, 1);
    HoverAt(w, CellCentre(1, 1));
    w.canMain_MouseDown(CellCentre(1, 1).x(), CellCentre(1, 1).y());
    w.canMain_MouseUp(CellCentre(6, 6).x(), CellCentre(6, 6).y());
    QVERIFY(!w.Layer(0).Get(1, 1));
    QVERIFY(w.Layer(0).Get(2, 1));
    QVERIFY(w.Layer(0).Get(6, 6));
}

void TestMouse::rightButtonDoesNotPaint() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    QTest::mouseMove(w.canMain, QPoint(40, 70));
    QTest::mousePress(w.canMain, Qt::RightButton, Qt::NoModifier, QPoint(40, 70));
    QTest::mouseMove(w.canMain, QPoint(100, 70));
    QTest::mouseRelease(w.canMain, Qt::RightButton, Qt::NoModifier, QPoint(100, 70));
    QCOMPARE(CellCount(w.Layer(0)), 0);
    QTest::mousePress(w.canMain, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 70));
    QTest::mouseRelease(w.canMain, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 70));
    QCOMPARE(CellCount(w.Layer(0)), 0);
    ChooseTool(w, 2);
    QTest::mousePress(w.canMain, Qt::RightButton, Qt::NoModifier, QPoint(40, 70));
    QTest::mouseRelease(w.canMain, Qt::RightButton, Qt::NoModifier, QPoint(200, 70));
    QCOMPARE(CellCount(w.Layer(0)), 0);
}

void TestMouse::realLeftButtonStrokePaints() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    QTest::mouseMove(w.canMain, QPoint(40, 70));
    QTest::mousePress(w.canMain, Qt::LeftButton, Qt::NoModifier, QPoint(40, 70));
    QTest::mouseMove(w.canMain, QPoint(72, 70));
    QTest::mouseRelease(w.canMain, Qt::LeftButton, Qt::NoModifier, QPoint(72, 70));
    QVERIFY(w.Layer(0).Get(1, 2));
    QVERIFY(w.Layer(0).Get(2, 2));
    QCOMPARE(CellCount(w.Layer(0)), 2);
}

void TestMouse::pressAfterADialogStartsTheStrokeThere() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    ChooseTool(w, 2);
    // The pointer was last seen at (300, 300); a dialog then covered the canvas and closed again, and the
    // next thing the canvas hears is a press at (40, 70).
    HoverAt(w, QPoint(300, 300));
    w.canMain_MouseExit();
    f.LoadSolidTiles(1, -1);
    w.canMain_MouseEnter();
    QVERIFY(w.canMain_MouseDown(40, 70));
    w.canMain_MouseDrag(40 + 64, 70);
    w.canMain_MouseUp(40 + 64, 70);
    QCOMPARE(CellCount(w.Layer(0)), 3);
    for (int c = 1; c <= 3; ++c)
        QVERIFY(w.Layer(0).Get(c, 2));
    QVERIFY(!w.Layer(0).Get(9, 9));

    // A plot click after the same interruption lands under the press, not at the old pointer.
    ChooseTool(w, 0);
    HoverAt(w, QPoint(300, 300));
    w.canMain_MouseExit();
    w.canMain_MouseEnter();
    w.canMain_MouseDown(40, 200);
    w.canMain_MouseUp(40, 200);
    QVERIFY(w.Layer(0).Get(1, 6));
    QVERIFY(!w.Layer(0).Get(9, 9));
}

QTEST_MAIN(TestMouse)
#include "tst_mouse.moc"
