// The shape tools' cell walks, the fill's region walk, the grids that hold cells, the stamp's pattern and the
// palette's block of tiles, each against a reference written from its rule over every case of a small domain.
#include "document/LayerGrid.h"
#include "tiles/PaletteBlock.h"
#include "tools/EllipseOutline.h"
#include "tools/FloodRegion.h"
#include "tools/LineWalk.h"
#include "tools/RectShape.h"
#include "tools/StampPattern.h"
#include "tools/ToolGeometry.h"

#include <QtTest>
#include <climits>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

using ll = long long;
using Bars = std::vector<std::array<ll, 4>>;
using Cells = std::vector<std::pair<ll, ll>>;

const auto Case = [](auto... v) { return ((QByteArray::number(qlonglong(v)) + ' ') + ...); };

// Cell i of the walk from (x0, y0) to (x1, y1): after i major steps the minor offset is how often the error
// (half the major extent, plus the minor extent per step) has passed the major extent.
std::pair<ll, ll> Step(ll x0, ll y0, ll x1, ll y1, ll i) {
    const ll dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    const ll minor = (std::max(dx, dy) / 2 + i * std::min(dx, dy)) / std::max({dx, dy, 1LL});
    return {x0 + (x1 < x0 ? -1 : 1) * (dx >= dy ? i : minor),
            y0 + (y1 < y0 ? -1 : 1) * (dx >= dy ? minor : i)};
}

// Every pattern of cell states of a W x H grid, from every start.
void FillRegionOf(int W, int H, int states) {
    const int cells = W * H;
    MarkerGrid marks;
    std::deque<RowSpan> spans;
    std::vector<int> state(cells), visits(cells), want(cells);
    std::deque<int> queue;
    for (int pattern = 0, patterns = int(std::pow(states, cells)); pattern < patterns; ++pattern) {
        for (int i = 0, q = pattern; i < cells; ++i, q /= states)
            state[i] = q % states; // 0 open, 1 closed, 2 marked before the walk
        for (int start = 0; start < cells; ++start) {
            std::fill(want.begin(), want.end(), 0);
            for (queue.assign(1, start); !queue.empty(); queue.pop_front()) {
                const int i = queue.front();
                if (want[i] || state[i] == 2)
                    continue;
                want[i] = 1;
                for (const int n : {i - W, i + W, i % W ? i - 1 : -1, (i + 1) % W ? i + 1 : -1})
                    if (n >= 0 && n < cells && state[n] == 0)
                        queue.push_back(n);
            }
            marks.Reset(W, H);
            for (int i = 0; i < cells; ++i)
                if (state[i] == 2)
                    marks.Set(i % W, i / W);
            std::fill(visits.begin(), visits.end(), 0);
            bool sound = true;
            std::size_t visited = 0;
            FloodRegion(
                W, H, {start % W, start / W}, marks, spans,
                [&](int c, int r) {
                    sound = sound && marks.Inside(c, r) && !marks.Test(c, r);
                    return sound && state[r * W + c] == 0;
                },
                [&](int c, int r) {
                    if (!marks.Test(c, r) || spans.size() > 3 * visited++)
                        sound = false;
                    else
                        ++visits[r * W + c];
                });
            for (int i = 0; i < cells; ++i)
                sound =
                    sound && visits[i] == want[i] && marks.Test(i % W, i / W) == (want[i] || state[i] == 2);
            if (!sound || !spans.empty())
                QFAIL(Case(W, H, pattern, start).constData());
        }
    }
    // Nothing at all from a start off the grid or with marks that do not cover it.
    for (const auto& [start, markWidth] :
         {std::pair{GridPoint{W, 0}, W}, {{-1, 0}, W}, {{0, H}, W}, {{0, -1}, W}, {{0, 0}, W - 1}}) {
        marks.Reset(markWidth, H);
        FloodRegion(
            W, H, start, marks, spans, [](int, int) { return true; }, [](int, int) { QFAIL("visited"); });
    }
}

class TestGeometry : public QObject {
    Q_OBJECT
private slots:
    // Every pair of cells of an 8 x 8 square, also at the ends of the int range.
    void lineWalksEveryPairOfCells() {
        for (const ll o : {0LL, INT_MAX - 7LL, INT_MIN + 0LL})
            for (int p = 0; p < 8 * 8 * 8 * 8; ++p) {
                const ll x0 = o + p % 8, y0 = o + p / 8 % 8, x1 = o + p / 64 % 8, y1 = o + p / 512;
                Cells want, got;
                for (ll i = 0; i <= std::max(std::llabs(x1 - x0), std::llabs(y1 - y0)); ++i)
                    want.push_back(Step(x0, y0, x1, y1, i));
                WalkLine(int(x0), int(y0), int(x1), int(y1), [&](int x, int y) { got.emplace_back(x, y); });
                QVERIFY2(got == want, Case(x0, y0, x1, y1));
            }
    }

    // The walk held to a grid visits exactly the walk's cells inside it, in walk order: ends on, beside and
    // far off grids of every small shape (empty ones included), and ends 2^30 cells off, where the walk held
    // to the grid must not step through the cells outside it.
    void lineWithinAGrid() {
        // Step (the walk, as proven above) at each step whose major coordinate lies on the grid.
        const auto check = [](int x0, int y0, int x1, int y1, int width, int height) {
            Cells want, got;
            const ll dx = std::llabs(ll{x1} - x0), dy = std::llabs(ll{y1} - y0);
            for (ll m = 0; m < (dx >= dy ? width : height); ++m) {
                const ll i = (dx >= dy ? (x1 < x0 ? x0 - m : m - x0) : (y1 < y0 ? y0 - m : m - y0));
                const auto [x, y] = Step(x0, y0, x1, y1, i);
                if (i >= 0 && i <= std::max(dx, dy) && x >= 0 && y >= 0 && x < width && y < height)
                    want.emplace_back(x, y);
            }
            if ((dx >= dy && x1 < x0) || (dx < dy && y1 < y0)) // collected against the walk's direction
                std::reverse(want.begin(), want.end());
            WalkLineWithin(x0, y0, x1, y1, width, height, [&](int x, int y) { got.emplace_back(x, y); });
            return got == want;
        };
        for (const auto& [w, h] : {std::pair{0, 3}, {3, 0}, {1, 1}, {4, 3}, {2, 5}})
            for (int p = 0; p < 11 * 11 * 11 * 11; ++p) {
                const int x0 = p % 11 - 3, y0 = p / 11 % 11 - 3, x1 = p / 121 % 11 - 3, y1 = p / 1331 - 3;
                QVERIFY2(check(x0, y0, x1, y1, w, h), Case(x0, y0, x1, y1, w, h));
            }
        std::mt19937 random(23);
        std::uniform_int_distribution<int> near(-3000, 3000), far(12 - (1 << 30), 1 << 30);
        for (int i = 0; i < 400; ++i) {
            const int x0 = near(random), y0 = near(random), x1 = near(random), y1 = near(random);
            QVERIFY2(check(x0, y0, x1, y1, 6, 5), Case(x0, y0, x1, y1));
            // Through the grid from ends far apart (within 2^30): the line's middle is a cell of the grid.
            const int a = far(random), b = far(random), c = 2 * (i % 7) - a, d = 2 * (i % 4) - b;
            QVERIFY2(check(a, b, c, d, 7, 4), Case(a, b, c, d));
        }
    }

    // The outline against a rule of its own, every pair of radii up to 30: in a quadrant, per row the column
    // nearest the true curve b²x² + a²y² = a²b² (the outer one on a tie) where the curve is steep (a²y <=
    // b²x), per column the nearest row where it is flat (b²x <= a²y), mirrored about both axes. A radius of 0
    // keeps only the ends and the centre, shown as fixed outlines. The interior is, per row, what lies
    // strictly between the outline's leftmost and rightmost cell. Cells as (row, column).
    void ellipseOutlineAndInterior() {
        const auto off = [](ll a, ll b, ll x, ll y) {
            return std::llabs(b * b * x * x + a * a * y * y - a * a * b * b);
        };
        for (ll a = 0; a <= 30; ++a)
            for (ll b = 0; b <= 30; ++b) {
                std::set<std::pair<ll, ll>> want, got;
                const auto four = [&](ll x, ll y) {
                    for (const ll s : {-1, 1})
                        want.insert({{y, s * x}, {-y, s * x}});
                };
                for (ll y = 0, x = a; y <= b; ++y, x = a) {
                    for (ll c = a; c >= 0; --c)
                        x = off(a, b, c, y) < off(a, b, x, y) ? c : x;
                    if (a * a * y <= b * b * x)
                        four(x, y);
                }
                for (ll x = 0, y = b; x <= a; ++x, y = b) {
                    for (ll r = b; r >= 0; --r)
                        y = off(a, b, x, r) < off(a, b, x, y) ? r : y;
                    if (b * b * x <= a * a * y)
                        four(x, y);
                }
                WalkEllipseOutline(int(a), int(b), [&](int dx, int dy) { got.emplace(dy, dx); });
                QVERIFY2(got == want || a * b == 0, Case(a, b));
                const EllipseInterior interior{int(a), int(b)};
                for (ll r = -b - 1; a < 12 && b < 12 && r <= b + 1; ++r)
                    for (ll c = -a - 1; c <= a + 1; ++c) {
                        const bool left = got.lower_bound({r, LLONG_MIN}) != got.lower_bound({r, c});
                        const bool right = got.upper_bound({r, c}) != got.lower_bound({r + 1, LLONG_MIN});
                        QVERIFY2(interior.Contains(int(c), int(r)) == (left && right), Case(a, b, c, r));
                    }
            }
        for (const auto& [a, b, rows] : {std::tuple{0, 0, "#"}, {3, 0, "#..#..#"}, {0, 3, "#|.|.|#|.|.|#"}}) {
            QStringList drawn(2 * b + 1, QString(2 * a + 1, '.'));
            WalkEllipseOutline(a, b, [&](int dx, int dy) { drawn[dy + b][dx + a] = '#'; });
            QCOMPARE(drawn.join('|'), QString(rows));
        }
    }

    // Cells row by row within inclusive bounds, an outline only on them, clipped; frame bars 2 pixels wide
    // beside the start and current cells' sides, inner ones once the hollow is wide (then tall) enough.
    void rectangleCellsAndFrameInEveryDrag() {
        const auto edges = [](ll a, ll c, ll s) {
            return c < a ? std::array{a * s + s + 2, c * s - 2, a * s, c * s + s}
                         : std::array{a * s, c * s + s, a * s + s + 2, c * s - 2};
        };
        const auto frame = [](ll a, ll b, ll c, ll d) {
            return Bars{{a, c - 2, b - a, 2}, {a, d, b - a, 2}, {a - 2, c, 2, d - c}, {b, c, 2, d - c}};
        };
        for (int p = 0; p < 2 * 5 * 5 * 5 * 5; ++p) {
            const bool outline = p % 2;
            const int ax = p / 2 % 5, ay = p / 10 % 5, cx = p / 50 % 5, cy = p / 250;
            const int l = std::min(ax, cx), r = std::max(ax, cx), t = std::min(ay, cy), b = std::max(ay, cy);
            for (const auto clip : {CellBounds{-9, -9, 9, 9}, {1, 1, 3, 2}, {4, 0, 4, 4}, {5, 5, 6, 6}}) {
                std::vector<std::pair<ll, ll>> want, got;
                for (int y = t; y <= b; ++y)
                    for (int x = l; x <= r; ++x)
                        if ((!outline || x == l || x == r || y == t || y == b) && Contains(clip, x, y))
                            want.emplace_back(x, y);
                ForEachRectCell(NormaliseCorners(ax, ay, cx, cy), outline, clip,
                                [&](int x, int y) { got.emplace_back(x, y); });
                QVERIFY2(got == want, Case(ax, ay, cx, cy, outline, clip.left));
            }
            for (const auto& [tw, th] : {std::pair{32, 32}, {2, 3}, {6, 1}}) {
                const auto h = edges(ax, cx, tw), v = edges(ay, cy, th);
                Bars want = frame(h[0], h[1], v[0], v[1]), inner = frame(h[2], h[3], v[2], v[3]), got;
                const bool wide = outline && tw + 4 < std::llabs(h[0] - h[3]);
                const bool tall = wide && th + 4 < std::llabs(v[0] - v[3]);
                want.insert(want.end(), inner.begin(), inner.begin() + (tall ? 4 : wide ? 2 : 0));
                for (const FrameBar& bar : RectFrameBars(ax, ay, cx, cy, tw, th, outline))
                    got.push_back({bar.x, bar.y, bar.width, bar.height});
                QVERIFY2(got == want, Case(ax, ay, cx, cy, outline, tw));
            }
        }
    }

    // Every pattern of open, closed and (with three states) already marked cells of a small grid, from every
    // start: the visited cells are exactly those the plain breadth-first walk below reaches, each visited
    // once and marked when visited. Runs touching both edges, one-cell gaps, runs reopening under a closed
    // cell and regions winding back on themselves all occur. open is only asked about unmarked cells on the
    // grid, and the span list stays within three spans per visited cell.
    void fillRegion() {
        for (const auto& [W, H, states] : {std::tuple{5, 3, 2}, {4, 4, 2}, {8, 2, 2}, {3, 3, 3}, {5, 2, 3}})
            FillRegionOf(W, H, states);
    }
    // A resized layer keeps every cell lying inside both sizes in its place.
    void resizedLayerGrids() {
        LayerGrid grid = LayerGrid().Resized(3, 3);
        for (std::uint32_t i = 0; i < 9; ++i)
            grid.Put(i, CellRef::Make());
        for (int k = 0; k < 16 * 25; ++k) {
            const int w = k % 4 + 1, h = k / 4 % 4 + 1, c = k / 16 % 5, r = k / 80;
            QVERIFY(grid.Resized(w, h).Get(c, r).Record() ==
                    (c < w && r < h ? grid.Get(c, r).Record() : nullptr));
        }
    }

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
                                         Case(c, r, c0, r0, w, h));
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
        // The shape previews paint every cell whose picture (pic pixels from its corner) has a pixel on the
        // canvas, and no column or row that begins past it. The axes get different sizes, so none is swapped.
        const auto paintsJust = [](int first, int last, int canvas, int side, int pic) {
            for (int c = -12; c <= 12; ++c)
                if (c * side < canvas && c * side + pic > 0 && (c < first || c > last))
                    return false;
            return canvas < 1 || last * side < canvas;
        };
        for (int canvas = 0; canvas <= 8; ++canvas)
            for (int side = 1; side <= 3; ++side)
                for (int pic = 1; pic <= 7; ++pic) {
                    const CellBounds b = PaintableCells(canvas, 8 - canvas, side, 4 - side, pic, 8 - pic);
                    QVERIFY(paintsJust(b.left, b.right, canvas, side, pic));
                    QVERIFY(paintsJust(b.top, b.bottom, 8 - canvas, 4 - side, 8 - pic));
                }
    }

    // The reference places each tile of the load at its column and row in the image and keeps those in the
    // rectangle: loads of every small shape, numbered from 0 or later, every press and pointer tile (outside
    // the load too).
    void blockFollowsTheImageNotThePalette() {
        for (int first : {0, 5})
            for (int columns = 1; columns <= 4; ++columns)
                for (int count = 1; count <= 11; ++count) {
                    const TileImageRows load{first, count, columns};
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
                            const int l = std::min(ax, bx), t = std::min(ay, by);
                            TileBlock want{std::abs(ax - bx) + 1, std::abs(ay - by) + 1, {}};
                            want.tiles.assign(std::size_t(want.width * want.height), -1);
                            for (int tile = first; tile < first + count; ++tile) {
                                const int x = (tile - first) % columns - l, y = (tile - first) / columns - t;
                                if (x >= 0 && y >= 0 && x < want.width && y < want.height)
                                    want.tiles[std::size_t(y * want.width + x)] = tile;
                            }
                            QVERIFY2(*got == want, Case(first, columns, count, a, b));
                        }
                }
    }
};

QTEST_APPLESS_MAIN(TestGeometry)
#include "tst_geometry.moc"
