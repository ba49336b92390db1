// The palette's flow rule against a closed form over every small size, and at the ends of the int range.
#include "tiles/PaletteLayout.h"

#include <QTest>
#include <climits>
#include <vector>

class TestPaletteLayout : public QObject {
    Q_OBJECT

private slots:
    // A canvas holds k = (width - 10) / (tile + 10) slots a row, at least one: a tile too wide for the
    // palette sits alone in its row, at the margin.
    void flowMatchesRowCapacity() {
        for (int tileWidth = 0; tileWidth <= 60; ++tileWidth) {
            for (int canvasWidth = 0; canvasWidth <= 200; ++canvasWidth) {
                const int perRow =
                    std::max(1, (canvasWidth - kPaletteSpacing) / (tileWidth + kPaletteSpacing));
                PaletteFlow flow(tileWidth, canvasWidth);
                for (int tile = 0; tile < 12; ++tile) {
                    const PaletteFlow::Slot slot = flow.Next();
                    if (slot.row != tile / perRow ||
                        slot.x != kPaletteSpacing + (tile % perRow) * (tileWidth + kPaletteSpacing))
                        QFAIL(qPrintable(QStringLiteral("tile %1 of width %2 on a %3-pixel canvas")
                                             .arg(tile)
                                             .arg(tileWidth)
                                             .arg(canvasWidth)));
                }
                const std::vector<int> rows = AssignPaletteRows(12, tileWidth, canvasWidth);
                QCOMPARE(rows.back(), 11 / perRow);
                QCOMPARE(PaletteRowCount(12, tileWidth, canvasWidth), 11 / perRow + 1);
            }
        }
    }

    void extremes_data() {
        QTest::addColumn<int>("tileCount");
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("canvasWidth");
        QTest::addColumn<std::vector<int>>("rows");
        QTest::addColumn<int>("rowCount");
        QTest::newRow("empty tileset") << 0 << 32 << 270 << std::vector<int>{} << 1;
        QTest::newRow("negative tile count") << -5 << 32 << 270 << std::vector<int>{} << 1;
        QTest::newRow("400-pixel tiles in the 250-pixel palette")
            << 3 << 400 << 250 << std::vector<int>{0, 1, 2} << 3;
        QTest::newRow("tile width -10 never advances") << 4 << -10 << 5 << std::vector<int>{0, 0, 0, 0} << 1;
        QTest::newRow("most negative sizes") << 3 << INT_MIN << INT_MIN << std::vector<int>{0, 0, 0} << 1;
        QTest::newRow("widest tiles on the widest canvas")
            << 3 << INT_MAX << INT_MAX << std::vector<int>{0, 1, 2} << 3;
        QTest::newRow("a million too-wide tiles") << 1000000 << 32 << 40 << std::vector<int>{} << 1000000;
    }
    void extremes() {
        QFETCH(int, tileCount);
        QFETCH(int, tileWidth);
        QFETCH(int, canvasWidth);
        QFETCH(std::vector<int>, rows);
        QFETCH(int, rowCount);
        if (!rows.empty() || tileCount <= 0)
            QCOMPARE(AssignPaletteRows(tileCount, tileWidth, canvasWidth), rows);
        QCOMPARE(PaletteRowCount(tileCount, tileWidth, canvasWidth), rowCount);
    }

    void visibleRows_data() {
        QTest::addColumn<int>("canvasHeight");
        QTest::addColumn<int>("tileHeight");
        QTest::addColumn<int>("visible");
        QTest::newRow("partial last row") << 402 << 32 << 10;
        QTest::newRow("exact fit") << 420 << 32 << 10;
        QTest::newRow("one pixel more") << 421 << 32 << 11;
        QTest::newRow("negative canvas") << -100 << 32 << 0;
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
