#include "tools/RectShape.h"

#include <QTest>
#include <array>
#include <climits>
#include <random>
#include <utility>
#include <vector>

using Cells = std::vector<std::pair<int, int>>;
using Quad = std::array<int, 4>;
using Bars = std::vector<std::array<qint64, 4>>;

namespace {

Cells Visit(const CellBounds& shape, bool outlineOnly, const CellBounds& clip) {
    Cells cells;
    ForEachRectCell(shape, outlineOnly, clip, [&](int c, int r) { cells.emplace_back(c, r); });
    return cells;
}

// The obvious walk over the whole shape, filtered afterwards; only usable for small shapes.
Cells BruteForce(const CellBounds& shape, bool outlineOnly, const CellBounds& clip) {
    Cells cells;
    for (int r = shape.top; r <= shape.bottom; ++r) {
        for (int c = shape.left; c <= shape.right; ++c) {
            const bool border = r == shape.top || r == shape.bottom || c == shape.left || c == shape.right;
            const bool inClip = c >= clip.left && c <= clip.right && r >= clip.top && r <= clip.bottom;
            if ((!outlineOnly || border) && inClip)
                cells.emplace_back(c, r);
        }
    }
    return cells;
}

Bars AsArrays(const std::vector<FrameBar>& bars) {
    Bars out;
    for (const FrameBar& b : bars)
        out.push_back({b.x, b.y, b.width, b.height});
    return out;
}

constexpr CellBounds kEverywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

} // namespace

class TestRectShape : public QObject {
    Q_OBJECT

private slots:
    void normaliseCorners_data() {
        QTest::addColumn<Quad>("corners");
        QTest::addColumn<Quad>("bounds");
        QTest::newRow("forwards") << std::array{1, 1, 3, 2} << std::array{1, 1, 3, 2};
        QTest::newRow("backwards in x") << std::array{5, 5, 3, 6} << std::array{3, 5, 5, 6};
        QTest::newRow("backwards in y") << std::array{2, 9, 4, -1} << std::array{2, -1, 4, 9};
        QTest::newRow("backwards in both") << std::array{0, 0, -3, -2} << std::array{-3, -2, 0, 0};
        QTest::newRow("single cell") << std::array{7, 7, 7, 7} << std::array{7, 7, 7, 7};
    }
    void normaliseCorners() {
        QFETCH(Quad, corners);
        QFETCH(Quad, bounds);
        const CellBounds b = NormaliseCorners(corners[0], corners[1], corners[2], corners[3]);
        QCOMPARE((std::array{b.left, b.top, b.right, b.bottom}), bounds);
    }

    void cells_data() {
        QTest::addColumn<Quad>("corners");
        QTest::addColumn<bool>("outlineOnly");
        QTest::addColumn<Cells>("cells");
        QTest::newRow("filled, dragged backwards")
            << std::array{5, 5, 3, 6} << false << Cells{{3, 5}, {4, 5}, {5, 5}, {3, 6}, {4, 6}, {5, 6}};
        QTest::newRow("outline with a hollow")
            << std::array{0, 0, 3, 3} << true << Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {3, 1},
                                                       {0, 2}, {3, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3}};
        QTest::newRow("outline two rows high has no hollow")
            << std::array{0, 0, 2, 1} << true << Cells{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
        QTest::newRow("outline one column wide visits each row once")
            << std::array{4, 0, 4, 3} << true << Cells{{4, 0}, {4, 1}, {4, 2}, {4, 3}};
        QTest::newRow("outline one row high")
            << std::array{3, 2, 1, 2} << true << Cells{{1, 2}, {2, 2}, {3, 2}};
        QTest::newRow("outline single cell") << std::array{-2, -2, -2, -2} << true << Cells{{-2, -2}};
        QTest::newRow("filled at the int corner")
            << std::array{INT_MAX, INT_MAX, INT_MAX - 2, INT_MAX - 1} << false
            << Cells{{INT_MAX - 2, INT_MAX - 1}, {INT_MAX - 1, INT_MAX - 1}, {INT_MAX, INT_MAX - 1},
                     {INT_MAX - 2, INT_MAX},     {INT_MAX - 1, INT_MAX},     {INT_MAX, INT_MAX}};
    }
    void cells() {
        QFETCH(Quad, corners);
        QFETCH(bool, outlineOnly);
        QFETCH(Cells, cells);
        const CellBounds shape = NormaliseCorners(corners[0], corners[1], corners[2], corners[3]);
        QCOMPARE(Visit(shape, outlineOnly, kEverywhere), cells);
    }

    void clippingMatchesFilteringTheWholeShape() {
        std::mt19937 random(7031);
        std::uniform_int_distribution<int> coordinate(-10, 10);
        std::uniform_int_distribution<int> clipCoordinate(-13, 13);
        for (int trial = 0; trial < 4000; ++trial) {
            const CellBounds shape = NormaliseCorners(coordinate(random), coordinate(random),
                                                      coordinate(random), coordinate(random));
            // Raw corners, so some clips are empty (left > right or top > bottom).
            const CellBounds clip{clipCoordinate(random), clipCoordinate(random), clipCoordinate(random),
                                  clipCoordinate(random)};
            const bool outlineOnly = trial % 2 == 0;
            QCOMPARE(Visit(shape, outlineOnly, clip), BruteForce(shape, outlineOnly, clip));
        }
    }

    // A drag that ends far outside the view makes a shape of about 4e18 cells; only the view may be walked.
    void farDragCostsOnlyTheClip() {
        const CellBounds shape{-1000000000, -1000000000, 1000000000, 1000000000};
        long long visits = 0;
        ForEachRectCell(shape, false, CellBounds{-5, -5, 4, 4}, [&](int, int) { ++visits; });
        QCOMPARE(visits, 100LL);
        // The clip spans the whole shape width, so its area is 2e9 x 2001 cells, but its border only 4002.
        visits = 0;
        ForEachRectCell(shape, true, CellBounds{INT_MIN, 0, INT_MAX, 2000}, [&](int c, int) {
            QVERIFY(c == shape.left || c == shape.right);
            ++visits;
        });
        QCOMPARE(visits, 4002LL);
    }

    void frameBars_data() {
        QTest::addColumn<Quad>("corners");
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("tileHeight");
        QTest::addColumn<bool>("withInnerFrame");
        QTest::addColumn<Bars>("bars");
        QTest::newRow("filled, forwards")
            << std::array{1, 1, 3, 2} << 32 << 32 << false
            << Bars{{32, 30, 96, 2}, {32, 96, 96, 2}, {30, 32, 2, 64}, {128, 32, 2, 64}};
        QTest::newRow("outline with full inner frame")
            << std::array{0, 0, 3, 3} << 32 << 32 << true
            << Bars{{0, -2, 128, 2}, {0, 128, 128, 2}, {-2, 0, 2, 128}, {128, 0, 2, 128},
                    {34, 32, 60, 2}, {34, 94, 60, 2},  {32, 34, 2, 60}, {94, 34, 2, 60}};
        QTest::newRow("outline too low for inner sides")
            << std::array{0, 0, 2, 1} << 32 << 32 << true
            << Bars{{0, -2, 96, 2}, {0, 64, 96, 2},  {-2, 0, 2, 64},
                    {96, 0, 2, 64}, {34, 32, 28, 2}, {34, 30, 28, 2}};
        QTest::newRow("outline too narrow for any inner bar")
            << std::array{0, 0, 1, 3} << 32 << 32 << true
            << Bars{{0, -2, 64, 2}, {0, 128, 64, 2}, {-2, 0, 2, 128}, {64, 0, 2, 128}};
        // Two columns of 6-pixel tiles: |A - B'| = 10 equals tw + 4, which is not enough.
        QTest::newRow("inner frame threshold is strict")
            << std::array{0, 0, 2, 3} << 6 << 32 << true
            << Bars{{0, -2, 18, 2}, {0, 128, 18, 2}, {-2, 0, 2, 128}, {18, 0, 2, 128}};
        QTest::newRow("one pixel past the threshold")
            << std::array{0, 0, 2, 3} << 7 << 32 << true
            << Bars{{0, -2, 21, 2}, {0, 128, 21, 2}, {-2, 0, 2, 128}, {21, 0, 2, 128},
                    {9, 32, 3, 2},  {9, 94, 3, 2},   {7, 34, 2, 60},  {12, 34, 2, 60}};
        QTest::newRow("vertical threshold is strict too")
            << std::array{0, 0, 3, 2} << 32 << 6 << true
            << Bars{{0, -2, 128, 2}, {0, 18, 128, 2}, {-2, 0, 2, 18},
                    {128, 0, 2, 18}, {34, 6, 60, 2},  {34, 10, 60, 2}};
        QTest::newRow("dragged backwards keeps raw negative sizes")
            << std::array{3, 2, 1, 1} << 32 << 32 << true
            << Bars{{130, 96, -100, 2}, {130, 30, -100, 2}, {128, 98, 2, -68},
                    {30, 98, 2, -68},   {96, 62, -32, 2},   {96, 64, -32, 2}};
        constexpr qint64 kFar = (qint64(INT_MAX) + 1) * 32;
        QTest::newRow("far drag keeps its edges")
            << std::array{0, 0, INT_MAX, 0} << 32 << 32 << false
            << Bars{{0, -2, kFar, 2}, {0, 32, kFar, 2}, {-2, 0, 2, 32}, {kFar, 0, 2, 32}};
    }
    void frameBars() {
        QFETCH(Quad, corners);
        QFETCH(int, tileWidth);
        QFETCH(int, tileHeight);
        QFETCH(bool, withInnerFrame);
        QFETCH(Bars, bars);
        QCOMPARE(AsArrays(RectFrameBars(corners[0], corners[1], corners[2], corners[3], tileWidth, tileHeight,
                                        withInnerFrame)),
                 bars);
    }
};

QTEST_APPLESS_MAIN(TestRectShape)
#include "tst_rectshape.moc"
