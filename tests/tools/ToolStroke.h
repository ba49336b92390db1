#pragma once

// Shared by the window-level tool tests: reading back what the edit layer and the drawn canvas hold.
#include "EditorFixture.h"
#include "MapInput.h"
#include "platform/Canvas.h"

#include <QImage>
#include <QLineEdit>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <set>
#include <utility>

// Cells as (column, row).
using CellSet = std::set<std::pair<int, int>>;

// Sets the map's size (and optionally the tile size and layer count) in the Map fields and presses Apply.
inline void ApplyMap(frmMain& w, int width, int height, int tileWidth = 32, int tileHeight = 32) {
    w.txtMapWidth->setText(QString::number(width));
    w.txtMapHeight->setText(QString::number(height));
    w.txtWidth->setText(QString::number(tileWidth));
    w.txtHeight->setText(QString::number(tileHeight));
    w.btnApply_Action();
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

// The visible cells whose middle pixel on the last drawn canvas shows the colour.
inline CellSet CellsShowing(const frmMain& w, QRgb colour) {
    const QImage& canvas = w.canMain->Buffer();
    const int tw = w.m_VOTileset->TileWidth();
    const int th = w.m_VOTileset->TileHeight();
    CellSet cells;
    for (int r = 0; r * th + th / 2 < canvas.height(); ++r)
        for (int c = 0; c * tw + tw / 2 < canvas.width(); ++c)
            if (canvas.pixel(c * tw + tw / 2, r * th + th / 2) == colour)
                cells.emplace(c, r);
    return cells;
}

// The colour of palette tile i's picture (the test sheets are one colour per tile).
inline QRgb TileColour(const frmMain& w, int i) {
    const PicturePtr picture = w.m_VOTileset->GetTileImage(i);
    return picture->Image().pixel(picture->Width() / 2, picture->Height() / 2);
}

inline CellSet Shifted(const CellSet& cells, int dx, int dy) {
    CellSet out;
    for (const auto& [c, r] : cells)
        out.emplace(c + dx, r + dy);
    return out;
}

inline CellSet Within(const CellSet& cells, int left, int top, int right, int bottom) {
    CellSet out;
    for (const auto& [c, r] : cells)
        if (c >= left && c <= right && r >= top && r <= bottom)
            out.emplace(c, r);
    return out;
}

// A readable form for comparisons, so a failure shows which cells differ.
inline QString Describe(const CellSet& cells) {
    QStringList parts;
    for (const auto& [c, r] : cells)
        parts << QStringLiteral("(%1,%2)").arg(c).arg(r);
    return parts.join(QLatin1Char(' '));
}

// Clears the palette selection as a user does: a click on the palette where there is no tile.
inline void Deselect(frmMain& w) {
    const int below = w.canTiles->height() - 5;
    Input::Enter(w.canTiles, QPoint(5, below));
    Input::Move(w.canTiles, QPoint(5, below));
    Input::Click(w.canTiles, QPoint(5, below));
    Input::Leave(w.canTiles);
}

// Stores a copy of tile i's cell at (c, r) of layer n as a placement would, to prepare a map for a test.
inline CellRef Put(frmMain& w, int n, int c, int r, int i) {
    CellRef cell = w.m_VOTileset->GetTile(i)->Cell();
    cell->SetX(c * w.m_VOTileset->TileWidth());
    cell->SetY(r * w.m_VOTileset->TileHeight());
    cell->SetZOrder(static_cast<std::uint8_t>(n));
    w.Layer(n).Set(c, r, cell);
    return cell;
}
