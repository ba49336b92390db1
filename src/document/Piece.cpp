#include "document/Piece.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"
#include "document/PieceCodec.h"

Piece TakePiece(const MapDocument& document, QRect rect, int editLayer, bool allLayers) {
    rect &= QRect(0, 0, document.MapWidth(), document.MapHeight());
    Piece piece;
    if (rect.isEmpty())
        return piece;
    piece.width = rect.width();
    piece.height = rect.height();
    for (int k = 0; k < 8; ++k) {
        if (!document.LayerInUse(k) || (!allLayers && k != editLayer))
            continue;
        const LayerGrid& grid = document.Layer(k);
        PieceLayer& layer = piece.layers.emplace_back();
        layer.layer = allLayers ? k : PieceLayer::kEditLayer;
        // A grid not sized to the map (a layer just taken into use) holds fewer cells: the rest are empty.
        if (!grid.SizedTo(document.MapWidth(), document.MapHeight())) {
            layer.cells.resize(piece.CellCount());
            continue;
        }
        CellRef::TakeCellMemory(piece.CellCount());
        layer.cells.reserve(piece.CellCount());
        // Whole rows at a time: the references are copied as they lie in the grid.
        for (int row = rect.top(); row <= rect.bottom(); ++row) {
            const CellRef* first = &grid.Record(rect.left(), row);
            layer.cells.insert(layer.cells.end(), first, first + rect.width());
        }
    }
    if (piece.layers.empty())
        piece = Piece();
    return piece;
}

namespace {
const clsVOCell* TileRecord(std::vector<const clsVOCell*>& firsts, const clsVOCell& cell) {
    const std::size_t tile = std::size_t(cell.ImageIndex());
    if (firsts.size() <= tile)
        firsts.resize(tile + 1, nullptr);
    if (!firsts[tile])
        firsts[tile] = &cell;
    return firsts[tile];
}
} // namespace

PieceSnapshot SnapshotOfPiece(const Piece& piece) {
    PieceSnapshot snapshot;
    snapshot.width = piece.width;
    snapshot.height = piece.height;
    std::vector<const clsVOCell*> firsts;
    for (const PieceLayer& from : piece.layers) {
        PieceSnapshot::Layer& layer = snapshot.layers.emplace_back();
        layer.layer = from.layer;
        layer.cells.tiles.resize(from.cells.size());
        for (std::size_t i = 0; i < from.cells.size(); ++i) {
            const CellRef& cell = from.cells[i];
            if (!cell)
                continue;
            const bool odd = cell->ImageIndex() < 0;
            layer.cells.tiles[i] = odd ? kOddTile : std::uint16_t(cell->ImageIndex() + 1);
            // Cells sharing the tile's first record need no comparison of their values.
            const clsVOCell* first = odd ? nullptr : TileRecord(firsts, *cell);
            if (odd || (first != cell.get() && cell->Values().game != first->Values().game))
                layer.cells.exceptions.push_back({std::uint32_t(i), RecordOf(*cell)});
        }
    }
    for (std::size_t tile = 0; tile < firsts.size(); ++tile)
        snapshot.templates.push_back(firsts[tile] ? RecordOf(*firsts[tile]) : CellRecord{});
    return snapshot;
}

Piece PieceFromSnapshot(const PieceSnapshot& snapshot) {
    Piece piece;
    piece.width = snapshot.width;
    piece.height = snapshot.height;
    std::vector<CellRef> shared;
    for (const PieceSnapshot::Layer& from : snapshot.layers) {
        PieceLayer& layer = piece.layers.emplace_back();
        layer.layer = from.layer;
        layer.cells.resize(from.cells.tiles.size());
        for (std::size_t i = 0; i < from.cells.tiles.size(); ++i) {
            const std::uint16_t value = from.cells.tiles[i];
            if (value == 0 || value == kOddTile)
                continue;
            const std::size_t tile = value - 1u;
            if (shared.size() <= tile)
                shared.resize(tile + 1);
            if (!shared[tile]) {
                CellRecord record =
                    tile < snapshot.templates.size() ? snapshot.templates[tile] : CellRecord{};
                record.imageIndex = std::int16_t(tile);
                shared[tile] = CellRef::Make(ValuesOf(record));
            }
            layer.cells[i] = shared[tile];
        }
        for (const CellException& exception : from.cells.exceptions)
            layer.cells[exception.index] = CellRef::Make(ValuesOf(exception.record));
    }
    return piece;
}
