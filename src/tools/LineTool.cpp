// The line tool: a line of tiles from the current cell to the stroke's start cell.
#include "tools/LineWalk.h"
#include "tools/ToolGeometry.h"
#include "window/frmMain.h"

void frmMain::DrawLine(Graphics& g, const TileRef&) {
    const PicturePtr picture = StampPicture();
    if (!picture)
        return;
    const int tw = m_view.ViewCellWidth();
    const int th = m_view.ViewCellHeight();
    const QSize size = m_view.ZoomedSize(*picture);
    const CellBounds paintable = PaintableCells(g.Width(), g.Height(), tw, th, size.width(), size.height());
    const QPoint anchor(m_intStartTileX, m_intStartTileY);
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY, [&](int x, int y) {
        if (Contains(paintable, x, y))
            DrawStampCell(g, x, y, anchor);
    });
}

void frmMain::PlaceLine() {
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY,
             [&](int x, int y) { PlaceAtVisibleCell(x, y, false); });
}
