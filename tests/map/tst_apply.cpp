// Apply on the Map Properties page: map size, tile size and layer count, what survives a resize, the view
// that follows it, and the values it refuses.
#include "MapSteps.h"
#include "platform/ScrollBar.h"

#include <QLabel>
#include <QtTest>

using namespace MapSteps;

namespace {
// Every stored cell of a layer, as (column, row) -> cell.
QMap<QPair<int, int>, CellRef> CellsOf(const LayerGrid& grid) {
    QMap<QPair<int, int>, CellRef> cells;
    for (int row = 0; row < grid.Height(); ++row)
        for (int column = 0; column < grid.Width(); ++column)
            if (CellRef cell = grid.Get(column, row))
                cells.insert({column, row}, cell);
    return cells;
}
} // namespace

class TestApply : public QObject {
    Q_OBJECT
private slots:
    void blankOrNonNumericMapFieldsKeepTheirValue_data();
    void blankOrNonNumericMapFieldsKeepTheirValue();
    void tileSizeChangeKeepsStoredPositions();
    void shrinkThenGrowKeepsTheCellsInsideBoth();
    void growingTheMapLetsTheViewScrollToItsEnd();
    void shrinkingAfterScrollingPullsTheViewBack();
    void newTileSizeRecountsTheVisibleCells();
    void refusedValuesChangeNothing_data();
    void refusedValuesChangeNothing();
    void blanksAroundANumberAreAccepted();
};

void TestApply::blankOrNonNumericMapFieldsKeepTheirValue_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("expectedWidth");
    QTest::addColumn<int>("expectedHeight");
    QTest::newRow("blank width") << ""
                                 << "50" << 100 << 50;
    QTest::newRow("spaces as width") << "   "
                                     << "50" << 100 << 50;
    QTest::newRow("letters as width") << "abc"
                                      << "50" << 100 << 50;
    QTest::newRow("number then letters") << "60x"
                                         << "50" << 100 << 50;
    QTest::newRow("blank height") << "70"
                                  << "" << 70 << 100;
    QTest::newRow("both non-numeric") << "wide"
                                      << "tall" << 100 << 100;
}

void TestApply::blankOrNonNumericMapFieldsKeepTheirValue() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, expectedWidth);
    QFETCH(int, expectedHeight);
    EditorFixture f;
    Apply(f.window(), "3", "32", "32", width, height);
    QCOMPARE(f->m_intMapWidth, expectedWidth);
    QCOMPARE(f->m_intMapHeight, expectedHeight);
    for (int k = 0; k < 3; ++k)
        QVERIFY(f->Layer(k).SizedTo(expectedWidth, expectedHeight));
    // Silently: no message box, nothing in the status line.
    QVERIFY(f.dialogs->messages.isEmpty());
    QCOMPARE(f->lblStatus->text(), QString());
}

void TestApply::tileSizeChangeKeepsStoredPositions() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    StrokeThrough(w, QPoint(50, 70), {QPoint(50, 70)});
    const CellRef before = w.Layer(0).Get(1, 2);
    QVERIFY(before);
    QCOMPARE(before->X(), 32);
    QCOMPARE(before->Y(), 64);

    Apply(w, "3", "16", "24", "100", "100");
    QCOMPARE(w.m_VOTileset->TileWidth(), 16);
    QCOMPARE(w.m_VOTileset->TileHeight(), 24);
    QCOMPARE(w.Layer(0).Get(1, 2), before);
    QCOMPARE(before->X(), 32);
    QCOMPARE(before->Y(), 64);

    // The same pointer position now lies in column 3, row 2 of 16 x 24 cells.
    StrokeThrough(w, QPoint(50, 70), {QPoint(50, 70)});
    const CellRef after = w.Layer(0).Get(3, 2);
    QVERIFY(after);
    QCOMPARE(after->X(), 48);
    QCOMPARE(after->Y(), 48);
    // The old cell is still drawn where it was placed; the grid lines follow the new size.
    Input::Leave(w.canMain);
    QCOMPARE(MapPixel(w, 40, 90), TileColour(w, 0));
    QCOMPARE(MapPixel(w, 16, 5), kGrid);
    QCOMPARE(MapPixel(w, 5, 24), kGrid);
    QCOMPARE(MapPixel(w, 5, 32), kBlack);
}

void TestApply::shrinkThenGrowKeepsTheCellsInsideBoth() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(3, 0);
    const QList<QPair<int, int>> inside = {{0, 0}, {5, 7}, {59, 39}, {30, 0}};
    const QList<QPair<int, int>> outside = {{60, 0}, {0, 40}, {99, 99}, {75, 20}};
    for (const auto& [c, r] : inside + outside)
        w.PlaceTile(c * 32, r * 32, c, r, false);
    ChooseEditLayer(w, 1);
    w.PlaceTile(5 * 32, 7 * 32, 5, 7, false);
    w.PlaceTile(80 * 32, 7 * 32, 80, 7, false);
    const auto layer0 = CellsOf(w.Layer(0));
    const auto layer1 = CellsOf(w.Layer(1));

    Apply(w, "3", "32", "32", "60", "40");
    QVERIFY(w.Layer(0).SizedTo(60, 40));
    for (const auto& p : inside)
        QCOMPARE(w.Layer(0).Get(p.first, p.second), layer0.value(p));
    QCOMPARE(CellsOf(w.Layer(0)).size(), inside.size());
    QCOMPARE(w.Layer(1).Get(5, 7), layer1.value({5, 7}));
    QCOMPARE(CellsOf(w.Layer(1)).size(), 1);

    Apply(w, "3", "32", "32", "100", "100");
    QVERIFY(w.Layer(0).SizedTo(100, 100));
    const auto grown = CellsOf(w.Layer(0));
    QCOMPARE(grown.size(), inside.size());
    for (const auto& p : inside)
        QCOMPARE(grown.value(p), layer0.value(p));
    for (const auto& p : outside)
        QVERIFY(!w.Layer(0).Get(p.first, p.second));
    QCOMPARE(CellsOf(w.Layer(1)).size(), 1);
    // The kept cells still show where they were.
    w.btnLayer[1]->click();
    QCOMPARE(MapPixel(w, 5 * 32 + 10, 7 * 32 + 10), TileColour(w, 0));
}

void TestApply::growingTheMapLetsTheViewScrollToItsEnd() {
    EditorFixture f;
    frmMain& w = f.window();
    Apply(w, "3", "32", "32", "200", "150");
    QCOMPARE(w.scbMainHorizontal->Maximum(), 200 - 17 + 1);
    QCOMPARE(w.scbMainVertical->Maximum(), 150 - 16 + 1);
    QVERIFY(w.scbMainHorizontal->isEnabled());
    for (int i = 0; i < 300; ++i)
        Input::Wheel(w.canMain, QPoint(10, 10), QPoint(-120, -120));
    QCOMPARE(w.m_intMapOffsetX, 184);
    QCOMPARE(w.m_intMapOffsetY, 135);
    // The last map cell is reachable with the mouse and stored there.
    f.LoadSolidTiles(1, 0);
    StrokeThrough(w, CellCentre(15, 14), {CellCentre(15, 14)});
    QVERIFY(w.Layer(0).Get(199, 149));

    // A map that fits the canvas needs no scrolling: both bars rest at 0 and are disabled.
    Apply(w, "3", "32", "32", "10", "10");
    QCOMPARE(w.scbMainHorizontal->Maximum(), 0);
    QCOMPARE(w.scbMainVertical->Maximum(), 0);
    QVERIFY(!w.scbMainHorizontal->isEnabled());
    QVERIFY(!w.scbMainVertical->isEnabled());
    QCOMPARE(w.m_intMapOffsetX, 0);
    QCOMPARE(w.m_intMapOffsetY, 0);
}

void TestApply::shrinkingAfterScrollingPullsTheViewBack() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(1, 0);
    w.scbMainHorizontal->setValue(84);
    w.scbMainVertical->setValue(85);
    QCOMPARE(w.m_intMapOffsetX, 84);
    QCOMPARE(w.m_intMapOffsetY, 85);
    w.PlaceTile(49 * 32, 39 * 32, 49, 39, false);

    Apply(w, "3", "32", "32", "50", "40");
    QCOMPARE(w.scbMainHorizontal->Maximum(), 34);
    QCOMPARE(w.scbMainVertical->Maximum(), 25);
    QCOMPARE(w.m_intMapOffsetX, 34);
    QCOMPARE(w.m_intMapOffsetY, 25);
    QCOMPARE(w.scbMainHorizontal->Value(), 34);
    QCOMPARE(w.scbMainVertical->Value(), 25);
    // The last map cell shows in canvas column 15, row 14; the column and row after it are beyond the map.
    QCOMPARE(MapPixel(w, 15 * 32 + 10, 14 * 32 + 10), TileColour(w, 0));
    QCOMPARE(MapPixel(w, 16 * 32 + 10, 14 * 32 + 10), kBlack);
    // The mouse arithmetic uses the clamped offsets.
    HoverAt(w, CellCentre(15, 14));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Plot X: 49 Y: 39"));
}

void TestApply::newTileSizeRecountsTheVisibleCells() {
    EditorFixture f;
    frmMain& w = f.window();
    Apply(w, "3", "16", "24", "100", "100");
    QCOMPARE(w.m_intTilemapVisibleColumns, 34);
    QCOMPARE(w.m_intTilemapVisibleRows, 22);
    QCOMPARE(w.scbMainHorizontal->Maximum(), 67);
    QCOMPARE(w.scbMainVertical->Maximum(), 79);
}

void TestApply::refusedValuesChangeNothing_data() {
    QTest::addColumn<QString>("tileWidth");
    QTest::addColumn<QString>("tileHeight");
    QTest::addColumn<QString>("mapWidth");
    QTest::addColumn<QString>("mapHeight");
    QTest::addColumn<QString>("limit");
    QTest::newRow("map width 0") << "16"
                                 << "16"
                                 << "0"
                                 << "50"
                                 << "8192";
    QTest::newRow("map width -5") << "16"
                                  << "16"
                                  << "-5"
                                  << "50"
                                  << "8192";
    QTest::newRow("map width 3.7") << "16"
                                   << "16"
                                   << "3.7"
                                   << "50"
                                   << "8192";
    QTest::newRow("map height 1e9") << "16"
                                    << "16"
                                    << "50"
                                    << "1e9"
                                    << "8192";
    QTest::newRow("map height 99999999999") << "16"
                                            << "16"
                                            << "50"
                                            << "99999999999"
                                            << "8192";
    QTest::newRow("map width 8193") << "16"
                                    << "16"
                                    << "8193"
                                    << "50"
                                    << "8192";
    QTest::newRow("too many cells") << "16"
                                    << "16"
                                    << "8192"
                                    << "8192"
                                    << "16777216";
    QTest::newRow("tile width 0") << "0"
                                  << "16"
                                  << "50"
                                  << "50"
                                  << "1024";
    QTest::newRow("tile height abc") << "16"
                                     << "abc"
                                     << "50"
                                     << "50"
                                     << "1024";
    QTest::newRow("tile width 1025") << "1025"
                                     << "16"
                                     << "50"
                                     << "50"
                                     << "1024";
    QTest::newRow("tile height blank") << "16"
                                       << ""
                                       << "50"
                                       << "50"
                                       << "1024";
}

void TestApply::refusedValuesChangeNothing() {
    QFETCH(QString, tileWidth);
    QFETCH(QString, tileHeight);
    QFETCH(QString, mapWidth);
    QFETCH(QString, mapHeight);
    QFETCH(QString, limit);
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    w.PlaceTile(0, 0, 0, 0, false);
    w.PlaceTile(99 * 32, 99 * 32, 99, 99, false);
    w.scbMainHorizontal->setValue(20);

    // The layer count in the same Apply would be valid; it is refused with the rest.
    Apply(w, "5", tileWidth, tileHeight, mapWidth, mapHeight);
    const QString message = w.lblStatus->text();
    QVERIFY2(message.contains(limit), qPrintable(message));
    // All of it can be read: the status line does not cut it off.
    QVERIFY2(w.lblStatus->fontMetrics().horizontalAdvance(message) <= w.lblStatus->contentsRect().width(),
             qPrintable(message));
    const QColor colour = w.lblStatus->palette().color(QPalette::WindowText);
    QVERIFY(colour.red() >= 150 && colour.green() < 100 && colour.blue() < 100);

    QCOMPARE(w.m_intLayers, 3);
    QVERIFY(!w.btnLayer[3]->isEnabled());
    QCOMPARE(w.cboEditLayer->count(), 3);
    QCOMPARE(w.m_VOTileset->TileWidth(), 32);
    QCOMPARE(w.m_VOTileset->TileHeight(), 32);
    QCOMPARE(w.m_intMapWidth, 100);
    QCOMPARE(w.m_intMapHeight, 100);
    for (int k = 0; k < 3; ++k)
        QVERIFY(w.Layer(k).SizedTo(100, 100));
    QVERIFY(w.Layer(3).SizedTo(1, 1));
    QVERIFY(w.Layer(0).Get(0, 0));
    QVERIFY(w.Layer(0).Get(99, 99));
    QCOMPARE(w.scbMainHorizontal->Maximum(), 84);
    QCOMPARE(w.m_intMapOffsetX, 20);

    // The message stays until the user moves over the map again, whatever Qt repaints meanwhile.
    w.canMain->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(w.lblStatus->text(), message);
    HoverAt(w, QPoint(40, 70));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("Plot X: 21 Y: 2"));
}

void TestApply::blanksAroundANumberAreAccepted() {
    EditorFixture f;
    Apply(f.window(), "3", " 12 ", " 20", " 12 ", "\t30 ");
    QCOMPARE(f->m_intMapWidth, 12);
    QCOMPARE(f->m_intMapHeight, 30);
    QCOMPARE(f->m_VOTileset->TileWidth(), 12);
    QCOMPARE(f->m_VOTileset->TileHeight(), 20);
    QVERIFY(f->Layer(2).SizedTo(12, 30));
    QCOMPARE(f->lblStatus->text(), QString());
}

QTEST_MAIN(TestApply)
#include "tst_apply.moc"
