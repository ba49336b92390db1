// The ellipse and filled ellipse tools in the window: the shapes a drag previews and a release stores, the
// filled ellipse staying inside its outline, the map's edges, and radii of a thousand one-pixel cells.
#include "EditorFixture.h"
#include "ToolStroke.h"
#include "platform/ScrollBar.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>

Q_DECLARE_METATYPE(CellSet)

namespace {
constexpr int kEllipse = 5;
constexpr int kFilledEllipse = 6;

// Cells around a centre at (0, 0), written row by row as "dy:columns" with columns such as "-2,2" or
// "-1..1": "-1:-1..1 0:-2,2 1:-1..1".
CellSet Shape(const QString& text) {
    CellSet cells;
    for (const QString& row : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int colon = row.indexOf(QLatin1Char(':'));
        const int dy = row.left(colon).toInt();
        for (const QString& item : row.mid(colon + 1).split(QLatin1Char(','))) {
            const QStringList ends = item.split(QStringLiteral(".."));
            for (int dx = ends.first().toInt(); dx <= ends.last().toInt(); ++dx)
                cells.emplace(dx, dy);
        }
    }
    return cells;
}

CellSet Union(CellSet a, const CellSet& b) {
    a.insert(b.begin(), b.end());
    return a;
}

// The window with tiles loaded, tile 1 selected and the given tool.
void Prepare(EditorFixture& f, int tool) {
    f.LoadSolidTiles(3, 1);
    f->btnTool_Action(tool);
}
} // namespace

class TestEllipseTools : public QObject {
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void centreFollowsThePointer();
    void filledEllipseKeepsInteriorObjects();
    void eccentricFilledEllipseStaysInside();
    void outlineAllOffTheMap();
    void nearOrBeyondTheMapEdge_data();
    void nearOrBeyondTheMapEdge();
    void previewOfAScrolledMap();
    void radiiOfAThousandCells();
};

void TestEllipseTools::shapes_data() {
    QTest::addColumn<int>("rx");
    QTest::addColumn<int>("ry");
    QTest::addColumn<CellSet>("outline");
    // The filled ellipse adds the cells strictly between each row's outermost outline cells.
    QTest::addColumn<CellSet>("interior");
    QTest::newRow("0/0: the centre") << 0 << 0 << Shape("0:0") << CellSet{};
    QTest::newRow("1/1: the side neighbours") << 1 << 1 << Shape("-1:0 0:-1,1 1:0") << Shape("0:0");
    QTest::newRow("2/1") << 2 << 1 << Shape("-1:-1..1 0:-2,2 1:-1..1") << Shape("0:-1..1");
    QTest::newRow("3/2") << 3 << 2 << Shape("-2:-1..1 -1:-3,-2,2,3 0:-3,3 1:-3,-2,2,3 2:-1..1")
                         << Shape("-1:-1..1 0:-2..2 1:-1..1");
    QTest::newRow("1/0") << 1 << 0 << Shape("0:-1..1") << CellSet{};
    // A flat or thin ellipse has its centre on the outline: the fill, bounded by the outline's marks, has
    // nowhere to go, and the filled shape keeps the outline's gaps.
    QTest::newRow("3/0: ends and centre") << 3 << 0 << Shape("0:-3,0,3") << CellSet{};
    QTest::newRow("0/3: ends and centre") << 0 << 3 << Shape("-3:0 0:0 3:0") << CellSet{};
    // Eccentric outlines with gaps: the fill must not leak through them.
    QTest::newRow("4/1: gaps at (3,1)") << 4 << 1 << Shape("-1:-2..2 0:-4,4 1:-2..2") << Shape("0:-3..3");
    QTest::newRow("1/4: rows 3 empty")
        << 1 << 4 << Shape("-4:0 -2:-1,1 -1:-1,1 0:-1,1 1:-1,1 2:-1,1 4:0") << Shape("-2:0 -1:0 0:0 1:0 2:0");
    QTest::newRow("7/3: gaps at (6,1)")
        << 7 << 3 << Shape("-3:-3..3 -2:-5,-4,4,5 -1:-7,7 0:-7,7 1:-7,7 2:-5,-4,4,5 3:-3..3")
        << Shape("-2:-3..3 -1:-6..6 0:-6..6 1:-6..6 2:-3..3");
}

void TestEllipseTools::shapes() {
    QFETCH(int, rx);
    QFETCH(int, ry);
    QFETCH(CellSet, outline);
    QFETCH(CellSet, interior);
    const QPoint centre(9, 8);
    for (const bool filled : {false, true}) {
        EditorFixture f;
        Prepare(f, filled ? kFilledEllipse : kEllipse);
        const CellSet expected = Shifted(filled ? Union(outline, interior) : outline, centre.x(), centre.y());
        // The start cell is a corner of the bounding box; the pointer is the centre.
        Stroke s(f.window(), centre.x() - rx, centre.y() - ry);
        s.DragTo(centre.x(), centre.y());
        QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 1))), Describe(expected));
        QVERIFY(Occupied(f->Layer(0)).empty());
        s.Release();
        QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(expected));
        for (const auto& [c, r] : expected) {
            const CellRef cell = f->Layer(0).Get(c, r);
            QCOMPARE(cell->ImageIndex(), 1);
            QCOMPARE(cell->X(), c * 32);
            QCOMPARE(cell->Y(), r * 32);
        }
    }
}

void TestEllipseTools::centreFollowsThePointer() {
    EditorFixture f;
    Prepare(f, kEllipse);
    Stroke s(f.window(), 5, 5);
    s.DragTo(9, 9);
    s.DragTo(7, 6);
    s.Release();
    // Centre (7,6), radii 2 and 1: columns 5 .. 9, rows 5 .. 7, and nothing of the earlier drag position.
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(Shifted(Shape("-1:-1..1 0:-2,2 1:-1..1"), 7, 6)));
}

// Inside the outline an existing cell keeps its object and only shows the new picture; an empty cell gets a
// copy of the tile's cell; the centre always gets a fresh copy. The outline is placed like a plot.
void TestEllipseTools::filledEllipseKeepsInteriorObjects() {
    EditorFixture f;
    Prepare(f, kFilledEllipse);
    f->cboEditLayer->setCurrentIndex(1);
    const CellRef kept = Put(f.window(), 1, 6, 6, 2);
    kept->SetPassable(true);
    kept->SetZOrder(7);
    kept->SetX(1000);
    const CellRef oldCentre = Put(f.window(), 1, 7, 6, 2);
    const CellRef oldOutline = Put(f.window(), 1, 5, 6, 2);

    DragStroke(f.window(), 5, 5, 7, 6);
    const LayerGrid& layer = f->Layer(1);
    QCOMPARE(Occupied(layer).size(), 11u);
    QCOMPARE(layer.Get(6, 6), kept);
    QCOMPARE(kept->ImageIndex(), 1);
    QVERIFY(kept->Passable());
    QCOMPARE(kept->ZOrder(), 7);
    QCOMPARE(kept->X(), 1000);
    const int templateZOrder = f->m_VOTileset->GetTile(1)->ZOrder();
    for (const int c : {7, 8}) {
        const CellRef cell = layer.Get(c, 6);
        QVERIFY(cell != oldCentre);
        QCOMPARE(cell->ImageIndex(), 1);
        QCOMPARE(cell->X(), c * 32);
        QCOMPARE(cell->Y(), 6 * 32);
        QCOMPARE(cell->ZOrder(), templateZOrder);
        QVERIFY(!cell->Passable());
    }
    QVERIFY(layer.Get(5, 6) != oldOutline);
    for (const auto& [c, r] : Shifted(Shape("-1:-1..1 0:-2,2 1:-1..1"), 7, 6)) {
        QCOMPARE(layer.Get(c, r)->ImageIndex(), 1);
        QCOMPARE(layer.Get(c, r)->ZOrder(), 1);
    }
}

// A filled 4/1 over a layer full of other cells: the outline and row 0 from -3 to 3 change, nothing else.
void TestEllipseTools::eccentricFilledEllipseStaysInside() {
    EditorFixture f;
    Prepare(f, kFilledEllipse);
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 17; ++c)
            Put(f.window(), 0, c, r, 2);
    std::map<std::pair<int, int>, CellRef> before;
    for (const auto& position : Occupied(f->Layer(0)))
        before[position] = f->Layer(0).Get(position.first, position.second);
    const QPoint centre(8, 5);
    const CellSet outline = Shifted(Shape("-1:-2..2 0:-4,4 1:-2..2"), centre.x(), centre.y());
    const CellSet inside = Shifted(Shape("0:-3..3"), centre.x(), centre.y());

    Stroke s(f.window(), 4, 4);
    s.DragTo(centre.x(), centre.y());
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 1))), Describe(Union(outline, inside)));
    s.Release();
    for (const auto& [position, old] : before) {
        const CellRef now = f->Layer(0).Get(position.first, position.second);
        const QString where = QStringLiteral("(%1,%2)").arg(position.first).arg(position.second);
        if (outline.count(position) || position == std::pair(centre.x(), centre.y())) {
            QVERIFY2(now != old, qPrintable(where));
            QCOMPARE(now->ImageIndex(), 1);
        } else if (inside.count(position)) {
            QVERIFY2(now == old, qPrintable(where));
            QCOMPARE(now->ImageIndex(), 1);
        } else {
            QVERIFY2(now == old && now->ImageIndex() == 2,
                     qPrintable(where + QStringLiteral(" was changed")));
        }
    }
    QCOMPARE(Occupied(f->Layer(0)).size(), before.size());
}

// Centre inside a one-column map, the whole outline (rx 1, ry 4) outside it: only the cells inside the
// ellipse are written, not the rows where the outline has no cells.
void TestEllipseTools::outlineAllOffTheMap() {
    EditorFixture f;
    ApplyMap(f.window(), 1, 7);
    Prepare(f, kFilledEllipse);
    const CellRef top = Put(f.window(), 0, 0, 0, 2);
    const CellRef bottom = Put(f.window(), 0, 0, 6, 2);
    Stroke s(f.window(), 1, 7);
    s.DragTo(0, 3);
    const CellSet inside{{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}};
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 1))), Describe(inside));
    s.Release();
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(Union(inside, {{0, 0}, {0, 6}})));
    QCOMPARE(f->Layer(0).Get(0, 0), top);
    QCOMPARE(f->Layer(0).Get(0, 6), bottom);
    QCOMPARE(top->ImageIndex(), 2);
    QCOMPARE(bottom->ImageIndex(), 2);
    for (int r = 1; r <= 5; ++r)
        QCOMPARE(f->Layer(0).Get(0, r)->ImageIndex(), 1);
}

void TestEllipseTools::nearOrBeyondTheMapEdge_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<CellSet>("cells");
    // On a 5 x 5 map. Centre (4,2), 3/2: the outline's right half lies beyond the map.
    const CellSet outline32 = Shifted(Shape("-2:-1..1 -1:-3,-2,2,3 0:-3,3 1:-3,-2,2,3 2:-1..1"), 4, 2);
    const CellSet inside32 = Shifted(Shape("-1:-1..1 0:-2..2 1:-1..1"), 4, 2);
    QTest::newRow("outline, right half off the map")
        << kEllipse << QPoint(1, 0) << QPoint(4, 2) << Within(outline32, 0, 0, 4, 4);
    QTest::newRow("filled, right half off the map")
        << kFilledEllipse << QPoint(1, 0) << QPoint(4, 2) << Within(Union(outline32, inside32), 0, 0, 4, 4);
    // Centre (8,2) beyond the last column, 6/1: the outline's cells on the map are all there is.
    const CellSet beyond{{4, 1}, {2, 2}, {4, 3}};
    QTest::newRow("outline centred beyond the map") << kEllipse << QPoint(2, 1) << QPoint(8, 2) << beyond;
    QTest::newRow("filled centred beyond the map")
        << kFilledEllipse << QPoint(2, 1) << QPoint(8, 2) << beyond;
}

void TestEllipseTools::nearOrBeyondTheMapEdge() {
    QFETCH(int, tool);
    QFETCH(QPoint, press);
    QFETCH(QPoint, drag);
    QFETCH(CellSet, cells);
    EditorFixture f;
    ApplyMap(f.window(), 5, 5);
    Prepare(f, tool);
    Stroke s(f.window(), press.x(), press.y());
    s.DragTo(drag.x(), drag.y());
    // The preview paints only cells of the map.
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 1))), Describe(cells));
    s.Release();
    QVERIFY(f->Layer(0).SizedTo(5, 5));
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(cells));
}

// Scrolled 10 columns: the filled ellipse reaches left of the canvas. The preview shows the visible part, the
// release stores all of it.
void TestEllipseTools::previewOfAScrolledMap() {
    EditorFixture f;
    Prepare(f, kFilledEllipse);
    f->scbMainHorizontal->setValue(10);
    QCOMPARE(f->m_intMapOffsetX, 10);
    const CellSet shape =
        Shape("-2:-2..2 -1:-3..3 0:-4..4 1:-3..3 2:-2..2"); // 4/2: outline and inside together
    Stroke s(f.window(), 5, 7);
    s.DragTo(1, 5);
    QCOMPARE(Describe(CellsShowing(f.window(), TileColour(f.window(), 1))),
             Describe(Within(Shifted(shape, 1, 5), 0, 0, 100, 100)));
    s.Release();
    QCOMPARE(Describe(Occupied(f->Layer(0))), Describe(Shifted(shape, 11, 5)));
}

// With one-pixel tiles radii reach a thousand cells, where the outline's error terms exceed 32 bits. The
// stored outline must still be the ellipse: symmetric, within its radii, one cell from the true curve and
// closed; filled, every row is one span between its outline ends.
void TestEllipseTools::radiiOfAThousandCells() {
    const int rx = 999;
    const int ry = 950;
    // Each row's outermost cells, offset from the centre, as the outline left them.
    std::map<int, std::pair<int, int>> outlineEnds;
    for (const bool filled : {false, true}) {
        EditorFixture f;
        f->cboMapLayers->setCurrentIndex(0);
        ApplyMap(f.window(), 2000, 2000, 1, 1);
        QVERIFY(f->Layer(0).SizedTo(2000, 2000));
        Prepare(f, filled ? kFilledEllipse : kEllipse);
        QElapsedTimer timer;
        timer.start();
        Stroke s(f.window(), 0, 0);
        s.DragToPixel(QPoint(rx, ry));
        s.Release();
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));

        // Row ends and counts straight from the layer: the filled ellipse holds millions of cells.
        std::map<int, std::pair<int, int>> ends;
        std::map<int, int> counts;
        const LayerGrid& layer = f->Layer(0);
        for (int r = 0; r < layer.Height(); ++r) {
            for (int c = 0; c < layer.Width(); ++c) {
                if (!layer.At(c, r))
                    continue;
                const int x = c - rx;
                const int y = r - ry;
                QVERIFY(std::abs(x) <= rx && std::abs(y) <= ry);
                auto [it, fresh] = ends.try_emplace(y, x, x);
                it->second.first = std::min(it->second.first, x);
                it->second.second = std::max(it->second.second, x);
                ++counts[y];
            }
        }
        QCOMPARE(int(ends.size()), 2 * ry + 1);
        QCOMPARE(ends[0], std::make_pair(-rx, rx));
        for (const auto& [y, e] : ends) {
            QCOMPARE(e.first, -e.second);
            QCOMPARE(ends[-y], e);
        }
        if (filled) {
            // Every row is one span between the outline's ends on that row, nothing outside them.
            QCOMPARE(ends, outlineEnds);
            for (const auto& [y, e] : ends)
                QCOMPARE(counts[y], e.second - e.first + 1);
            continue;
        }
        outlineEnds = ends;

        const CellSet cells = Shifted(Occupied(layer), -rx, -ry);
        QVERIFY(cells.count({0, ry}) && cells.count({0, -ry}));
        int far = 0;
        for (const auto& [x, y] : cells) {
            QVERIFY(cells.count({-x, y}) && cells.count({x, -y}));
            // Distance to the true ellipse along the row and along the column, in long double.
            const long double ax = std::abs(x), ay = std::abs(y);
            const long double onRow = rx * std::sqrt(std::max(0.0L, 1 - ay * ay / (1.0L * ry * ry)));
            const long double onColumn = ry * std::sqrt(std::max(0.0L, 1 - ax * ax / (1.0L * rx * rx)));
            if (std::min(std::abs(ax - onRow), std::abs(ay - onColumn)) > 1)
                ++far;
            // Closed: every outline cell touches at least two others by a side or a corner.
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && cells.count({x + dx, y + dy}))
                        ++neighbours;
            QVERIFY2(neighbours >= 2, qPrintable(QStringLiteral("(%1,%2) is an end").arg(x).arg(y)));
        }
        QCOMPARE(far, 0);
        // The outline is thin: about one cell per step of its longer axis in each octant.
        QVERIFY(cells.size() < std::size_t(4 * (rx + ry)));
    }
}

QTEST_MAIN(TestEllipseTools)
#include "tst_ellipsetools.moc"
