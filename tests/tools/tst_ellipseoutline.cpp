#include "tools/EllipseOutline.h"

#include <QTest>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

// Cells as (dx, dy); std::set orders them by dx first, which is all the comparisons need.
using CellSet = std::set<std::pair<int, int>>;

namespace {

CellSet Outline(int rx, int ry) {
    CellSet cells;
    WalkEllipseOutline(rx, ry, [&](int dx, int dy) { cells.emplace(dx, dy); });
    return cells;
}

// Builds a set from rows written top to bottom as {dy, {dx...}}.
CellSet Rows(std::initializer_list<std::pair<int, std::vector<int>>> rows) {
    CellSet cells;
    for (const auto& [dy, columns] : rows)
        for (int dx : columns)
            cells.emplace(dx, dy);
    return cells;
}

} // namespace

class TestEllipseOutline : public QObject {
    Q_OBJECT

private slots:
    void outline_data() {
        QTest::addColumn<int>("rx");
        QTest::addColumn<int>("ry");
        QTest::addColumn<CellSet>("cells");
        QTest::newRow("0 x 0 is the centre") << 0 << 0 << Rows({{0, {0}}});
        QTest::newRow("1 x 1 is the four side neighbours")
            << 1 << 1 << Rows({{-1, {0}}, {0, {-1, 1}}, {1, {0}}});
        QTest::newRow("2 x 1") << 2 << 1 << Rows({{-1, {-1, 0, 1}}, {0, {-2, 2}}, {1, {-1, 0, 1}}});
        QTest::newRow("3 x 2") << 3 << 2
                               << Rows({{-2, {-1, 0, 1}},
                                        {-1, {-3, -2, 2, 3}},
                                        {0, {-3, 3}},
                                        {1, {-3, -2, 2, 3}},
                                        {2, {-1, 0, 1}}});
        QTest::newRow("1 x 0") << 1 << 0 << Rows({{0, {-1, 0, 1}}});
        QTest::newRow("3 x 0 has only ends and centre") << 3 << 0 << Rows({{0, {-3, 0, 3}}});
        QTest::newRow("0 x 3 has only ends and centre") << 0 << 3 << Rows({{-3, {0}}, {0, {0}}, {3, {0}}});
        QTest::newRow("1 x 3, traced by hand") << 1 << 3
                                               << Rows({{-3, {0}},
                                                        {-2, {-1, 1}},
                                                        {-1, {-1, 1}},
                                                        {0, {-1, 1}},
                                                        {1, {-1, 1}},
                                                        {2, {-1, 1}},
                                                        {3, {0}}});
        QTest::newRow("4 x 1") << 4 << 1
                               << Rows({{-1, {-2, -1, 0, 1, 2}}, {0, {-4, 4}}, {1, {-2, -1, 0, 1, 2}}});
    }
    void outline() {
        QFETCH(int, rx);
        QFETCH(int, ry);
        QFETCH(CellSet, cells);
        QCOMPARE(Outline(rx, ry), cells);
    }

    void plotOrderMirrorsEachStep() {
        std::vector<std::pair<int, int>> plotted;
        WalkEllipseOutline(2, 1, [&](int dx, int dy) { plotted.emplace_back(dx, dy); });
        QCOMPARE(plotted.size(), std::size_t{12});
        const std::vector<std::pair<int, int>> firstStep{{2, 0}, {-2, 0}, {-2, 0}, {2, 0}};
        QCOMPARE(std::vector(plotted.begin(), plotted.begin() + 4), firstStep);
        for (std::size_t i = 0; i < plotted.size(); i += 4) {
            const auto [x, y] = plotted[i];
            const std::vector<std::pair<int, int>> four{{x, y}, {-x, y}, {-x, -y}, {x, -y}};
            QCOMPARE(
                std::vector(plotted.begin() + std::ptrdiff_t(i), plotted.begin() + std::ptrdiff_t(i) + 4),
                four);
        }
    }

    // What the filled ellipse adds to its outline, checked as the cells Contains reports beyond the outline.
    void interior_data() {
        QTest::addColumn<int>("rx");
        QTest::addColumn<int>("ry");
        QTest::addColumn<CellSet>("addedCells");
        QTest::newRow("0 x 0") << 0 << 0 << CellSet{};
        QTest::newRow("1 x 1 fills the centre") << 1 << 1 << Rows({{0, {0}}});
        QTest::newRow("2 x 1") << 2 << 1 << Rows({{0, {-1, 0, 1}}});
        QTest::newRow("4 x 1") << 4 << 1 << Rows({{0, {-3, -2, -1, 0, 1, 2, 3}}});
        QTest::newRow("3 x 0 closes the gaps") << 3 << 0 << Rows({{0, {-2, -1, 1, 2}}});
        QTest::newRow("0 x 3 stays a column of three") << 0 << 3 << CellSet{};
    }
    void interior() {
        QFETCH(int, rx);
        QFETCH(int, ry);
        QFETCH(CellSet, addedCells);
        const CellSet outline = Outline(rx, ry);
        const EllipseInterior inside(rx, ry);
        CellSet added;
        for (int dy = -ry - 2; dy <= ry + 2; ++dy)
            for (int dx = -rx - 2; dx <= rx + 2; ++dx)
                if (inside.Contains(dx, dy) && !outline.contains({dx, dy}))
                    added.emplace(dx, dy);
        QCOMPARE(added, addedCells);
    }

    void filledTwoByOneHasElevenCells() {
        CellSet filled = Outline(2, 1);
        const EllipseInterior inside(2, 1);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (inside.Contains(dx, dy))
                    filled.emplace(dx, dy);
        QCOMPARE(filled.size(), std::size_t{11});
        // Row spans include outline cells that lie between a row's ends; painting them twice is harmless.
        QVERIFY(inside.Contains(0, -1));
    }

    // The stored spans must answer exactly as the rule applied to the raw outline points would.
    void interiorMatchesRowSpansOfTheOutline() {
        for (int rx = 0; rx <= 25; ++rx) {
            for (int ry = 0; ry <= 25; ++ry) {
                const CellSet outline = Outline(rx, ry);
                const EllipseInterior inside(rx, ry);
                for (int dy = -ry - 1; dy <= ry + 1; ++dy) {
                    int left = INT_MAX, right = INT_MIN;
                    for (const auto& [x, y] : outline) {
                        if (y == dy) {
                            left = std::min(left, x);
                            right = std::max(right, x);
                        }
                    }
                    for (int dx = -rx - 1; dx <= rx + 1; ++dx)
                        QCOMPARE(inside.Contains(dx, dy), left < dx && dx < right);
                }
                QVERIFY(!inside.Contains(0, INT_MIN));
                QVERIFY(!inside.Contains(0, INT_MAX));
            }
        }
    }

    void smallRadiiEndSymmetricAndInBounds() {
        for (int rx = 0; rx <= 60; ++rx) {
            for (int ry = 0; ry <= 60; ++ry) {
                std::int64_t count = 0;
                CellSet cells;
                WalkEllipseOutline(rx, ry, [&](int dx, int dy) {
                    ++count;
                    cells.emplace(dx, dy);
                });
                // Region 1 plots once per row climbed and region 2 once per column crossed.
                QVERIFY(count <= 4 * (rx + ry + 2));
                QVERIFY(cells.contains({rx, 0}) && cells.contains({-rx, 0}));
                QVERIFY(cells.contains({0, ry}) && cells.contains({0, -ry}));
                for (const auto& [dx, dy] : cells) {
                    QVERIFY(std::abs(dx) <= rx && std::abs(dy) <= ry);
                    QVERIFY(cells.contains({-dx, dy}));
                    QVERIFY(cells.contains({dx, -dy}));
                }
            }
        }
    }

    void largeRadii_data() {
        QTest::addColumn<int>("rx");
        QTest::addColumn<int>("ry");
        QTest::addColumn<int>("boundX");
        QTest::addColumn<int>("boundY");
        QTest::newRow("30000 x 20000") << 30000 << 20000 << 30000 << 20000;
        QTest::newRow("tall and thin") << 1 << 30000 << 1 << 30000;
        QTest::newRow("at the radius cap")
            << kMaxEllipseRadius << kMaxEllipseRadius << kMaxEllipseRadius << kMaxEllipseRadius;
        QTest::newRow("beyond the cap is capped") << INT_MAX << 5 << kMaxEllipseRadius << 5;
    }
    void largeRadii() {
        QFETCH(int, rx);
        QFETCH(int, ry);
        QFETCH(int, boundX);
        QFETCH(int, boundY);
        std::int64_t count = 0;
        bool inBounds = true;
        int widest = 0, tallest = 0;
        WalkEllipseOutline(rx, ry, [&](int dx, int dy) {
            ++count;
            inBounds = inBounds && std::abs(dx) <= boundX && std::abs(dy) <= boundY;
            widest = std::max(widest, std::abs(dx));
            tallest = std::max(tallest, std::abs(dy));
        });
        QVERIFY(inBounds);
        QCOMPARE(widest, boundX);
        QCOMPARE(tallest, boundY);
        const std::int64_t span = std::int64_t{boundX} + boundY;
        QVERIFY(count >= 2 * span);
        QVERIFY(count <= 4 * (span + 2));
    }
};

QTEST_APPLESS_MAIN(TestEllipseOutline)
#include "tst_ellipseoutline.moc"
