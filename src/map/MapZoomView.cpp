// Zooming the map view: the scale of its cells, drawing tile pictures at that scale, and changing the zoom
// with the cell under the pointer held in place.
#include "map/MapPainter.h"
#include "map/MapZoom.h"
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"
#include "platform/ScrollMath.h"
#include "window/frmMain.h"

int frmMain::ViewCellWidth() const {
    return ZoomedSide(TileWidthOrOne(), m_zoomPercent);
}

int frmMain::ViewCellHeight() const {
    return ZoomedSide(TileHeightOrOne(), m_zoomPercent);
}

int frmMain::TileWidthOrOne() const {
    return std::max(Document().TileWidth(), 1);
}
int frmMain::TileHeightOrOne() const {
    return std::max(Document().TileHeight(), 1);
}

std::pair<std::int64_t, std::int64_t> frmMain::MapCellUnder(int x, int y) const {
    return {CanvasToMapCell(x, ViewCellWidth(), m_intMapOffsetX),
            CanvasToMapCell(y, ViewCellHeight(), m_intMapOffsetY)};
}

QSize frmMain::ZoomedSize(const Picture& picture) const {
    return ZoomedPictureSize(picture.Image().size(), TileWidthOrOne(), TileHeightOrOne(), ViewCellWidth(),
                             ViewCellHeight());
}

void frmMain::DrawZoomed(Graphics& g, const Picture& picture, int slot, std::int64_t x, std::int64_t y) {
    MapPainter(Document(), m_zoomPercent, m_zoomed).DrawPicture(g, picture, slot, x, y);
}

QPoint frmMain::ZoomAnchor() const {
    if (m_blncanMainHasFocus && m_intDragMouseX >= 0 && m_intDragMouseY >= 0)
        return {m_intDragMouseX, m_intDragMouseY};
    return {canMain->width() / 2, canMain->height() / 2};
}

void frmMain::ZoomBy(int steps, QPoint anchor) {
    ZoomTo(ZoomStepped(m_zoomPercent, steps), anchor);
}

void frmMain::ZoomTo(int percent, QPoint anchor) {
    percent = ZoomStepped(percent, 0);
    if (percent == m_zoomPercent)
        return;
    // The start of a stroke was recorded in canvas pixels at the old scale: the stroke ends here, keeping
    // what a plot or erase stroke wrote.
    canMain->CancelStroke();
    const auto [column, row] = MapCellUnder(anchor.x(), anchor.y());
    m_zoomPercent = percent;
    // New visible counts and scroll ranges, then the offsets that keep the anchor's cell under it.
    RefreshMainScrollbars();
    m_intMapOffsetX = OffsetKeeping(column, anchor.x(), ViewCellWidth(), scbMainHorizontal->Maximum());
    m_intMapOffsetY = OffsetKeeping(row, anchor.y(), ViewCellHeight(), scbMainVertical->Maximum());
    scbMainHorizontal->SetValueQuietly(m_intMapOffsetX);
    scbMainVertical->SetValueQuietly(m_intMapOffsetY);
    m_zoomed.Clear();
    // The cursor's cell numbers follow the zoom; a report on the status line stays.
    RefreshKeepingReport();
}
