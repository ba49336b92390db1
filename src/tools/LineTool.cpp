// The line tool: a line of tiles from the current cell to the stroke's start cell.
#include "platform/Canvas.h"
#include "tools/LineWalk.h"
#include "tools/ToolGeometry.h"
#include "window/frmMain.h"

void frmMain::DrawLine(Graphics& g, const TileRef& tile) {
    if (!tile || !tile->Image())
        return;
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const Picture& picture = *tile->Image();
    const CellBounds paintable =
        PaintableCells(g.Width(), g.Height(), tw, th, picture.Width(), picture.Height());
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY, [&](int x, int y) {
        if (Contains(paintable, x, y))
            g.DrawPicture(picture, x * tw, y * th);
    });
}

void frmMain::PlaceLine() {
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY,
             [&](int x, int y) { PlaceAtVisibleCell(x, y, false); });
}
