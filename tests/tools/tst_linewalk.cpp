#include "tools/LineWalk.h"

#include <QTest>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

using Cells = std::vector<std::pair<int, int>>;

namespace {

Cells Walk(int x0, int y0, int x1, int y1) {
    Cells cells;
    WalkLine(x0, y0, x1, y1, [&](int x, int y) { cells.emplace_back(x, y); });
    return cells;
}

} // namespace

class TestLineWalk : public QObject {
    Q_OBJECT

private slots:
    void cells_data() {
        QTest::addColumn<int>("x0");
        QTest::addColumn<int>("y0");
        QTest::addColumn<int>("x1");
        QTest::addColumn<int>("y1");
        QTest::addColumn<Cells>("cells");
        QTest::newRow("shallow backwards steps down at the middle")
            << 4 << 1 << 0 << 0 << Cells{{4, 1}, {3, 1}, {2, 0}, {1, 0}, {0, 0}};
        QTest::newRow("same line forwards steps up at the middle")
            << 0 << 0 << 4 << 1 << Cells{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}};
        QTest::newRow("odd length backwards") << 3 << 1 << 0 << 0 << Cells{{3, 1}, {2, 1}, {1, 0}, {0, 0}};
        QTest::newRow("diagonal") << 2 << 2 << 0 << 0 << Cells{{2, 2}, {1, 1}, {0, 0}};
        QTest::newRow("anti-diagonal") << 0 << 2 << 2 << 0 << Cells{{0, 2}, {1, 1}, {2, 0}};
        QTest::newRow("column upwards") << 0 << 3 << 0 << 0 << Cells{{0, 3}, {0, 2}, {0, 1}, {0, 0}};
        QTest::newRow("row rightwards") << -1 << 5 << 2 << 5 << Cells{{-1, 5}, {0, 5}, {1, 5}, {2, 5}};
        QTest::newRow("steep") << 0 << 0 << 1 << 4 << Cells{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}};
        QTest::newRow("single cell") << 5 << -7 << 5 << -7 << Cells{{5, -7}};
        QTest::newRow("negative coordinates")
            << -3 << -1 << 1 << 1 << Cells{{-3, -1}, {-2, 0}, {-1, 0}, {0, 1}, {1, 1}};
        QTest::newRow("at the int corner")
            << INT_MAX - 2 << INT_MIN << INT_MAX << INT_MIN + 1
            << Cells{{INT_MAX - 2, INT_MIN}, {INT_MAX - 1, INT_MIN + 1}, {INT_MAX, INT_MIN + 1}};
        QTest::newRow("towards the opposite int corner")
            << INT_MIN + 1 << INT_MAX - 1 << INT_MIN << INT_MAX
            << Cells{{INT_MIN + 1, INT_MAX - 1}, {INT_MIN, INT_MAX}};
    }
    void cells() {
        QFETCH(int, x0);
        QFETCH(int, y0);
        QFETCH(int, x1);
        QFETCH(int, y1);
        QFETCH(Cells, cells);
        QCOMPARE(Walk(x0, y0, x1, y1), cells);
    }

    void randomLinesAreUnbrokenAndExact() {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> coordinate(-40, 40);
        for (int trial = 0; trial < 5000; ++trial) {
            const int x0 = coordinate(random), y0 = coordinate(random);
            const int x1 = coordinate(random), y1 = coordinate(random);
            const Cells cells = Walk(x0, y0, x1, y1);
            const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
            QCOMPARE(int(cells.size()), std::max(dx, dy) + 1);
            QCOMPARE(cells.front(), std::make_pair(x0, y0));
            QCOMPARE(cells.back(), std::make_pair(x1, y1));
            for (std::size_t i = 1; i < cells.size(); ++i) {
                const int stepX = std::abs(cells[i].first - cells[i - 1].first);
                const int stepY = std::abs(cells[i].second - cells[i - 1].second);
                QVERIFY2(stepX <= 1 && stepY <= 1 && stepX + stepY > 0, "consecutive cells must touch");
            }
            const std::set<std::pair<int, int>> distinct(cells.begin(), cells.end());
            QCOMPARE(distinct.size(), cells.size());
        }
    }

    // Half the int range is already one cell more than INT_MAX; a 32-bit extent would wrap negative.
    void lineLongerThanIntMax() {
        std::int64_t count = 0;
        int firstX = 0, firstY = 0, lastX = 0, lastY = 0;
        int xWhereYChanges = 0;
        bool yChanged = false;
        WalkLine(INT_MIN, 0, 0, 1, [&](int x, int y) {
            if (count == 0) {
                firstX = x;
                firstY = y;
            }
            if (y != 0 && !yChanged) {
                yChanged = true;
                xWhereYChanges = x;
            }
            lastX = x;
            lastY = y;
            ++count;
        });
        QCOMPARE(count, (std::int64_t{1} << 31) + 1);
        QCOMPARE(std::make_pair(firstX, firstY), std::make_pair(INT_MIN, 0));
        QCOMPARE(std::make_pair(lastX, lastY), std::make_pair(0, 1));
        QVERIFY(yChanged);
        QCOMPARE(xWhereYChanges, -(1 << 30));
    }
};

QTEST_APPLESS_MAIN(TestLineWalk)
#include "tst_linewalk.moc"
