#pragma once

// Shared by the window-level tool tests: strokes on the map canvas as the canvas reports them, and reading
// back what the edit layer and the drawn canvas hold.
#include "EditorFixture.h"
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

// The canvas pixel in the middle of visible cell (c, r); negative cells give pixels left of or above it.
inline QPoint CellMiddle(const frmMain& w, int c, int r) {
    const int tw = w.m_VOTileset->TileWidth();
    const int th = w.m_VOTileset->TileHeight();
    return {c * tw + tw / 2, r * th + th / 2};
}

// One stroke with the current tool: the pointer enters the canvas, comes to rest on the start cell, the
// button goes down there, the pointer is dragged, and the button is released where the last drag ended.
class Stroke {
public:
    Stroke(frmMain& w, int c, int r) : m_w(w), m_last(CellMiddle(w, c, r)) {
        m_w.canMain_MouseEnter();
        m_w.canMain_MouseMove(m_last.x(), m_last.y());
        m_w.canMain_MouseDown(m_last.x(), m_last.y());
    }
    void DragTo(int c, int r) { DragToPixel(CellMiddle(m_w, c, r)); }
    void DragToPixel(QPoint p) {
        m_last = p;
        m_w.canMain_MouseDrag(p.x(), p.y());
    }
    void Release() { m_w.canMain_MouseUp(m_last.x(), m_last.y()); }

private:
    frmMain& m_w;
    QPoint m_last;
};

// Press on visible cell (c0, r0), drag through the cells in between to (c1, r1) and release there.
inline void DragStroke(frmMain& w, int c0, int r0, int c1, int r1) {
    Stroke s(w, c0, r0);
    s.DragTo(c1, r1);
    s.Release();
}

// Press and release on one visible cell.
inline void Click(frmMain& w, int c, int r) {
    Stroke s(w, c, r);
    s.Release();
}

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
    w.canTiles_MouseEnter();
    w.canTiles_MouseMove(5, below);
    w.canTiles_MouseDown(5, below);
    w.canTiles_MouseExit();
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
