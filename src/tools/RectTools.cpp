// The rectangle tools: outline and filled, previewed with their frame and placed on release.
#include "platform/ClampToInt.h"
#include "platform/EditorColours.h"
#include "tools/RectShape.h"
#include "window/frmMain.h"

void frmMain::PreviewRect(Graphics& g, const TileRef&, bool outline) {
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    const int ax = m_intStartTileX;
    const int ay = m_intStartTileY;
    const int cx = m_intCurrentTileX;
    const int cy = m_intCurrentTileY;
    if (const PicturePtr picture = StampPicture()) {
        const QSize size = ZoomedSize(*picture);
        const CellBounds paintable =
            PaintableCells(g.Width(), g.Height(), tw, th, size.width(), size.height());
        ForEachRectCell(NormaliseCorners(ax, ay, cx, cy), outline, paintable,
                        [&](int column, int row) { DrawStampCell(g, column, row, QPoint(ax, ay)); });
    }
    g.ForeColor = kFrameColour;
    for (const FrameBar& bar : RectFrameBars(ax, ay, cx, cy, tw, th, outline))
        g.FillRect(bar.x, bar.y, bar.width, bar.height);
}

void frmMain::CommitRect(bool outline) {
    if (m_stamp.Empty())
        return;
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const int ax = ClampToInt(std::int64_t{m_intStartTileX} + m_intMapOffsetX);
    const int ay = ClampToInt(std::int64_t{m_intStartTileY} + m_intMapOffsetY);
    const int cx = ClampToInt(std::int64_t{m_intCurrentTileX} + m_intMapOffsetX);
    const int cy = ClampToInt(std::int64_t{m_intCurrentTileY} + m_intMapOffsetY);
    // Only cells inside the map can be stored, so only those are visited.
    const CellBounds map{0, 0, MapWidth() - 1, MapHeight() - 1};
    ForEachRectCell(NormaliseCorners(ax, ay, cx, cy), outline, map,
                    [&](int column, int row) { PlaceTile(column * tw, row * th, column, row, false); });
}

void frmMain::DrawRectOutline(Graphics& g, const TileRef& tile) {
    PreviewRect(g, tile, true);
}

void frmMain::DrawRectFill(Graphics& g, const TileRef& tile) {
    PreviewRect(g, tile, false);
}

void frmMain::PlaceRectOutline() {
    CommitRect(true);
}

void frmMain::PlaceRectFill() {
    CommitRect(false);
}
