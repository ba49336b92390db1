// The fill tool in the window: a click fills the empty region, replaces the region of like cells with the
// selected tile or, with no tile selected, erases it; never beyond the map, and without recursion.
#include "EditorFixture.h"
#include "ToolStroke.h"
#include "platform/ScrollBar.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QtTest>

Q_DECLARE_METATYPE(CellSet)

namespace {
constexpr int kFill = 7;
// Tiles of the test sheet.
constexpr int kA = 0;
constexpr int kB = 1;
constexpr int kC = 2;

// A layer's content as picture indices, -1 for empty, one string per row: "0 0 1 0".
QStringList Pictures(const LayerGrid& grid) {
    QStringList rows;
    for (int r = 0; r < grid.Height(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.Width(); ++c) {
            const CellRef& cell = grid.At(c, r);
            row << (cell ? QString::number(cell->ImageIndex()) : QStringLiteral("."));
        }
        rows << row.join(QLatin1Char(' '));
    }
    return rows;
}

// Fills layer n from rows such as "0 0 1 ." (a digit is a tile, a dot an empty cell).
void Paint(frmMain& w, int n, const QStringList& rows) {
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(QLatin1Char(' '));
        for (int c = 0; c < cells.size(); ++c)
            if (cells[c] != QStringLiteral("."))
                Put(w, n, c, r, cells[c].toInt());
    }
}

// Every cell object of a layer by position, to tell kept objects from replaced ones.
std::map<std::pair<int, int>, clsVOCell*> Objects(const LayerGrid& grid) {
    std::map<std::pair<int, int>, clsVOCell*> objects;
    for (int r = 0; r < grid.Height(); ++r)
        for (int c = 0; c < grid.Width(); ++c)
            objects[{c, r}] = grid.At(c, r).get();
    return objects;
}

// The fill leaves its work list empty and gives the marker grid's memory back.
bool FillStateReleased(const frmMain& w) {
    return w.m_objLayer.empty() && w.m_blnTilemap.Width() == 1 && w.m_blnTilemap.Height() == 1;
}

// A 4 x 3 map with tiles A, B and C loaded and the fill tool chosen; select is the picked tile or -1.
void PrepareSmallMap(EditorFixture& f, int select) {
    ApplyMap(f.window(), 4, 3);
    f.LoadSolidTiles(3, select);
    f->btnTool_Action(kFill);
}
} // namespace

class TestFloodFill : public QObject {
    Q_OBJECT
private slots:
    void clickOnEmptyCornerFillsTheLayer();
    void regions_data();
    void regions();
    void clickOnTheSelectedPictureChangesNothing();
    void zOrderByMode();
    void clickBeyondTheMapChangesNothing();
    void cellsStoredUnderAnEarlierTileSize();
    void largeEmptyLayerFillsAndErasesWithoutRecursion();
};

void TestFloodFill::clickOnEmptyCornerFillsTheLayer() {
    EditorFixture f;
    PrepareSmallMap(f, kB);
    Click(f.window(), 0, 0);
    QCOMPARE(Pictures(f->Layer(0)), QStringList({"1 1 1 1", "1 1 1 1", "1 1 1 1"}));
    std::set<clsVOCell*> objects;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            const CellRef cell = f->Layer(0).Get(c, r);
            QCOMPARE(cell->X(), c * 32);
            QCOMPARE(cell->Y(), r * 32);
            objects.insert(cell.get());
        }
    }
    QCOMPARE(objects.size(), 12u);
    QVERIFY(FillStateReleased(f.window()));
    // The release redraws: the map now shows the tile on every cell.
    QCOMPARE(CellsShowing(f.window(), TileColour(f.window(), kB)).count({3, 2}), 1u);
}

void TestFloodFill::regions_data() {
    QTest::addColumn<int>("select");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("passableMix");

    // Replace: the click's region of like cells takes C; the A behind the B is not connected.
    QTest::newRow("A A B A, C selected") << kC << QStringList{"0 0 1 0", ". . . .", ". . . ."} << QPoint(0, 0)
                                         << QStringList{"2 2 1 0", ". . . .", ". . . ."} << false;
    QTest::newRow("corner contact does not connect")
        << kC << QStringList{"0 . . .", ". 0 . .", ". . 0 ."} << QPoint(1, 1)
        << QStringList{"0 . . .", ". 2 . .", ". . 0 ."} << false;
    QTest::newRow("winding region, replaced")
        << kC << QStringList{"0 0 0 1", "1 1 0 1", "0 0 0 0"} << QPoint(0, 0)
        << QStringList{"2 2 2 1", "1 1 2 1", "2 2 2 2"} << false;
    // Along the map's edges: right column and bottom row, the cells on the edges included.
    QTest::newRow("region along the edges")
        << kC << QStringList{"1 1 1 0", "1 1 1 0", "0 0 0 0"} << QPoint(3, 0)
        << QStringList{"1 1 1 2", "1 1 1 2", "2 2 2 2"} << false;
    QTest::newRow("empty region along the edges, filled")
        << kC << QStringList{"1 1 1 .", "1 1 1 .", ". . . ."} << QPoint(0, 2)
        << QStringList{"1 1 1 2", "1 1 1 2", "2 2 2 2"} << false;
    QTest::newRow("empty region stops at cells")
        << kA << QStringList{". 1 . .", "1 . . .", ". . . ."} << QPoint(3, 2)
        << QStringList{". 1 0 0", "1 0 0 0", "0 0 0 0"} << false;
    // No tile selected: the clicked region of like cells is emptied, like cells elsewhere stay.
    QTest::newRow("erase, no tile") << -1 << QStringList{"0 0 1 0", ". 0 . .", "0 . . 0"} << QPoint(1, 0)
                                    << QStringList{". . 1 0", ". . . .", "0 . . 0"} << false;
    QTest::newRow("erase along the edges")
        << -1 << QStringList{"1 1 1 0", "1 0 1 0", "0 0 0 0"} << QPoint(0, 2)
        << QStringList{"1 1 1 .", "1 . 1 .", ". . . ."} << false;
    QTest::newRow("erase, empty cell: nothing")
        << -1 << QStringList{"0 0 1 0", ". . . .", ". . . ."} << QPoint(1, 1)
        << QStringList{"0 0 1 0", ". . . .", ". . . ."} << false;
    // Alike means the same picture: cells differing in Passable are one region.
    QTest::newRow("replace across Passable")
        << kC << QStringList{"0 0 0 0", "1 1 1 0", ". . . ."} << QPoint(0, 0)
        << QStringList{"2 2 2 2", "1 1 1 2", ". . . ."} << true;
    QTest::newRow("erase across Passable")
        << -1 << QStringList{"0 0 0 0", "1 1 1 0", ". . . ."} << QPoint(0, 0)
        << QStringList{". . . .", "1 1 1 .", ". . . ."} << true;
}

void TestFloodFill::regions() {
    QFETCH(int, select);
    QFETCH(QStringList, before);
    QFETCH(QPoint, click);
    QFETCH(QStringList, after);
    QFETCH(bool, passableMix);
    EditorFixture f;
    PrepareSmallMap(f, select);
    Paint(f.window(), 0, before);
    if (passableMix)
        for (int c = 0; c < 4; c += 2)
            f->Layer(0).Get(c, 0)->SetPassable(true);
    const auto objectsBefore = Objects(f->Layer(0));

    Click(f.window(), click.x(), click.y());
    QCOMPARE(Pictures(f->Layer(0)), after);
    QVERIFY(FillStateReleased(f.window()));
    // Cells whose picture did not change are the very objects that were there; changed ones are fresh and
    // sit at their own pixel position.
    const auto objectsAfter = Objects(f->Layer(0));
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            clsVOCell* was = objectsBefore.at({c, r});
            clsVOCell* now = objectsAfter.at({c, r});
            if (before[r].split(' ')[c] == after[r].split(' ')[c]) {
                QCOMPARE(now, was);
                continue;
            }
            if (!now)
                continue;
            QVERIFY(now != was);
            QCOMPARE(now->X(), c * 32);
            QCOMPARE(now->Y(), r * 32);
        }
    }
}

void TestFloodFill::clickOnTheSelectedPictureChangesNothing() {
    EditorFixture f;
    PrepareSmallMap(f, kB);
    Paint(f.window(), 0, {"1 1 0 .", "1 0 0 .", ". . . ."});
    const auto objects = Objects(f->Layer(0));
    Click(f.window(), 0, 1);
    QCOMPARE(Objects(f->Layer(0)), objects);
    QCOMPARE(Pictures(f->Layer(0)), QStringList({"1 1 0 .", "1 0 0 .", ". . . ."}));
    QVERIFY(FillStateReleased(f.window()));
}

// A replacement is placed as a plot would place it, with the edit layer's number; a fill of empty cells
// stores plain copies of the tile's cell, whose ZOrder is the tile's own.
void TestFloodFill::zOrderByMode() {
    EditorFixture f;
    PrepareSmallMap(f, kC);
    f->cboEditLayer->setCurrentIndex(2);
    QCOMPARE(f->m_Layer, 2);
    const int templateZOrder = f->m_VOTileset->GetTile(kC)->ZOrder();
    QCOMPARE(templateZOrder, 0);
    Paint(f.window(), 2, {"0 0 . .", "0 0 . .", ". . . ."});
    // Whatever ZOrder the old cells had, a replacement gets the layer's.
    for (const auto& [c, r] : Occupied(f->Layer(2)))
        f->Layer(2).Get(c, r)->SetZOrder(7);

    Click(f.window(), 0, 0);
    QCOMPARE(Pictures(f->Layer(2)), QStringList({"2 2 . .", "2 2 . .", ". . . ."}));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            QCOMPARE(f->Layer(2).Get(c, r)->ZOrder(), 2);

    Click(f.window(), 3, 2);
    QCOMPARE(Pictures(f->Layer(2)), QStringList({"2 2 2 2", "2 2 2 2", "2 2 2 2"}));
    QCOMPARE(f->Layer(2).Get(0, 0)->ZOrder(), 2);
    for (const auto& [c, r] : CellSet{{2, 0}, {3, 0}, {2, 1}, {3, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}})
        QCOMPARE(f->Layer(2).Get(c, r)->ZOrder(), templateZOrder);
    // The other layers are untouched.
    QVERIFY(Occupied(f->Layer(0)).empty());
    QVERIFY(Occupied(f->Layer(1)).empty());
}

void TestFloodFill::clickBeyondTheMapChangesNothing() {
    EditorFixture f;
    PrepareSmallMap(f, kC);
    Click(f.window(), 6, 1);
    Click(f.window(), 2, 5);
    QVERIFY(Occupied(f->Layer(0)).empty());

    Paint(f.window(), 0, {"0 0 0 0", "0 0 0 0", "0 0 0 0"});
    const auto objects = Objects(f->Layer(0));
    Click(f.window(), 4, 0);
    QCOMPARE(Objects(f->Layer(0)), objects);
    // With no tile selected a click beyond the map erases nothing either.
    Deselect(f.window());
    QVERIFY(!f->m_VOTileset->SelectedTile());
    Click(f.window(), 4, 2);
    Click(f.window(), 0, 3);
    QCOMPARE(Objects(f->Layer(0)), objects);
    QVERIFY(f->m_objLayer.empty());
}

// Cells keep the pixel position they were stored with; after the tile size changes that position names
// another cell, or one off the map. The fill follows the grid, and what it stores uses the new size.
void TestFloodFill::cellsStoredUnderAnEarlierTileSize() {
    EditorFixture f;
    ApplyMap(f.window(), 100, 4);
    f.LoadSolidTiles(3, kC);
    // Row 0: A A B A ..., then A from column 60 to the end, whose stored X lies beyond the map at 16 pixels.
    Paint(f.window(), 0, {"0 0 1 0"});
    for (int c = 60; c < 100; ++c)
        Put(f.window(), 0, c, 1, kA);
    for (int c = 60; c < 100; ++c)
        Put(f.window(), 0, c, 2, kB);
    const auto objects = Objects(f->Layer(0));
    ApplyMap(f.window(), 100, 4, 16, 16);
    QCOMPARE(f->m_VOTileset->TileWidth(), 16);
    QCOMPARE(f->Layer(0).Get(99, 1)->X(), 99 * 32);
    f->btnTool_Action(kFill);

    // (1,0) was stored at X 32, which now means column 2; the fill must still stop at the B in column 2.
    Click(f.window(), 0, 0);
    QCOMPARE(f->Layer(0).Get(0, 0)->ImageIndex(), kC);
    QCOMPARE(f->Layer(0).Get(1, 0)->ImageIndex(), kC);
    QCOMPARE(f->Layer(0).Get(1, 0)->X(), 16);
    QCOMPARE(f->Layer(0).Get(1, 0)->Y(), 0);
    QCOMPARE(f->Layer(0).Get(2, 0).get(), objects.at({2, 0}));
    QCOMPARE(f->Layer(0).Get(3, 0).get(), objects.at({3, 0}));

    // Column 60 of row 1 is visible cell 60 - offset; scroll it into view first.
    f->scbMainHorizontal->setValue(55);
    QCOMPARE(f->m_intMapOffsetX, 55);
    Click(f.window(), 5, 1);
    for (int c = 60; c < 100; ++c) {
        const CellRef cell = f->Layer(0).Get(c, 1);
        QCOMPARE(cell->ImageIndex(), kC);
        QCOMPARE(cell->X(), c * 16);
        QCOMPARE(cell->Y(), 16);
        // The B row below stays as it was, and so does everything the old positions would have named.
        QCOMPARE(f->Layer(0).Get(c, 2).get(), objects.at({c, 2}));
    }
    QCOMPARE(Occupied(f->Layer(0)).size(), 4u + 40u + 40u);
    QVERIFY(FillStateReleased(f.window()));
}

void TestFloodFill::largeEmptyLayerFillsAndErasesWithoutRecursion() {
    EditorFixture f;
    f->cboMapLayers->setCurrentIndex(0);
    ApplyMap(f.window(), 2000, 2000);
    QVERIFY(f->Layer(0).SizedTo(2000, 2000));
    f.LoadSolidTiles(2, kB);
    f->btnTool_Action(kFill);
    QElapsedTimer timer;
    timer.start();
    Click(f.window(), 3, 4);
    const qint64 fillTime = timer.elapsed();
    QCOMPARE(Occupied(f->Layer(0)).size(), 2000u * 2000u);
    const CellRef last = f->Layer(0).Get(1999, 1999);
    QCOMPARE(last->X(), 1999 * 32);
    QCOMPARE(last->Y(), 1999 * 32);
    QVERIFY(FillStateReleased(f.window()));

    // With no tile selected the same click erases the whole region again.
    Deselect(f.window());
    QVERIFY(!f->m_VOTileset->SelectedTile());
    Click(f.window(), 0, 0);
    QVERIFY(Occupied(f->Layer(0)).empty());
    QVERIFY(FillStateReleased(f.window()));
    qInfo("fill of 4 million cells: %lld ms", fillTime);
}

QTEST_MAIN(TestFloodFill)
#include "tst_floodfill.moc"
