// Strokes of every tool made of real mouse events on the map canvas: the preview, the cells stored and shown
// after the release, strokes that lose their release, and memory running out part way.
#include "UserSteps.h"
#include "platform/ScrollBar.h"
#include "tools/EllipseOutline.h"
#include "tools/LineWalk.h"
#include "tools/RectShape.h"

#include <QLabel>
#include <QMenu>
#include <QtTest>
#include <climits>

namespace {
using Points = QList<QPoint>;

// The visible cells a stroke through pts (press first) covers, from the shape functions the geometry test
// proves: for plot and erase the press and the walk from each point to the next; the line walks from the
// last drag back to the press; rectangles span the two; ellipses are centred on the last drag with radii
// reaching the press, filled (when the centre is not on the outline) with the cells strictly between each
// row's outermost outline cells.
CellSet Shape(int tool, const Points& pts) {
    const QPoint a = pts.first(), b = pts.last();
    CellSet cells;
    const auto add = [&](int c, int r) { cells.emplace(c, r); };
    if (tool <= 1)
        for (int i = 0; i < pts.size(); ++i)
            WalkLine(pts[i ? i - 1 : 0].x(), pts[i ? i - 1 : 0].y(), pts[i].x(), pts[i].y(), add);
    else if (tool == 2)
        WalkLine(b.x(), b.y(), a.x(), a.y(), add);
    else if (tool <= 4)
        ForEachRectCell(NormaliseCorners(a.x(), a.y(), b.x(), b.y()), tool == 3,
                        CellBounds{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, add);
    const int rx = std::abs(a.x() - b.x()), ry = std::abs(a.y() - b.y());
    if (tool >= 5)
        WalkEllipseOutline(rx, ry, [&](int dx, int dy) { add(b.x() + dx, b.y() + dy); });
    const EllipseInterior inside(rx, ry);
    const bool fill = tool == 6 && !cells.count({b.x(), b.y()});
    for (int dy = -ry; fill && dy <= ry; ++dy)
        for (int dx = -rx; dx <= rx; ++dx)
            if (inside.Contains(dx, dy))
                add(b.x() + dx, b.y() + dy);
    return cells;
}

// A stroke pressed on the first visible cell and dragged through the others, not yet released.
MouseStroke Drag(frmMain& w, const Points& pts) {
    MouseStroke s(w, pts[0].x(), pts[0].y());
    std::for_each(pts.begin() + 1, pts.end(), [&](QPoint p) { s.DragTo(p.x(), p.y()); });
    return s;
}

// Cells moved by (dx, dy), keeping those inside columns 0 .. w - 1 and rows 0 .. h - 1.
CellSet Moved(const CellSet& cells, int dx, int dy, int w, int h) {
    CellSet moved;
    for (const auto& [c, r] : cells)
        if (c + dx >= 0 && r + dy >= 0 && c + dx < w && r + dy < h)
            moved.emplace(c + dx, r + dy);
    return moved;
}

CellSet Holding(const LayerGrid& grid, int i) { // the cells of a layer showing tile i
    CellSet cells = Occupied(grid);
    std::erase_if(cells, [&](const auto& p) { return grid.At(p.first, p.second)->ImageIndex() != i; });
    return cells;
}

// Layer 0 of a 12 x 12 map as picture numbers, "." empty, as stored or as the canvas shows it ("?" unknown).
QString Content(const frmMain& w, bool shown) {
    QString text;
    for (int i = 0; i < 144; ++i) {
        const PlacedCell cell = w.Layer(0).Get(i % 12, i / 12);
        const QRgb pixel = MapPixel(w, i % 12 * 32 + 16, i / 12 * 32 + 16);
        char ch = cell && !shown ? char('0' + cell->ImageIndex()) : shown && qGray(pixel) ? '?' : '.';
        for (int t = 0; shown && t < 3; ++t)
            ch = pixel == TileColour(w, t) ? char('0' + t) : ch;
        text += QLatin1Char(ch);
    }
    return text;
}

// Sets the map and layer count, loads three tiles and picks one, chooses the tool and the edit layer, shown.
void Prepare(EditorFixture& f, Tool tool, int layer, QSize map, int select = 1) {
    Apply(f.w, QString::number(layer + 1), "32", "32", QString::number(map.width()),
          QString::number(map.height()));
    ChooseEditLayer(f.w, layer);
    f.LoadSolidTiles(3, select);
    ChooseTool(f.w, tool);
    if (layer)
        f.w.Controls().btnLayer[std::size_t(layer)]->click();
}

// A stroke: the tool, the visible cells of the press, the drags and where the button goes up, the scroll
// bars' values, the edit layer, the map's width times underlay covered with tile 2 but for the visible top
// row, the map's size, the palette tile picked (-1 none) and the cells memory is granted for (-1 all).
struct StrokeCase {
    int tool;
    Points pts;
    QPoint scroll = {};
    int layer = 0, underlay = 1;
    QSize map{100, 100};
    int select = 1, granted = -1;
};
} // namespace
Q_DECLARE_METATYPE(StrokeCase)

class TestStrokes : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CellRef::FailCellMemoryAfter(-1); }
    void strokes_data();
    void strokes();
    void interruptedStrokes_data();
    void interruptedStrokes();
    void outOfMemoryAtStartMoveAndPick();
};

void TestStrokes::strokes_data() {
    QTest::addColumn<StrokeCase>("c");
    const auto row = [](const char* name, const StrokeCase& c) { QTest::newRow(name) << c; };
    row("plot, scrolled, off the canvas", {0, {{0, 0}, {1, 2}, {3, 2}, {30, 2}, {30, 2}}, {10, 5}, 0, 0});
    row("plot left of and above the view, scrolled", {0, {{3, 3}, {-1, 2}, {2, -1}, {2, -1}}, {10, 10}});
    row("erase on layer 2", {1, {{4, 3}, {5, 3}, {5, 4}, {4, 3}, {4, 3}}, {}, 2});
    row("line steep, back and forth, released elsewhere", {2, {{2, 1}, {9, 9}, {3, 5}, {8, 2}}});
    row("line walks from the drag cell, scrolled on layer 3", {2, {{0, 0}, {4, 1}, {4, 1}}, {10, 5}, 3});
    row("line past the map's last column", {2, {{0, 0}, {9, 2}, {9, 2}}, {}, 0, 1, {5, 3}});
    row("outline up and left", {3, {{5, 6}, {1, 2}, {1, 2}}, {}, 1});
    row("filled rectangle left and down, scrolled", {4, {{5, 5}, {3, 6}, {3, 6}}, {3, 0}});
    row("ellipse at column 0 and row 0", {5, {{0, 0}, {3, 2}, {3, 2}}, {}, 0, 0});
    row("filled ellipse over cells on layer 7", {6, {{4, 4}, {9, 9}, {7, 6}, {7, 6}}, {}, 7});
    row("filled ellipse with gaps stays inside", {6, {{4, 4}, {8, 5}, {8, 5}}});
    row("filled ellipse flat, centre on the outline", {6, {{2, 4}, {5, 4}, {5, 4}}});
    row("filled ellipse left of the view", {6, {{5, 7}, {1, 5}, {1, 5}}, {10, 0}});
    row("fill replaces the like region, scrolled", {7, {{3, 3}, {3, 3}}, {10, 5}, 4});
    row("fill of the empty cells around others", {7, {{1, 2}, {5, 0}, {5, 0}}, {}, 1});
    row("fill with no tile erases the like region", {7, {{2, 2}, {2, 2}}, {}, 0, 1, {100, 100}, -1});
    row("fill on the selected picture", {7, {{2, 2}, {2, 2}}, {}, 0, 1, {100, 100}, 2});
    row("fill beyond the map", {7, {{7, 1}, {7, 1}}, {}, 0, 1, {5, 3}});
    const Points path{{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 4}, {6, 4}};
    for (const int tool : {0, 4, 6, 7})
        row(qPrintable(QStringLiteral("tool %1 out of memory").arg(tool)),
            {tool, path, {}, 0, 1, {100, 100}, 1, tool ? 1 : 3});
}

void TestStrokes::strokes() {
    QFETCH(StrokeCase, c);
    auto [tool, pts, scroll, layer, underlay, map, select, granted] = c;
    EditorFixture f;
    Prepare(f, ToolAt(tool), layer, map, select);
    f.w.Controls().scbMainHorizontal->setValue(scroll.x());
    f.w.Controls().scbMainVertical->setValue(scroll.y());
    // Visible cells are those whose middle pixel lies on the canvas.
    const int cols = (f.w.Controls().canMain->width() + 15) / 32,
              rows = (f.w.Controls().canMain->height() + 15) / 32;
    const auto view = [&](const CellSet& s) { return Moved(s, -scroll.x(), -scroll.y(), cols, rows); };
    const auto shown = [&](int tile) { return Describe(CellsShowing(f.w, TileColour(f.w, tile))); };
    const CellSet before = Moved(Shape(4, {{0, 1}, {cols - 1, rows - 1}}), scroll.x(), scroll.y(),
                                 underlay * map.width(), map.height());
    GameValues values; // alike cells differ in other properties
    for (const auto& [x, y] : before)
        values.passable = x % 2 == 1, Put(f.w, layer, x, y, 2, values);
    const QPoint up = pts.takeLast();
    const CellSet shape = Shape(tool == 7 ? 0 : tool, tool == 7 ? pts.mid(pts.size() - 1) : pts);
    CellSet stored = Moved(shape, scroll.x(), scroll.y(), map.width(), map.height());
    if (tool == 7 && !stored.empty()) { // the fill's region: the like underlay, or the empty rest of the map
        const bool under = before.count(*stored.begin());
        stored = Shape(4, {{0, 0}, {map.width() - 1, map.height() - 1}});
        std::erase_if(stored, [&](auto p) { return before.count(p) != under || select == (under ? 2 : -1); });
    }
    CellSet twos = before;
    std::erase_if(twos, [&](const auto& p) { return stored.count(p); });
    const int steps = f.w.Document().Steps().Count();
    CellRef::FailCellMemoryAfter(granted);
    Drag(f.w, pts);
    if (tool >= 2) {
        // The preview shows the shape and nothing is stored yet; the ellipses are cut at the map's edges.
        const CellSet preview = tool == 7   ? CellSet()
                                : tool >= 5 ? view(stored)
                                            : Moved(shape, 0, 0, cols, rows);
        QCOMPARE(shown(1), Describe(preview));
        QCOMPARE(Describe(Occupied(f.w.Layer(layer))), Describe(before));
    }
    Input::Release(f.w.Controls().canMain, CellMiddle(f.w, up.x(), up.y()));
    const CellSet ones = tool == 1 || select < 0 ? CellSet() : stored;
    if (granted >= 0) { // memory ran out part way: the stroke is taken back whole and the status line says so
        QCOMPARE(Describe(Occupied(f.w.Layer(layer))), Describe(before));
        QVERIFY(Holding(f.w.Layer(layer), 1).empty());
        const char* what[] = {"plot", "", "", "", "filled rectangle", "", "filled ellipse", "fill"};
        const QLabel* status = f.w.Controls().lblStatus;
        if (tool) // for plot, the cursor's status text replaces the message when the button goes up
            QCOMPARE(Say(status->text(), status->palette().color(QPalette::WindowText).name()),
                     Say(QStringLiteral("Out of memory: %1 stopped").arg(what[tool]), "#c80000"));
        Input::Leave(f.w.Controls().canMain);
        QVERIFY(shown(1).isEmpty());
        QCOMPARE(f.w.Document().Steps().Count(), steps); // and leaves no step behind
        // Memory is back: the same stroke now does all of its work.
        CellRef::FailCellMemoryAfter(-1);
        Drag(f.w, pts).Release();
    }
    Input::Leave(f.w.Controls().canMain);
    for (const auto& [tile, want] : {std::pair{1, ones}, {2, twos}}) // stored, and shown on the redrawn map
        QCOMPARE(Say(Describe(Holding(f.w.Layer(layer), tile)), "|", shown(tile)),
                 Say(Describe(want), "|", Describe(view(want))));
}

// How the release is lost; the first four take the mouse away from the canvas.
enum Lost { kDialog, kDeactivated, kPopup, kClickAfterDialog, kMove, kPress, kRight };

void TestStrokes::interruptedStrokes_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("lost");
    const char* names[] = {"dialog",      "window deactivated", "popup",       "click after a dialog",
                           "then a move", "then a press",       "right button"};
    for (int tool = 0; tool < 8; ++tool)
        for (int i = kDialog; i <= kRight; ++i)
            QTest::addRow("tool %d, %s", tool, names[i]) << tool << i;
}

// Only what the user drew is stored, whatever takes the release away or comes before a press.
void TestStrokes::interruptedStrokes() {
    QFETCH(int, tool);
    QFETCH(int, lost);
    EditorFixture f;
    QVERIFY(Activate(f.w)); // the menu shortcut needs the window active
    Prepare(f, ToolAt(tool), 0, {12, 12});
    // Tiles 0 and 2 in a checkerboard: no like cells touch, so the fill's region is the clicked cell alone.
    for (int i = 0; i < 144; ++i)
        Put(f.w, 0, i % 12, i / 12, (i % 12 + i / 12) % 2 * 2);
    QString expected = Content(f.w, false);
    const auto draw = [&](int c, int r) { expected[r * 12 + c] = tool == 1 ? '.' : '1'; };
    if (tool <= 1 && lost != kClickAfterDialog && lost != kRight) // plot and erase write while it is held
        for (const auto& [c, r] : Shape(0, {{1, 2}, {3, 4}}))
            draw(c, r);
    HoverAt(f.w, CellMiddle(f.w, 1, 2));
    const Qt::MouseButton button = lost == kRight ? Qt::RightButton : Qt::LeftButton;
    if (lost != kClickAfterDialog)
        Input::Press(f.w.Controls().canMain, CellMiddle(f.w, 1, 2), button),
            Input::Move(f.w.Controls().canMain, CellMiddle(f.w, 3, 4), button);
    // From here on the left button's release never reaches the canvas.
    QMenu menu(&f.w);
    QEvent deactivate(QEvent::WindowDeactivate);
    if (lost == kDialog || lost == kClickAfterDialog)
        QTest::keyClick(&f.w, Qt::Key_T, Qt::ControlModifier), Input::Leave(f.w.Controls().canMain);
    else if (lost == kDeactivated)
        QApplication::sendEvent(&f.w, &deactivate);
    else if (lost == kPopup)
        menu.addAction(QStringLiteral("item")), menu.popup(f.w.mapToGlobal(QPoint(500, 300))), menu.close();
    else if (lost == kRight)
        Input::Release(f.w.Controls().canMain, CellMiddle(f.w, 3, 4), button);
    QCOMPARE(f.dialogs->requests.size(), std::size_t(lost == kDialog || lost == kClickAfterDialog ? 2 : 1));
    if (lost <= kClickAfterDialog) // what took the mouse took the preview or cursor with it
        QCOMPARE(Content(f.w, true), Content(f.w, false));
    for (int i = 1; lost != kPress && lost != kClickAfterDialog && i < 4; ++i)
        Input::Move(f.w.Controls().canMain, CellMiddle(f.w, 5 + i, 1 + 3 * i));
    QCOMPARE(Content(f.w, false), expected);
    // A press with no move before it: every tool stores exactly that cell.
    Input::Click(f.w.Controls().canMain, CellMiddle(f.w, 9, 9));
    draw(9, 9);
    QCOMPARE(Content(f.w, false), expected);
}

// No memory for the map when the window opens, nor for Apply or cutting a tileset: each stops and says so,
// the map keeps its size, and editing goes on once memory is back.
void TestStrokes::outOfMemoryAtStartMoveAndPick() {
    CellRef::FailCellMemoryAfter(0);
    EditorFixture f;
    QCOMPARE(f.w.Controls().lblStatus->text(), QStringLiteral("Out of memory: map resize stopped"));
    f.w.Controls().btnApply->click();
    QCOMPARE(f.w.Controls().lblStatus->text(), QStringLiteral("Out of memory: Apply stopped"));
    QVERIFY(f.w.Layer(0).SizedTo(f.w.MapWidth(), f.w.MapHeight()) && f.w.MapWidth() < 100);
    CellRef::FailCellMemoryAfter(3); // a load that runs out part way is taken back whole
    f.LoadSolidTiles(6, 2);
    QCOMPARE(Say(f.w.Tileset().Count(), f.w.Controls().lblStatus->text()), "0 Out of memory: load stopped");
    CellRef::FailCellMemoryAfter(-1);
    f.LoadSolidTiles(6, 2);
    QCOMPARE(f.w.Tileset().Count(), 6);
    f.w.Controls().btnApply->click();
    DragStroke(f.w, 2, 3, 5, 3);
    QCOMPARE(Describe(Holding(f.w.Layer(0), 2)), Describe(Shape(0, {{2, 3}, {5, 3}})));

    // A move's lift, a move's drop and a pick that run out of memory stop whole and say so in red, the map
    // and its history as they were; with memory back the same move is made.
    for (const auto& [c, r] : Shape(4, {{1, 1}, {2, 2}}))
        Put(f.w, 0, c, r, 1);
    const QString before = Describe(Occupied(f.w.Layer(0)));
    const int steps = f.w.Document().Steps().Count();
    ChooseTool(f.w, Tool::Select);
    DragStroke(f.w, 1, 1, 2, 2);
    // What the status line says with the button still down, and whether the map and history are unchanged.
    const auto pressWithout = [&](long long granted, Qt::KeyboardModifiers keys, QPoint to) {
        CellRef::FailCellMemoryAfter(granted);
        Input::Press(f.w.Controls().canMain, CellMiddle(f.w, 1, 1), Qt::LeftButton, keys);
        Input::Move(f.w.Controls().canMain, CellMiddle(f.w, to.x(), to.y()), Qt::LeftButton);
        Input::Release(f.w.Controls().canMain, CellMiddle(f.w, to.x(), to.y()));
        CellRef::FailCellMemoryAfter(-1);
        return Say(f.w.Controls().lblStatus->text(), Describe(Occupied(f.w.Layer(0))) == before,
                   f.w.Document().Steps().Count() == steps);
    };
    // The lift takes the piece's 4 cells and a run of history per row: with 6 it is made, the drop runs out.
    QCOMPARE(pressWithout(6, Qt::NoModifier, {5, 5}), Say("Out of memory: move stopped", true, true));
    ChooseTool(f.w, Tool::Plot);
    QCOMPARE(pressWithout(0, Qt::ControlModifier, {2, 1}), Say("Out of memory: pick stopped", true, true));
    QVERIFY(f.w.Stamp().width == 1);
    ChooseTool(f.w, Tool::Select);
    DragStroke(f.w, 1, 1, 5, 5);
    QCOMPARE(Describe(Occupied(f.w.Layer(0))), "(2,3) (3,3) (4,3) (5,3) (5,5) (5,6) (6,5) (6,6)");
    QCOMPARE(f.w.Selection(), QRect(5, 5, 2, 2));
}

QTEST_MAIN(TestStrokes)
#include "tst_strokes.moc"
