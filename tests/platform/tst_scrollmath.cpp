#include "platform/ScrollMath.h"

#include <QTest>
#include <climits>

class TestScrollMath : public QObject {
    Q_OBJECT

private slots:
    void pixelToCell_data() {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("tileSize");
        QTest::addColumn<int>("cell");
        QTest::newRow("origin") << 0 << 32 << 0;
        QTest::newRow("last pixel of first cell") << 31 << 32 << 0;
        QTest::newRow("first pixel of second cell") << 32 << 32 << 1;
        QTest::newRow("one left of origin") << -1 << 32 << -1;
        QTest::newRow("exactly one tile left") << -32 << 32 << -1;
        QTest::newRow("just past one tile left") << -33 << 32 << -2;
        QTest::newRow("one-pixel tiles, negative") << -7 << 1 << -7;
        QTest::newRow("most negative pixel") << INT_MIN << 32 << INT_MIN / 32;
        QTest::newRow("most negative pixel, odd size") << INT_MIN << 3 << -715827883;
        QTest::newRow("largest pixel") << INT_MAX << 32 << INT_MAX / 32;
        QTest::newRow("zero tile size") << 100 << 0 << 0;
        QTest::newRow("negative tile size") << -100 << -8 << 0;
    }
    void pixelToCell() {
        QFETCH(int, pixel);
        QFETCH(int, tileSize);
        QFETCH(int, cell);
        QCOMPARE(PixelToCell(pixel, tileSize), cell);
    }

    void visibleCells_data() {
        QTest::addColumn<int>("canvasPixels");
        QTest::addColumn<int>("tileSize");
        QTest::addColumn<int>("cells");
        QTest::newRow("partial last column") << 536 << 32 << 17;
        QTest::newRow("partial last row") << 508 << 32 << 16;
        QTest::newRow("exact fit") << 64 << 32 << 2;
        QTest::newRow("one pixel") << 1 << 32 << 1;
        QTest::newRow("empty canvas") << 0 << 32 << 0;
        QTest::newRow("negative canvas") << -50 << 32 << 0;
        QTest::newRow("zero tile size") << 536 << 0 << 0;
        QTest::newRow("negative tile size") << 536 << -32 << 0;
        QTest::newRow("largest canvas, no overflow") << INT_MAX << 2 << INT_MAX / 2 + 1;
        QTest::newRow("largest canvas, one-pixel tiles") << INT_MAX << 1 << INT_MAX;
    }
    void visibleCells() {
        QFETCH(int, canvasPixels);
        QFETCH(int, tileSize);
        QFETCH(int, cells);
        QCOMPARE(VisibleCells(canvasPixels, tileSize), cells);
    }

    void scrollMaximum_data() {
        QTest::addColumn<int>("needed");
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("maximum");
        QTest::newRow("map columns") << 100 << 17 << 84;
        QTest::newRow("map rows") << 100 << 16 << 85;
        QTest::newRow("palette rows") << 17 << 10 << 8;
        QTest::newRow("exact fit") << 10 << 10 << 0;
        QTest::newRow("one extra") << 11 << 10 << 2;
        QTest::newRow("more visible than needed") << 5 << 10 << 0;
        QTest::newRow("nothing visible") << 100 << 0 << 101;
        QTest::newRow("difference beyond int") << INT_MAX << INT_MIN << INT_MAX;
        QTest::newRow("one below the clamp") << INT_MAX << 2 << INT_MAX - 1;
        QTest::newRow("exactly at the clamp") << INT_MAX << 1 << INT_MAX;
        QTest::newRow("negative difference beyond int") << INT_MIN << INT_MAX << 0;
    }
    void scrollMaximum() {
        QFETCH(int, needed);
        QFETCH(int, visible);
        QFETCH(int, maximum);
        QCOMPARE(ScrollMaximum(needed, visible), maximum);
    }
};

QTEST_APPLESS_MAIN(TestScrollMath)
#include "tst_scrollmath.moc"
