// The mouse on the map: strokes, plotting and erasing while dragging, and committing shapes on release.
#include "platform/ScrollMath.h"
#include "tools/LineWalk.h"
#include "window/frmMain.h"

namespace {
// The walk needs its ends within ±2^30 cells; a pointer that far off is no pointer a screen can have.
constexpr std::int64_t kFarCell = std::int64_t{1} << 30;
} // namespace

void frmMain::canMain_MouseEnter() {
    m_blncanMainHasFocus = true;
}

void frmMain::canMain_MouseExit() {
    m_blncanMainHasFocus = false;
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
    if (m_intCurrentTool == 0 || m_intCurrentTool == 1) {
        // A plot or erase stroke is one step from press to release, however many cells it writes.
        m_Edit = std::make_unique<MapDocument::CellEdit>(
            Document(), m_intCurrentTool == 0 ? QStringLiteral("Plot") : QStringLiteral("Erase"));
        m_lastStrokeCell.reset();
    }
    PlotOrEraseThenDraw(x, y);
    return true;
}

void frmMain::canMain_MouseCancel() {
    // The stroke's release went elsewhere: it ends here with nothing committed, and the cursor or preview
    // stays away until the pointer moves over the canvas again (no stroke start is recorded). What a plot or
    // erase stroke wrote until then is kept as its step.
    EndStrokeEdit();
    m_intMouseX = m_intDragMouseX = -1;
    m_intMouseY = m_intDragMouseY = -1;
    Refresh();
}

void frmMain::UpdateStrokeCells() {
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    m_intStartTileX = PixelToCell(m_intMouseX, tw);
    m_intStartTileY = PixelToCell(m_intMouseY, th);
    m_intCurrentTileX = PixelToCell(m_intDragMouseX, tw);
    m_intCurrentTileY = PixelToCell(m_intDragMouseY, th);
}

void frmMain::PlotOrErase(int x, int y) {
    if (!m_Edit)
        return;
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const auto within = [](std::int64_t v) { return static_cast<int>(std::clamp(v, -kFarCell, kFarCell)); };
    const auto [column, row] = MapCellUnder(x, y);
    const QPoint cell(within(column), within(row));
    // A fast drag reports positions cells apart: every cell of the line walk from the last position's cell
    // is written, so the stroke has no holes. That cell itself was written by the last position.
    const std::optional<QPoint> last = m_lastStrokeCell;
    const QPoint from = last.value_or(cell);
    WalkLineWithin(from.x(), from.y(), cell.x(), cell.y(), MapWidth(), MapHeight(), [&](int c, int r) {
        if (last && QPoint(c, r) == *last)
            return;
        if (m_intCurrentTool == 1)
            RemoveTile(c * tw, r * th, c, r);
        else if (m_intCurrentTool == 0)
            PlaceTile(c * tw, r * th, c, r, false);
    });
    m_lastStrokeCell = cell;
    m_Edit->Flush();
}

void frmMain::canMain_MouseDrag(int x, int y) {
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
        ReportOutOfMemory(m_intCurrentTool == 1 ? QStringLiteral("erase") : QStringLiteral("plot"));
}

void frmMain::canMain_MouseUp(int x, int y) {
    static const char* const kShapeNames[] = {
        "", "", "line", "rectangle", "filled rectangle", "ellipse", "filled ellipse", "fill"};
    static const char* const kStepNames[] = {
        "", "", "Line", "Rectangle", "Filled Rectangle", "Ellipse", "Filled Ellipse", "Fill"};
    EndStrokeEdit();
    const int tool = std::clamp(m_intCurrentTool, 0, 7);
    const bool placed = tool < 2 || RunEdit(QLatin1String(kStepNames[tool]), [&] {
                            switch (m_intCurrentTool) {
                            case 3:
                                PlaceRectOutline();
                                break;
                            case 4:
                                PlaceRectFill();
                                break;
                            case 7:
                                FloodFill(false);
                                break;
                            case 2:
                                PlaceLine();
                                break;
                            case 5:
                                PlaceEllipse(false);
                                break;
                            case 6:
                                PlaceEllipse(true);
                                break;
                            default:
                                break;
                            }
                        });
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
    Refresh();
    if (!placed)
        ReportOutOfMemory(QLatin1String(kShapeNames[tool]));
}
