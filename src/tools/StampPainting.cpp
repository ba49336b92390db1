// Painting with the stamp: every tool asks which of the stamp's records goes to a cell, the pattern anchored
// where the stroke was pressed, and places or previews that record on the stamp's layers.
#include "tools/StampPattern.h"
#include "window/frmMain.h"

void frmMain::PlaceStampCell(int column, int row) {
    if (m_stamp.Empty() || !m_Edit)
        return;
    const StampCell at =
        PatternCell(column, row, m_stampAnchor.x(), m_stampAnchor.y(), m_stamp.width, m_stamp.height);
    for (const PieceLayer& layer : m_stamp.layers) {
        const int target = TargetLayer(layer, m_Layer);
        const CellRef& record = m_stamp.At(layer, at.column, at.row);
        if (target >= 0 && record)
            m_Edit->Put(target, column, row, record);
    }
}

void frmMain::PlaceStampRun(int row, int first, int last) {
    if (m_stamp.Empty() || !m_Edit || first > last)
        return;
    for (const PieceLayer& layer : m_stamp.layers) {
        const int target = TargetLayer(layer, m_Layer);
        if (target < 0)
            continue;
        // The pattern's place is worked out once for the run's first cell and counted on from there: a
        // division per cell would cost more than the writing.
        const StampCell at =
            PatternCell(first, row, m_stampAnchor.x(), m_stampAnchor.y(), m_stamp.width, m_stamp.height);
        const CellRef* stampRow = &m_stamp.At(layer, 0, at.row);
        PutPieceRun(*m_Edit, target, row, first, last, [&](int column) -> const CellRef& {
            return stampRow[PatternColumnOn(at.column, column - first, m_stamp.width)];
        });
    }
}

void frmMain::PlacePieceAt(const Piece& piece, QPoint topLeft) {
    const QRect on = QRect(topLeft, QSize(piece.width, piece.height)) & QRect(0, 0, MapWidth(), MapHeight());
    for (const PieceLayer& layer : piece.layers) {
        const int target = TargetLayer(layer, m_Layer);
        for (int row = on.top(); row <= on.bottom() && target >= 0; ++row)
            PutPieceRun(*m_Edit, target, row, on.left(), on.right(), [&](int column) -> const CellRef& {
                return piece.At(layer, column - topLeft.x(), row - topLeft.y());
            });
    }
}

void frmMain::EmptyUnder(const Piece& piece, QPoint topLeft) {
    // Only where the piece has a cell: its empty places were never lifted.
    for (const PieceLayer& layer : piece.layers) {
        const int target = TargetLayer(layer, m_Layer);
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

void frmMain::DrawStampCell(Graphics& g, std::int64_t x, std::int64_t y, QPoint anchor) {
    if (m_stamp.Empty())
        return;
    const StampCell at = PatternCell(static_cast<int>(x), static_cast<int>(y), anchor.x(), anchor.y(),
                                     m_stamp.width, m_stamp.height);
    // Layers are kept lowest first, so the preview stacks them as the map will.
    for (const PieceLayer& layer : m_stamp.layers) {
        const CellRef& record = m_stamp.At(layer, at.column, at.row);
        if (!record)
            continue;
        const PicturePtr picture = Tileset().GetTileImage(record->ImageIndex());
        if (picture)
            DrawZoomed(g, *picture, record->ImageIndex(), x * ViewCellWidth(), y * ViewCellHeight());
    }
}

PicturePtr frmMain::StampPicture() const {
    for (const PieceLayer& layer : m_stamp.layers)
        for (const CellRef& record : layer.cells)
            if (record)
                if (PicturePtr picture = Tileset().GetTileImage(record->ImageIndex()))
                    return picture;
    return nullptr;
}
