#include "tiles/PaletteLayout.h"

#include <QTest>
#include <algorithm>
#include <climits>
#include <vector>

namespace {

std::vector<int> Sequence(int first, int count) {
    std::vector<int> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values[static_cast<std::size_t>(i)] = first + i;
    return values;
}

} // namespace

class TestPaletteLayout : public QObject {
    Q_OBJECT

private slots:
    void slotsOfAFullRow() {
        // Six 32-pixel tiles fit a 270-pixel canvas; the seventh would reach 262 + 32 + 10 = 304.
        const std::vector<int> expectedX{10, 52, 94, 136, 178, 220};
        for (int slot = 0; slot < 6; ++slot)
            QCOMPARE(PaletteSlotX(slot, 32), expectedX[static_cast<std::size_t>(slot)]);
        QVERIFY(PaletteSlotX(6, 32) + 32 + kPaletteSpacing > 270);
        QCOMPARE(AssignPaletteRows(7, 32, 270), (std::vector<int>{0, 0, 0, 0, 0, 0, 1}));
    }

    void rows_data() {
        QTest::addColumn<int>("tileCount");
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("canvasWidth");
        QTest::addColumn<std::vector<int>>("rows");
        QTest::addColumn<int>("rowCount");
        QTest::newRow("empty tileset") << 0 << 32 << 270 << std::vector<int>{} << 1;
        QTest::newRow("negative tile count") << -5 << 32 << 270 << std::vector<int>{} << 1;
        QTest::newRow("thirteen tiles")
            << 13 << 32 << 270 << std::vector<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2} << 3;
        QTest::newRow("too narrow: row 0 stays empty") << 4 << 32 << 40 << Sequence(1, 4) << 5;
        QTest::newRow("exactly one tile wide") << 3 << 32 << 52 << Sequence(0, 3) << 3;
        QTest::newRow("one pixel short of one tile") << 3 << 32 << 51 << Sequence(1, 3) << 4;
        QTest::newRow("exactly two tiles wide") << 5 << 32 << 94 << std::vector<int>{0, 0, 1, 1, 2} << 3;
        QTest::newRow("zero tile width") << 28 << 0 << 270 << [] {
            std::vector<int> rows(28, 0);
            rows[26] = rows[27] = 1;
            return rows;
        }() << 2;
        QTest::newRow("tile width -10 never advances")
            << 4 << -10 << 270 << std::vector<int>{0, 0, 0, 0} << 1;
        QTest::newRow("tile width -10, canvas below margin") << 3 << -10 << 5 << Sequence(1, 3) << 4;
        QTest::newRow("negative tile width moves left")
            << 3 << -1000 << 270 << std::vector<int>{0, 0, 0} << 1;
        // Only the first tile wraps: after it, x runs left faster than the canvas edge can be passed.
        QTest::newRow("most negative canvas and tile width")
            << 3 << INT_MIN << INT_MIN << std::vector<int>{1, 1, 1} << 2;
        QTest::newRow("huge tiles on the widest canvas") << 3 << (1 << 30) << INT_MAX << Sequence(0, 3) << 3;
        QTest::newRow("widest tiles on the widest canvas") << 3 << INT_MAX << INT_MAX << Sequence(1, 3) << 4;
    }
    void rows() {
        QFETCH(int, tileCount);
        QFETCH(int, tileWidth);
        QFETCH(int, canvasWidth);
        QFETCH(std::vector<int>, rows);
        QFETCH(int, rowCount);
        QCOMPARE(AssignPaletteRows(tileCount, tileWidth, canvasWidth), rows);
        QCOMPARE(PaletteRowCount(tileCount, tileWidth, canvasWidth), rowCount);
    }

    void rowCount_data() {
        QTest::addColumn<int>("tileCount");
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("canvasWidth");
        QTest::addColumn<int>("rowCount");
        QTest::newRow("sixty tiles") << 60 << 32 << 270 << 10;
        QTest::newRow("hundred tiles") << 100 << 32 << 270 << 17;
        QTest::newRow("one tile") << 1 << 32 << 270 << 1;
        QTest::newRow("a million too-wide tiles") << 1000000 << 32 << 40 << 1000001;
    }
    void rowCount() {
        QFETCH(int, tileCount);
        QFETCH(int, tileWidth);
        QFETCH(int, canvasWidth);
        QFETCH(int, rowCount);
        QCOMPARE(PaletteRowCount(tileCount, tileWidth, canvasWidth), rowCount);
    }

    // Against a closed form: a canvas wide enough for k >= 1 tiles holds k per row from the first row on.
    void rowsMatchRowCapacity() {
        for (int tileWidth = 1; tileWidth <= 40; tileWidth += 3) {
            for (int canvasWidth = tileWidth + 20; canvasWidth <= 300; canvasWidth += 7) {
                const int perRow = (canvasWidth - kPaletteSpacing) / (tileWidth + kPaletteSpacing);
                for (int tileCount = 0; tileCount <= 40; ++tileCount) {
                    const std::vector<int> rows = AssignPaletteRows(tileCount, tileWidth, canvasWidth);
                    QCOMPARE(int(rows.size()), tileCount);
                    for (int tile = 0; tile < tileCount; ++tile)
                        QCOMPARE(rows[static_cast<std::size_t>(tile)], tile / perRow);
                    const int expectedCount = tileCount == 0 ? 1 : (tileCount + perRow - 1) / perRow;
                    QCOMPARE(PaletteRowCount(tileCount, tileWidth, canvasWidth), expectedCount);
                }
            }
        }
    }

    // Every tile after the first of its row fits before the right margin, and every wrap was needed.
    void slotsAgreeWithRows() {
        for (int tileWidth = 1; tileWidth <= 50; tileWidth += 7) {
            for (int canvasWidth = 0; canvasWidth <= 200; canvasWidth += 9) {
                const std::vector<int> rows = AssignPaletteRows(30, tileWidth, canvasWidth);
                int slot = 0;
                for (std::size_t tile = 0; tile < rows.size(); ++tile) {
                    const bool wrapped = rows[tile] != (tile == 0 ? 0 : rows[tile - 1]);
                    if (wrapped) {
                        QCOMPARE(rows[tile], (tile == 0 ? 0 : rows[tile - 1]) + 1);
                        const int slotTried = tile == 0 ? 0 : slot + 1;
                        QVERIFY(PaletteSlotX(slotTried, tileWidth) + tileWidth + kPaletteSpacing >
                                canvasWidth);
                        slot = 0;
                    } else {
                        slot = tile == 0 ? 0 : slot + 1;
                        QVERIFY(PaletteSlotX(slot, tileWidth) + tileWidth + kPaletteSpacing <= canvasWidth);
                    }
                }
                const int lastRow = rows.back();
                QCOMPARE(PaletteRowCount(30, tileWidth, canvasWidth), lastRow + 1);
            }
        }
    }

    void slotXClamps_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("x");
        QTest::newRow("first slot") << 0 << 32 << 10;
        QTest::newRow("zero width") << 3 << 0 << 40;
        QTest::newRow("past the int range") << 4 << (1 << 30) << INT_MAX;
        QTest::newRow("below the int range") << 4 << INT_MIN << INT_MIN;
    }
    void slotXClamps() {
        QFETCH(int, slot);
        QFETCH(int, tileWidth);
        QFETCH(int, x);
        QCOMPARE(PaletteSlotX(slot, tileWidth), x);
    }

    void visibleRows_data() {
        QTest::addColumn<int>("canvasHeight");
        QTest::addColumn<int>("tileHeight");
        QTest::addColumn<int>("visible");
        QTest::newRow("partial last row") << 402 << 32 << 10;
        QTest::newRow("exact fit") << 420 << 32 << 10;
        QTest::newRow("one pixel more") << 421 << 32 << 11;
        QTest::newRow("empty canvas") << 0 << 32 << 0;
        QTest::newRow("negative canvas") << -100 << 32 << 0;
        QTest::newRow("zero tile height") << 25 << 0 << 3;
        QTest::newRow("one-pixel pitch") << 7 << -9 << 7;
        QTest::newRow("zero pitch") << 100 << -10 << 0;
        QTest::newRow("negative pitch") << 100 << INT_MIN << 0;
        QTest::newRow("largest sizes") << INT_MAX << INT_MAX << 1;
        QTest::newRow("largest canvas") << INT_MAX << 0 << 214748365;
    }
    void visibleRows() {
        QFETCH(int, canvasHeight);
        QFETCH(int, tileHeight);
        QFETCH(int, visible);
        QCOMPARE(PaletteVisibleRows(canvasHeight, tileHeight), visible);
    }
};

QTEST_APPLESS_MAIN(TestPaletteLayout)
#include "tst_palettelayout.moc"
