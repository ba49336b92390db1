// Memory running out part way through a user's action: the cells placed so far stay, the map and its drawn
// picture agree, the status line says in red what stopped, and editing goes on once memory is back.
#include "EditorFixture.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <set>

namespace {

using Cells = std::set<std::pair<int, int>>;
const QColor kFailureRed(200, 0, 0);

// A stroke as the mouse makes it on the map canvas, from the middle of one cell to the middle of another.
void Stroke(frmMain& w, QPoint from, QPoint to) {
    auto middle = [](QPoint cell) { return QPoint(cell.x() * 32 + 16, cell.y() * 32 + 16); };
    QTest::mouseMove(w.canMain, middle(from));
    QTest::mousePress(w.canMain, Qt::LeftButton, Qt::NoModifier, middle(from));
    QTest::mouseMove(w.canMain, middle(to));
    QTest::mouseRelease(w.canMain, Qt::LeftButton, Qt::NoModifier, middle(to));
}

Cells Occupied(const LayerGrid& grid) {
    Cells cells;
    for (int r = 0; r < grid.Height(); ++r)
        for (int c = 0; c < grid.Width(); ++c)
            if (grid.At(c, r))
                cells.emplace(c, r);
    return cells;
}

// Every cell sits where it is stored, and the drawn map shows exactly those cells (but for the one under
// the pointer, where the tool's cursor is drawn).
void CheckConsistent(frmMain& w, const Cells& cells, QPoint pointer) {
    for (const auto& [c, r] : cells) {
        QCOMPARE(w.Layer(0).At(c, r)->X(), c * 32);
        QCOMPARE(w.Layer(0).At(c, r)->Y(), r * 32);
    }
    const QRgb tile = w.m_VOTileset->SelectedTile()->Image()->Image().pixel(16, 16);
    const QImage& canvas = w.canMain->Buffer();
    for (int r = 0; r * 32 + 16 < canvas.height(); ++r)
        for (int c = 0; c * 32 + 16 < canvas.width(); ++c)
            if (QPoint(c, r) != pointer)
                QCOMPARE(canvas.pixel(c * 32 + 16, r * 32 + 16) == tile, cells.count({c, r}) == 1);
    QVERIFY(w.m_objLayer.empty());
}

// The status line says it in red, whole within its 301 pixels.
void CheckReported(frmMain& w, const QString& text) {
    QCOMPARE(w.lblStatus->text(), text);
    QCOMPARE(w.lblStatus->palette().color(QPalette::WindowText), kFailureRed);
    QVERIFY2(w.lblStatus->fontMetrics().horizontalAdvance(text) <= w.lblStatus->width(), qPrintable(text));
}

} // namespace

class TestOutOfMemory : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CellRef::FailCellMemoryAfter(-1); }
    void strokeStopsWhereMemoryRanOut_data();
    void strokeStopsWhereMemoryRanOut();
    void applyLeavesTheMapAsItWas();
    void cuttingKeepsTheTilesCutSoFar();
    void openingWithoutMemoryForTheMap();
};

void TestOutOfMemory::strokeStopsWhereMemoryRanOut_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QPoint>("redoEnd"); // where the stroke that finishes the work ends
    QTest::newRow("filled rectangle") << 4 << QStringLiteral("filled rectangle") << QPoint(6, 4);
    QTest::newRow("filled ellipse") << 6 << QStringLiteral("filled ellipse") << QPoint(6, 4);
    // The fill starts again on a cell it has not reached: where it did reach, the tile is already there.
    QTest::newRow("fill") << 7 << QStringLiteral("fill") << QPoint(12, 12);
}

void TestOutOfMemory::strokeStopsWhereMemoryRanOut() {
    QFETCH(int, tool);
    QFETCH(QString, what);
    QFETCH(QPoint, redoEnd);
    // The whole shape: what the stroke places with memory to spare.
    Cells whole;
    {
        EditorFixture spare;
        spare.LoadSolidTiles(2, 1);
        QTest::mouseClick(spare->btnTool[std::size_t(tool)], Qt::LeftButton);
        Stroke(spare.window(), {1, 1}, {6, 4});
        whole = Occupied(spare->Layer(0));
        QVERIFY(whole.size() > 20);
    }
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 1);
    QTest::mouseClick(w.btnTool[std::size_t(tool)], Qt::LeftButton);
    CellRef::FailCellMemoryAfter(12);
    Stroke(w, {1, 1}, {6, 4});
    const Cells placed = Occupied(w.Layer(0));
    QVERIFY2(!placed.empty() && placed.size() <= 12, qPrintable(QString::number(placed.size())));
    for (const auto& cell : placed)
        QVERIFY(whole.count(cell));
    CheckReported(w, QStringLiteral("Out of memory: %1 stopped").arg(what));
    CheckConsistent(w, placed, {6, 4});

    // Memory is back: the shape is finished, and the status line is no longer red.
    CellRef::FailCellMemoryAfter(-1);
    Stroke(w, {1, 1}, redoEnd);
    QCOMPARE(Occupied(w.Layer(0)), whole);
    CheckConsistent(w, whole, redoEnd);
    QVERIFY(w.lblStatus->text().isEmpty());
}

void TestOutOfMemory::applyLeavesTheMapAsItWas() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 1);
    Stroke(w, {2, 3}, {5, 3}); // the plot tool paints the cells it is dragged over
    const Cells painted = Occupied(w.Layer(0));
    QCOMPARE(painted.size(), std::size_t(2));
    w.txtMapWidth->setText(QStringLiteral("300"));
    CellRef::FailCellMemoryAfter(1000);
    QTest::mouseClick(w.btnApply, Qt::LeftButton);
    CheckReported(w, QStringLiteral("Out of memory: Apply stopped"));
    QCOMPARE(w.m_intMapWidth, 100);
    QVERIFY(w.Layer(0).SizedTo(100, 100));
    CheckConsistent(w, painted, {5, 3});

    CellRef::FailCellMemoryAfter(-1);
    QTest::mouseClick(w.btnApply, Qt::LeftButton);
    QCOMPARE(w.m_intMapWidth, 300);
    QCOMPARE(Occupied(w.Layer(0)), painted);
}

void TestOutOfMemory::cuttingKeepsTheTilesCutSoFar() {
    EditorFixture f;
    frmMain& w = f.window();
    CellRef::FailCellMemoryAfter(3);
    f.LoadSolidTiles(6, -1);
    QCOMPARE(w.m_VOTileset->Count(), 3);
    CheckReported(w, QStringLiteral("Out of memory: load stopped after 3 tiles"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(int(w.m_VOTileset->GetTile(i)->ImageIndex()), i);
    // The palette shows the three tiles it holds.
    QCOMPARE(w.canTiles->Buffer().pixel(94 + 16, 26), w.m_VOTileset->GetTileImage(2)->Image().pixel(16, 16));

    CellRef::FailCellMemoryAfter(-1);
    f.LoadSolidTiles(6, 4);
    QCOMPARE(w.m_VOTileset->Count(), 9);
    QCOMPARE(int(w.m_VOTileset->GetTile(8)->ImageIndex()), 8);
    QCOMPARE(w.lblStatus->text(), QStringLiteral("solid.png loaded"));
}

void TestOutOfMemory::openingWithoutMemoryForTheMap() {
    CellRef::FailCellMemoryAfter(0);
    EditorFixture f;
    frmMain& w = f.window();
    CheckReported(w, QStringLiteral("Out of memory: map resize stopped"));
    QVERIFY(w.Layer(0).SizedTo(w.m_intMapWidth, w.m_intMapHeight));
    QVERIFY(w.m_intMapWidth < 100);

    CellRef::FailCellMemoryAfter(-1);
    QTest::mouseClick(w.btnApply, Qt::LeftButton);
    QCOMPARE(w.m_intMapWidth, 100);
    f.LoadSolidTiles(2, 1);
    Stroke(w, {2, 3}, {5, 3});
    QCOMPARE(Occupied(w.Layer(0)), Cells({{2, 3}, {5, 3}}));
}

QTEST_MAIN(TestOutOfMemory)
#include "tst_outofmemory.moc"
