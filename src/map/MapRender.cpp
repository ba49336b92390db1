// Drawing the map with its grid and the tool's cursor or preview, and scrolling by whole cells.
#include "map/MapPainter.h"
#include "map/MapZoom.h"
#include "platform/BevelButton.h"
#include "platform/BusyCursor.h"
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "platform/ScrollBar.h"
#include "platform/ScrollMath.h"
#include "tools/StampPattern.h"
#include "window/frmMain.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {
const QColor kGridColour(115, 200, 200);
const QColor kEraseFill(245, 180, 180);
// Tile pictures to draw from which composing the view shows the wait cursor.
constexpr std::int64_t kManyDraws = std::int64_t{1} << 18;
} // namespace

bool frmMain::LayerShown(int k) const {
    return Document().LayerInUse(k) && Layer(k).SizedTo(MapWidth(), MapHeight()) &&
           Document().LayerVisible(k);
}

void frmMain::Refresh() {
    // Opening sets up the grid, the layers and the scroll ranges one after another, each ending in a
    // Refresh; the one at the end of opening shows them all, so the ones before it would only be thrown away.
    if (m_blnOpening)
        return;
    UpdateStrokeCells();
    Draw();
    // A step too large for the history was done but cannot be undone: the user hears of it at once.
    const QString tooLarge = Document().Steps().TakeTooLargeStep();
    if (!tooLarge.isEmpty())
        UpdateStatus(QStringLiteral("%1 cannot be undone: too large for the history").arg(tooLarge),
                     kFailureColour, 0);
    else {
        UpdateStatus(CursorStatus(), QColor(0, 0, 0), 0);
        m_statusFromCursor = true;
    }
}

void frmMain::RefreshKeepingReport() {
    if (m_statusFromCursor) {
        Refresh();
    } else if (!m_blnOpening) {
        UpdateStrokeCells();
        Draw();
    }
}

QString frmMain::CursorStatus() const {
    if (m_intMouseX < 0 || m_intMouseY < 0 || !m_blncanMainHasFocus)
        return QString();
    const std::int64_t column = qint64(m_intCurrentTileX) + m_intMapOffsetX;
    const std::int64_t row = qint64(m_intCurrentTileY) + m_intMapOffsetY;
    QStringList parts;
    if (m_intCurrentTool == kSelectTool) {
        const QRect& s = m_selection;
        parts << (s.isEmpty() ? QStringLiteral("Select X: %1 Y: %2").arg(column).arg(row)
                              : QStringLiteral("Select X: %1 Y: %2 W: %3 H: %4")
                                    .arg(s.left())
                                    .arg(s.top())
                                    .arg(s.width())
                                    .arg(s.height()));
    }
    if (m_intCurrentTool == 0 || m_intCurrentTool == 1)
        parts << QStringLiteral("%1 X: %2 Y: %3")
                     .arg(m_intCurrentTool == 0 ? QStringLiteral("Plot") : QStringLiteral("Erase"))
                     .arg(column)
                     .arg(row);
    // The pointer is the cursor of every tool, so whatever the tool the user sees a cell with values of
    // its own as such.
    const QStringList unlike = UnlikeItsTile(m_Layer, column, row);
    if (!unlike.isEmpty())
        parts << QStringLiteral("unlike its tile: %1").arg(unlike.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral(" — "));
}

void frmMain::Draw() {
    if (m_blnOpening)
        return;
    const TileRef tile = Palette().SelectedTile();

    const bool composedChanged = ComposeLayers();
    QImage& picture = canMain->Buffer();
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
    {
        Graphics g(picture);
        if (m_intMouseX >= 0 && m_intMouseY >= 0 && m_blncanMainHasFocus && m_drag == Drag::None)
            DrawCursorOrPreview(g, tile);
        DrawSelection(g);
        m_composition.overlay = g.Touched() & picture.rect();
    }
    m_composition.bufferInSync = true;
    canMain->Present();
}

MapViewKey frmMain::CurrentViewKey() const {
    MapViewKey key;
    key.canvas = canMain->size().expandedTo(QSize(1, 1));
    key.tileWidth = TileWidthOrOne();
    key.tileHeight = TileHeightOrOne();
    key.zoom = m_zoomPercent;
    key.offsetX = m_intMapOffsetX;
    key.offsetY = m_intMapOffsetY;
    key.mapWidth = MapWidth();
    key.mapHeight = MapHeight();
    key.visibleColumns = m_intTilemapVisibleColumns;
    key.visibleRows = m_intTilemapVisibleRows;
    for (int k = 0; k < 8; ++k)
        if (LayerShown(k))
            key.shownLayers |= 1u << k;
    key.grid = m_blnDrawGrid;
    key.tileCount = Tileset().Count();
    return key;
}

bool frmMain::ComposeLayers() {
    MapComposition& c = m_composition;
    const MapViewKey key = CurrentViewKey();
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

bool frmMain::RecomposeChanged() {
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

bool frmMain::RecomposeCell(int column, int row) {
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
    MapPainter painter(Document(), m_zoomPercent, m_zoomed);
    const QPoint origin = painter.ToView({m_intTilemapOffsetX, m_intTilemapOffsetY});
    if (InsideMap(column, row) && !painter.DrawCells(g, QRect(column, row, 1, 1), origin))
        return false;
    if (m_blnDrawGrid)
        DrawGridLines(g, area);
    return true;
}

bool frmMain::ShiftComposition(int dx, int dy) {
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

void frmMain::DrawGridLines(Graphics& g, const QRect& area) {
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

void frmMain::DrawCursorOrPreview(Graphics& g, const TileRef& tile) {
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    // 64-bit edges: a cursor far off the canvas must not wrap around into view.
    const qint64 px = qint64(m_intCurrentTileX) * tw;
    const qint64 py = qint64(m_intCurrentTileY) * th;
    auto frame = [&] {
        g.ForeColor = kFrameColour;
        g.FillRect(px, py - 2, tw, 2);
        g.FillRect(px, py + th, tw, 2);
        g.FillRect(px - 2, py, 2, th);
        g.FillRect(px + tw, py, 2, th);
    };
    switch (m_intCurrentTool) {
    case 0: {
        // The stamp's footprint under the pointer, as the pattern anchored at the stroke's start writes it.
        const QPoint anchor(m_intStartTileX, m_intStartTileY);
        const CellSpan columns = ShownCells(m_intCurrentTileX, m_stamp.width, tw, g.Width());
        const CellSpan rows = ShownCells(m_intCurrentTileY, m_stamp.height, th, g.Height());
        for (int r = rows.first; r < rows.end; ++r)
            for (int c = columns.first; c < columns.end; ++c)
                DrawStampCell(g, std::int64_t{m_intCurrentTileX} + c, std::int64_t{m_intCurrentTileY} + r,
                              anchor);
        frame();
        break;
    }
    case 1:
        frame();
        g.ForeColor = kEraseFill;
        g.FillRect(px, py, tw, th);
        break;
    case 2:
        DrawLine(g, tile);
        break;
    case 3:
        DrawRectOutline(g, tile);
        break;
    case 4:
        DrawRectFill(g, tile);
        break;
    case 5:
        DrawEllipse(g, tile, false);
        break;
    case 6:
        DrawEllipse(g, tile, true);
        break;
    default:
        // The fill tool shows no preview.
        break;
    }
}

void frmMain::DrawLayers(Graphics& g) {
    m_intTilemapOffsetX = TileWidthOrOne() * scbMainHorizontal->Value();
    m_intTilemapOffsetY = TileHeightOrOne() * scbMainVertical->Value();
    const QRect visible(m_intMapOffsetX, m_intMapOffsetY, m_intTilemapVisibleColumns,
                        m_intTilemapVisibleRows);
    MapPainter painter(Document(), m_zoomPercent, m_zoomed);
    if (!painter.DrawCells(g, visible, painter.ToView({m_intTilemapOffsetX, m_intTilemapOffsetY})))
        m_composition.regular = false;
}

void frmMain::RefreshMainScrollbars() {
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    scbMainHorizontal->setEnabled(false);
    scbMainVertical->setEnabled(false);
    if (MapWidth() > 0) {
        m_intTilemapVisibleColumns = VisibleCells(canMain->width(), tw);
        const int maximum = ScrollMaximum(MapWidth(), m_intTilemapVisibleColumns);
        scbMainHorizontal->SetMaximumQuietly(maximum);
        scbMainHorizontal->setEnabled(maximum > 0);
    }
    if (MapHeight() > 0) {
        m_intTilemapVisibleRows = VisibleCells(canMain->height(), th);
        const int maximum = ScrollMaximum(MapHeight(), m_intTilemapVisibleRows);
        scbMainVertical->SetMaximumQuietly(maximum);
        scbMainVertical->setEnabled(maximum > 0);
    }
    // A range that shrank pulls the view back inside it.
    m_intMapOffsetX = std::clamp(m_intMapOffsetX, 0, scbMainHorizontal->Maximum());
    m_intMapOffsetY = std::clamp(m_intMapOffsetY, 0, scbMainVertical->Maximum());
    scbMainHorizontal->SetValueQuietly(m_intMapOffsetX);
    scbMainVertical->SetValueQuietly(m_intMapOffsetY);
}

void frmMain::scbMainHorizontal_ValueChanged() {
    m_intMapOffsetX = scbMainHorizontal->Value();
    Refresh();
}

void frmMain::scbMainVertical_ValueChanged() {
    m_intMapOffsetY = scbMainVertical->Value();
    Refresh();
}

namespace {
// One step along one axis in the wheel's direction, kept within the bar's range.
void WheelStep(ScrollBar* bar, int& offset, int delta) {
    if (!bar->isEnabled() || delta == 0)
        return;
    if (delta < 0 && offset > 0)
        offset = bar->Value() - 1;
    if (delta > 0 && offset < bar->Maximum())
        offset = bar->Value() + 1;
    bar->SetValueQuietly(offset);
}
} // namespace

bool frmMain::canMain_MouseWheel(int, int, int deltaX, int deltaY) {
    WheelStep(scbMainHorizontal, m_intMapOffsetX, deltaX);
    WheelStep(scbMainVertical, m_intMapOffsetY, deltaY);
    if (scbMainHorizontal->isEnabled() || scbMainVertical->isEnabled())
        Refresh();
    return false;
}

void frmMain::canMain_Paint() {
    // The canvas shows the picture the last Draw left; redrawing here would empty a status text such as a
    // load's report whenever Qt repaints (after a dialog closes, for one).
}
