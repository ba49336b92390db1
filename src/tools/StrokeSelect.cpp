// The select tool's strokes: a drag selects a rectangle of cells, a drag from inside the selection moves its
// cells, a click outside it clears it; and a pick drag's frame.
#include "map/MapView.h"
#include "tools/Stroke.h"

namespace {
const QColor kSelectionLight(255, 255, 255);
const QColor kSelectionDark(20, 60, 160);
} // namespace

void Stroke::StartMove(const StrokeScene& scene, bool allLayers) {
    m_moving =
        std::make_unique<Piece>(TakePiece(scene.document, scene.selection, scene.editLayer, allLayers));
    BeginEdit(scene.document, QStringLiteral("Move"));
    // The cells leave the map while they are carried; an edit that ends without its drop puts them back.
    EmptyUnder(scene, *m_moving, scene.selection.topLeft());
    m_Edit->Flush();
    m_drag = Drag::Move;
}

std::optional<QRect> Stroke::DragSelection(const StrokeScene& scene) {
    const QPoint cell = ClampedCellUnder(scene.view, m_intDragMouseX, m_intDragMouseY);
    m_leftPressCell = m_leftPressCell || cell != m_pressCell;
    if (m_drag != Drag::Select)
        return std::nullopt;
    return QRect(m_pressCell, cell);
}

std::optional<QRect> Stroke::ReleaseSelection(const StrokeScene& scene) {
    if (m_drag == Drag::Move) {
        const QPoint by = ClampedCellUnder(scene.view, m_intDragMouseX, m_intDragMouseY) - m_pressCell;
        if (by.isNull()) {
            Abandon();
            return std::nullopt;
        }
        DropMove(scene, by);
        return scene.selection.translated(by);
    }
    // A click outside the selection (the press cell never left) clears it.
    if (m_drag == Drag::Select && !m_leftPressCell)
        return QRect();
    return std::nullopt;
}

void Stroke::DropMove(const StrokeScene& scene, QPoint by) {
    const QRect moved = scene.selection.translated(by);
    PlacePieceAt(scene, *m_moving, moved.topLeft());
    m_Edit->SetSelectionMove(scene.selection,
                             moved & QRect(0, 0, scene.document.MapWidth(), scene.document.MapHeight()));
    CommitEdit();
    m_moving.reset();
    m_drag = Drag::None;
}

QRect Stroke::PickedCells(const StrokeScene& scene) const {
    const QPoint to = ClampedCellUnder(scene.view, m_intDragMouseX, m_intDragMouseY);
    return QRect(m_pressCell, to).normalized() &
           QRect(0, 0, scene.document.MapWidth(), scene.document.MapHeight());
}

void Stroke::DrawPieceAt(Graphics& g, const StrokeScene& scene, const Piece& piece, std::int64_t column,
                         std::int64_t row) const {
    const MapView& view = scene.view;
    const int tw = view.ViewCellWidth();
    const int th = view.ViewCellHeight();
    for (const PieceLayer& layer : piece.layers)
        for (int r = 0; r < piece.height; ++r)
            for (int c = 0; c < piece.width; ++c) {
                const CellRef& record = piece.At(layer, c, r);
                const std::int64_t x = column + c - view.OffsetX();
                const std::int64_t y = row + r - view.OffsetY();
                if (!record || x < 0 || y < 0 || x * tw >= g.Width() || y * th >= g.Height())
                    continue;
                if (const PicturePtr picture = scene.document.Tileset().GetTileImage(record->ImageIndex()))
                    view.DrawZoomed(g, *picture, record->ImageIndex(), x * tw, y * th);
            }
}

void Stroke::DrawSelection(Graphics& g, const StrokeScene& scene) const {
    const MapView& view = scene.view;
    QRect cells = scene.selection;
    const QPoint pointerCell = ClampedCellUnder(view, m_intDragMouseX, m_intDragMouseY);
    if (m_drag == Drag::Move && m_moving) {
        const QPoint by = pointerCell - m_pressCell;
        DrawPieceAt(g, scene, *m_moving, std::int64_t{cells.left()} + by.x(),
                    std::int64_t{cells.top()} + by.y());
        cells.translate(by);
    }
    if (m_drag == Drag::Pick)
        cells = QRect(m_pressCell, pointerCell).normalized();
    if (cells.isEmpty())
        return;
    const int tw = view.ViewCellWidth();
    const int th = view.ViewCellHeight();
    const std::int64_t x = (std::int64_t{cells.left()} - view.OffsetX()) * tw;
    const std::int64_t y = (std::int64_t{cells.top()} - view.OffsetY()) * th;
    const std::int64_t w = std::int64_t{cells.width()} * tw;
    const std::int64_t h = std::int64_t{cells.height()} * th;
    // A dark line inside a light one: the frame stays clear over any tiles.
    g.ForeColor = kSelectionLight;
    g.DrawRect(x - 1, y - 1, w + 2, h + 2);
    g.ForeColor = kSelectionDark;
    g.DrawRect(x, y, w, h);
    g.DrawRect(x + 1, y + 1, w - 2, h - 2);
}
