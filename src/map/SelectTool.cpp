// The select tool: a drag selects a rectangle of cells, a drag from inside the selection moves its cells, a
// click outside it clears it; and Ctrl with a painting tool picks cells from the map as the stamp.
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "platform/ScrollMath.h"
#include "window/frmMain.h"

namespace {
constexpr std::int64_t kFarCell = std::int64_t{1} << 30;
const QColor kSelectionLight(255, 255, 255);
const QColor kSelectionDark(20, 60, 160);
} // namespace

QPoint frmMain::ClampedCellUnder(int x, int y) const {
    const auto [column, row] = MapCellUnder(x, y);
    const auto within = [](std::int64_t v) { return static_cast<int>(std::clamp(v, -kFarCell, kFarCell)); };
    return {within(column), within(row)};
}

void frmMain::SelectPress(int x, int y) {
    m_pressCell = ClampedCellUnder(x, y);
    m_leftPressCell = false;
    m_selectionBefore = m_selection;
    if (m_selection.contains(m_pressCell)) {
        StartMove(canMain->PressModifiers() & Qt::ShiftModifier);
        return;
    }
    m_drag = Drag::Select;
    SetSelection(QRect(m_pressCell, m_pressCell));
}

void frmMain::SelectDrag() {
    const QPoint cell = ClampedCellUnder(m_intDragMouseX, m_intDragMouseY);
    m_leftPressCell = m_leftPressCell || cell != m_pressCell;
    if (m_drag == Drag::Select)
        SetSelection(QRect(m_pressCell, cell));
}

void frmMain::SelectRelease() {
    if (m_drag == Drag::Move) {
        DropMove();
        return;
    }
    // A click outside the selection (the press cell never left) clears it.
    if (!m_leftPressCell)
        SetSelection(QRect());
}

void frmMain::StartMove(bool allLayers) {
    m_memoryReserve.Replenish();
    try {
        m_moving = std::make_unique<Piece>(TakePiece(Document(), m_selection, m_Layer, allLayers));
        m_Edit = std::make_unique<MapDocument::CellEdit>(Document(), QStringLiteral("Move"));
        // The cells leave the map while they are carried; an edit that ends without its drop puts them back.
        EmptyUnder(*m_moving, m_selection.topLeft());
        m_Edit->Flush();
    } catch (const std::bad_alloc&) {
        m_Edit.reset();
        m_moving.reset();
        RecoverFromOutOfMemory();
        ReportOutOfMemory(QStringLiteral("move"));
        return;
    }
    m_drag = Drag::Move;
}

void frmMain::DropMove() {
    const QPoint to = ClampedCellUnder(m_intDragMouseX, m_intDragMouseY);
    const QPoint by = to - m_pressCell;
    const QRect moved = m_selection.translated(by);
    bool placed = true;
    if (by.isNull()) {
        CancelMove();
        return;
    }
    try {
        PlacePieceAt(*m_moving, moved.topLeft());
        m_Edit->SetSelectionMove(m_selection, moved & QRect(0, 0, MapWidth(), MapHeight()));
        m_Edit->Commit();
    } catch (const std::bad_alloc&) {
        placed = false;
        RecoverFromOutOfMemory();
    }
    m_Edit.reset();
    m_moving.reset();
    m_drag = Drag::None;
    if (placed)
        SetSelection(moved);
    else
        ReportOutOfMemory(QStringLiteral("move"));
}

void frmMain::CancelMove() {
    // The edit is dropped uncommitted, which puts every lifted cell back.
    m_Edit.reset();
    m_moving.reset();
    m_drag = Drag::None;
}

void frmMain::PickFromMap() {
    const QPoint to = ClampedCellUnder(m_intDragMouseX, m_intDragMouseY);
    const QRect cells = QRect(m_pressCell, to).normalized() & QRect(0, 0, MapWidth(), MapHeight());
    Piece piece;
    try {
        piece = TakePiece(Document(), cells, m_Layer, false);
    } catch (const std::bad_alloc&) {
        RecoverFromOutOfMemory();
        ReportOutOfMemory(QStringLiteral("pick"));
        return;
    }
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

void frmMain::DrawPieceAt(Graphics& g, const Piece& piece, std::int64_t column, std::int64_t row) {
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    for (const PieceLayer& layer : piece.layers)
        for (int r = 0; r < piece.height; ++r)
            for (int c = 0; c < piece.width; ++c) {
                const CellRef& record = piece.At(layer, c, r);
                const std::int64_t x = column + c - m_intMapOffsetX;
                const std::int64_t y = row + r - m_intMapOffsetY;
                if (!record || x < 0 || y < 0 || x * tw >= g.Width() || y * th >= g.Height())
                    continue;
                if (const PicturePtr picture = Tileset().GetTileImage(record->ImageIndex()))
                    DrawZoomed(g, *picture, record->ImageIndex(), x * tw, y * th);
            }
}

void frmMain::DrawSelection(Graphics& g) {
    QRect cells = m_selection;
    if (m_drag == Drag::Move && m_moving) {
        const QPoint by = ClampedCellUnder(m_intDragMouseX, m_intDragMouseY) - m_pressCell;
        DrawPieceAt(g, *m_moving, std::int64_t{m_selection.left()} + by.x(),
                    std::int64_t{m_selection.top()} + by.y());
        cells.translate(by);
    }
    if (m_drag == Drag::Pick)
        cells = QRect(m_pressCell, ClampedCellUnder(m_intDragMouseX, m_intDragMouseY)).normalized();
    if (cells.isEmpty())
        return;
    const int tw = ViewCellWidth();
    const int th = ViewCellHeight();
    const std::int64_t x = (std::int64_t{cells.left()} - m_intMapOffsetX) * tw;
    const std::int64_t y = (std::int64_t{cells.top()} - m_intMapOffsetY) * th;
    const std::int64_t w = std::int64_t{cells.width()} * tw;
    const std::int64_t h = std::int64_t{cells.height()} * th;
    // A dark line inside a light one: the frame stays clear over any tiles.
    g.ForeColor = kSelectionLight;
    g.DrawRect(x - 1, y - 1, w + 2, h + 2);
    g.ForeColor = kSelectionDark;
    g.DrawRect(x, y, w, h);
    g.DrawRect(x + 1, y + 1, w - 2, h - 2);
}
