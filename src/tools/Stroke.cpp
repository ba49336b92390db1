// The stroke's pointer and cells, its press and end, its edit, and plot and erase.
#include "tools/Stroke.h"

#include "map/MapView.h"
#include "platform/EditorColours.h"
#include "platform/ScrollMath.h"
#include "tools/LineWalk.h"
#include "tools/StampPattern.h"

namespace {
// The walk needs its ends within ±2^30 cells; a pointer that far off is no pointer a screen can have.
constexpr std::int64_t kFarCell = std::int64_t{1} << 30;
const QColor kEraseFill(245, 180, 180);

int Within(std::int64_t v) {
    return static_cast<int>(std::clamp(v, -kFarCell, kFarCell));
}
} // namespace

void Stroke::PointAt(int x, int y) {
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
}

void Stroke::DragTo(int x, int y) {
    m_intDragMouseX = x;
    m_intDragMouseY = y;
}

void Stroke::UpdateStrokeCells(const MapView& view) {
    const int tw = view.ViewCellWidth();
    const int th = view.ViewCellHeight();
    m_intStartTileX = PixelToCell(m_intMouseX, tw);
    m_intStartTileY = PixelToCell(m_intMouseY, th);
    m_intCurrentTileX = PixelToCell(m_intDragMouseX, tw);
    m_intCurrentTileY = PixelToCell(m_intDragMouseY, th);
}

bool Stroke::PointerOnCanvas(const MapView& view) const {
    return m_intMouseX >= 0 && m_intMouseY >= 0 && view.PointerOver();
}

QPoint Stroke::ClampedCellUnder(const MapView& view, int x, int y) {
    const auto [column, row] = view.MapCellUnder(x, y);
    return {Within(column), Within(row)};
}

StrokeStart Stroke::Press(const StrokeScene& scene, Qt::KeyboardModifiers held) {
    m_drag = Drag::None;
    m_stampAnchor = ClampedCellUnder(scene.view, m_intMouseX, m_intMouseY);
    m_pressCell = m_stampAnchor;
    if (m_intCurrentTool == Tool::Select) {
        m_leftPressCell = false;
        m_selectionBefore = scene.selection;
        if (scene.selection.contains(m_pressCell))
            return StrokeStart::Move;
        m_drag = Drag::Select;
        return StrokeStart::Select;
    }
    // Ctrl with a painting tool picks from the map instead of painting.
    if (m_intCurrentTool != Tool::Erase && (held & Qt::ControlModifier)) {
        m_drag = Drag::Pick;
        return StrokeStart::Pick;
    }
    if (WritesWhileDragged(m_intCurrentTool)) {
        // A plot or erase stroke is one step from press to release, however many cells it writes.
        BeginEdit(scene.document,
                  m_intCurrentTool == Tool::Plot ? QStringLiteral("Plot") : QStringLiteral("Erase"));
        m_lastStrokeCell.reset();
    }
    return StrokeStart::Paint;
}

std::optional<QRect> Stroke::Cancel() {
    std::optional<QRect> selection;
    // A move goes back: its edit is dropped uncommitted, which puts every lifted cell back.
    if (m_drag == Drag::Move)
        Abandon();
    if (m_drag == Drag::Select)
        selection = m_selectionBefore;
    m_drag = Drag::None;
    CommitEdit();
    PointerGone();
    return selection;
}

MapDocument::CellEdit& Stroke::BeginEdit(MapDocument& document, const QString& text) {
    m_Edit = std::make_unique<MapDocument::CellEdit>(document, text);
    return *m_Edit;
}

void Stroke::CommitEdit() {
    if (!m_Edit)
        return;
    m_Edit->Commit();
    m_Edit.reset();
}

void Stroke::Abandon() {
    m_Edit.reset();
    m_moving.reset();
    if (m_drag == Drag::Move)
        m_drag = Drag::None;
}

void Stroke::ReleaseWork() {
    m_objLayer.clear();
    m_objLayer.shrink_to_fit();
    m_blnTilemap.Shrink();
}

void Stroke::PlotOrErase(const StrokeScene& scene, int x, int y) {
    if (!m_Edit)
        return;
    const auto [column, row] = scene.view.MapCellUnder(x, y);
    const QPoint cell(Within(column), Within(row));
    // A fast drag reports positions cells apart: every cell of the line walk from the last position's cell
    // is written, so the stroke has no holes. That cell itself was written by the last position.
    const std::optional<QPoint> last = m_lastStrokeCell;
    const QPoint from = last.value_or(cell);
    if (m_intCurrentTool == Tool::Plot) {
        PlotFootprints(scene, from, cell, last.has_value());
    } else {
        WalkLineWithin(from.x(), from.y(), cell.x(), cell.y(), scene.document.MapWidth(),
                       scene.document.MapHeight(), [&](int c, int r) {
                           if (!(last && QPoint(c, r) == *last))
                               RemoveTile(scene, c, r);
                       });
    }
    m_lastStrokeCell = cell;
    m_Edit->Flush();
}

void Stroke::PlotFootprints(const StrokeScene& scene, QPoint from, QPoint to, bool fromWritten) {
    // Each position of the walk places the stamp's footprint, top-left there. The pattern is anchored, so
    // where footprints overlap they write the same records: only the cells the last footprint did not cover
    // are written.
    const int w = std::max(scene.stamp.width, 1);
    const int h = std::max(scene.stamp.height, 1);
    const QRect map(0, 0, scene.document.MapWidth(), scene.document.MapHeight());
    std::optional<QRect> previous;
    if (fromWritten)
        previous = QRect(from.x(), from.y(), w, h);
    // The walk is held to the cells whose footprint can reach the map: a grid reaching w - 1 columns and
    // h - 1 rows further left and up.
    const int dx = w - 1;
    const int dy = h - 1;
    WalkLineWithin(from.x() + dx, from.y() + dy, to.x() + dx, to.y() + dy, map.width() + dx,
                   map.height() + dy, [&](int gc, int gr) {
                       const QRect footprint(gc - dx, gr - dy, w, h);
                       if (previous && *previous == footprint)
                           return;
                       const QRect on = footprint & map;
                       for (int row = on.top(); row <= on.bottom(); ++row) {
                           if (!previous || row < previous->top() || row > previous->bottom()) {
                               PlaceStampRun(scene, row, on.left(), on.right());
                               continue;
                           }
                           // The row's cells left and right of the last footprint.
                           PlaceStampRun(scene, row, on.left(), std::min(on.right(), previous->left() - 1));
                           PlaceStampRun(scene, row, std::max(on.left(), previous->right() + 1), on.right());
                       }
                       previous = footprint;
                   });
}

void Stroke::PlaceTile(const StrokeScene& scene, int column, int row, bool mark) {
    // Every tool places the stamp's cell for the place, its pattern anchored where the stroke began.
    if (scene.stamp.Empty() || scene.editLayer < 0 || !m_Edit || !scene.view.InsideMap(column, row))
        return;
    PlaceStampCell(scene, column, row);
    if (mark)
        m_blnTilemap.Set(column, row);
}

void Stroke::RemoveTile(const StrokeScene& scene, int column, int row) {
    const int n = scene.editLayer;
    // Emptying an empty cell changes nothing, so it is no part of the step either.
    if (n < 0 || !m_Edit || !scene.view.InsideMap(column, row) || !scene.document.Layer(n).Get(column, row))
        return;
    m_Edit->Erase(n, column, row);
}

void Stroke::PlaceAtVisibleCell(const StrokeScene& scene, std::int64_t x, std::int64_t y, bool mark) {
    const std::int64_t column = x + scene.view.OffsetX();
    const std::int64_t row = y + scene.view.OffsetY();
    if (scene.view.InsideMap(column, row))
        PlaceTile(scene, static_cast<int>(column), static_cast<int>(row), mark);
}

void Stroke::DrawCursor(Graphics& g, const StrokeScene& scene) const {
    const int tw = scene.view.ViewCellWidth();
    const int th = scene.view.ViewCellHeight();
    // 64-bit edges: a cursor far off the canvas must not wrap around into view.
    const qint64 px = qint64(m_intCurrentTileX) * tw;
    const qint64 py = qint64(m_intCurrentTileY) * th;
    if (m_intCurrentTool == Tool::Plot) {
        // The stamp's footprint under the pointer, as the pattern anchored at the stroke's start writes it.
        const QPoint anchor(m_intStartTileX, m_intStartTileY);
        const CellSpan columns = ShownCells(m_intCurrentTileX, scene.stamp.width, tw, g.Width());
        const CellSpan rows = ShownCells(m_intCurrentTileY, scene.stamp.height, th, g.Height());
        for (int r = rows.first; r < rows.end; ++r)
            for (int c = columns.first; c < columns.end; ++c)
                DrawStampCell(g, scene, std::int64_t{m_intCurrentTileX} + c,
                              std::int64_t{m_intCurrentTileY} + r, anchor);
    }
    g.ForeColor = kFrameColour;
    g.FillRect(px, py - 2, tw, 2);
    g.FillRect(px, py + th, tw, 2);
    g.FillRect(px - 2, py, 2, th);
    g.FillRect(px + tw, py, 2, th);
    if (m_intCurrentTool == Tool::Erase) {
        g.ForeColor = kEraseFill;
        g.FillRect(px, py, tw, th);
    }
}
