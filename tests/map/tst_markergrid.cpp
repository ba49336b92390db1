#include "map/MarkerGrid.h"

#include <QTest>
#include <climits>

namespace {

int CountMarked(const MarkerGrid& grid) {
    int marked = 0;
    for (int r = 0; r < grid.Height(); ++r)
        for (int c = 0; c < grid.Width(); ++c)
            marked += grid.Test(c, r) ? 1 : 0;
    return marked;
}

} // namespace

class TestMarkerGrid : public QObject {
    Q_OBJECT

private slots:
    void startsAsOneClearCell() {
        const MarkerGrid grid;
        QCOMPARE(grid.Width(), 1);
        QCOMPARE(grid.Height(), 1);
        QVERIFY(grid.Inside(0, 0));
        QVERIFY(!grid.Test(0, 0));
    }

    // Each cell maps to its own flag: a swapped or mis-strided index would mark a different cell.
    void everyCellIsItsOwnFlag() {
        MarkerGrid grid;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c) {
                grid.Reset(4, 3);
                grid.Set(c, r);
                QCOMPARE(CountMarked(grid), 1);
                QVERIFY(grid.Test(c, r));
            }
        }
    }

    void cellsOffTheGrid_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("left") << -1 << 0;
        QTest::newRow("right, would wrap to the next row") << 4 << 0;
        QTest::newRow("above") << 0 << -1;
        QTest::newRow("below") << 0 << 3;
        QTest::newRow("far away") << INT_MAX << INT_MIN;
    }
    void cellsOffTheGrid() {
        QFETCH(int, column);
        QFETCH(int, row);
        MarkerGrid grid;
        grid.Reset(4, 3);
        QVERIFY(!grid.Inside(column, row));
        grid.Set(column, row);
        QCOMPARE(CountMarked(grid), 0);
        grid.Set(0, 1);
        grid.Set(3, 0);
        QVERIFY(!grid.Test(column, row));
    }

    void resetClearsEarlierMarks() {
        MarkerGrid grid;
        grid.Reset(5, 5);
        for (int i = 0; i < 5; ++i)
            grid.Set(i, i);
        grid.Reset(5, 5);
        QCOMPARE(CountMarked(grid), 0);
        grid.Reset(2, 7);
        QCOMPARE(grid.Width(), 2);
        QCOMPARE(grid.Height(), 7);
        QVERIFY(grid.Inside(1, 6));
        QVERIFY(!grid.Inside(2, 0));
        QCOMPARE(CountMarked(grid), 0);
    }

    void shrinkLeavesOneClearCell() {
        MarkerGrid grid;
        grid.Reset(300, 200);
        grid.Set(0, 0);
        grid.Set(299, 199);
        grid.Shrink();
        QCOMPARE(grid.Width(), 1);
        QCOMPARE(grid.Height(), 1);
        QVERIFY(!grid.Test(0, 0));
        QVERIFY(!grid.Inside(1, 0));
        QVERIFY(!grid.Test(299, 199));
    }

    void emptyAndNegativeSizes_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("zero by zero") << 0 << 0;
        QTest::newRow("zero width") << 0 << 5;
        QTest::newRow("negative") << -3 << -4;
    }
    void emptyAndNegativeSizes() {
        QFETCH(int, width);
        QFETCH(int, height);
        MarkerGrid grid;
        grid.Reset(width, height);
        QVERIFY(grid.Width() >= 0 && grid.Height() >= 0);
        QCOMPARE(grid.Width() * grid.Height(), 0);
        QVERIFY(!grid.Inside(0, 0));
        grid.Set(0, 0);
        QVERIFY(!grid.Test(0, 0));
    }
};

QTEST_APPLESS_MAIN(TestMarkerGrid)
#include "tst_markergrid.moc"
