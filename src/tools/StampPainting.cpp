// Painting with the stamp: every tool asks which of the stamp's records goes to a cell, the pattern anchored
// where the stroke was pressed, and places or previews that record on the stamp's layers.
#include "map/MapView.h"
#include "tools/StampPattern.h"
#include "tools/Stroke.h"

void Stroke::PlaceStampCell(const StrokeScene& scene, int column, int row) {
    const Piece& stamp = scene.stamp;
    if (stamp.Empty() || !m_Edit)
        return;
    const StampCell at =
        PatternCell(column, row, m_stampAnchor.x(), m_stampAnchor.y(), stamp.width, stamp.height);
    for (const PieceLayer& layer : stamp.layers) {
        const int target = TargetLayer(layer, scene.editLayer);
        const CellRef& record = stamp.At(layer, at.column, at.row);
        if (target >= 0 && record)
            m_Edit->Put(target, column, row, record);
    }
}

void Stroke::PlaceStampRun(const StrokeScene& scene, int row, int first, int last) {
    const Piece& stamp = scene.stamp;
    if (stamp.Empty() || !m_Edit || first > last)
        return;
    for (const PieceLayer& layer : stamp.layers) {
        const int target = TargetLayer(layer, scene.editLayer);
        if (target < 0)
            continue;
        // The pattern's place is worked out once for the run's first cell and counted on from there: a
        // division per cell would cost more than the writing.
        const StampCell at =
            PatternCell(first, row, m_stampAnchor.x(), m_stampAnchor.y(), stamp.width, stamp.height);
        const CellRef* stampRow = &stamp.At(layer, 0, at.row);
        PutPieceRun(*m_Edit, target, row, first, last, [&](int column) -> const CellRef& {
            return stampRow[PatternColumnOn(at.column, column - first, stamp.width)];
        });
    }
}

void Stroke::PlacePieceAt(const StrokeScene& scene, const Piece& piece, QPoint topLeft) {
    const QRect on = QRect(topLeft, QSize(piece.width, piece.height)) &
                     QRect(0, 0, scene.document.MapWidth(), scene.document.MapHeight());
    for (const PieceLayer& layer : piece.layers) {
        const int target = TargetLayer(layer, scene.editLayer);
        for (int row = on.top(); row <= on.bottom() && target >= 0; ++row)
            PutPieceRun(*m_Edit, target, row, on.left(), on.right(), [&](int column) -> const CellRef& {
                return piece.At(layer, column - topLeft.x(), row - topLeft.y());
            });
    }
}

void Stroke::EmptyUnder(const StrokeScene& scene, const Piece& piece, QPoint topLeft) {
    // Only where the piece has a cell: its empty places were never lifted.
    for (const PieceLayer& layer : piece.layers) {
        const int target = TargetLayer(layer, scene.editLayer);
        for (int r = 0; r < piece.height && target >= 0; ++r)
            for (int c = 0; c < piece.width;) {
                if (!piece.At(layer, c, r)) {
                    ++c;
                    continue;
                }
                int end = c;
                while (end + 1 < piece.width && piece.At(layer, end + 1, r))
                    ++end;
                m_Edit->EraseRun(target, topLeft.y() + r, topLeft.x() + c, topLeft.x() + end);
                c = end + 1;
            }
    }
}

void Stroke::DrawStampCell(Graphics& g, const StrokeScene& scene, std::int64_t x, std::int64_t y,
                           QPoint anchor) {
    const Piece& stamp = scene.stamp;
    if (stamp.Empty())
        return;
    const StampCell at = PatternCell(static_cast<int>(x), static_cast<int>(y), anchor.x(), anchor.y(),
                                     stamp.width, stamp.height);
    // Layers are kept lowest first, so the preview stacks them as the map will.
    for (const PieceLayer& layer : stamp.layers) {
        const CellRef& record = stamp.At(layer, at.column, at.row);
        if (!record)
            continue;
        const PicturePtr picture = scene.document.Tileset().GetTileImage(record->ImageIndex());
        if (picture)
            scene.view.DrawZoomed(g, *picture, record->ImageIndex(), x * scene.view.ViewCellWidth(),
                                  y * scene.view.ViewCellHeight());
    }
}

PicturePtr StampPicture(const StrokeScene& scene) {
    for (const PieceLayer& layer : scene.stamp.layers)
        for (const CellRef& record : layer.cells)
            if (record)
                if (PicturePtr picture = scene.document.Tileset().GetTileImage(record->ImageIndex()))
                    return picture;
    return nullptr;
}

CellRef StampFill(const Piece& stamp) {
    // A single record is compared with the clicked cell; any record of a larger stamp says it paints.
    for (const PieceLayer& layer : stamp.layers)
        for (const CellRef& record : layer.cells)
            if (record)
                return record;
    return nullptr;
}
