// The stamp's pattern and the palette's block of tiles, each against a plain reference over every case of a
// small domain.
#include "tiles/PaletteBlock.h"
#include "tools/StampPattern.h"

#include <QtTest>
#include <climits>
#include <map>

class TestStamps : public QObject {
    Q_OBJECT
private slots:
    // The reference lays whole copies of the stamp side by side from the anchor, in every direction, and
    // reads which of a copy's cells lies on each map cell: small maps, stamps of 1 to 4 a side, every anchor
    // on the map and around it.
    void patternIsTheStampLaidSideBySide() {
        constexpr int W = 7, H = 5;
        for (int w = 1; w <= 4; ++w)
            for (int h = 1; h <= 4; ++h)
                for (int c0 = -5; c0 < W + 5; ++c0)
                    for (int r0 = -5; r0 < H + 5; ++r0) {
                        std::map<std::pair<int, int>, StampCell> laid;
                        for (int kx = -20; kx <= 20; ++kx)
                            for (int ky = -20; ky <= 20; ++ky)
                                for (int i = 0; i < w; ++i)
                                    for (int j = 0; j < h; ++j)
                                        laid[{c0 + kx * w + i, r0 + ky * h + j}] = StampCell{i, j};
                        for (int c = 0; c < W; ++c)
                            for (int r = 0; r < H; ++r)
                                QVERIFY2((PatternCell(c, r, c0, r0, w, h) == laid.at({c, r})),
                                         qPrintable(QStringLiteral("%1 %2 %3 %4 %5 %6")
                                                        .arg(c)
                                                        .arg(r)
                                                        .arg(c0)
                                                        .arg(r0)
                                                        .arg(w)
                                                        .arg(h)));
                        // Counted on along a run from its first cell, as a row of a stroke is written.
                        for (int c = 0; c < W; ++c)
                            QCOMPARE(PatternColumnOn(PatternCell(0, 0, c0, r0, w, h).column, c, w),
                                     laid.at({c, 0}).column);
                    }
        // Cells and anchors at the ends of the int range do not overflow.
        QCOMPARE(PatternCell(INT_MAX, INT_MIN, INT_MIN, INT_MAX, 3, 16), (StampCell{0, 1}));
    }

    // A preview draws the footprint's cells that have a pixel on the canvas, and only those.
    void shownCellsAreThoseOnTheCanvas() {
        for (int at = -9; at <= 9; ++at)
            for (int cells = 1; cells <= 6; ++cells)
                for (int side = 1; side <= 3; ++side)
                    for (int canvas = 0; canvas <= 8; ++canvas) {
                        const CellSpan span = ShownCells(at, cells, side, canvas);
                        for (int k = 0; k < cells; ++k) {
                            const bool onCanvas = (at + k) * side < canvas && (at + k + 1) * side > 0;
                            QCOMPARE(k >= span.first && k < span.end, onCanvas);
                        }
                    }
    }

    // The reference walks the image row by row as the load cut it and keeps the tiles in the rectangle:
    // loads of every small shape, numbered from 0 or later, every press and pointer tile (outside the load
    // too).
    void blockFollowsTheImageNotThePalette() {
        for (int first : {0, 5})
            for (int columns = 1; columns <= 4; ++columns)
                for (int count = 1; count <= 11; ++count) {
                    const TileImageRows load{first, count, columns};
                    const int rows = (count + columns - 1) / columns;
                    for (int a = first - 1; a <= first + count; ++a)
                        for (int b = first - 1; b <= first + count; ++b) {
                            const std::optional<TileBlock> got = BlockBetween(load, a, b);
                            const bool inside =
                                a >= first && b >= first && a < first + count && b < first + count;
                            QCOMPARE(got.has_value(), inside);
                            if (!inside)
                                continue;
                            const int ax = (a - first) % columns, ay = (a - first) / columns;
                            const int bx = (b - first) % columns, by = (b - first) / columns;
                            TileBlock want;
                            want.width = std::abs(ax - bx) + 1;
                            want.height = std::abs(ay - by) + 1;
                            want.tiles.assign(std::size_t(want.width * want.height), -1);
                            int tile = first;
                            for (int y = 0; y < rows; ++y)
                                for (int x = 0; x < columns; ++x, ++tile)
                                    if (tile < first + count && x >= std::min(ax, bx) &&
                                        x <= std::max(ax, bx) && y >= std::min(ay, by) &&
                                        y <= std::max(ay, by))
                                        want.tiles[std::size_t((y - std::min(ay, by)) * want.width + x -
                                                               std::min(ax, bx))] = tile;
                            QVERIFY2(*got == want, qPrintable(QStringLiteral("%1 %2 %3 %4 %5")
                                                                  .arg(first)
                                                                  .arg(columns)
                                                                  .arg(count)
                                                                  .arg(a)
                                                                  .arg(b)));
                        }
                }
    }
};

QTEST_APPLESS_MAIN(TestStamps)
#include "tst_stamps.moc"
