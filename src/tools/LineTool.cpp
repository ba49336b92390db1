// The line tool: a line of tiles from the current cell to the stroke's start cell.
#include "map/MapView.h"
#include "tools/LineWalk.h"
#include "tools/Stroke.h"
#include "tools/ToolGeometry.h"

void Stroke::DrawLine(Graphics& g, const StrokeScene& scene) const {
    const PicturePtr picture = StampPicture(scene);
    if (!picture)
        return;
    const int tw = scene.view.ViewCellWidth();
    const int th = scene.view.ViewCellHeight();
    const QSize size = scene.view.ZoomedSize(*picture);
    const CellBounds paintable = PaintableCells(g.Width(), g.Height(), tw, th, size.width(), size.height());
    const QPoint anchor(m_intStartTileX, m_intStartTileY);
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY, [&](int x, int y) {
        if (Contains(paintable, x, y))
            DrawStampCell(g, scene, x, y, anchor);
    });
}

void Stroke::PlaceLine(const StrokeScene& scene) {
    WalkLine(m_intCurrentTileX, m_intCurrentTileY, m_intStartTileX, m_intStartTileY,
             [&](int x, int y) { PlaceAtVisibleCell(scene, x, y, false); });
}
