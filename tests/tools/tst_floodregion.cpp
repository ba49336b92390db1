#include "tools/FloodRegion.h"

#include <QTest>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

using Cells = std::vector<std::pair<int, int>>;

namespace {

// A map layer as picture indices, row-major, -1 for an empty cell.
struct Layer {
    int width;
    int height;
    std::vector<int> pictures;

    int& At(int c, int r) { return pictures[static_cast<std::size_t>(r * width + c)]; }
};

// Walks the region of cells showing the same picture as the start cell; returns them in processing order.
Cells SamePictureRegion(Layer& layer, GridPoint start) {
    MarkerGrid marks;
    marks.Reset(layer.width, layer.height);
    std::deque<GridPoint> queue;
    const int picture = layer.At(start.column, start.row);
    Cells processed;
    FloodRegion(
        layer.width, layer.height, start, marks, queue, [&](int c, int r) { processed.emplace_back(c, r); },
        [&](int c, int r) { return layer.At(c, r) == picture; });
    return processed;
}

std::set<std::pair<int, int>> AsSet(const Cells& cells) {
    return {cells.begin(), cells.end()};
}

} // namespace

class TestFloodRegion : public QObject {
    Q_OBJECT

private slots:
    void regions_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<std::vector<int>>("pictures");
        QTest::addColumn<int>("startColumn");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("reached");
        QTest::newRow("empty 4 x 3 from a corner") << 4 << std::vector<int>(12, -1) << 0 << 0 << 12;
        QTest::newRow("blocked by another picture") << 4 << std::vector<int>{1, 1, 2, 1} << 0 << 0 << 2;
        QTest::newRow("corner contact does not connect") << 2 << std::vector<int>{1, 2, 2, 1} << 0 << 0 << 1;
        QTest::newRow("winding corridor") << 4 << std::vector<int>{1, 1, 1, 1, //
                                                                   2, 2, 2, 1, //
                                                                   1, 1, 1, 1, //
                                                                   1, 2, 2, 2}
                                          << 0 << 3 << 10;
    }
    void regions() {
        QFETCH(int, width);
        QFETCH(std::vector<int>, pictures);
        QFETCH(int, startColumn);
        QFETCH(int, startRow);
        QFETCH(int, reached);
        Layer layer{width, int(pictures.size()) / width, pictures};
        const Cells processed = SamePictureRegion(layer, {startColumn, startRow});
        QCOMPARE(int(processed.size()), reached);
        QCOMPARE(AsSet(processed).size(), processed.size());
        const int picture = pictures[static_cast<std::size_t>(startRow * width + startColumn)];
        for (const auto& [c, r] : processed)
            QCOMPARE(layer.At(c, r), picture);
    }

    void rowWithAGapStopsAtTheGap() {
        Layer layer{4, 1, {1, 1, 2, 1}};
        QCOMPARE(SamePictureRegion(layer, {0, 0}), (Cells{{0, 0}, {1, 0}}));
    }

    // Breadth first, neighbours up, down, left, right; a cell offered twice is still processed once.
    void processingOrderIsFifo() {
        MarkerGrid marks;
        marks.Reset(3, 3);
        std::deque<GridPoint> queue;
        Cells processed, offered;
        FloodRegion(
            3, 3, {1, 1}, marks, queue, [&](int c, int r) { processed.emplace_back(c, r); },
            [&](int c, int r) {
                offered.emplace_back(c, r);
                return true;
            });
        QCOMPARE(processed, (Cells{{1, 1}, {1, 0}, {1, 2}, {0, 1}, {2, 1}, {0, 0}, {2, 0}, {0, 2}, {2, 2}}));
        QCOMPARE(offered.size(), std::size_t{12});
        QCOMPARE(std::count(offered.begin(), offered.end(), std::make_pair(0, 0)), 2);
        QVERIFY(queue.empty());
    }

    // The offer may paint the cell itself, as the bucket fill does.
    void offerCanWriteTheCell() {
        Layer layer{5,
                    2,
                    {7, 7, 3, 7, 7, //
                     3, 7, 3, 7, 3}};
        MarkerGrid marks;
        marks.Reset(5, 2);
        std::deque<GridPoint> queue;
        layer.At(1, 1) = 9;
        FloodRegion(
            5, 2, {1, 1}, marks, queue, [](int, int) {},
            [&](int c, int r) {
                if (layer.At(c, r) != 7)
                    return false;
                layer.At(c, r) = 9;
                return true;
            });
        QCOMPARE(layer.pictures, (std::vector<int>{9, 9, 3, 7, 7, //
                                                   3, 9, 3, 7, 3}));
    }

    void largeRegionNeedsNoRecursion() {
        constexpr int side = 2000;
        MarkerGrid marks;
        marks.Reset(side, side);
        std::deque<GridPoint> queue;
        long long processed = 0;
        FloodRegion(
            side, side, {side / 2, side / 3}, marks, queue, [&](int, int) { ++processed; },
            [](int, int) { return true; });
        QCOMPARE(processed, 1LL * side * side);
        QVERIFY(queue.empty());
        QVERIFY(marks.Test(0, 0) && marks.Test(side - 1, side - 1));
    }

    void nothingHappens_data() {
        QTest::addColumn<int>("startColumn");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("marksWidth");
        QTest::addColumn<int>("marksHeight");
        QTest::newRow("start left of the grid") << -1 << 0 << 4 << 3;
        QTest::newRow("start below the grid") << 0 << 3 << 4 << 3;
        QTest::newRow("start right of the grid") << 4 << 0 << 4 << 3;
        QTest::newRow("marker grid too narrow") << 0 << 0 << 3 << 3;
        QTest::newRow("marker grid shrunk") << 0 << 0 << 1 << 1;
    }
    void nothingHappens() {
        QFETCH(int, startColumn);
        QFETCH(int, startRow);
        QFETCH(int, marksWidth);
        QFETCH(int, marksHeight);
        MarkerGrid marks;
        marks.Reset(marksWidth, marksHeight);
        std::deque<GridPoint> queue{{2, 2}};
        int calls = 0;
        FloodRegion(
            4, 3, {startColumn, startRow}, marks, queue, [&](int, int) { ++calls; },
            [&](int, int) {
                ++calls;
                return true;
            });
        QCOMPARE(calls, 0);
        QVERIFY(queue.empty());
        QVERIFY(!marks.Test(0, 0) && !marks.Test(2, 2));
    }

    void markedStartIsNotProcessed() {
        MarkerGrid marks;
        marks.Reset(4, 3);
        marks.Set(1, 1);
        std::deque<GridPoint> queue;
        int calls = 0;
        FloodRegion(
            4, 3, {1, 1}, marks, queue, [&](int, int) { ++calls; }, [&](int, int) { return true; });
        QCOMPARE(calls, 0);
    }
};

QTEST_APPLESS_MAIN(TestFloodRegion)
#include "tst_floodregion.moc"
