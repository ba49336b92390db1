#pragma once

#include "platform/HugePageAllocator.h"
#include "tiles/CellRef.h"

#include <QRect>
#include <cstddef>
#include <vector>

class MapDocument;

// A piece of a map, or the stamp a tool paints with: a small grid of cell records for one layer or several.
// Empty positions hold null and leave the map's cell as it is where the piece is placed. A cell's place on
// the map is not part of its record here: placing puts it where it lands.
struct PieceLayer {
    // The layer it came from and goes back to; kEditLayer: it goes to whichever layer is being edited.
    static constexpr int kEditLayer = -1;
    int layer = kEditLayer;
    // width x height references, row by row. A piece may be a whole layer: its array comes in huge pages,
    // so a copy of 16.7 M cells does not spend most of its time faulting in small ones.
    std::vector<CellRef, HugePageAllocator<CellRef>> cells;
};

struct Piece {
    int width = 0;
    int height = 0;
    std::vector<PieceLayer> layers;

    bool Empty() const { return width < 1 || height < 1 || layers.empty(); }
    std::size_t CellCount() const { return std::size_t(width) * std::size_t(height); }
    const CellRef& At(const PieceLayer& layer, int column, int row) const {
        return layer.cells[std::size_t(row) * std::size_t(width) + std::size_t(column)];
    }
    // The single record of a 1 x 1 stamp of one layer, or null for any other piece.
    CellRef SingleRecord() const {
        return width == 1 && height == 1 && layers.size() == 1 ? layers[0].cells[0] : CellRef();
    }
};

// The cells of rect (columns and rows, clipped to the map) as a piece: of editLayer alone, or of every layer
// in use when allLayers. Throws std::bad_alloc with nothing changed.
Piece TakePiece(const MapDocument& document, QRect rect, int editLayer, bool allLayers);

// The layer a piece layer is written to when the edit layer is editLayer.
inline int TargetLayer(const PieceLayer& layer, int editLayer) {
    return layer.layer == PieceLayer::kEditLayer ? editLayer : layer.layer;
}

struct PieceSnapshot;
// The piece as values for the clipboard. Each tile's first record met stands for the tile; a cell whose game
// properties differ from it travels with its whole record. Throws std::bad_alloc.
PieceSnapshot SnapshotOfPiece(const Piece& piece);
// The piece the values describe, the cells of a tile with no record of their own sharing one record. Throws
// std::bad_alloc.
Piece PieceFromSnapshot(const PieceSnapshot& snapshot);

// Writes recordAt(column) at the cells first .. last of a row of layer through edit (a cell edit of the
// document): the references themselves, shared. Null cells of a piece are holes that keep what the map
// holds, so they break the row into runs written one after the other.
template <class Edit, class RecordAt>
void PutPieceRun(Edit& edit, int layer, int row, int first, int last, RecordAt&& recordAt) {
    for (int column = first; column <= last;) {
        if (!recordAt(column)) {
            ++column;
            continue;
        }
        int end = column;
        while (end < last && recordAt(end + 1))
            ++end;
        edit.PutRun(layer, row, column, end, recordAt);
        column = end + 1;
    }
}
