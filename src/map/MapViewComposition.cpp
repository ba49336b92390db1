// The map view's picture: the layers and grid composed once and kept, recomposed only where cells changed or
// came into view, and copied into the canvas's buffer under the cursor and previews.
#include "document/MapDocument.h"
#include "map/MapPainter.h"
#include "map/MapView.h"
#include "platform/BusyCursor.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {
const QColor kGridColour(115, 200, 200);
// Tile pictures to draw from which composing the view shows the wait cursor.
constexpr std::int64_t kManyDraws = std::int64_t{1} << 18;
} // namespace

void MapView::CellsChanged(int layer, const QRect& cells) {
    // Cells of a layer that is not drawn change nothing on the canvas.
    if (LayerShown(layer))
        m_composition.MarkChanged(cells);
}

void MapView::Paint(QImage& picture, QSize canvas, const std::function<void(Graphics&)>& drawOver) {
    const bool composedChanged = ComposeLayers(canvas.expandedTo(QSize(1, 1)));
    BringUpToDate(picture, composedChanged);
    {
        Graphics g(picture);
        drawOver(g);
        m_composition.overlay = g.Touched() & picture.rect();
    }
    m_composition.bufferInSync = true;
}

void MapView::BringUpToDate(QImage& picture, bool composedChanged) const {
    const QImage& composed = m_composition.image;
    // The picture shown is the kept composition plus this Draw's cursor or preview; when only the cursor
    // moved, undoing the last one is all the copying needed.
    if (picture.size() != composed.size() || picture.format() != composed.format()) {
        picture = composed.copy();
    } else if (composedChanged || !m_composition.bufferInSync) {
        // Same size and layout: copy into the kept buffer rather than allocating a new picture each time.
        std::memcpy(picture.bits(), composed.constBits(), static_cast<std::size_t>(composed.sizeInBytes()));
    } else if (!m_composition.overlay.isEmpty()) {
        const QRect r = m_composition.overlay & picture.rect();
        const int bytes = r.width() * 4;
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(picture.scanLine(y) + r.left() * 4, composed.constScanLine(y) + r.left() * 4,
                        static_cast<std::size_t>(bytes));
    }
}

MapViewKey MapView::CurrentViewKey(QSize canvas) const {
    MapViewKey key;
    key.canvas = canvas;
    key.tileWidth = TileWidthOrOne();
    key.tileHeight = TileHeightOrOne();
    key.zoom = m_zoomPercent;
    key.offsetX = m_intMapOffsetX;
    key.offsetY = m_intMapOffsetY;
    key.mapWidth = m_document->MapWidth();
    key.mapHeight = m_document->MapHeight();
    key.visibleColumns = m_intTilemapVisibleColumns;
    key.visibleRows = m_intTilemapVisibleRows;
    for (int k = 0; k < 8; ++k)
        if (LayerShown(k))
            key.shownLayers |= 1u << k;
    key.grid = m_blnDrawGrid;
    key.tileCount = m_document->Tileset().Count();
    return key;
}

bool MapView::ComposeLayers(QSize canvas) {
    MapComposition& c = m_composition;
    const MapViewKey key = CurrentViewKey(canvas);
    bool full = !c.valid || c.image.size() != key.canvas || c.allChanged;
    if (!full && !(key == c.key)) {
        // A scroll by a few cells moves what is already composed; anything else composes anew.
        MapViewKey scrolled = key;
        scrolled.offsetX = c.key.offsetX;
        scrolled.offsetY = c.key.offsetY;
        full = !(scrolled == c.key) || !c.regular ||
               !ShiftComposition(key.offsetX - c.key.offsetX, key.offsetY - c.key.offsetY);
    }
    bool changed = full || !(key == c.key);
    if (!full && c.changedCount > 0) {
        changed = true;
        full = !c.regular || !RecomposeChanged();
    }
    if (full) {
        // Zoomed far out, a large canvas shows a great many cells: composing them all anew takes a moment.
        std::optional<BusyCursor> busy;
        if (std::int64_t{key.visibleColumns} * key.visibleRows * std::popcount(key.shownLayers) >= kManyDraws)
            busy.emplace();
        if (c.image.size() != key.canvas)
            c.image = QImage(key.canvas, QImage::Format_RGB32);
        c.regular = true;
        Graphics g(c.image);
        g.Painter().fillRect(c.image.rect(), Qt::black);
        DrawLayers(g);
        if (m_blnDrawGrid)
            DrawGridLines(g, c.image.rect());
    }
    c.ClearChanges();
    c.key = key;
    c.valid = true;
    return changed;
}

void MapView::DrawLayers(Graphics& g) {
    m_intTilemapOffsetX = TileWidthOrOne() * m_intMapOffsetX;
    m_intTilemapOffsetY = TileHeightOrOne() * m_intMapOffsetY;
    const QRect visible(m_intMapOffsetX, m_intMapOffsetY, m_intTilemapVisibleColumns,
                        m_intTilemapVisibleRows);
    MapPainter painter(*m_document, m_zoomPercent, m_zoomed);
    if (!painter.DrawCells(g, visible, painter.ToView({m_intTilemapOffsetX, m_intTilemapOffsetY})))
        m_composition.regular = false;
}

bool MapView::RecomposeChanged() {
    const QRect view(m_intMapOffsetX, m_intMapOffsetY, m_intTilemapVisibleColumns, m_intTilemapVisibleRows);
    long long cells = 0;
    for (int i = 0; i < m_composition.changedCount; ++i) {
        const QRect r = m_composition.changed[static_cast<std::size_t>(i)] & view;
        cells += static_cast<long long>(r.width()) * r.height();
    }
    // Recomposing cell by cell pays only while it is less than composing the whole view.
    if (cells > static_cast<long long>(view.width()) * view.height() / 2)
        return false;
    for (int i = 0; i < m_composition.changedCount; ++i) {
        const QRect r = m_composition.changed[static_cast<std::size_t>(i)] & view;
        for (int row = r.top(); row <= r.bottom(); ++row)
            for (int column = r.left(); column <= r.right(); ++column)
                if (!RecomposeCell(column, row))
                    return false;
    }
    return true;
}

bool MapView::RecomposeCell(int column, int row) {
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    const long long vx = static_cast<long long>(column) - m_intMapOffsetX;
    const long long vy = static_cast<long long>(row) - m_intMapOffsetY;
    if (vx < 0 || vy < 0 || vx >= m_intTilemapVisibleColumns || vy >= m_intTilemapVisibleRows)
        return true;
    const QRect area(static_cast<int>(vx) * tw, static_cast<int>(vy) * th, tw, th);
    Graphics g(m_composition.image);
    g.Painter().setClipRect(area);
    g.Painter().fillRect(area, Qt::black);
    MapPainter painter(*m_document, m_zoomPercent, m_zoomed);
    const QPoint origin = painter.ToView({m_intTilemapOffsetX, m_intTilemapOffsetY});
    if (InsideMap(column, row) && !painter.DrawCells(g, QRect(column, row, 1, 1), origin))
        return false;
    if (m_blnDrawGrid)
        DrawGridLines(g, area);
    return true;
}

bool MapView::ShiftComposition(int dx, int dy) {
    QImage& image = m_composition.image;
    const int w = image.width();
    const int h = image.height();
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    const long long sx = static_cast<long long>(dx) * tw;
    const long long sy = static_cast<long long>(dy) * th;
    if (std::llabs(sx) >= w || std::llabs(sy) >= h)
        return false;
    // Move what stays in view, then paint only the cells that come into view.
    const int keep = w - static_cast<int>(std::llabs(sx));
    const int from = sx > 0 ? static_cast<int>(sx) : 0;
    const int to = sx < 0 ? static_cast<int>(-sx) : 0;
    auto moveRow = [&](int y) {
        const uchar* source = image.constScanLine(y + static_cast<int>(sy));
        uchar* target = image.scanLine(y);
        std::memmove(target + to * 4, source + from * 4, static_cast<std::size_t>(keep) * 4);
    };
    if (sy >= 0)
        for (int y = 0; y < h - sy; ++y)
            moveRow(y);
    else
        for (int y = h - 1; y >= -sy; --y)
            moveRow(y);
    m_intTilemapOffsetX = TileWidthOrOne() * m_intMapOffsetX;
    m_intTilemapOffsetY = TileHeightOrOne() * m_intMapOffsetY;
    const int freshLeft = sx > 0 ? w - static_cast<int>(sx) : 0;
    const int freshRight = sx < 0 ? static_cast<int>(-sx) : 0;
    const int freshTop = sy > 0 ? h - static_cast<int>(sy) : 0;
    const int freshBottom = sy < 0 ? static_cast<int>(-sy) : 0;
    for (int vy = 0; vy < m_intTilemapVisibleRows; ++vy) {
        const bool rowFresh = (sy > 0 && (vy + 1) * th > freshTop) || (sy < 0 && vy * th < freshBottom);
        for (int vx = 0; vx < m_intTilemapVisibleColumns; ++vx) {
            const bool columnFresh =
                (sx > 0 && (vx + 1) * tw > freshLeft) || (sx < 0 && vx * tw < freshRight);
            if ((rowFresh || columnFresh) && !RecomposeCell(vx + m_intMapOffsetX, vy + m_intMapOffsetY))
                return false;
        }
    }
    return true;
}

void MapView::DrawGridLines(Graphics& g, const QRect& area) const {
    // Lines lie at whole multiples of the cell size on the canvas: scrolling moves the view by whole cells.
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    const int w = m_composition.image.width();
    const int h = m_composition.image.height();
    g.ForeColor = kGridColour;
    // Each line is a one-pixel bar from its first to its last pixel: the same pixels a one-pixel pen draws,
    // filled at the speed of a block fill rather than traced pixel by pixel.
    const int left = std::max(area.left(), 0);
    const int top = std::max(area.top(), 0);
    const int right = std::min(area.right() + 1, w);
    const int bottom = std::min(area.bottom() + 1, h);
    for (int y = 0; y <= h; y += th)
        if (y >= area.top() && y <= area.bottom())
            g.FillRect(left, y, std::int64_t(right) - left + 1, 1);
    for (int x = 0; x <= w; x += tw)
        if (x >= area.left() && x <= area.right())
            g.FillRect(x, top, 1, std::int64_t(bottom) - top + 1);
}
