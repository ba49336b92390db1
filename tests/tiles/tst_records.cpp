// Cell and tile records: value copies that never share state, the tile's template cell, the widths of the
// properties, and the tileset's numbering and selection.
#include "tiles/clsVOTileset.h"

#include <QtTest>
#include <type_traits>

namespace {

// The twelve values of a cell, for comparing two cells field by field.
struct CellValues {
    std::int32_t x, y;
    std::int16_t width, height, listIndex, imageIndex, imageValue;
    QString custom1, custom2;
    std::uint8_t zOrder;
    bool passable, destroyable;
    bool operator==(const CellValues&) const = default;
};

CellValues ValuesOf(const clsVOCell& c) {
    return {c.X(),          c.Y(),       c.Width(),   c.Height(), c.ListIndex(), c.ImageIndex(),
            c.ImageValue(), c.Custom1(), c.Custom2(), c.ZOrder(), c.Passable(),  c.Destroyable()};
}

// A cell whose every field differs from its initial value.
CellRef FilledCell() {
    auto cell = CellRef::Make();
    cell->SetX(-640);
    cell->SetY(96);
    cell->SetWidth(3);
    cell->SetHeight(-4);
    cell->SetListIndex(5);
    cell->SetImageIndex(32767);
    cell->SetImageValue(-32768);
    cell->SetCustom1(QStringLiteral("abc"));
    cell->SetCustom2(QStringLiteral("door"));
    cell->SetZOrder(255);
    cell->SetPassable(true);
    cell->SetDestroyable(true);
    return cell;
}

// Changes every field of a cell.
void Scribble(clsVOCell& c) {
    c.SetX(c.X() + 1);
    c.SetY(c.Y() + 1);
    c.SetWidth(static_cast<std::int16_t>(c.Width() + 1));
    c.SetHeight(static_cast<std::int16_t>(c.Height() + 1));
    c.SetListIndex(static_cast<std::int16_t>(c.ListIndex() + 1));
    c.SetImageIndex(static_cast<std::int16_t>(c.ImageIndex() - 1));
    c.SetImageValue(static_cast<std::int16_t>(c.ImageValue() + 1));
    c.SetCustom1(c.Custom1() + QStringLiteral("!"));
    c.SetCustom2(c.Custom2() + QStringLiteral("?"));
    c.SetZOrder(static_cast<std::uint8_t>(c.ZOrder() - 1));
    c.SetPassable(!c.Passable());
    c.SetDestroyable(!c.Destroyable());
}

PicturePtr Solid(QRgb colour) {
    auto picture = NewPicture(4, 4, 32);
    picture->Image().fill(colour);
    return picture;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void newCellHoldsInitialValues();
    void propertiesHaveTheirWidths();
    void cellCopyIsIndependent();
    void tileCellGetGivesAFreshCopyEachTime();
    void tileCellSetStoresTheReference();
    void tileCopySharesThePictureOnly();
    void poolGivesMemoryBackAndKeepsTextsApart();
    void tilesetNumbersTilesAndGuardsItsRange();
    void selectionFollowsTheFirstFocusedTile();
};

void TestRecords::newCellHoldsInitialValues() {
    const CellRef cell = CellRef::Make();
    QCOMPARE(ValuesOf(*cell), (CellValues{0, 0, 0, 0, 0, 0, 0, {}, {}, 0, false, false}));
    // A new tile starts with a template cell of initial values and palette state cleared.
    const clsVOTile tile(nullptr);
    QCOMPARE(ValuesOf(*tile.Cell()), ValuesOf(*cell));
    QVERIFY(!tile.Selected);
    QVERIFY(!tile.MouseFocus);
    QCOMPARE(tile.DisplayRow, 0);
}

void TestRecords::propertiesHaveTheirWidths() {
    QVERIFY((std::is_same_v<decltype(CellRef::Make()->ImageIndex()), std::int16_t>));
    QVERIFY((std::is_same_v<decltype(CellRef::Make()->Width()), std::int16_t>));
    QVERIFY((std::is_same_v<decltype(CellRef::Make()->ZOrder()), std::uint8_t>));
    QVERIFY((std::is_same_v<decltype(CellRef::Make()->X()), std::int32_t>));
    QVERIFY((std::is_same_v<decltype(clsVOTile(nullptr).ImageIndex()), std::int16_t>));
    // The whole range of tile numbers and of layer numbers survives a round trip.
    const CellRef held = CellRef::Make();
    clsVOCell& cell = *held;
    for (const int index : {0, 1, 32767}) {
        cell.SetImageIndex(static_cast<std::int16_t>(index));
        QCOMPARE(int(cell.ImageIndex()), index);
    }
    for (const int z : {0, 7, 255}) {
        cell.SetZOrder(static_cast<std::uint8_t>(z));
        QCOMPARE(int(cell.ZOrder()), z);
    }
    cell.SetX(-2147483647 - 1);
    QCOMPARE(cell.X(), -2147483647 - 1);
}

void TestRecords::cellCopyIsIndependent() {
    // The case a user meets first: a text and a flag.
    auto source = CellRef::Make();
    source->SetCustom1(QStringLiteral("abc"));
    source->SetPassable(true);
    CellRef copy = source->Copy();
    QVERIFY(copy);
    QVERIFY(copy != source);
    QCOMPARE(ValuesOf(*copy), ValuesOf(*source));
    copy->SetCustom1(QStringLiteral("xyz"));
    QCOMPARE(source->Custom1(), QStringLiteral("abc"));
    QVERIFY(source->Passable());

    // Every one of the twelve fields is carried over, and none is shared afterwards.
    const CellRef filled = FilledCell();
    const CellValues before = ValuesOf(*filled);
    CellRef second = filled->Copy();
    QCOMPARE(ValuesOf(*second), before);
    Scribble(*second);
    QCOMPARE(ValuesOf(*filled), before);
    QVERIFY(ValuesOf(*second) != before);
    // …and the other way round.
    const CellValues copied = ValuesOf(*second);
    Scribble(*filled);
    QCOMPARE(ValuesOf(*second), copied);
}

void TestRecords::tileCellGetGivesAFreshCopyEachTime() {
    clsVOTile tile(Solid(qRgb(1, 2, 3)));
    tile.SetCell(FilledCell());
    const CellValues template_ = ValuesOf(*tile.Cell());
    const CellRef a = tile.Cell();
    const CellRef b = tile.Cell();
    QVERIFY(a != b);
    QCOMPARE(ValuesOf(*a), ValuesOf(*b));
    a->SetX(12345);
    Scribble(*b);
    QCOMPARE(tile.X(), -640);
    QCOMPARE(ValuesOf(*tile.Cell()), template_);
}

void TestRecords::tileCellSetStoresTheReference() {
    clsVOTile tile(Solid(qRgb(1, 2, 3)));
    auto cell = CellRef::Make();
    tile.SetCell(cell);
    // Changes through the stored cell show through the tile, and the tile forwards to that same cell.
    cell->SetX(7);
    QCOMPARE(tile.X(), 7);
    tile.SetImageIndex(5);
    QCOMPARE(int(tile.ImageIndex()), 5);
    QCOMPARE(int(cell->ImageIndex()), 5);
    QCOMPARE(int(tile.Cell()->ImageIndex()), 5);
    tile.SetCustom2(QStringLiteral("key"));
    QCOMPARE(cell->Custom2(), QStringLiteral("key"));
}

void TestRecords::tileCopySharesThePictureOnly() {
    const PicturePtr picture = Solid(qRgb(9, 8, 7));
    clsVOTile source(picture);
    source.SetCell(FilledCell());
    source.Selected = true;
    source.MouseFocus = true;
    source.DisplayRow = 4;
    const CellValues template_ = ValuesOf(*source.Cell());

    const TileRef copy = source.Copy();
    QVERIFY(copy);
    QCOMPARE(copy->Image(), picture);
    QCOMPARE(ValuesOf(*copy->Cell()), template_);
    QVERIFY(!copy->Selected);
    QVERIFY(!copy->MouseFocus);
    QCOMPARE(copy->DisplayRow, 0);
    // Separate template cells: a change on one side never reaches the other.
    copy->SetX(1);
    copy->SetCustom1(QStringLiteral("changed"));
    QCOMPARE(ValuesOf(*source.Cell()), template_);
    source.SetImageIndex(0);
    QCOMPARE(int(copy->ImageIndex()), 32767);
}

void TestRecords::tilesetNumbersTilesAndGuardsItsRange() {
    clsVOTileset tileset;
    QCOMPARE(tileset.Count(), 0);
    QVERIFY(!tileset.GetTile(0));
    QVERIFY(!tileset.SelectedTile());
    std::vector<PicturePtr> pictures;
    for (int i = 0; i < 5; ++i) {
        pictures.push_back(Solid(qRgb(i, 0, 0)));
        tileset.Add(pictures.back());
    }
    QCOMPARE(tileset.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(int(tileset.GetTile(i)->ImageIndex()), i);
        QCOMPARE(tileset.GetTileImage(i), pictures[static_cast<std::size_t>(i)]);
        const CellRef cell = tileset.GetTile(i)->Cell();
        QCOMPARE(cell->X(), 0);
        QCOMPARE(cell->Custom1(), QString());
    }
    for (const int outside : {-1, 5, 6, -2147483647 - 1, 2147483647}) {
        QVERIFY(!tileset.GetTile(outside));
        QVERIFY(!tileset.GetTileImage(outside));
    }
    // Setting the tile size leaves loaded tiles alone.
    tileset.SetTileWidth(16);
    tileset.SetTileHeight(8);
    QCOMPARE(tileset.TileWidth(), 16);
    QCOMPARE(tileset.TileHeight(), 8);
    QCOMPARE(tileset.GetTileImage(0)->Width(), 4);
}

void TestRecords::selectionFollowsTheFirstFocusedTile() {
    clsVOTileset tileset;
    for (int i = 0; i < 4; ++i)
        tileset.Add(Solid(qRgb(0, i, 0)));
    tileset.GetTile(2)->MouseFocus = true;
    tileset.GetTile(3)->MouseFocus = true;
    tileset.SelectTileUnderMouse();
    QCOMPARE(tileset.SelectedTile(), tileset.GetTile(2));
    // Focus gone: the click clears the selection.
    tileset.GetTile(2)->MouseFocus = false;
    tileset.GetTile(3)->MouseFocus = false;
    tileset.SelectTileUnderMouse();
    QVERIFY(!tileset.SelectedTile());
}

// Cells live in pool slabs with their texts beside them: many cells across several slabs keep their own
// values and texts, and once they are all gone the slabs are returned (one empty slab may be kept).
void TestRecords::poolGivesMemoryBackAndKeepsTextsApart() {
    const std::size_t before = CellPool::SlabCount();
    {
        std::vector<CellRef> cells;
        for (int i = 0; i < 300000; ++i) {
            cells.push_back(CellRef::Make());
            cells.back()->SetX(i);
            if (i % 1000 == 1)
                cells.back()->SetCustom1(QString::number(i));
        }
        QVERIFY(CellPool::SlabCount() >= before + 3);
        // Free every other cell, then make copies that refill the freed slots.
        for (std::size_t i = 0; i < cells.size(); i += 2)
            cells[i] = cells[i + 1]->Copy();
        for (int i = 0; i < 300000; ++i) {
            const int expected = i % 2 == 0 ? i + 1 : i;
            QCOMPARE(cells[std::size_t(i)]->X(), expected);
            QCOMPARE(cells[std::size_t(i)]->Custom1(),
                     expected % 1000 == 1 ? QString::number(expected) : QString());
            QCOMPARE(cells[std::size_t(i)].use_count(), 1L);
        }
    }
    QVERIFY(CellPool::SlabCount() <= std::max<std::size_t>(before, 1));
}

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
