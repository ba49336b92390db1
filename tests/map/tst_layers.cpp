// The layer grids: start-up state, placing and removing cells, the edit layer, and the layer count changed
// through Apply.
#include "MapSteps.h"

#include <QtTest>

using namespace MapSteps;

class TestLayers : public QObject {
    Q_OBJECT
private slots:
    void startUpShowsAndEditsLayerZeroOnly();
    void placingAtTheEdgesAndOutside_data();
    void placingAtTheEdgesAndOutside();
    void placingTwiceKeepsTheSecondCopy();
    void placedCellsAreCopiesNotTheTemplate();
    void removingEmptiesOnlyInsideTheMap();
    void nothingIsPlacedWithoutASelectedTile();
    void hiddenEditLayerIsStillEdited();
    void layerCountDownThenUpEmptiesTheDroppedLayer();
    void oneLayerReleasesTheChosenLayerThenFiveComeBackHidden();
};

void TestLayers::startUpShowsAndEditsLayerZeroOnly() {
    EditorFixture f;
    for (int k = 0; k < 3; ++k)
        for (int row = 0; row < 100; ++row)
            for (int column = 0; column < 100; ++column)
                QVERIFY(!f->Layer(k).Get(column, row));
    for (int k = 0; k < 8; ++k) {
        BevelButton* button = f->btnLayer[k];
        QCOMPARE(button->toolTip(), QStringLiteral("View Layer %1").arg(k));
        QVERIFY(button->Icon());
        QCOMPARE(button->Icon(), k == 0 ? f->m_objVOLayerIcon->DownIcon(0) : f->m_objVOLayerIcon->UpIcon(k));
    }
    QCOMPARE(f->cboEditLayer->itemText(2), QStringLiteral("2"));
    QCOMPARE(f->btnViewGrid->toolTip(), QStringLiteral("View Grid"));
    QCOMPARE(f->btnViewGrid->Icon(), f->m_objVOGridIcon->DownIcon(0));
}

void TestLayers::placingAtTheEdgesAndOutside_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("stored");
    QTest::newRow("first cell") << 0 << 0 << true;
    QTest::newRow("last cell") << 99 << 99 << true;
    QTest::newRow("last column, first row") << 99 << 0 << true;
    QTest::newRow("column 100") << 100 << 50 << false;
    QTest::newRow("row 100") << 50 << 100 << false;
    QTest::newRow("column -1") << -1 << 50 << false;
    QTest::newRow("row -1") << 50 << -1 << false;
    QTest::newRow("far outside") << 100000 << 100000 << false;
}

void TestLayers::placingAtTheEdgesAndOutside() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, stored);
    EditorFixture f;
    f.LoadSolidTiles(3, 2);
    f->PlaceTile(column * 32, row * 32, column, row, false);
    int count = 0;
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 100; ++c)
            count += f->Layer(0).Get(c, r) ? 1 : 0;
    QCOMPARE(count, stored ? 1 : 0);
    if (stored) {
        const CellRef cell = f->Layer(0).Get(column, row);
        QVERIFY(cell);
        QCOMPARE(cell->ImageIndex(), std::int16_t(2));
        QCOMPARE(cell->X(), column * 32);
        QCOMPARE(cell->Y(), row * 32);
    }
    // The other layers stay untouched whatever the position.
    QVERIFY(!f->Layer(1).Get(std::clamp(column, 0, 99), std::clamp(row, 0, 99)));
}

void TestLayers::placingTwiceKeepsTheSecondCopy() {
    EditorFixture f;
    f.LoadSolidTiles(4, 1);
    ChooseEditLayer(f.window(), 2);
    QCOMPARE(f->m_Layer, 2);
    f->PlaceTile(7 * 32, 9 * 32, 7, 9, false);
    const CellRef first = f->Layer(2).Get(7, 9);
    QVERIFY(first);
    f.PickTile(3);
    f->PlaceTile(7 * 32, 9 * 32, 7, 9, false);
    const CellRef second = f->Layer(2).Get(7, 9);
    QVERIFY(second);
    QVERIFY(second != first);
    QCOMPARE(second->ImageIndex(), std::int16_t(3));
    QCOMPARE(second->ZOrder(), std::uint8_t(2));
    QCOMPARE(second->X(), 224);
    QCOMPARE(second->Y(), 288);
    QVERIFY(!f->Layer(0).Get(7, 9));
}

void TestLayers::placedCellsAreCopiesNotTheTemplate() {
    EditorFixture f;
    f.LoadSolidTiles(2, 0);
    const TileRef tile = f->m_VOTileset->SelectedTile();
    tile->SetCustom1(QStringLiteral("door"));
    tile->SetPassable(true);
    f->PlaceTile(0, 0, 0, 0, false);
    f->PlaceTile(32, 0, 1, 0, false);
    const CellRef a = f->Layer(0).Get(0, 0);
    const CellRef b = f->Layer(0).Get(1, 0);
    QVERIFY(a && b && a != b);
    QCOMPARE(a->Custom1(), QStringLiteral("door"));
    QVERIFY(a->Passable());
    // Changing the palette's tile later leaves what is on the map alone.
    tile->SetCustom1(QStringLiteral("wall"));
    QCOMPARE(a->Custom1(), QStringLiteral("door"));
    QCOMPARE(b->X(), 32);
    QCOMPARE(tile->X(), 0);
}

void TestLayers::removingEmptiesOnlyInsideTheMap() {
    EditorFixture f;
    f.LoadSolidTiles(1, 0);
    for (int c : {0, 99})
        for (int r : {0, 99})
            f->PlaceTile(c * 32, r * 32, c, r, false);
    f->RemoveTile(0, 0, 100, 99);
    f->RemoveTile(0, 0, -1, 0);
    f->RemoveTile(0, 0, 0, 100);
    f->RemoveTile(0, 0, 5, 5); // an empty cell
    for (int c : {0, 99})
        for (int r : {0, 99})
            QVERIFY(f->Layer(0).Get(c, r));
    f->RemoveTile(99 * 32, 99 * 32, 99, 99);
    QVERIFY(!f->Layer(0).Get(99, 99));
    QVERIFY(f->Layer(0).Get(0, 99));
    // Only the edit layer loses cells.
    ChooseEditLayer(f.window(), 1);
    f->PlaceTile(0, 0, 0, 0, false);
    f->RemoveTile(0, 0, 0, 0);
    QVERIFY(!f->Layer(1).Get(0, 0));
    QVERIFY(f->Layer(0).Get(0, 0));
}

void TestLayers::nothingIsPlacedWithoutASelectedTile() {
    EditorFixture f;
    f.LoadSolidTiles(2, -1);
    QVERIFY(!f->m_VOTileset->SelectedTile());
    f->PlaceTile(0, 0, 0, 0, false);
    QVERIFY(!f->Layer(0).Get(0, 0));
}

void TestLayers::hiddenEditLayerIsStillEdited() {
    EditorFixture f;
    f.LoadSolidTiles(2, 1);
    ChooseEditLayer(f.window(), 1);
    QVERIFY(!f->btnLayer[1]->Value());
    // The user paints cell (2, 3) with a drag on the hidden layer.
    StrokeThrough(f.window(), CellCentre(2, 3), {CellCentre(2, 3)});
    Input::Leave(f->canMain);
    const CellRef cell = f->Layer(1).Get(2, 3);
    QVERIFY(cell);
    QCOMPARE(cell->ZOrder(), std::uint8_t(1));
    QCOMPARE(MapPixel(f.window(), 2 * 32 + 10, 3 * 32 + 10), kBlack);
    f->btnLayer[1]->click();
    QVERIFY(f->btnLayer[1]->Value());
    QCOMPARE(MapPixel(f.window(), 2 * 32 + 10, 3 * 32 + 10), TileColour(f.window(), 1));
}

void TestLayers::layerCountDownThenUpEmptiesTheDroppedLayer() {
    EditorFixture f;
    frmMain& w = f.window();
    f.LoadSolidTiles(2, 0);
    w.btnLayer[2]->click();
    ChooseEditLayer(w, 2);
    StrokeThrough(w, CellCentre(4, 4), {CellCentre(4, 4), CellCentre(5, 4)});
    QVERIFY(w.Layer(2).Get(4, 4) && w.Layer(2).Get(5, 4));

    Apply(w, "2", "32", "32", "100", "100");
    QCOMPARE(w.m_intLayers, 2);
    QVERIFY(w.Layer(2).SizedTo(1, 1));
    QVERIFY(!w.btnLayer[2]->isEnabled());
    QVERIFY(!w.btnLayer[2]->Value());
    QCOMPARE(w.cboEditLayer->count(), 2);
    QCOMPARE(w.cboEditLayer->currentText(), QStringLiteral("0"));
    QCOMPARE(w.m_Layer, 0);

    Apply(w, "3", "32", "32", "100", "100");
    QCOMPARE(w.m_intLayers, 3);
    QVERIFY(w.Layer(2).SizedTo(100, 100));
    QVERIFY(!w.Layer(2).Get(4, 4));
    QVERIFY(!w.Layer(2).Get(5, 4));
    QVERIFY(w.btnLayer[2]->isEnabled());
    QVERIFY(!w.btnLayer[2]->Value());
    QCOMPARE(w.btnLayer[2]->Icon(), w.m_objVOLayerIcon->UpIcon(2));
    QCOMPARE(w.cboEditLayer->currentText(), QStringLiteral("0"));
    QCOMPARE(w.m_Layer, 0);
    // Painting now goes to layer 0, with that layer's number.
    StrokeThrough(w, CellCentre(1, 1), {CellCentre(1, 1)});
    QVERIFY(w.Layer(0).Get(1, 1));
    QCOMPARE(w.Layer(0).Get(1, 1)->ZOrder(), std::uint8_t(0));
    QVERIFY(!w.Layer(2).Get(1, 1));
}

void TestLayers::oneLayerReleasesTheChosenLayerThenFiveComeBackHidden() {
    EditorFixture f;
    frmMain& w = f.window();
    w.btnLayer[2]->click();
    QVERIFY(w.btnLayer[2]->Value());
    ChooseEditLayer(w, 2);
    QCOMPARE(w.m_Layer, 2);

    Apply(w, "1", "32", "32", "100", "100");
    QVERIFY(!w.btnLayer[2]->Value());
    QVERIFY(!w.btnLayer[2]->isEnabled());
    QCOMPARE(w.btnLayer[2]->Icon(), w.m_objVOLayerIcon->UpIcon(2));
    QVERIFY(!w.btnLayer[1]->isEnabled());
    QVERIFY(w.btnLayer[0]->isEnabled());
    QCOMPARE(w.cboEditLayer->count(), 1);
    QCOMPARE(w.cboEditLayer->currentText(), QStringLiteral("0"));
    QCOMPARE(w.m_Layer, 0);
    for (int k = 1; k < 8; ++k)
        QVERIFY(w.Layer(k).SizedTo(1, 1));

    // Layer 0 is hidden by the user before the count goes up: its state is kept, the others come back hidden.
    w.btnLayer[0]->click();
    QVERIFY(!w.btnLayer[0]->Value());
    Apply(w, "5", "32", "32", "100", "100");
    QVERIFY(!w.btnLayer[0]->Value());
    for (int k = 1; k < 8; ++k) {
        QCOMPARE(w.btnLayer[k]->isEnabled(), k < 5);
        QVERIFY(!w.btnLayer[k]->Value());
        QCOMPARE(w.Layer(k).SizedTo(100, 100), k < 5);
    }
    QCOMPARE(w.cboEditLayer->count(), 5);
    QCOMPARE(w.cboEditLayer->itemText(4), QStringLiteral("4"));
    QCOMPARE(w.cboEditLayer->currentText(), QStringLiteral("0"));
}

QTEST_MAIN(TestLayers)
#include "tst_layers.moc"
