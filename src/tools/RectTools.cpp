// The rectangle tools: outline and filled, previewed with their frame and placed on release.
#include "map/MapView.h"
#include "platform/ClampToInt.h"
#include "platform/EditorColours.h"
#include "tools/RectShape.h"
#include "tools/Stroke.h"

void Stroke::DrawRect(Graphics& g, const StrokeScene& scene, bool outline) const {
    const int tw = scene.view.ViewCellWidth();
    const int th = scene.view.ViewCellHeight();
    const int ax = m_intStartTileX;
    const int ay = m_intStartTileY;
    const int cx = m_intCurrentTileX;
    const int cy = m_intCurrentTileY;
    if (const PicturePtr picture = StampPicture(scene)) {
        const QSize size = scene.view.ZoomedSize(*picture);
        const CellBounds paintable =
            PaintableCells(g.Width(), g.Height(), tw, th, size.width(), size.height());
        ForEachRectCell(NormaliseCorners(ax, ay, cx, cy), outline, paintable,
                        [&](int column, int row) { DrawStampCell(g, scene, column, row, QPoint(ax, ay)); });
    }
    g.ForeColor = kFrameColour;
    for (const FrameBar& bar : RectFrameBars(ax, ay, cx, cy, tw, th, outline))
        g.FillRect(bar.x, bar.y, bar.width, bar.height);
}

void Stroke::PlaceRect(const StrokeScene& scene, bool outline) {
    if (scene.stamp.Empty())
        return;
    const int ax = ClampToInt(std::int64_t{m_intStartTileX} + scene.view.OffsetX());
    const int ay = ClampToInt(std::int64_t{m_intStartTileY} + scene.view.OffsetY());
    const int cx = ClampToInt(std::int64_t{m_intCurrentTileX} + scene.view.OffsetX());
    const int cy = ClampToInt(std::int64_t{m_intCurrentTileY} + scene.view.OffsetY());
    // Only cells inside the map can be stored, so only those are visited.
    const CellBounds map{0, 0, scene.document.MapWidth() - 1, scene.document.MapHeight() - 1};
    ForEachRectCell(NormaliseCorners(ax, ay, cx, cy), outline, map,
                    [&](int column, int row) { PlaceTile(scene, column, row, false); });
}
