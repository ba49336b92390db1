// The mouse on the map canvas: each event goes to the stroke, and the window shows what came of it.
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "window/frmMain.h"

StrokeScene frmMain::Scene() const {
    return {Document(), m_view, m_stamp, m_Layer, m_selection};
}

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
    m_stroke.PointAt(x, y);
    Refresh();
}

bool frmMain::canMain_MouseDown(int x, int y) {
    // The press starts the stroke where it happens, whatever came before it: a window that closed over the
    // canvas leaves no move behind, and the press alone decides the start cell and the current cell.
    m_stroke.PointAt(x, y);
    m_stroke.CommitEdit();
    // A stamp from the palette is taken afresh from its tiles as a stroke begins: their templates are
    // what placing puts down.
    if (m_stampFromPalette)
        StampFromPalette();
    const Qt::KeyboardModifiers held = m_ui.canMain->PressModifiers();
    switch (m_stroke.Press(Scene(), held)) {
    case StrokeStart::Move:
        // A lift that ran out of memory has said so, and the press begins nothing.
        if (!Completed(QStringLiteral("move"),
                       [&] { m_stroke.StartMove(Scene(), held & Qt::ShiftModifier); }))
            return true;
        break;
    case StrokeStart::Select:
        SetSelection(QRect(m_stroke.PressCell(), m_stroke.PressCell()));
        break;
    case StrokeStart::Pick:
        break;
    case StrokeStart::Paint:
        // A plain click plots or erases the cell under the pointer. Draw derives the start and current cells
        // from the press for every tool, so a release with no drag commits exactly the clicked cell.
        PlotOrEraseThenDraw(x, y);
        return true;
    }
    Refresh();
    return true;
}

void frmMain::canMain_MouseCancel() {
    // The stroke's release went elsewhere: it ends here with nothing committed, and the cursor or preview
    // stays away until the pointer moves over the canvas again. What a plot or erase stroke wrote until then
    // is kept as its step. A move goes back; a selection drag leaves the selection as it was.
    if (const std::optional<QRect> before = m_stroke.Cancel())
        SetSelection(*before);
    Refresh();
}

void frmMain::canMain_MouseDrag(int x, int y) {
    if (!m_stroke.Dragging()) {
        PlotOrEraseThenDraw(x, y);
        return;
    }
    m_stroke.DragTo(x, y);
    if (const std::optional<QRect> cells = m_stroke.DragSelection(Scene()))
        SetSelection(*cells);
    Refresh();
}

// The press and every drag plot or erase the same way, and either may find memory gone: the stroke is then
// taken back whole and writes nothing more until the button is released.
void frmMain::PlotOrEraseThenDraw(int x, int y) {
    m_stroke.DragTo(x, y);
    const QString what =
        m_stroke.CurrentTool() == Tool::Erase ? QStringLiteral("erase") : QStringLiteral("plot");
    if (Completed(what, [&] { m_stroke.PlotOrErase(Scene(), x, y); }))
        Refresh();
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
    // The release is where the stroke starts afresh. The tools place from the cells the last Draw derived, so
    // recording it first changes nothing they place.
    m_stroke.PointAt(x, y);
    if (m_stroke.Dragging() || m_stroke.CurrentTool() == Tool::Select) {
        ReleaseSelectOrMove();
        return;
    }
    m_stroke.CommitEdit();
    const Tool tool = m_stroke.CurrentTool();
    const Placing placing = PlacingOf(tool);
    if (WritesWhileDragged(tool) || RunEdit(QLatin1String(placing.step), QLatin1String(placing.work),
                                            [&](MapDocument::CellEdit&) { PlaceShape(tool); }))
        Refresh();
}

void frmMain::ReleaseSelectOrMove() {
    if (m_stroke.Picking()) {
        PickFromMap();
    } else if (m_stroke.Dragging()) {
        std::optional<QRect> cells;
        if (!Completed(QStringLiteral("move"), [&] { cells = m_stroke.ReleaseSelection(Scene()); }))
            return;
        if (cells)
            SetSelection(*cells);
    }
    m_stroke.EndDrag();
    RefreshKeepingReport();
}

void frmMain::PickFromMap() {
    Piece piece;
    if (!Completed(QStringLiteral("pick"),
                   [&] { piece = TakePiece(Document(), m_stroke.PickedCells(Scene()), m_Layer, false); }))
        return;
    const bool nothing =
        piece.Empty() || std::none_of(piece.layers[0].cells.begin(), piece.layers[0].cells.end(),
                                      [](const CellRef& cell) { return bool(cell); });
    if (nothing) {
        UpdateStatus(QStringLiteral("Nothing to pick here: the cell is empty"), kFailureColour, 0);
        return;
    }
    const CellRef single = piece.SingleRecord();
    UseAsStamp(std::move(piece));
    // A single cell's tile is shown selected in the palette, its own record still the stamp.
    if (single) {
        m_palette.SelectTile(Tileset().GetTile(single->ImageIndex()));
        ScrollPaletteToSelected();
        DrawTiles();
    }
}
