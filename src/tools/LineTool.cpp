// The line tool: a line of tiles from the current cell to the stroke's start cell.
#include "platform/Canvas.h"
#include "tools/LineWalk.h"
#include "tools/ToolGeometry.h"
#include "window/frmMain.h"

void frmMain::DrawLine(Graphics& g, const TileRef& tile) {
    if (!tile || !tile->Image())
        return;
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    const Picture& picture = *tile->Image();
    const QSize size = ZoomedSize(picture);
    const CellBounds paintable = PaintableCells(g.Width(), g.Height(), tw, th, size.width(), size.height());
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY, [&](int x, int y) {
        if (Contains(paintable, x, y))
            DrawZoomed(g, picture, tile->ImageIndex(), std::int64_t{x} * tw, std::int64_t{y} * th);
    });
}

void frmMain::PlaceLine() {
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY,
             [&](int x, int y) { PlaceAtVisibleCell(x, y, false); });
}
