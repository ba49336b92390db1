// The mouse on the map: strokes, plotting and erasing while dragging, and committing shapes on release.
#include "map/ScrollMath.h"
#include "window/frmMain.h"

void frmMain::canMain_MouseEnter() {
    m_blncanMainHasFocus = true;
}

void frmMain::canMain_MouseExit() {
    m_blncanMainHasFocus = false;
    Draw();
}

void frmMain::canMain_MouseMove(int x, int y) {
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
    Draw();
}

bool frmMain::canMain_MouseDown(int x, int y) {
    // The press starts the stroke where it happens, even if no move came before it (a dialog that closed
    // over the canvas, say), and a plain click plots or erases the cell under the pointer.
    m_intMouseX = m_intDragMouseX = x;
    m_intMouseY = m_intDragMouseY = y;
    if (m_intCurrentTool == 0 || m_intCurrentTool == 1)
        canMain_MouseDrag(x, y);
    return true;
}

void frmMain::PlotOrErase(int x, int y) {
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const qint64 column = qint64(PixelToCell(x, tw)) + m_intMapOffsetX;
    const qint64 row = qint64(PixelToCell(y, th)) + m_intMapOffsetY;
    if (column < 0 || row < 0 || column >= m_intMapWidth || row >= m_intMapHeight)
        return;
    const int c = static_cast<int>(column);
    const int r = static_cast<int>(row);
    if (m_intCurrentTool == 1)
        RemoveTile(c * tw, r * th, c, r);
    else if (m_intCurrentTool == 0)
        PlaceTile(c * tw, r * th, c, r, false);
}

void frmMain::canMain_MouseDrag(int x, int y) {
    const bool placed = RunOutOfMemorySafe([&] { PlotOrErase(x, y); });
    m_intDragMouseX = x;
    m_intDragMouseY = y;
    Draw();
    if (!placed)
        ReportOutOfMemory(m_intCurrentTool == 1 ? QStringLiteral("erase") : QStringLiteral("plot"));
}

void frmMain::canMain_MouseUp(int x, int y) {
    static const char* const kShapeNames[] = {
        "", "", "line", "rectangle", "filled rectangle", "ellipse", "filled ellipse", "fill"};
    const bool placed = RunOutOfMemorySafe([&] {
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
    Draw();
    if (!placed)
        ReportOutOfMemory(QLatin1String(kShapeNames[std::clamp(m_intCurrentTool, 0, 7)]));
}
