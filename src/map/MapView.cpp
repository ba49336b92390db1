// The map view's scale, scrolling and zoom.
#include "map/MapView.h"

#include "document/MapDocument.h"
#include "map/MapPainter.h"
#include "map/MapZoom.h"
#include "platform/ScrollMath.h"

#include <algorithm>

namespace {
// Qt's angle units in one notch of an ordinary wheel.
constexpr int kNotch = 120;

// One step along one axis in the wheel's direction, kept within 0 .. maximum.
int WheelStepped(int offset, int delta, int maximum) {
    if (delta < 0 && offset > 0)
        return offset - 1;
    if (delta > 0 && offset < maximum)
        return offset + 1;
    return offset;
}
} // namespace

MapView::MapView(const MapDocument& document) : m_document(&document) {}

void MapView::SetDocument(const MapDocument& document) {
    m_document = &document;
    m_intMapOffsetX = 0;
    m_intMapOffsetY = 0;
    m_composition.MarkAllChanged();
}

int MapView::TileWidthOrOne() const {
    return std::max(m_document->TileWidth(), 1);
}

int MapView::TileHeightOrOne() const {
    return std::max(m_document->TileHeight(), 1);
}

int MapView::ViewCellWidth() const {
    return ZoomedSide(TileWidthOrOne(), m_zoomPercent);
}

int MapView::ViewCellHeight() const {
    return ZoomedSide(TileHeightOrOne(), m_zoomPercent);
}

std::pair<std::int64_t, std::int64_t> MapView::MapCellUnder(int x, int y) const {
    return {CanvasToMapCell(x, ViewCellWidth(), m_intMapOffsetX),
            CanvasToMapCell(y, ViewCellHeight(), m_intMapOffsetY)};
}

bool MapView::InsideMap(std::int64_t column, std::int64_t row) const {
    return column >= 0 && row >= 0 && column < m_document->MapWidth() && row < m_document->MapHeight();
}

bool MapView::LayerShown(int k) const {
    const MapDocument& d = *m_document;
    return d.LayerInUse(k) && d.Layer(k).SizedTo(d.MapWidth(), d.MapHeight()) && d.LayerVisible(k);
}

void MapView::FitTo(QSize canvas) {
    m_intTilemapVisibleColumns = VisibleCells(canvas.width(), ViewCellWidth());
    m_intTilemapVisibleRows = VisibleCells(canvas.height(), ViewCellHeight());
    m_maximumX = ScrollMaximum(m_document->MapWidth(), m_intTilemapVisibleColumns);
    m_maximumY = ScrollMaximum(m_document->MapHeight(), m_intTilemapVisibleRows);
    ScrollTo(m_intMapOffsetX, m_intMapOffsetY);
}

void MapView::ScrollTo(int x, int y) {
    m_intMapOffsetX = std::clamp(x, 0, m_maximumX);
    m_intMapOffsetY = std::clamp(y, 0, m_maximumY);
}

bool MapView::WheelStep(int deltaX, int deltaY) {
    ScrollTo(WheelStepped(m_intMapOffsetX, deltaX, m_maximumX),
             WheelStepped(m_intMapOffsetY, deltaY, m_maximumY));
    return m_maximumX > 0 || m_maximumY > 0;
}

bool MapView::ZoomKeeping(int percent, QPoint anchor, QSize canvas) {
    percent = ZoomStepped(percent, 0);
    if (percent == m_zoomPercent)
        return false;
    const auto [column, row] = MapCellUnder(anchor.x(), anchor.y());
    m_zoomPercent = percent;
    // New visible counts and ranges, then the offsets that keep the anchor's cell under it.
    FitTo(canvas);
    ScrollTo(OffsetKeeping(column, anchor.x(), ViewCellWidth(), m_maximumX),
             OffsetKeeping(row, anchor.y(), ViewCellHeight(), m_maximumY));
    m_zoomed.Clear();
    return true;
}

int MapView::ZoomStepsOfWheel(int delta) {
    // Small turns of a fine wheel add up to whole steps; a turn the other way starts afresh.
    if ((m_zoomWheelRest > 0 && delta < 0) || (m_zoomWheelRest < 0 && delta > 0))
        m_zoomWheelRest = 0;
    m_zoomWheelRest += delta;
    const int steps = m_zoomWheelRest / kNotch;
    m_zoomWheelRest -= steps * kNotch;
    return steps;
}

void MapView::DrawZoomed(Graphics& g, const Picture& picture, int slot, std::int64_t x,
                         std::int64_t y) const {
    MapPainter(*m_document, m_zoomPercent, m_zoomed).DrawPicture(g, picture, slot, x, y);
}

QSize MapView::ZoomedSize(const Picture& picture) const {
    return ZoomedPictureSize(picture.Image().size(), TileWidthOrOne(), TileHeightOrOne(), ViewCellWidth(),
                             ViewCellHeight());
}
