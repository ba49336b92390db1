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
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVariant>
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

// Chooses the menu item of that object name, as its menu or its key would.
inline void ChooseItem(const char* name) {
    mnuMain::Instance()->Item(QLatin1String(name))->trigger();
}

// The whole map as the file would hold it, for comparing one state of the map with another.
inline MapSnapshot MapOf(const frmMain& w) {
    return TakeSnapshot(w.Document(), QString());
}

// Plain copies of every field of every stored cell, its place and layer included, by layer and index.
using StoredCells = std::map<std::pair<int, std::uint32_t>, CellRecord>;

inline StoredCells AllCells(const frmMain& w) {
    StoredCells cells;
    for (int k = 0; k < 8; ++k)
        for (std::uint32_t i = 0; i < w.Layer(k).Count(); ++i)
            if (const LayerGrid& grid = w.Layer(k); grid.AtIndex(i))
                cells[{k, i}] = RecordOf(grid.At(int(i) % grid.Width(), int(i) / grid.Width()));
    return cells;
}

// Clears the palette selection as a user does: a click on the palette where there is no tile.
inline void Deselect(frmMain& w) {
    const QPoint below(5, w.Controls().canTiles->height() - 5);
    Input::Enter(w.Controls().canTiles, below);
    Input::Move(w.Controls().canTiles, below);
    Input::Click(w.Controls().canTiles, below);
    Input::Leave(w.Controls().canTiles);
}

// The positions of a layer that hold a cell.
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
    const int tw = w.Tileset().TileWidth();
    const int th = w.Tileset().TileHeight();
    CellSet cells;
    for (int r = 0; r * th + th / 2 < canvas.height(); ++r)
        for (int c = 0; c * tw + tw / 2 < canvas.width(); ++c)
            if (canvas.pixel(c * tw + tw / 2, r * th + th / 2) == colour)
                cells.emplace(c, r);
    return cells;
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

// Gives tile i's template the values change makes of them, outside the history, to prepare a map for a test.
template <class Change> void ChangeTemplate(frmMain& w, int i, Change&& change) {
    const TileRef tile = w.Tileset().GetTile(i);
    CellValues values = tile->Template().Values();
    change(values.game);
    tile->SetCell(CellRef::Make(values));
}
