// Drawing the map: scroll ranges, the wheel, the cursor and status line, the order of layers and the grid,
// all checked on the picture the canvas shows.
#include "MapSteps.h"
#include "platform/ScrollBar.h"

#include <QLabel>
#include <QtTest>

using namespace MapSteps;

class TestRender : public QObject {
    Q_OBJECT
private slots:
    void scrollRangesOfTheDefaultMap();
    void smallMapDisablesBothBarsAndTheWheel();
    void wheelMovesOneCellPerNotch_data();
    void wheelMovesOneCellPerNotch();
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
    Input::Wheel(f->canMain, QPoint(10, 10), QPoint(-120, -120));
    Input::Wheel(f->canMain, QPoint(10, 10), QPoint(120, 120));
    QCOMPARE(f->m_intMapOffsetX, 0);
    QCOMPARE(f->m_intMapOffsetY, 0);
    // No redraw: a redraw would have emptied the status line.
    QCOMPARE(f->lblStatus->text(), QStringLiteral("kept"));

    // Only one axis fits: the other still scrolls, and the map is redrawn.
    Apply(f.window(), "3", "32", "32", "10", "40");
    QVERIFY(!f->scbMainHorizontal->isEnabled());
    QVERIFY(f->scbMainVertical->isEnabled());
    f->UpdateStatus(QStringLiteral("kept"), QColor(0, 0, 0), 0);
    Input::Wheel(f->canMain, QPoint(10, 10), QPoint(-120, -120));
    QCOMPARE(f->m_intMapOffsetX, 0);
    QCOMPARE(f->m_intMapOffsetY, 1);
    QCOMPARE(f->lblStatus->text(), QString());
}

void TestRender::wheelMovesOneCellPerNotch_data() {
    QTest::addColumn<bool>("palette");
    QTest::addColumn<int>("start");
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<int>("events");
    QTest::addColumn<QPoint>("offset");
    // A notch of an ordinary wheel is 120 units; a fine wheel or a touchpad sends it in small parts.
    QTest::newRow("map: one notch down") << false << 0 << QPoint(0, -120) << 1 << QPoint(0, 1);
    QTest::newRow("map: a notch in 15 parts") << false << 0 << QPoint(0, -8) << 15 << QPoint(0, 1);
    QTest::newRow("map: 14 of those parts") << false << 0 << QPoint(0, -8) << 14 << QPoint(0, 0);
    QTest::newRow("map: 3 notches in parts, both axes") << false << 0 << QPoint(-8, -8) << 45 << QPoint(3, 3);
    QTest::newRow("map: two notches in one event") << false << 0 << QPoint(0, -240) << 1 << QPoint(0, 2);
    QTest::newRow("map: up from 5, 5") << false << 5 << QPoint(120, 120) << 2 << QPoint(3, 3);
    QTest::newRow("map: up at the start") << false << 0 << QPoint(120, 120) << 3 << QPoint(0, 0);
    QTest::newRow("map: down past the end") << false << 0 << QPoint(-120, -120) << 200 << QPoint(84, 85);
    QTest::newRow("palette: a notch in 15 parts") << true << 0 << QPoint(0, -8) << 15 << QPoint(0, 1);
    QTest::newRow("palette: 14 of those parts") << true << 0 << QPoint(0, -8) << 14 << QPoint(0, 0);
    QTest::newRow("palette: up in parts") << true << 8 << QPoint(0, 40) << 9 << QPoint(0, 5);
    QTest::newRow("palette: sideways") << true << 0 << QPoint(-120, 0) << 3 << QPoint(0, 0);
}

void TestRender::wheelMovesOneCellPerNotch() {
    QFETCH(bool, palette);
    QFETCH(int, start);
    QFETCH(QPoint, angle);
    QFETCH(int, events);
    QFETCH(QPoint, offset);
    EditorFixture f;
    f.LoadSolidTiles(100, -1); // 17 palette rows, 10 of them visible
    f->scbMainHorizontal->setValue(start);
    f->scbMainVertical->setValue(start);
    f->scbTilesVertical->setValue(start);
    for (int i = 0; i < events; ++i)
        Input::Wheel(palette ? f->canTiles : f->canMain, QPoint(40, 70), angle);
    if (palette) {
        QCOMPARE(QPoint(0, f->m_intTilesOffsetY), offset);
        QCOMPARE(f->scbTilesVertical->Value(), offset.y());
    } else {
        QCOMPARE(QPoint(f->m_intMapOffsetX, f->m_intMapOffsetY), offset);
        QCOMPARE(QPoint(f->scbMainHorizontal->Value(), f->scbMainVertical->Value()), offset);
    }
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
    Input::Leave(w.canMain);
    QCOMPARE(w.lblStatus->text(), QString());
    QCOMPARE(MapPixel(w, 40, 70), kBlack);
    QCOMPARE(MapPixel(w, 40, 62), kBlack);
    // Coming back shows the cursor only after the next move.
    Input::Enter(w.canMain, QPoint(100, 100));
    QCOMPARE(MapPixel(w, 40, 70), kBlack);
    Input::Move(w.canMain, QPoint(100, 100));
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
    Input::Leave(w.canMain);
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
    Input::Leave(w.canMain);
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
    Input::Leave(w.canMain);
    QCOMPARE(MapPixel(w, 10, 10), TileColour(w, 0));
    QCOMPARE(MapPixel(w, 42, 10), kBlack);
    // A later tileset with that many tiles gives the cell its picture.
    f.LoadSolidTiles(6, -1);
    Input::Leave(w.canMain);
    QCOMPARE(MapPixel(w, 42, 10), TileColour(w, 7));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
