// The rectangle outline and filled rectangle tools in the window: the cells a release stores, the preview's
// tiles and frame on the drawn canvas, and drags far beyond the canvas with one-pixel tiles.
#include "EditorFixture.h"
#include "ToolStroke.h"
#include "platform/ScrollBar.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QtTest>

Q_DECLARE_METATYPE(CellSet)

namespace {
constexpr int kOutline = 3;
constexpr int kFilled = 4;
const QRgb kFrame = qRgb(153, 80, 80);

// The cells of columns left..right, rows top..bottom, all of them or only the border.
CellSet Box(int left, int top, int right, int bottom, bool outline) {
    CellSet cells;
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            if (!outline || r == top || r == bottom || c == left || c == right)
                cells.emplace(c, r);
    return cells;
}

// The first pixel of the rectangle (clipped to the canvas) that does not show the colour, or none.
std::optional<QPoint> FirstPixelNotShowing(const QImage& canvas, const QRect& rect, QRgb colour) {
    const QRect clipped = rect & canvas.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (canvas.pixel(x, y) != colour)
                return QPoint(x, y);
    return std::nullopt;
}
} // namespace

class TestRectTools : public QObject {
    Q_OBJECT
private slots:
    void releaseStoresTheShape_data();
    void releaseStoresTheShape();
    void previewFrame_data();
    void previewFrame();
    void farDragWithOnePixelTiles_data();
    void farDragWithOnePixelTiles();
};

void TestRectTools::releaseStoresTheShape_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<CellSet>("cells");
    QTest::newRow("filled, dragged left and down")
        << kFilled << QPoint(5, 5) << QPoint(3, 6) << Box(3, 5, 5, 6, false);
    QTest::newRow("filled, dragged up and left")
        << kFilled << QPoint(4, 4) << QPoint(1, 2) << Box(1, 2, 4, 4, false);
    QTest::newRow("outline 4 x 4: twelve border cells")
        << kOutline << QPoint(0, 0) << QPoint(3, 3)
        << CellSet{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {3, 1},
                   {0, 2}, {3, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3}};
    QTest::newRow("outline two rows: all six")
        << kOutline << QPoint(0, 0) << QPoint(2, 1) << Box(0, 0, 2, 1, false);
    QTest::newRow("outline one column") << kOutline << QPoint(2, 4) << QPoint(2, 0) << Box(2, 0, 2, 4, false);
    QTest::newRow("outline, dragged up and left")
        << kOutline << QPoint(5, 6) << QPoint(1, 2) << Box(1, 2, 5, 6, true);
}

void TestRectTools::releaseStoresTheShape() {
    QFETCH(int, tool);
    QFETCH(QPoint, press);
    QFETCH(QPoint, drag);
    QFETCH(CellSet, cells);
    EditorFixture f;
    f.LoadSolidTiles(3, 1);
    // Edit layer 1, filled beforehand with cells of tile 2, so both untouched and replaced cells show.
    f->cboEditLayer->setCurrentIndex(1);
    QCOMPARE(f->m_Layer, 1);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            Put(f.window(), 1, c, r, 2);
    std::map<std::pair<int, int>, CellRef> before;
    for (const auto& cell : Box(0, 0, 8, 8, false))
        before[cell] = f->Layer(1).Get(cell.first, cell.second);
    f->btnTool_Action(tool);

    Stroke s(f.window(), press.x(), press.y());
    s.DragTo(drag.x(), drag.y());
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 1))), Describe(cells));
    s.Release();

    for (const auto& [position, old] : before) {
        const auto [c, r] = position;
        const CellRef now = f->Layer(1).Get(c, r);
        QVERIFY(now);
        if (!cells.count(position)) {
            QVERIFY2(now == old, qPrintable(QStringLiteral("(%1,%2) was rewritten").arg(c).arg(r)));
            QCOMPARE(now->ImageIndex(), 2);
            continue;
        }
        QVERIFY(now != old);
        QCOMPARE(now->ImageIndex(), 1);
        QCOMPARE(now->X(), c * 32);
        QCOMPARE(now->Y(), r * 32);
        QCOMPARE(now->ZOrder(), 1);
    }
    QCOMPARE(Occupied(f->Layer(1)).size(), before.size());
    QVERIFY(Occupied(f->Layer(0)).empty());
}

void TestRectTools::previewFrame_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("withTile");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<QList<QRect>>("bars");
    QTest::addColumn<CellSet>("tiles");
    // Pixels that must not show the frame: open corners, bars that must not be drawn.
    QTest::addColumn<QList<QPoint>>("clear");

    QTest::newRow("filled (1,1)-(3,2)")
        << kFilled << true << QPoint(1, 1) << QPoint(3, 2)
        << QList<QRect>{{32, 30, 96, 2}, {32, 96, 96, 2}, {30, 32, 2, 64}, {128, 32, 2, 64}}
        << Box(1, 1, 3, 2, false)
        << QList<QPoint>{{30, 30}, {31, 31}, {128, 30}, {129, 31}, {30, 97}, {129, 97}, {64, 64}, {34, 34}};
    QTest::newRow("filled, no tile: the frame alone")
        << kFilled << false << QPoint(1, 1) << QPoint(3, 2)
        << QList<QRect>{{32, 30, 96, 2}, {32, 96, 96, 2}, {30, 32, 2, 64}, {128, 32, 2, 64}} << CellSet{}
        << QList<QPoint>{{30, 30}, {129, 97}, {64, 64}};
    // The outer bars above and left of the canvas cannot show; the inner frame traces the hollow.
    QTest::newRow("outline (0,0)-(3,3)")
        << kOutline << true << QPoint(0, 0) << QPoint(3, 3)
        << QList<QRect>{{0, 128, 128, 2}, {128, 0, 2, 128}, {34, 32, 60, 2},
                        {34, 94, 60, 2},  {32, 34, 2, 60},  {94, 34, 2, 60}}
        << Box(0, 0, 3, 3, true) << QList<QPoint>{{33, 33}, {94, 94}, {128, 128}, {48, 48}, {35, 35}};
    // Two rows: the horizontal inner bars make a 4-pixel line between them, the vertical ones are not drawn,
    // so the tile pictures show where they would be.
    QTest::newRow("outline (0,0)-(2,1)")
        << kOutline << true << QPoint(0, 0) << QPoint(2, 1)
        << QList<QRect>{{0, 64, 96, 2}, {96, 0, 2, 64}, {34, 30, 28, 4}} << Box(0, 0, 2, 1, false)
        << QList<QPoint>{{32, 31}, {33, 32}, {62, 31}, {63, 32}, {33, 30}, {62, 33}};
    QTest::newRow("outline (0,0)-(2,1), no tile")
        << kOutline << false << QPoint(0, 0) << QPoint(2, 1)
        << QList<QRect>{{0, 64, 96, 2}, {96, 0, 2, 64}, {34, 30, 28, 4}} << CellSet{}
        << QList<QPoint>{{32, 31}, {62, 31}};
    // Dragged up and left: every bar is drawn between its two edges, giving a closed frame around the cells.
    QTest::newRow("filled, dragged up and left")
        << kFilled << true << QPoint(3, 3) << QPoint(1, 1)
        << QList<QRect>{{30, 30, 100, 2}, {30, 128, 100, 2}, {30, 30, 2, 100}, {128, 30, 2, 100}}
        << Box(1, 1, 3, 3, false) << QList<QPoint>{{29, 29}, {130, 130}, {32, 32}, {127, 127}};
    QTest::newRow("outline, dragged up and left")
        << kOutline << true << QPoint(4, 4) << QPoint(1, 1)
        << QList<QRect>{{30, 30, 132, 2}, {30, 160, 132, 2}, {30, 30, 2, 132}, {160, 30, 2, 132}}
        << Box(1, 1, 4, 4, true) << QList<QPoint>{{29, 29}, {162, 162}, {80, 80}};
}

void TestRectTools::previewFrame() {
    QFETCH(int, tool);
    QFETCH(bool, withTile);
    QFETCH(QPoint, press);
    QFETCH(QPoint, drag);
    QFETCH(QList<QRect>, bars);
    QFETCH(CellSet, tiles);
    QFETCH(QList<QPoint>, clear);
    EditorFixture f;
    f.LoadSolidTiles(2, withTile ? 0 : -1);
    f->btnTool_Action(tool);
    Stroke s(f.window(), press.x(), press.y());
    s.DragTo(drag.x(), drag.y());
    const QImage& canvas = f->canMain->Buffer();
    for (const QRect& bar : bars) {
        const std::optional<QPoint> miss = FirstPixelNotShowing(canvas, bar, kFrame);
        QVERIFY2(!miss, qPrintable(QStringLiteral("bar (%1,%2,%3,%4) lacks the frame at (%5,%6)")
                                       .arg(bar.x())
                                       .arg(bar.y())
                                       .arg(bar.width())
                                       .arg(bar.height())
                                       .arg(miss ? miss->x() : 0)
                                       .arg(miss ? miss->y() : 0)));
    }
    for (const QPoint& p : clear)
        QVERIFY2(canvas.pixel(p) != kFrame,
                 qPrintable(QStringLiteral("frame at (%1,%2)").arg(p.x()).arg(p.y())));
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 0))), Describe(tiles));
    if (!withTile) {
        // Without a tile the cells inside the frame still show the empty map.
        QCOMPARE(canvas.pixel(CellMiddle(f.window(), 2, 1)), qRgb(0, 0, 0));
        s.Release();
        QVERIFY(Occupied(f->Layer(0)).empty());
    }
}

void TestRectTools::farDragWithOnePixelTiles_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("scrolledToEnd");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("drag");
    QTest::newRow("filled, far right and down")
        << kFilled << true << QPoint(-40, -30) << QPoint(30000, 30000);
    QTest::newRow("outline, far right and down")
        << kOutline << true << QPoint(-40, -30) << QPoint(30000, 30000);
    QTest::newRow("filled, far left and up") << kFilled << false << QPoint(12, 9) << QPoint(-30000, -30000);
    QTest::newRow("outline, far left and up") << kOutline << false << QPoint(12, 9) << QPoint(-30000, -30000);
}

// With one-pixel tiles a drag far off the canvas spans a billion cells; the preview may only paint what
// shows and the release may only visit the map.
void TestRectTools::farDragWithOnePixelTiles() {
    QFETCH(int, tool);
    QFETCH(bool, scrolledToEnd);
    QFETCH(QPoint, press);
    QFETCH(QPoint, drag);
    EditorFixture f;
    f->cboMapLayers->setCurrentIndex(0);
    ApplyMap(f.window(), 4096, 4096, 1, 1);
    QCOMPARE(f->m_intMapWidth, 4096);
    QCOMPARE(f->m_VOTileset->TileWidth(), 1);
    f.LoadSolidTiles(2, 0);
    f->btnTool_Action(tool);
    const QImage& canvas = f->canMain->Buffer();
    if (scrolledToEnd) {
        f->scbMainHorizontal->setValue(f->scbMainHorizontal->Maximum());
        f->scbMainVertical->setValue(f->scbMainVertical->Maximum());
        QVERIFY(f->m_intMapOffsetX > 3000);
        // Negative press positions count from the canvas's right and bottom edge.
        press += QPoint(canvas.width(), canvas.height());
    }
    const int left = f->m_intMapOffsetX + press.x();
    const int top = f->m_intMapOffsetY + press.y();

    Stroke s(f.window(), press.x(), press.y());
    QElapsedTimer timer;
    timer.start();
    s.DragToPixel(drag);
    s.DragToPixel(drag + QPoint(1, 1));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QStringLiteral("two drags took %1 ms").arg(timer.elapsed())));
    // The visible part of the preview is painted.
    const QRgb tile = TileColour(f.window(), 0);
    QCOMPARE(canvas.pixel(press), tile);
    if (scrolledToEnd) {
        QCOMPARE(canvas.pixel(press.x(), canvas.height() - 1), tile);
        QCOMPARE(canvas.pixel(canvas.width() - 1, press.y()), tile);
        QCOMPARE(canvas.pixel(canvas.width() - 1, canvas.height() - 1) == tile, tool == kFilled);
    } else {
        QCOMPARE(canvas.pixel(0, 0) == tile, tool == kFilled);
        QCOMPARE(canvas.pixel(0, press.y()), tile);
    }

    timer.restart();
    s.Release();
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QStringLiteral("release took %1 ms").arg(timer.elapsed())));
    // Exactly the clipped cells: the corner pressed on to the map's last cell, or the map's first cell to it.
    const int right = scrolledToEnd ? 4095 : left;
    const int bottom = scrolledToEnd ? 4095 : top;
    const int low = scrolledToEnd ? left : 0;
    const int high = scrolledToEnd ? top : 0;
    const long long width = right - low + 1;
    const long long height = bottom - high + 1;
    // The outline's far sides lie off the map: only the two sides through the pressed corner remain.
    const long long expected = tool == kFilled ? width * height : width + height - 1;
    long long count = 0;
    bool allInside = true;
    const LayerGrid& layer = f->Layer(0);
    for (int r = 0; r < layer.Height(); ++r) {
        for (int c = 0; c < layer.Width(); ++c) {
            if (!layer.At(c, r))
                continue;
            ++count;
            const bool inBox = c >= low && c <= right && r >= high && r <= bottom;
            const bool onPressedSides =
                c == (scrolledToEnd ? low : right) || r == (scrolledToEnd ? high : bottom);
            allInside = allInside && inBox && (tool == kFilled || onPressedSides);
        }
    }
    QVERIFY(allInside);
    QCOMPARE(count, expected);
}

QTEST_MAIN(TestRectTools)
#include "tst_recttools.moc"
