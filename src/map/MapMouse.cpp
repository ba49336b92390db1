// The mouse on the map: strokes, plotting and erasing while dragging, and committing shapes on release.
#include "platform/Canvas.h"
#include "platform/ScrollMath.h"
#include "tools/LineWalk.h"
#include "window/EditorColours.h"
#include "window/frmMain.h"

namespace {
const QColor kEraseFill(245, 180, 180);
// The walk needs its ends within ±2^30 cells; a pointer that far off is no pointer a screen can have.
constexpr std::int64_t kFarCell = std::int64_t{1} << 30;
} // namespace

void frmMain::canMain_MouseEnter() {
    m_view.SetPointerOver(true);
}

void frmMain::canMain_MouseExit() {
    m_view.SetPointerOver(false);
    // Qt also sends a leave when a dialog closes or the window is activated, whether or not the pointer was
    // over the map: that must not wipe out a report the dialog's work left on the status line.
    RefreshKeepingReport();
}

void frmMain::canMain_MouseMove(int x, int y) {
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
    Refresh();
}

bool frmMain::canMain_MouseDown(int x, int y) {
    // The press starts the stroke where it happens, whatever came before it: a window that closed over the
    // canvas leaves no move behind, and the press alone decides the start cell and the current cell.
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
    // A plain click plots or erases the cell under the pointer. Draw derives the start and current cells from
    // the press for every tool, so a release with no drag commits exactly the clicked cell.
    EndStrokeEdit();
    m_drag = Drag::None;
    // A stamp from the palette is taken afresh from its tiles as a stroke begins: their templates are
    // what placing puts down.
    if (m_stampFromPalette)
        StampFromPalette();
    m_stampAnchor = ClampedCellUnder(x, y);
    m_pressCell = m_stampAnchor;
    if (m_intCurrentTool == Tool::Select) {
        SelectPress(x, y);
        Refresh();
        return true;
    }
    // Ctrl with a painting tool picks from the map instead of painting.
    if (m_intCurrentTool != Tool::Erase && (canMain->PressModifiers() & Qt::ControlModifier)) {
        m_drag = Drag::Pick;
        Refresh();
        return true;
    }
    if (WritesWhileDragged(m_intCurrentTool)) {
        // A plot or erase stroke is one step from press to release, however many cells it writes.
        m_Edit = std::make_unique<MapDocument::CellEdit>(
            Document(), m_intCurrentTool == Tool::Plot ? QStringLiteral("Plot") : QStringLiteral("Erase"));
        m_lastStrokeCell.reset();
    }
    PlotOrEraseThenDraw(x, y);
    return true;
}

void frmMain::canMain_MouseCancel() {
    // The stroke's release went elsewhere: it ends here with nothing committed, and the cursor or preview
    // stays away until the pointer moves over the canvas again (no stroke start is recorded). What a plot or
    // erase stroke wrote until then is kept as its step. A move goes back; a selection drag leaves the
    // selection as it was.
    if (m_drag == Drag::Move)
        CancelMove();
    if (m_drag == Drag::Select)
        SetSelection(m_selectionBefore);
    m_drag = Drag::None;
    EndStrokeEdit();
    m_intMouseX = m_intDragMouseX = -1;
    m_intMouseY = m_intDragMouseY = -1;
    Refresh();
}

void frmMain::UpdateStrokeCells() {
    const int tw = m_view.ViewCellWidth();
    const int th = m_view.ViewCellHeight();
    m_intStartTileX = PixelToCell(m_intMouseX, tw);
    m_intStartTileY = PixelToCell(m_intMouseY, th);
    m_intCurrentTileX = PixelToCell(m_intDragMouseX, tw);
    m_intCurrentTileY = PixelToCell(m_intDragMouseY, th);
}

void frmMain::PlotOrErase(int x, int y) {
    if (!m_Edit)
        return;
    const int tw = m_view.TileWidthOrOne();
    const int th = m_view.TileHeightOrOne();
    const auto within = [](std::int64_t v) { return static_cast<int>(std::clamp(v, -kFarCell, kFarCell)); };
    const auto [column, row] = m_view.MapCellUnder(x, y);
    const QPoint cell(within(column), within(row));
    // A fast drag reports positions cells apart: every cell of the line walk from the last position's cell
    // is written, so the stroke has no holes. That cell itself was written by the last position.
    const std::optional<QPoint> last = m_lastStrokeCell;
    const QPoint from = last.value_or(cell);
    if (m_intCurrentTool == Tool::Plot) {
        PlotFootprints(from, cell, last.has_value());
    } else {
        WalkLineWithin(from.x(), from.y(), cell.x(), cell.y(), MapWidth(), MapHeight(), [&](int c, int r) {
            if (!(last && QPoint(c, r) == *last))
                RemoveTile(c * tw, r * th, c, r);
        });
    }
    m_lastStrokeCell = cell;
    m_Edit->Flush();
}

void frmMain::PlotFootprints(QPoint from, QPoint to, bool fromWritten) {
    // Each position of the walk places the stamp's footprint, top-left there. The pattern is anchored, so
    // where footprints overlap they write the same records: only the cells the last footprint did not cover
    // are written.
    const int w = std::max(m_stamp.width, 1);
    const int h = std::max(m_stamp.height, 1);
    std::optional<QRect> previous;
    if (fromWritten)
        previous = QRect(from.x(), from.y(), w, h);
    // The walk is held to the cells whose footprint can reach the map: a grid reaching w - 1 columns and
    // h - 1 rows further left and up.
    const int dx = w - 1;
    const int dy = h - 1;
    WalkLineWithin(from.x() + dx, from.y() + dy, to.x() + dx, to.y() + dy, MapWidth() + dx, MapHeight() + dy,
                   [&](int gc, int gr) {
                       const int c = gc - dx;
                       const int r = gr - dy;
                       const QRect footprint(c, r, w, h);
                       if (previous && *previous == footprint)
                           return;
                       const QRect on = footprint & QRect(0, 0, MapWidth(), MapHeight());
                       for (int row = on.top(); row <= on.bottom(); ++row) {
                           if (!previous || row < previous->top() || row > previous->bottom()) {
                               PlaceStampRun(row, on.left(), on.right());
                               continue;
                           }
                           // The row's cells left and right of the last footprint.
                           PlaceStampRun(row, on.left(), std::min(on.right(), previous->left() - 1));
                           PlaceStampRun(row, std::max(on.left(), previous->right() + 1), on.right());
                       }
                       previous = footprint;
                   });
}

void frmMain::canMain_MouseDrag(int x, int y) {
    if (m_drag != Drag::None) {
        m_intDragMouseX = x;
        m_intDragMouseY = y;
        if (m_drag == Drag::Select || m_drag == Drag::Move)
            SelectDrag();
        Refresh();
        return;
    }
    PlotOrEraseThenDraw(x, y);
}

// The press and every drag plot or erase the same way, and either may find memory gone: the stroke is then
// taken back whole and writes nothing more until the button is released.
void frmMain::PlotOrEraseThenDraw(int x, int y) {
    m_memoryReserve.Replenish();
    bool placed = true;
    try {
        PlotOrErase(x, y);
    } catch (const std::bad_alloc&) {
        m_Edit.reset();
        RecoverFromOutOfMemory();
        placed = false;
    }
    m_intDragMouseX = x;
    m_intDragMouseY = y;
    Refresh();
    if (!placed)
        ReportOutOfMemory(m_intCurrentTool == Tool::Erase ? QStringLiteral("erase") : QStringLiteral("plot"));
}

namespace {
// What a tool's release places: the step's name in the history and the work's name in a report.
struct Placing {
    const char* step;
    const char* work;
};
Placing PlacingOf(Tool tool) {
    switch (tool) {
    case Tool::Line:
        return {"Line", "line"};
    case Tool::Rectangle:
        return {"Rectangle", "rectangle"};
    case Tool::FilledRectangle:
        return {"Filled Rectangle", "filled rectangle"};
    case Tool::Ellipse:
        return {"Ellipse", "ellipse"};
    case Tool::FilledEllipse:
        return {"Filled Ellipse", "filled ellipse"};
    case Tool::Fill:
        return {"Fill", "fill"};
    case Tool::Plot:
    case Tool::Erase:
    case Tool::Select:
        break;
    }
    return {"", ""};
}
} // namespace

void frmMain::canMain_MouseUp(int x, int y) {
    if (m_drag != Drag::None || m_intCurrentTool == Tool::Select) {
        m_intDragMouseX = x;
        m_intDragMouseY = y;
        if (m_drag == Drag::Pick)
            PickFromMap();
        else if (m_drag != Drag::None)
            SelectRelease();
        m_drag = Drag::None;
        m_intMouseX = x;
        m_intMouseY = y;
        RefreshKeepingReport();
        return;
    }
    EndStrokeEdit();
    const Tool tool = m_intCurrentTool;
    const Placing placing = PlacingOf(tool);
    const bool placed = WritesWhileDragged(tool) || RunEdit(QLatin1String(placing.step), [&] {
                            switch (tool) {
                            case Tool::Rectangle:
                                PlaceRectOutline();
                                break;
                            case Tool::FilledRectangle:
                                PlaceRectFill();
                                break;
                            case Tool::Fill:
                                FloodFill(false);
                                break;
                            case Tool::Line:
                                PlaceLine();
                                break;
                            case Tool::Ellipse:
                                PlaceEllipse(false);
                                break;
                            case Tool::FilledEllipse:
                                PlaceEllipse(true);
                                break;
                            case Tool::Plot:
                            case Tool::Erase:
                            case Tool::Select:
                                break;
                            }
                        });
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
    Refresh();
    if (!placed)
        ReportOutOfMemory(QLatin1String(placing.work));
}

void frmMain::DrawCursorOrPreview(Graphics& g, const TileRef& tile) {
    const int tw = m_view.ViewCellWidth();
    const int th = m_view.ViewCellHeight();
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
    case Tool::Plot: {
        // The stamp's footprint under the pointer, as the pattern anchored at the stroke's start writes it.
        const QPoint anchor(m_intStartTileX, m_intStartTileY);
        for (int r = 0; r < m_stamp.height; ++r)
            for (int c = 0; c < m_stamp.width; ++c)
                DrawStampCell(g, std::int64_t{m_intCurrentTileX} + c, std::int64_t{m_intCurrentTileY} + r,
                              anchor);
        frame();
        break;
    }
    case Tool::Erase:
        frame();
        g.ForeColor = kEraseFill;
        g.FillRect(px, py, tw, th);
        break;
    case Tool::Line:
        DrawLine(g, tile);
        break;
    case Tool::Rectangle:
        DrawRectOutline(g, tile);
        break;
    case Tool::FilledRectangle:
        DrawRectFill(g, tile);
        break;
    case Tool::Ellipse:
        DrawEllipse(g, tile, false);
        break;
    case Tool::FilledEllipse:
        DrawEllipse(g, tile, true);
        break;
    case Tool::Fill:
    case Tool::Select:
        // The fill tool shows no preview; the selection's frame is drawn for every tool.
        break;
    }
}
