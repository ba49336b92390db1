// The tile palette as a user meets it: hovering and picking tiles through the canvas's handlers, the frames
// drawn for the selected, hovered and other tiles, returning from the eraser, and scrolling by whole rows.
#include "EditorFixture.h"
#include "MapInput.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>

namespace {

const QRgb kLightBlue = qRgb(160, 215, 255);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kLightGrey = qRgb(200, 200, 200);
const QRgb kDarkGrey = qRgb(100, 100, 100);

// The one tile that shows the hover frame, -1 for none; fails when two tiles claim the mouse.
int FocusedTile(EditorFixture& f) {
    int found = -1;
    for (int i = 0; i < f->m_VOTileset->Count(); ++i) {
        if (f->m_VOTileset->GetTile(i)->MouseFocus) {
            if (found >= 0)
                return -2;
            found = i;
        }
    }
    return found;
}

int SelectedIndex(EditorFixture& f) {
    const TileRef& selected = f->m_VOTileset->SelectedTile();
    return selected ? int(selected->ImageIndex()) : -1;
}

void HoverAt(EditorFixture& f, int x, int y) {
    Input::Enter(f->canTiles, QPoint(x, y));
    Input::Move(f->canTiles, QPoint(x, y));
}

void ClickAt(EditorFixture& f, int x, int y) {
    HoverAt(f, x, y);
    Input::Click(f->canTiles, QPoint(x, y));
}

QRgb Pixel(EditorFixture& f, int x, int y) {
    return f->canTiles->Buffer().pixel(x, y) | 0xFF000000u;
}

int CountPixels(EditorFixture& f, QRgb colour) {
    const QImage& image = f->canTiles->Buffer();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == colour ? 1 : 0;
    return n;
}

QRgb TileColour(EditorFixture& f, int i) {
    return f->m_VOTileset->GetTileImage(i)->Image().pixel(0, 0) | 0xFF000000u;
}

struct Probe {
    int x, y;
    QRgb colour;
    const char* what;
};

// Every probe's pixel must have its colour; a failure names the probe.
bool CheckProbes(EditorFixture& f, std::initializer_list<Probe> probes, QString* why) {
    for (const Probe& p : probes) {
        const QRgb got = Pixel(f, p.x, p.y);
        if (got != (p.colour | 0xFF000000u)) {
            *why = QStringLiteral("%1 at (%2, %3): got %4, want %5")
                       .arg(QLatin1String(p.what))
                       .arg(p.x)
                       .arg(p.y)
                       .arg(got, 8, 16, QLatin1Char('0'))
                       .arg(p.colour | 0xFF000000u, 8, 16, QLatin1Char('0'));
            return false;
        }
    }
    return true;
}

void Wheel(Canvas* canvas, int angleY) {
    QWheelEvent event(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, angleY), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(canvas, &event);
}

} // namespace

class TestPalette : public QObject {
    Q_OBJECT
private slots:
    void hoverFindsTheTileUnderTheMouse_data();
    void hoverFindsTheTileUnderTheMouse();
    void clickingTheSelectedTileOrEmptySpaceClears();
    void framesShowSelectionHoverAndRest();
    void selectedTileKeepsItsBlueFramesWhileHovered();
    void leavingThePaletteRemovesTheHover();
    void pickingATileLeavesTheEraser();
    void hundredTilesScrollByWholeRows();
    void scrolledPaletteDrawsAndPicksFromTheFirstShownRow();
    void realWheelEventsScrollTheRightWay();
    void growingTallerPullsTheScrollPositionIntoRange();
    void sixtyTilesNeedNoScrollBar();
    void tilesWiderThanThePaletteArePickedAndPlotted_data();
    void tilesWiderThanThePaletteArePickedAndPlotted();
};

void TestPalette::hoverFindsTheTileUnderTheMouse_data() {
    // Tile 1 of a row of 32 x 32 tiles spans x 52 to 84 and y 10 to 42, edges included.
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("tile");
    QTest::newRow("top left corner") << 52 << 10 << 1;
    QTest::newRow("middle") << 68 << 26 << 1;
    QTest::newRow("right edge line") << 84 << 26 << 1;
    QTest::newRow("bottom right corner") << 84 << 42 << 1;
    QTest::newRow("just right of the edge: gap") << 85 << 26 << -1;
    QTest::newRow("last pixel of the gap") << 93 << 26 << -1;
    QTest::newRow("next tile's left edge") << 94 << 26 << 2;
    QTest::newRow("gap left of the tile") << 51 << 26 << -1;
    QTest::newRow("below the tile") << 68 << 43 << -1;
    QTest::newRow("top margin") << 68 << 9 << -1;
    QTest::newRow("first tile at the margin") << 10 << 10 << 0;
    QTest::newRow("second row, first tile") << 10 << 52 << 6;
    QTest::newRow("row gap") << 10 << 47 << -1;
    QTest::newRow("right of the last slot") << 262 << 26 << -1;
}

void TestPalette::hoverFindsTheTileUnderTheMouse() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, tile);
    EditorFixture f;
    QCOMPARE(f->canTiles->size(), QSize(270, 402));
    f.LoadSolidTiles(8, -1);
    HoverAt(f, x, y);
    QCOMPARE(f->m_intTilesMouseX, x);
    QCOMPARE(f->m_intTilesMouseY, y);
    QCOMPARE(FocusedTile(f), tile);
    // The click picks exactly what the hover showed.
    Input::Click(f->canTiles, QPoint(x, y));
    QCOMPARE(SelectedIndex(f), tile);
}

void TestPalette::clickingTheSelectedTileOrEmptySpaceClears() {
    EditorFixture f;
    f.LoadSolidTiles(8, -1);
    ClickAt(f, 100, 20);
    QCOMPARE(SelectedIndex(f), 2);
    // A second click on it: it never carries the hover, so the click finds none and clears.
    ClickAt(f, 110, 30);
    QCOMPARE(SelectedIndex(f), -1);
    ClickAt(f, 110, 30);
    QCOMPARE(SelectedIndex(f), 2);
    // A click in the gap clears as well.
    ClickAt(f, 89, 30);
    QCOMPARE(SelectedIndex(f), -1);
    // A press with no move before it (the pointer left over a dialog and came back) picks the tile under it,
    // not the one the last hover found.
    HoverAt(f, 100, 20);
    Input::Leave(f->canTiles);
    Input::Press(f->canTiles, QPoint(20, 20));
    Input::Release(f->canTiles, QPoint(20, 20));
    QCOMPARE(SelectedIndex(f), 0);
}

void TestPalette::framesShowSelectionHoverAndRest() {
    EditorFixture f;
    f.LoadSolidTiles(8, 1);
    HoverAt(f, 150, 20); // over tile 3, at x 136
    QCOMPARE(FocusedTile(f), 3);
    const QRgb background = Pixel(f, 0, 0);
    QString why;
    // Tile 1 (x 52, y 10) is selected: round rectangle 47..88 x 5..46 filled light blue and outlined blue,
    // inner rectangle 51..84 x 9..42 outlined blue, the picture over it.
    QVERIFY2(CheckProbes(f,
                         {{47, 26, kBlue, "selected outline, left"},
                          {88, 26, kBlue, "selected outline, right"},
                          {68, 5, kBlue, "selected outline, top"},
                          {68, 46, kBlue, "selected outline, bottom"},
                          {48, 26, kLightBlue, "selected fill, left"},
                          {50, 26, kLightBlue, "selected fill, left"},
                          {86, 26, kLightBlue, "selected fill, right"},
                          {68, 7, kLightBlue, "selected fill, top"},
                          {68, 44, kLightBlue, "selected fill, bottom"},
                          {51, 26, kBlue, "selected inner, left"},
                          {84, 26, kBlue, "selected inner, right"},
                          {68, 9, kBlue, "selected inner, top"},
                          {68, 42, kBlue, "selected inner, bottom"},
                          {52, 10, TileColour(f, 1), "selected tile's picture"},
                          {83, 41, TileColour(f, 1), "selected tile's picture"},
                          {46, 26, background, "left of the selected frame"},
                          {89, 26, background, "right of the selected frame"}},
                         &why),
             qPrintable(why));
    // Tile 3 (x 136) is hovered: the same shapes in light and dark grey.
    QVERIFY2(CheckProbes(f,
                         {{131, 26, kDarkGrey, "hover outline, left"},
                          {172, 26, kDarkGrey, "hover outline, right"},
                          {152, 5, kDarkGrey, "hover outline, top"},
                          {152, 46, kDarkGrey, "hover outline, bottom"},
                          {133, 26, kLightGrey, "hover fill, left"},
                          {170, 26, kLightGrey, "hover fill, right"},
                          {152, 7, kLightGrey, "hover fill, top"},
                          {135, 26, kDarkGrey, "hover inner, left"},
                          {168, 26, kDarkGrey, "hover inner, right"},
                          {152, 42, kDarkGrey, "hover inner, bottom"},
                          {136, 10, TileColour(f, 3), "hovered tile's picture"}},
                         &why),
             qPrintable(why));
    // Tile 0 (x 10) is neither: a dark grey small round rectangle 7..44 x 7..44, nothing filled.
    QVERIFY2(CheckProbes(f,
                         {{7, 26, kDarkGrey, "plain outline, left"},
                          {44, 26, kDarkGrey, "plain outline, right"},
                          {26, 7, kDarkGrey, "plain outline, top"},
                          {26, 44, kDarkGrey, "plain outline, bottom"},
                          {5, 26, background, "outside the plain outline"},
                          {8, 26, background, "inside the plain outline"},
                          {9, 9, background, "inside the plain outline"},
                          {43, 26, background, "inside the plain outline"},
                          {10, 10, TileColour(f, 0), "plain tile's picture"}},
                         &why),
             qPrintable(why));
    // The corners are rounded: the outermost corner pixel of each round rectangle stays clear.
    QCOMPARE(Pixel(f, 47, 5), background);
    QCOMPARE(Pixel(f, 131, 5), background);
    QCOMPARE(Pixel(f, 7, 7), background);
    // Only one tile is selected and one hovered: each fill colour belongs to one frame.
    QCOMPARE(CountPixels(f, kLightGrey), CountPixels(f, kLightBlue));
}

void TestPalette::selectedTileKeepsItsBlueFramesWhileHovered() {
    EditorFixture f;
    f.LoadSolidTiles(8, 1);
    HoverAt(f, 68, 26);
    QCOMPARE(FocusedTile(f), -1);
    QString why;
    QVERIFY2(CheckProbes(f,
                         {{47, 26, kBlue, "outline"},
                          {49, 26, kLightBlue, "fill"},
                          {51, 26, kBlue, "inner"},
                          {84, 42, kBlue, "inner corner"}},
                         &why),
             qPrintable(why));
    QCOMPARE(CountPixels(f, kLightGrey), 0);
}

void TestPalette::leavingThePaletteRemovesTheHover() {
    EditorFixture f;
    f.LoadSolidTiles(8, -1);
    HoverAt(f, 150, 20);
    QCOMPARE(Pixel(f, 134, 26), kLightGrey);
    // Moving into the gap takes the frame away at once.
    f->canTiles_MouseMove(173, 20);
    QCOMPARE(FocusedTile(f), -1);
    QCOMPARE(CountPixels(f, kLightGrey), 0);
    HoverAt(f, 150, 20);
    f->canTiles_MouseExit();
    QCOMPARE(FocusedTile(f), -1);
    QCOMPARE(CountPixels(f, kLightGrey), 0);
    QCOMPARE(Pixel(f, 134, 26), Pixel(f, 0, 0));
    // Moves while the mouse is outside draw nothing and leave the position alone.
    f->canTiles_MouseMove(68, 26);
    QCOMPARE(f->m_intTilesMouseX, 150);
    QCOMPARE(FocusedTile(f), -1);
}

void TestPalette::pickingATileLeavesTheEraser() {
    EditorFixture f;
    f.LoadSolidTiles(8, -1);
    f->btnTool[2]->click();
    f->btnTool[1]->click();
    QCOMPARE(f->m_intCurrentTool, 1);
    QVERIFY(f->btnTool[1]->Value());
    f.PickTile(3);
    QCOMPARE(SelectedIndex(f), 3);
    QCOMPARE(f->m_intCurrentTool, 2);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(f->btnTool[i]->Value(), i == 2);
    // With another tool current a pick changes no tool.
    f.PickTile(5);
    QCOMPARE(SelectedIndex(f), 5);
    QCOMPARE(f->m_intCurrentTool, 2);
    QVERIFY(f->btnTool[2]->Value());
}

void TestPalette::hundredTilesScrollByWholeRows() {
    EditorFixture f;
    f.LoadSolidTiles(100, 40);
    QCOMPARE(f->m_intTileRowCount, 17);
    QCOMPARE(f->m_intTotalVisibleRows, 10);
    QCOMPARE(f->scbTilesVertical->Maximum(), 8);
    QVERIFY(f->scbTilesVertical->isEnabled());
    QCOMPARE(f->m_VOTileset->GetTile(99)->DisplayRow, 16);
    f->m_intTilesOffsetY = 0;
    f->scbTilesVertical->SetValueQuietly(0);

    // Down one row per notch, stopping at the bar's maximum.
    int expected = 0;
    for (int i = 0; i < 10; ++i) {
        Input::Wheel(f->canTiles, QPoint(30, 30), QPoint(0, -120));
        expected = std::min(expected + 1, 8);
        QCOMPARE(f->m_intTilesOffsetY, expected);
        QCOMPARE(f->scbTilesVertical->Value(), expected);
    }
    // Up, stopping at 0.
    for (int i = 0; i < 10; ++i) {
        Input::Wheel(f->canTiles, QPoint(30, 30), QPoint(0, 120));
        expected = std::max(expected - 1, 0);
        QCOMPARE(f->m_intTilesOffsetY, expected);
        QCOMPARE(f->scbTilesVertical->Value(), expected);
    }
    // The selection survives scrolling.
    QCOMPARE(SelectedIndex(f), 40);
    // The bar itself moves the palette too.
    f->scbTilesVertical->setValue(5);
    QCOMPARE(f->m_intTilesOffsetY, 5);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 30));
}

void TestPalette::scrolledPaletteDrawsAndPicksFromTheFirstShownRow() {
    EditorFixture f;
    f.LoadSolidTiles(100, -1);
    f->scbTilesVertical->setValue(3);
    QCOMPARE(f->m_intTilesOffsetY, 3);
    // Row 3 begins with tile 18, now drawn at the margin; rows 0 to 2 are not drawn at all.
    QCOMPARE(f->m_VOTileset->GetTile(18)->DisplayRow, 3);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 18));
    QCOMPARE(Pixel(f, 41, 41), TileColour(f, 18));
    QCOMPARE(Pixel(f, 220, 10), TileColour(f, 23));
    for (int i = 0; i < 18; ++i)
        QCOMPARE(CountPixels(f, TileColour(f, i)), 0);
    // Hover and click follow the drawing: the partly shown tenth row holds tiles 72 to 77.
    ClickAt(f, 26, 26);
    QCOMPARE(SelectedIndex(f), 18);
    ClickAt(f, 60, 10 + 9 * 42 + 5);
    QCOMPARE(SelectedIndex(f), 73);
}

void TestPalette::realWheelEventsScrollTheRightWay() {
    EditorFixture f;
    f.LoadSolidTiles(100, -1);
    // Turning the wheel towards the user (negative angle in Qt) scrolls down, away from the user up.
    Wheel(f->canTiles, -120);
    Wheel(f->canTiles, -120);
    QCOMPARE(f->m_intTilesOffsetY, 2);
    Wheel(f->canTiles, 120);
    QCOMPARE(f->m_intTilesOffsetY, 1);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 6));
}

void TestPalette::growingTallerPullsTheScrollPositionIntoRange() {
    EditorFixture f;
    f.LoadSolidTiles(100, -1);
    f->scbTilesVertical->setValue(8);
    QCOMPARE(f->m_intTilesOffsetY, 8);
    // 100 more pixels of canvas show Ceil(502 / 42) = 12 rows: the range shrinks to 17 - 12 + 1 = 6.
    f->resize(f->width(), f->height() + 100);
    QCOMPARE(f->canTiles->height(), 502);
    QCOMPARE(f->m_intTotalVisibleRows, 12);
    QCOMPARE(f->scbTilesVertical->Maximum(), 6);
    QCOMPARE(f->m_intTilesOffsetY, 6);
    QCOMPARE(f->scbTilesVertical->Value(), 6);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 36));
    // Back to the first size: the range grows again and the rows shown stay where they are.
    f->resize(f->width(), f->height() - 100);
    QCOMPARE(f->scbTilesVertical->Maximum(), 8);
    QCOMPARE(f->m_intTilesOffsetY, 6);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 36));
}

void TestPalette::sixtyTilesNeedNoScrollBar() {
    EditorFixture f;
    f.LoadSolidTiles(60, -1);
    QCOMPARE(f->m_intTileRowCount, 10);
    QCOMPARE(f->m_intTotalVisibleRows, 10);
    QCOMPARE(f->scbTilesVertical->Maximum(), 0);
    QVERIFY(!f->scbTilesVertical->isEnabled());
    Input::Wheel(f->canTiles, QPoint(30, 30), QPoint(0, -120));
    QCOMPARE(f->m_intTilesOffsetY, 0);
    // The last tile ends row 9, the partly shown last row.
    QCOMPARE(f->m_VOTileset->GetTile(59)->DisplayRow, 9);
    QCOMPARE(Pixel(f, 220 + 31, 401), TileColour(f, 59));
}

void TestPalette::tilesWiderThanThePaletteArePickedAndPlotted_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("400 pixels") << 400;
    QTest::newRow("1024 pixels") << 1024;
}

void TestPalette::tilesWiderThanThePaletteArePickedAndPlotted() {
    QFETCH(int, size);
    EditorFixture f;
    f->txtWidth->setText(QString::number(size));
    f->txtHeight->setText(QString::number(size));
    QTest::mouseClick(f->btnApply, Qt::LeftButton);
    f.LoadTiles(QStringLiteral("big.png"), MakeTileSheet(2 * size, size, size, size));
    // Each tile has a row of its own, at the margin; the first row is not left empty.
    QCOMPARE(f->m_VOTileset->GetTile(0)->DisplayRow, 0);
    QCOMPARE(f->m_VOTileset->GetTile(1)->DisplayRow, 1);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 0));
    Wheel(f->canTiles, -120);
    QCOMPARE(Pixel(f, 10, 10), TileColour(f, 1));
    QCOMPARE(Pixel(f, 269, 401), TileColour(f, 1));
    // Pick it with the mouse anywhere on its visible part, then plot it on the map.
    QTest::mouseMove(f->canMain, QPoint(300, 300));
    QTest::mouseMove(f->canTiles, QPoint(200, 300));
    QTest::mouseClick(f->canTiles, Qt::LeftButton, Qt::NoModifier, QPoint(200, 300));
    QCOMPARE(SelectedIndex(f), 1);
    QTest::mouseMove(f->canMain, QPoint(100, 100));
    QTest::mouseClick(f->canMain, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    const CellRef cell = f->Layer(0).Get(0, 0);
    QVERIFY(cell);
    QCOMPARE(int(cell->ImageIndex()), 1);
    QTest::mouseMove(f->canTiles, QPoint(200, 300)); // off the map: the cursor goes, the cell shows
    QCOMPARE(f->canMain->Buffer().pixel(100, 100) | 0xFF000000u, TileColour(f, 1));
}

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
