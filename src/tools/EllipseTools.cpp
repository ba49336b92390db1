// The ellipse tools: an outline centred on the pointer's cell with the stroke's start cell at a corner of
// its bounding box; the filled variant fills the inside with the bounded fill.
#include "map/MapView.h"
#include "platform/BusyCursor.h"
#include "platform/ClampToInt.h"
#include "tools/EllipseOutline.h"
#include "tools/Stroke.h"
#include "tools/ToolGeometry.h"

#include <cstdlib>

namespace {
int Radius(int a, int b) {
    return ClampToInt(std::llabs(static_cast<long long>(a) - b));
}
} // namespace

void Stroke::DrawEllipse(Graphics& g, const StrokeScene& scene, bool filled) {
    if (scene.stamp.Empty())
        return;
    const MapView& view = scene.view;
    const int tw = view.ViewCellWidth();
    const int th = view.ViewCellHeight();
    const int rx = Radius(m_intStartTileX, m_intCurrentTileX);
    const int ry = Radius(m_intStartTileY, m_intCurrentTileY);
    const int cx = m_intCurrentTileX;
    const int cy = m_intCurrentTileY;
    m_blnTilemap.Reset(scene.document.MapWidth(), scene.document.MapHeight());
    const PicturePtr picture = StampPicture(scene);
    const QPoint anchor(m_intStartTileX, m_intStartTileY);
    const QSize size = picture ? view.ZoomedSize(*picture) : QSize(tw, th);
    const CellBounds paintable = PaintableCells(g.Width(), g.Height(), tw, th, size.width(), size.height());
    WalkEllipseOutline(rx, ry, [&](int dx, int dy) {
        const long long px = static_cast<long long>(cx) + dx;
        const long long py = static_cast<long long>(cy) + dy;
        const long long mx = px + view.OffsetX();
        const long long my = py + view.OffsetY();
        if (!view.InsideMap(mx, my))
            return;
        if (picture && Contains(paintable, px, py))
            DrawStampCell(g, scene, px, py, anchor);
        m_blnTilemap.Set(static_cast<int>(mx), static_cast<int>(my));
    });
    if (filled && (rx >= 1 || ry >= 1)) {
        const EllipseInterior interior(rx, ry);
        DrawFloodFill(g, scene, cx, cy, &interior);
    }
}

void Stroke::PlaceEllipse(const StrokeScene& scene, bool filled) {
    const int rx = Radius(m_intStartTileX, m_intCurrentTileX);
    const int ry = Radius(m_intStartTileY, m_intCurrentTileY);
    const std::int64_t x = m_intCurrentTileX;
    const std::int64_t y = m_intCurrentTileY;
    m_blnTilemap.Reset(scene.document.MapWidth(), scene.document.MapHeight());
    WalkEllipseOutline(rx, ry, [&](int dx, int dy) { PlaceAtVisibleCell(scene, x + dx, y + dy, filled); });
    if (!filled)
        return;
    const std::int64_t cx = x + scene.view.OffsetX();
    const std::int64_t cy = y + scene.view.OffsetY();
    // A centre outside the map leaves the outline alone: the fill could only start outside the map.
    if (scene.stamp.Empty() || !scene.view.InsideMap(cx, cy))
        return;
    // A large ellipse takes a while to fill; its preview shares the fill's marks, so the window is not let
    // repaint meanwhile, and the wait cursor says so.
    const BusyCursor busy;
    const EllipseInterior interior(rx, ry);
    FloodFill(scene, static_cast<int>(cx), static_cast<int>(cy), StampFill(scene.stamp), nullptr, true,
              &interior, nullptr);
}
