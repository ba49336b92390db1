#pragma once

// What a user does on the editor besides strokes (choosing tools, layers and menu items, Apply, clearing the
// selection), and reading back what the map holds and the drawn map canvas shows.
#include "EditorFixture.h"
#include "MapInput.h"
#include "document/CellRecords.h"
#include "document/SnapshotGatherer.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "window/mnuMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QVariant>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <utility>

// Values joined by spaces, so one comparison shows every value that differs.
template <class... T> QString Say(const T&... v) {
    return QStringList{QVariant(v).toString()...}.join(' ');
}

// Cells as (column, row).
using CellSet = std::set<std::pair<int, int>>;

// The editor's own colours, written out here so a changed colour is noticed.
inline const QColor kGridPixel(115, 200, 200);
inline const QColor kFramePixel(153, 80, 80);

inline void ChooseTool(frmMain& w, Tool tool) {
    w.Controls().btnTool[static_cast<std::size_t>(ToolIndex(tool))]->click();
}

// Picks an edit layer in the popup as a user does; the popup's change event chooses the grid.
inline void ChooseEditLayer(frmMain& w, int layer) {
    w.Controls().cboEditLayer->setCurrentIndex(w.Controls().cboEditLayer->findText(QString::number(layer)));
}

// Fills in the Map Properties page and presses Apply.
inline void Apply(frmMain& w, const QString& layers, const QString& tileWidth, const QString& tileHeight,
                  const QString& mapWidth, const QString& mapHeight) {
    w.Controls().cboMapLayers->setCurrentIndex(w.Controls().cboMapLayers->findText(layers));
    w.Controls().txtWidth->setText(tileWidth);
    w.Controls().txtHeight->setText(tileHeight);
    w.Controls().txtMapWidth->setText(mapWidth);
    w.Controls().txtMapHeight->setText(mapHeight);
    w.Controls().btnApply->click();
}

// Makes the window the active one, as shortcuts need; false when it does not become so.
inline bool Activate(frmMain& w) {
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// A key typed as the platform delivers it: to the widget with the keyboard focus, else to the window.
inline void Type(frmMain& w, int key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &w, Qt::Key(key), held);
}

// Palette tile i's top left corner by the flow rule: a new row where the slot would end within 10 pixels of
// the edge.
inline QPoint PaletteSlot(const frmMain& w, int i) {
    const int tw = w.Tileset().TileWidth(), th = w.Tileset().TileHeight();
    int x = -tw, row = 0;
    for (int j = 0; j <= i; ++j)
        if (w.Controls().canTiles->width() < (x += tw + 10) + tw + 10)
            x = 10, ++row;
    return {x, 10 + (row - w.Palette().TilesOffsetY()) * (th + 10)};
}

// The middle of palette tile i.
inline QPoint PaletteTile(const frmMain& w, int i) {
    return PaletteSlot(w, i) + QPoint(w.Tileset().TileWidth() / 2, w.Tileset().TileHeight() / 2);
}

// On the palette: the pointer comes in at from, the left button goes down there and comes up at to (a click
// when no other point is given), and the pointer leaves.
inline void PaletteStroke(frmMain& w, QPoint from, std::optional<QPoint> to = std::nullopt) {
    Input::Enter(w.Controls().canTiles, from);
    Input::Move(w.Controls().canTiles, from);
    Input::Press(w.Controls().canTiles, from);
    if (to)
        Input::Move(w.Controls().canTiles, *to, Qt::LeftButton);
    Input::Release(w.Controls().canTiles, to.value_or(from));
    Input::Leave(w.Controls().canTiles);
}

// The map canvas as drawn with no cursor on it.
inline QImage ShownMap(frmMain& w) {
    Input::Leave(w.Controls().canMain);
    return w.Controls().canMain->Buffer().copy();
}

// Chooses the menu item of that object name, as its menu or its key would.
inline void ChooseItem(const char* name) {
    mnuMain::Instance()->Item(QLatin1String(name))->trigger();
}

// The whole map as the file would hold it, for comparing one state of the map with another.
inline MapSnapshot MapOf(const frmMain& w) {
    return TakeSnapshot(w.Document(), QString());
}

// Plain copies of every field of every stored cell, its place and layer included, by layer and index.
inline auto AllCells(const frmMain& w) {
    std::map<std::pair<int, std::uint32_t>, CellRecord> cells;
    for (int k = 0; k < 8; ++k)
        for (std::uint32_t i = 0; i < w.Layer(k).Count(); ++i)
            if (const LayerGrid& grid = w.Layer(k); grid.AtIndex(i))
                cells[{k, i}] = RecordOf(grid.At(int(i) % grid.Width(), int(i) / grid.Width()));
    return cells;
}

inline CellSet Occupied(const LayerGrid& grid) {
    CellSet cells;
    for (int r = 0; r < grid.Height(); ++r)
        for (int c = 0; c < grid.Width(); ++c)
            if (grid.At(c, r))
                cells.emplace(c, r);
    return cells;
}

// The colour of a pixel of the picture the last Draw left on the map canvas.
inline QRgb MapPixel(const frmMain& w, int x, int y) {
    return w.Controls().canMain->Buffer().pixel(x, y);
}

// The colour of palette tile i's picture (the test sheets are one colour per tile).
inline QRgb TileColour(const frmMain& w, int i) {
    const PicturePtr picture = w.Tileset().GetTileImage(i);
    return picture->Image().pixel(picture->Width() / 2, picture->Height() / 2);
}

// The visible cells whose middle pixel on the last drawn canvas shows the colour.
inline CellSet CellsShowing(const frmMain& w, QRgb colour) {
    const QImage& canvas = w.Controls().canMain->Buffer();
    const int tw = w.Tileset().TileWidth(), th = w.Tileset().TileHeight();
    CellSet cells;
    for (int r = 0; r * th + th / 2 < canvas.height(); ++r)
        for (int c = 0; c * tw + tw / 2 < canvas.width(); ++c)
            if (canvas.pixel(c * tw + tw / 2, r * th + th / 2) == colour)
                cells.emplace(c, r);
    return cells;
}

// Where the map canvas, the pointer away, differs from the map drawn here from its cells (empty: nowhere):
// black, the shown layers' cells from the lowest layer up, each tile's picture scaled to the view's cells
// (one cut at another tile size spills over its neighbours), then the grid lines. Shrunk pictures are
// averaged: below 100 % a channel may round one step off.
inline QString DiffersFromRule(const frmMain& w) {
    const QImage& drawn = w.Controls().canMain->Buffer();
    QImage image(drawn.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    const int tw = w.Tileset().TileWidth(), th = w.Tileset().TileHeight();
    const int cw = w.View().ViewCellWidth(), ch = w.View().ViewCellHeight();
    const int ox = w.View().OffsetX(), oy = w.View().OffsetY();
    for (int r = oy; r < oy + (image.height() + ch - 1) / ch && r < w.MapHeight(); ++r)
        for (int c = ox; c < ox + (image.width() + cw - 1) / cw && c < w.MapWidth(); ++c)
            for (int k = 0; k < w.Layers(); ++k)
                if (const PlacedCell cell =
                        w.Controls().btnLayer[k]->Value() ? w.Layer(k).Get(c, r) : PlacedCell()) {
                    const QImage& tile = w.Tileset().GetTileImage(cell->ImageIndex())->Image();
                    p.drawImage(
                        QRect((c - ox) * cw, (r - oy) * ch, tile.width() * cw / tw, tile.height() * ch / th),
                        tile);
                }
    for (int y = 0; w.View().DrawsGrid() && y <= image.height(); y += ch)
        p.fillRect(0, y, image.width(), 1, kGridPixel);
    for (int x = 0; w.View().DrawsGrid() && x <= image.width(); x += cw)
        p.fillRect(x, 0, 1, image.height(), kGridPixel);
    const int off = w.View().ZoomPercent() < 100 ? 1 : 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb a = drawn.pixel(x, y), b = image.pixel(x, y);
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))}) > off)
                return Say("pixel", x, y, QString::number(a, 16));
    return QString();
}

// A readable form for comparisons, so a failure shows which cells differ.
inline QString Describe(const CellSet& cells) {
    QStringList parts;
    for (const auto& [c, r] : cells)
        parts << QStringLiteral("(%1,%2)").arg(c).arg(r);
    return parts.join(QLatin1Char(' '));
}

// Places tile i at (c, r) of layer n as a plot would, to prepare a map for a test; given values, the cell
// then takes them as Cell Properties gives them.
inline void Put(frmMain& w, int n, int c, int r, int i, const std::optional<GameValues>& values = {}) {
    MapDocument::CellEdit edit(w.Document(), QStringLiteral("Put"));
    edit.Place(n, c, r, i);
    if (values)
        edit.SetValues(n, c, r, *values);
    edit.Commit();
}
