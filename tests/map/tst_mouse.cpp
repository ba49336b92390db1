// The mouse on the map canvas: where plot and erase strokes land, clicks, strokes that leave the canvas,
// releases, other buttons, and strokes that begin without a move.
#include "MapSteps.h"
#include "platform/ScrollBar.h"

#include <QLabel>
#include <QMenu>
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

// How a stroke loses its release, or what comes before a press with no move.
enum Interruption { kDialog, kMoveWithoutButton, kWindowDeactivated, kPopup, kNextPress, kClickAfterDialog };

constexpr int kSide = 12;

// Every cell of the 12 x 12 map holds tile 0 or tile 2 in a checkerboard, so no two like cells touch and the
// fill tool's region is the clicked cell alone; tile 1 is then selected.
void Checkerboard(EditorFixture& f) {
    for (int tile : {0, 2}) {
        f.PickTile(tile);
        for (int r = 0; r < kSide; ++r)
            for (int c = 0; c < kSide; ++c)
                if ((c + r) % 2 == tile / 2)
                    f->PlaceTile(c * 32, r * 32, c, r, false);
    }
    f.PickTile(1);
}

// The cells of the 12 x 12 map that hold tile 1 and those that are empty, as stored or as the canvas shows
// them.
QString Cells(frmMain& w, bool shown) {
    QString tile, empty;
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) {
            const CellRef cell = w.Layer(0).Get(c, r);
            const QColor colour = MapPixel(w, c * 32 + 16, r * 32 + 16);
            const QString at = QStringLiteral(" %1,%2").arg(c).arg(r);
            if (shown ? colour == TileColour(w, 1) : cell && cell->ImageIndex() == 1)
                tile += at;
            else if (shown ? colour == kBlack : !cell)
                empty += at;
        }
    return QStringLiteral("tile 1:%1; empty:%2").arg(tile, empty);
}
} // namespace

class TestMouse : public QObject {
    Q_OBJECT
private slots:
    void dragStoresTheCellUnderThePointer_data();
    void dragStoresTheCellUnderThePointer();
    void dragPaintsEveryCellItPasses();
    void dragLeftOfOrAboveTheCanvasNeverPaintsTheEdge_data();
    void dragLeftOfOrAboveTheCanvasNeverPaintsTheEdge();
    void dragBeyondTheCanvasPaintsTheMapCellThere();
    void releaseWritesNothingMore();
    void otherButtonsDoNotPaint();
    void onlyWhatTheUserDrewIsStored_data();
    void onlyWhatTheUserDrewIsStored();
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
    Stroke s(w, QPoint(20, 20));
    s.DragTo(QPoint(40, 70));
    const CellRef cell = w.Layer(0).Get(column, row);
    QVERIFY(cell);
    QCOMPARE(cell->X(), column * 32);
    QCOMPARE(cell->Y(), row * 32);
    QCOMPARE(cell->ImageIndex(), std::int16_t(3));
    QCOMPARE(cell->ZOrder(), std::uint8_t(0));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Plot X: %1 Y: %2").arg(column).arg(row));
    // The new cell shows under the cursor.
    QCOMPARE(MapPixel(w, 40, 70), TileColour(w, 3));
    s.Release();
    QCOMPARE(CellCount(w.Layer(0)), 2); // the press cell and the drag cell
}

void TestMouse::dragPaintsEveryCellItPasses() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 1);
    ChooseEditLayer(w, 2);
    StrokeThrough(w, CellCentre(3, 3),
                  {CellCentre(4, 3), CellCentre(5, 3), CellCentre(5, 4), CellCentre(4, 3)});
    QCOMPARE(CellCount(w.Layer(2)), 4);
    for (const auto& [c, r] : QList<QPair<int, int>>{{3, 3}, {4, 3}, {5, 3}, {5, 4}})
        QVERIFY(w.Layer(2).Get(c, r));
    QCOMPARE(CellCount(w.Layer(0)), 0);

    // Erasing back over part of it clears only the cells under the pointer.
    ChooseTool(w, 1);
    StrokeThrough(w, CellCentre(4, 3), {CellCentre(5, 3)});
    QCOMPARE(CellCount(w.Layer(2)), 2);
    QVERIFY(w.Layer(2).Get(3, 3));
    QVERIFY(w.Layer(2).Get(5, 4));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Erase X: 5 Y: 3"));
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
    StrokeThrough(w, CellCentre(3, 3), {position});
    QCOMPARE(CellCount(w.Layer(0)), 1);
    QVERIFY(w.Layer(0).Get(3, 3));

    // Scrolled, the same position lies over the map cell left of or above the view, and paints it.
    w.scbMainHorizontal->setValue(10);
    w.scbMainVertical->setValue(10);
    StrokeThrough(w, CellCentre(3, 3), {position});
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
    StrokeThrough(w, CellCentre(16, 15), {QPoint(600, 520)});
    const CellRef cell = w.Layer(0).Get(18, 16);
    QVERIFY(cell);
    QCOMPARE(cell->X(), 18 * 32);
    QCOMPARE(cell->Y(), 16 * 32);
    // Past the map's end nothing is stored.
    w.scbMainHorizontal->setValue(84);
    StrokeThrough(w, CellCentre(15, 1), {QPoint(600, 40)});
    QCOMPARE(CellCount(w.Layer(0)), 3);
}

void TestMouse::releaseWritesNothingMore() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    Stroke s(w, CellCentre(1, 1));
    s.DragTo(CellCentre(2, 1));
    Input::Release(w.canMain, CellCentre(6, 6));
    QCOMPARE(CellCount(w.Layer(0)), 2);
    QVERIFY(!w.Layer(0).Get(6, 6));

    w.PlaceTile(6 * 32, 6 * 32, 6, 6, false);
    ChooseTool(w, 1);
    HoverAt(w, CellCentre(1, 1));
    Input::Press(w.canMain, CellCentre(1, 1));
    Input::Release(w.canMain, CellCentre(6, 6));
    QVERIFY(!w.Layer(0).Get(1, 1));
    QVERIFY(w.Layer(0).Get(2, 1));
    QVERIFY(w.Layer(0).Get(6, 6));
}

void TestMouse::otherButtonsDoNotPaint() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    HoverAt(w, QPoint(40, 70));
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Input::Press(w.canMain, QPoint(40, 70), button);
        Input::Move(w.canMain, QPoint(100, 70), button);
        Input::Release(w.canMain, QPoint(100, 70), button);
    }
    ChooseTool(w, 2);
    Input::Press(w.canMain, QPoint(40, 70), Qt::RightButton);
    Input::Release(w.canMain, QPoint(200, 70), Qt::RightButton);
    QCOMPARE(CellCount(w.Layer(0)), 0);
    // Another button pressed and let go in the middle of a stroke leaves the stroke alone.
    Stroke s(w, CellCentre(1, 1));
    Input::Press(w.canMain, CellCentre(2, 1), Qt::RightButton, Qt::LeftButton);
    Input::Release(w.canMain, CellCentre(2, 1), Qt::RightButton, Qt::LeftButton);
    s.DragTo(CellCentre(3, 1));
    s.Release();
    QCOMPARE(CellCount(w.Layer(0)), 3);
}

void TestMouse::onlyWhatTheUserDrewIsStored_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("interruption");
    const char* names[] = {
        "dialog mid-stroke", "release lost, then a move",  "window deactivated mid-stroke",
        "popup mid-stroke",  "release lost, then a press", "click with no move after a dialog"};
    for (int tool = 0; tool < 8; ++tool)
        for (int i = kDialog; i <= kClickAfterDialog; ++i)
            QTest::addRow("tool %d, %s", tool, names[i]) << tool << i;
}

void TestMouse::onlyWhatTheUserDrewIsStored() {
    QFETCH(int, tool);
    QFETCH(int, interruption);
    EditorFixture f;
    frmMain& w = f.window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    f.LoadSolidTiles(3, -1);
    Apply(w, "3", "32", "32", QString::number(kSide), QString::number(kSide));
    Checkerboard(f);
    ChooseTool(w, tool);
    // Plot and erase write while the button is held; the shapes write only on a release.
    const QString drawn =
        interruption != kClickAfterDialog && tool <= 1 ? QStringLiteral(" 1,2 3,4") : QString();
    const QString tile = tool == 0 ? drawn : QString();
    const QString empty = tool == 1 ? drawn : QString();
    HoverAt(w, CellCentre(1, 2));
    if (interruption != kClickAfterDialog) {
        Input::Press(w.canMain, CellCentre(1, 2));
        Input::Move(w.canMain, CellCentre(3, 4), Qt::LeftButton);
    }
    // From here on the release never reaches the canvas.
    if (interruption == kDialog || interruption == kClickAfterDialog) {
        QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(f.dialogs->requests.size(), std::size_t(2));
        Input::Leave(w.canMain);
    } else if (interruption == kWindowDeactivated) {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(&w, &deactivate);
    } else if (interruption == kPopup) {
        QMenu menu(&w);
        menu.addAction(QStringLiteral("item"));
        menu.popup(w.mapToGlobal(QPoint(500, 300)));
        menu.close();
    }
    // Where something took the mouse, the preview or cursor is gone at once.
    if (interruption != kMoveWithoutButton && interruption != kNextPress)
        QCOMPARE(Cells(w, true), Cells(w, false));
    // Moves with no button held write nothing.
    if (interruption != kNextPress && interruption != kClickAfterDialog)
        for (const QPoint& p : {CellCentre(6, 1), CellCentre(7, 7), CellCentre(8, 8)})
            Input::Move(w.canMain, p);
    QCOMPARE(Cells(w, false), QStringLiteral("tile 1:%1; empty:%2").arg(tile, empty));
    // A click at (9, 9) with no move before it: every tool stores exactly that cell.
    Input::Press(w.canMain, CellCentre(9, 9));
    Input::Release(w.canMain, CellCentre(9, 9));
    QCOMPARE(Cells(w, false), QStringLiteral("tile 1:%1; empty:%2")
                                  .arg(tool == 1 ? tile : tile + " 9,9", tool == 1 ? empty + " 9,9" : empty));
}

QTEST_MAIN(TestMouse)
#include "tst_mouse.moc"
