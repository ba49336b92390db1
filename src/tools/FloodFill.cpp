// The flood fill: the fill tool's four modes over the edit layer, the filled ellipse's bounded fill and its
// preview. All of them walk the grid breadth first with the work list on the heap.
#include "tools/EllipseOutline.h"
#include "tools/FloodRegion.h"
#include "window/frmMain.h"

#include <algorithm>

void frmMain::FloodFill(bool bounded) {
    const long long x = static_cast<long long>(m_intCurrentTileX) + m_intMapOffsetX;
    const long long y = static_cast<long long>(m_intCurrentTileY) + m_intMapOffsetY;
    // A click beyond the map's last column or row has nothing to fill.
    if (!InsideMap(x, y))
        return;
    const CellRef target = GetVOCellFromLayer(static_cast<int>(x), static_cast<int>(y));
    m_blnTilemap.Reset(m_intMapWidth, m_intMapHeight);
    const TileRef& tile = m_VOTileset->SelectedTile();
    const CellRef fill = tile ? tile->Cell() : nullptr;
    FloodFill(static_cast<int>(x), static_cast<int>(y), fill, target, bounded);
    m_blnTilemap.Shrink();
}

void frmMain::FloodFill(int x, int y, const CellRef& fill, const CellRef& target, bool bounded,
                        const EllipseInterior* interior) {
    LayerGrid* grid = EditGrid();
    if (!grid || !InsideMap(x, y) || !grid->Inside(x, y))
        return;
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const int width = std::min(m_intMapWidth, grid->Width());
    const int height = std::min(m_intMapHeight, grid->Height());
    if (m_blnTilemap.Width() != m_intMapWidth || m_blnTilemap.Height() != m_intMapHeight)
        m_blnTilemap.Reset(m_intMapWidth, m_intMapHeight);
    // Cells written by the fill carry the pixel position of the place they go to.
    auto freshCopy = [&](int column, int row) {
        CellRef cell = fill->Copy();
        cell->SetX(column * tw);
        cell->SetY(row * th);
        grid->Set(column, row, std::move(cell));
    };
    auto nothing = [](int, int) {};
    const GridPoint start{x, y};
    const CellRef& startCell = grid->At(x, y);

    if (bounded) {
        if (!fill)
            return;
        freshCopy(x, y);
        const std::int16_t index = fill->ImageIndex();
        FloodRegion(width, height, start, m_blnTilemap, m_objLayer, nothing, [&](int column, int row) {
            if (interior && !interior->Contains(column - x, row - y))
                return false;
            if (const CellRef& existing = grid->At(column, row)) {
                existing->SetImageIndex(index);
                grid->Touch(column, row);
            } else {
                freshCopy(column, row);
            }
            return true;
        });
        return;
    }
    if (!startCell) {
        if (!fill)
            return;
        freshCopy(x, y);
        FloodRegion(width, height, start, m_blnTilemap, m_objLayer, nothing, [&](int column, int row) {
            if (grid->At(column, row))
                return false;
            freshCopy(column, row);
            return true;
        });
        return;
    }
    // Erase (no tile selected) or replace: the region of cells alike to the clicked one is emptied, or takes
    // the selected tile as a plot would place it. Alike is compared by picture index, read before anything
    // changes.
    if (fill && startCell->ImageIndex() == fill->ImageIndex())
        return;
    const std::int16_t alike = target ? target->ImageIndex() : startCell->ImageIndex();
    FloodRegion(
        width, height, start, m_blnTilemap, m_objLayer,
        [&](int column, int row) {
            if (fill)
                PlaceTile(column * tw, row * th, column, row, false);
            else
                grid->Set(column, row, nullptr);
        },
        [&](int column, int row) {
            const CellRef& cell = grid->At(column, row);
            return cell && cell->ImageIndex() == alike;
        });
}

void frmMain::DrawFloodFill(Graphics& g, const TileRef& tile, int x, int y, const EllipseInterior& interior) {
    if (!tile || !tile->Image())
        return;
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const Picture& picture = *tile->Image();
    // Points left of or above the canvas are dropped and do not spread.
    if (x < 0 || y < 0)
        return;
    const long long startX = static_cast<long long>(x) + m_intMapOffsetX;
    const long long startY = static_cast<long long>(y) + m_intMapOffsetY;
    if (!InsideMap(startX, startY))
        return;
    // Cells right of or below the canvas cannot show; they are walked only where they may still connect
    // visible cells to the centre (the inside is convex around the centre's row and column).
    const long long columnsShown = std::max<long long>(g.Width() / tw + 1, x + 1);
    const long long rowsShown = std::max<long long>(g.Height() / th + 1, y + 1);
    FloodRegion(
        m_intMapWidth, m_intMapHeight, GridPoint{static_cast<int>(startX), static_cast<int>(startY)},
        m_blnTilemap, m_objLayer,
        [&](int column, int row) {
            const long long px = column - m_intMapOffsetX;
            const long long py = row - m_intMapOffsetY;
            g.DrawPicture(picture, static_cast<int>(px * tw), static_cast<int>(py * th));
        },
        [&](int column, int row) {
            const long long px = column - static_cast<long long>(m_intMapOffsetX);
            const long long py = row - static_cast<long long>(m_intMapOffsetY);
            return px >= 0 && py >= 0 && px < columnsShown && py < rowsShown &&
                   interior.Contains(column - static_cast<int>(startX), row - static_cast<int>(startY));
        });
}
