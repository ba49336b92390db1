// Drawing the map: scroll ranges, the wheel, the cursor and status line, the order of layers and the grid,
// all checked on the picture the canvas shows.
#include "MapSteps.h"
#include "platform/ScrollBar.h"

#include <QLabel>
#include <QWheelEvent>
#include <QtTest>

using namespace MapSteps;

class TestRender : public QObject {
    Q_OBJECT
private slots:
    void scrollRangesOfTheDefaultMap();
    void smallMapDisablesBothBarsAndTheWheel();
    void wheelStopsAtBothEndsOneCellPerEvent();
    void wheelTurnedOnTheCanvasScrollsDown();
    void scrolledToTheEndTheLastColumnAndRowStayBlack();
    void cursorFrameAndStatus_data();
    void cursorFrameAndStatus();
    void plotCursorShowsTheSelectedTile();
    void leavingTheCanvasRemovesCursorAndStatus();
    void loadStatusSurvivesRepaintsUntilTheMouseMoves();
    void higherLayersCoverLowerOnes();
    void hiddenLayerIsSkippedBetweenShownOnes();
    void gridLinesAtTileMultiples();
    void cellWithoutAPictureIsNotDrawn();
};

void TestRender::scrollRangesOfTheDefaultMap() {
    EditorFixture f;
    QCOMPARE(f->canMain->size(), QSize(536, 508));
    QCOMPARE(f->m_intTilemapVisibleColumns, 17);
    QCOMPARE(f->m_intTilemapVisibleRows, 16);
    QCOMPARE(f->scbMainHorizontal->Maximum(), 84);
    QCOMPARE(f->scbMainVertical->Maximum(), 85);
    QCOMPARE(f->scbMainHorizontal->minimum(), 0);
    QVERIFY(f->scbMainHorizontal->isEnabled());
    QVERIFY(f->scbMainVertical->isEnabled());
}

void TestRender::smallMapDisablesBothBarsAndTheWheel() {
    EditorFixture f;
    Apply(f.window(), "3", "32", "32", "10", "10");
    QVERIFY(!f->scbMainHorizontal->isEnabled());
    QVERIFY(!f->scbMainVertical->isEnabled());
    f->UpdateStatus(QStringLiteral("kept"), QColor(0, 0, 0), 0);
    QVERIFY(!f->canMain_MouseWheel(10, 10, 1, 1));
    QVERIFY(!f->canMain_MouseWheel(10, 10, -1, -1));
    QCOMPARE(f->m_intMapOffsetX, 0);
    QCOMPARE(f->m_intMapOffsetY, 0);
    // No redraw: a redraw would have emptied the status line.
    QCOMPARE(f->lblStatus->text(), QStringLiteral("kept"));

    // Only one axis fits: the other still scrolls, and the map is redrawn.
    Apply(f.window(), "3", "32", "32", "10", "40");
    QVERIFY(!f->scbMainHorizontal->isEnabled());
    QVERIFY(f->scbMainVertical->isEnabled());
    f->UpdateStatus(QStringLiteral("kept"), QColor(0, 0, 0), 0);
    f->canMain_MouseWheel(10, 10, 1, 1);
    QCOMPARE(f->m_intMapOffsetX, 0);
    QCOMPARE(f->m_intMapOffsetY, 1);
    QCOMPARE(f->lblStatus->text(), QString());
}

void TestRender::wheelStopsAtBothEndsOneCellPerEvent() {
    EditorFixture f;
    QVERIFY(!f->canMain_MouseWheel(0, 0, -1, -1));
    QCOMPARE(f->m_intMapOffsetX, 0);
    QCOMPARE(f->m_intMapOffsetY, 0);
    f->canMain_MouseWheel(0, 0, 5, 0);
    QCOMPARE(f->m_intMapOffsetX, 1);
    QCOMPARE(f->m_intMapOffsetY, 0);
    f->canMain_MouseWheel(0, 0, 0, 120);
    QCOMPARE(f->m_intMapOffsetX, 1);
    QCOMPARE(f->m_intMapOffsetY, 1);
    QCOMPARE(f->scbMainHorizontal->Value(), 1);
    QCOMPARE(f->scbMainVertical->Value(), 1);
    for (int i = 0; i < 200; ++i)
        f->canMain_MouseWheel(0, 0, 1, 1);
    QCOMPARE(f->m_intMapOffsetX, 84);
    QCOMPARE(f->m_intMapOffsetY, 85);
    f->canMain_MouseWheel(0, 0, 1, 1);
    QCOMPARE(f->m_intMapOffsetX, 84);
    QCOMPARE(f->m_intMapOffsetY, 85);
    f->canMain_MouseWheel(0, 0, -3, -1);
    QCOMPARE(f->m_intMapOffsetX, 83);
    QCOMPARE(f->m_intMapOffsetY, 84);
    QCOMPARE(f->scbMainHorizontal->Value(), 83);
    QCOMPARE(f->scbMainVertical->Value(), 84);
}

void TestRender::wheelTurnedOnTheCanvasScrollsDown() {
    EditorFixture f;
    // Turning the wheel towards the user (a negative angle) moves the view down by one row.
    const QPointF at(40, 70);
    QWheelEvent down(at, f->canMain->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(f->canMain, &down);
    QCOMPARE(f->m_intMapOffsetY, 1);
    QCOMPARE(f->m_intMapOffsetX, 0);
    QWheelEvent up(at, f->canMain->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(f->canMain, &up);
    QApplication::sendEvent(f->canMain, &up);
    QCOMPARE(f->m_intMapOffsetY, 0);
}

void TestRender::scrolledToTheEndTheLastColumnAndRowStayBlack() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 1);
    for (int i = 0; i < 100; ++i) {
        w.PlaceTile(99 * 32, i * 32, 99, i, false);
        w.PlaceTile(i * 32, 99 * 32, i, 99, false);
    }
    f->scbMainHorizontal->setValue(84);
    f->scbMainVertical->setValue(85);
    const QColor tile = TileColour(w, 1);
    // Map column 99 is canvas column 15, map row 99 canvas row 14.
    QCOMPARE(MapPixel(w, 15 * 32 + 10, 5 * 32 + 10), tile);
    QCOMPARE(MapPixel(w, 5 * 32 + 10, 14 * 32 + 10), tile);
    QCOMPARE(MapPixel(w, 16 * 32 + 10, 5 * 32 + 10), kBlack);
    QCOMPARE(MapPixel(w, 5 * 32 + 10, 15 * 32 + 10), kBlack);
    QCOMPARE(MapPixel(w, 5 * 32 + 10, 5 * 32 + 10), kBlack);
}

void TestRender::cursorFrameAndStatus_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("scrollX");
    QTest::addColumn<int>("scrollY");
    QTest::addColumn<QString>("status");
    QTest::newRow("plot") << 0 << 0 << 0 << "Plot X: 1 Y: 2";
    QTest::newRow("plot scrolled") << 0 << 10 << 5 << "Plot X: 11 Y: 7";
    QTest::newRow("erase") << 1 << 0 << 0 << "Erase X: 1 Y: 2";
    QTest::newRow("erase scrolled") << 1 << 10 << 5 << "Erase X: 11 Y: 7";
}

void TestRender::cursorFrameAndStatus() {
    QFETCH(int, tool);
    QFETCH(int, scrollX);
    QFETCH(int, scrollY);
    QFETCH(QString, status);
    EditorFixture f;
    frmMain& w = f.window();
    ChooseTool(w, tool);
    w.scbMainHorizontal->setValue(scrollX);
    w.scbMainVertical->setValue(scrollY);
    HoverAt(w, QPoint(40, 70));
    QCOMPARE(w.lblStatus->text(), status);
    QCOMPARE(w.lblStatus->palette().color(QPalette::WindowText), kBlack);
    // Four bars two pixels thick just outside the cell (32, 64) - (63, 95).
    for (int x : {32, 47, 63}) {
        QCOMPARE(MapPixel(w, x, 62), kFrame);
        QCOMPARE(MapPixel(w, x, 63), kFrame);
        QCOMPARE(MapPixel(w, x, 96), kFrame);
        QCOMPARE(MapPixel(w, x, 97), kFrame);
    }
    for (int y : {64, 80, 95}) {
        QCOMPARE(MapPixel(w, 30, y), kFrame);
        QCOMPARE(MapPixel(w, 31, y), kFrame);
        QCOMPARE(MapPixel(w, 64, y), kFrame);
        QCOMPARE(MapPixel(w, 65, y), kFrame);
    }
    // The corner squares stay unpainted, and nothing further out is touched.
    for (const QPoint p : {QPoint(30, 62), QPoint(31, 63), QPoint(65, 62), QPoint(30, 97), QPoint(65, 97),
                           QPoint(29, 80), QPoint(66, 80), QPoint(47, 61), QPoint(47, 98)})
        QCOMPARE(MapPixel(w, p.x(), p.y()), kBlack);
    if (tool == 1) {
        for (const QPoint p : {QPoint(32, 64), QPoint(63, 95), QPoint(40, 70)})
            QCOMPARE(MapPixel(w, p.x(), p.y()), kEraseFill);
    } else {
        // No tile is selected: the plot cursor is only its frame, the grid shows inside it.
        QCOMPARE(MapPixel(w, 40, 70), kBlack);
        QCOMPARE(MapPixel(w, 32, 70), kGrid);
    }
}

void TestRender::plotCursorShowsTheSelectedTile() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(3, 2);
    HoverAt(w, QPoint(40, 70));
    QCOMPARE(MapPixel(w, 40, 70), TileColour(w, 2));
    QCOMPARE(MapPixel(w, 32, 64), TileColour(w, 2));
    QCOMPARE(MapPixel(w, 33, 62), kFrame);
    // Hovering places nothing.
    QVERIFY(!w.Layer(0).Get(1, 2));
}

void TestRender::leavingTheCanvasRemovesCursorAndStatus() {
    EditorFixture f;
    frmMain& w = f.window();
    ChooseTool(w, 1);
    HoverAt(w, QPoint(40, 70));
    QCOMPARE(MapPixel(w, 40, 70), kEraseFill);
    w.canMain_MouseExit();
    QCOMPARE(w.lblStatus->text(), QString());
    QCOMPARE(MapPixel(w, 40, 70), kBlack);
    QCOMPARE(MapPixel(w, 40, 62), kBlack);
    // Coming back shows the cursor only after the next move.
    w.canMain_MouseEnter();
    QCOMPARE(MapPixel(w, 40, 70), kBlack);
    w.canMain_MouseMove(100, 100);
    QCOMPARE(MapPixel(w, 100, 100), kEraseFill);
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Erase X: 3 Y: 3"));
}

void TestRender::loadStatusSurvivesRepaintsUntilTheMouseMoves() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, -1);
    QCOMPARE(w.lblStatus->text(), QStringLiteral("solid.png loaded"));
    w.canMain->repaint();
    w.canMain->update();
    QCoreApplication::processEvents();
    QCOMPARE(w.lblStatus->text(), QStringLiteral("solid.png loaded"));
    HoverAt(w, QPoint(40, 70));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Plot X: 1 Y: 2"));
}

void TestRender::higherLayersCoverLowerOnes() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(3, 0);
    w.btnLayer[1]->click();
    w.btnLayer[2]->click();
    // Painted top layer first, so the order of drawing cannot follow the order of painting.
    for (int layer : {2, 1, 0}) {
        ChooseEditLayer(w, layer);
        f.PickTile(layer);
        w.PlaceTile(32, 32, 1, 1, false);
    }
    ChooseEditLayer(w, 1);
    f.PickTile(1);
    w.PlaceTile(64, 32, 2, 1, false);
    w.canMain_MouseExit();
    QCOMPARE(MapPixel(w, 40, 40), TileColour(w, 2));
    QCOMPARE(MapPixel(w, 72, 40), TileColour(w, 1));
    w.btnLayer[2]->click();
    QCOMPARE(MapPixel(w, 40, 40), TileColour(w, 1));
    w.btnLayer[1]->click();
    QCOMPARE(MapPixel(w, 40, 40), TileColour(w, 0));
    QCOMPARE(MapPixel(w, 72, 40), kBlack);
}

void TestRender::hiddenLayerIsSkippedBetweenShownOnes() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(3, -1);
    for (int layer = 0; layer < 3; ++layer) {
        ChooseEditLayer(w, layer);
        f.PickTile(layer);
        w.PlaceTile(layer * 32, 0, layer, 0, false); // one cell of its own per layer
        w.PlaceTile(5 * 32, 0, 5, 0, false);         // and one shared cell
    }
    w.btnLayer[2]->click();
    QVERIFY(w.btnLayer[0]->Value() && !w.btnLayer[1]->Value() && w.btnLayer[2]->Value());
    QCOMPARE(MapPixel(w, 10, 10), TileColour(w, 0));
    QCOMPARE(MapPixel(w, 42, 10), kBlack);
    QCOMPARE(MapPixel(w, 74, 10), TileColour(w, 2));
    QCOMPARE(MapPixel(w, 170, 10), TileColour(w, 2));
    w.btnLayer[2]->click();
    QCOMPARE(MapPixel(w, 170, 10), TileColour(w, 0));
}

void TestRender::gridLinesAtTileMultiples() {
    EditorFixture f;
    frmMain& w = f.window();
    w.canMain_MouseExit();
    for (const QPoint p :
         {QPoint(0, 0), QPoint(32, 10), QPoint(10, 32), QPoint(512, 300), QPoint(300, 480), QPoint(535, 0)})
        QCOMPARE(MapPixel(w, p.x(), p.y()), kGrid);
    for (const QPoint p : {QPoint(10, 10), QPoint(31, 31), QPoint(33, 33), QPoint(535, 507)})
        QCOMPARE(MapPixel(w, p.x(), p.y()), kBlack);
    // The lines stay put when the view scrolls.
    w.scbMainHorizontal->setValue(3);
    QCOMPARE(MapPixel(w, 32, 10), kGrid);
    QCOMPARE(MapPixel(w, 10, 10), kBlack);
    // Released grid button: no lines at all, only the black background.
    w.btnViewGrid->click();
    QVERIFY(!w.m_blnDrawGrid);
    const QImage& picture = w.canMain->Buffer();
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 4)
            QCOMPARE(QColor(picture.pixel(x, y)), kBlack);
    QCOMPARE(MapPixel(w, 32, 32), kBlack);
    QCOMPARE(MapPixel(w, 0, 0), kBlack);
}

void TestRender::cellWithoutAPictureIsNotDrawn() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    w.PlaceTile(0, 0, 0, 0, false);
    w.PlaceTile(32, 0, 1, 0, false);
    w.Layer(0).Get(1, 0)->SetImageIndex(7);
    w.canMain_MouseExit();
    QCOMPARE(MapPixel(w, 10, 10), TileColour(w, 0));
    QCOMPARE(MapPixel(w, 42, 10), kBlack);
    // A later tileset with that many tiles gives the cell its picture.
    f.LoadSolidTiles(6, -1);
    w.canMain_MouseExit();
    QCOMPARE(MapPixel(w, 42, 10), TileColour(w, 7));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
