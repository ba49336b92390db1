#pragma once

#include "platform/HugePageAllocator.h"
#include "tiles/CellRef.h"
#include "tiles/PlacedCell.h"

#include <cstdint>
#include <vector>

// One map layer: a dense grid of references to shared, immutable records, indexed (column, row); an empty
// position holds null. A grid that was never sized, or whose layer is not in use, holds a single empty entry.
// Readers get const access only: a stored cell changes through the document's edit (MapDocument::CellEdit)
// and its history, which reach the slots as friends, and a grid not yet in a document is filled by Put.
class LayerGrid {
public:
    LayerGrid();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Inside(long long column, long long row) const {
        return column >= 0 && row >= 0 && column < m_width && row < m_height;
    }
    bool SizedTo(int width, int height) const { return m_width == width && m_height == height; }
    std::size_t Count() const { return m_cells.size(); }
    // The position of (column, row) in row order; callers make sure it lies inside.
    std::uint32_t IndexOf(int column, int row) const {
        return static_cast<std::uint32_t>(row) * static_cast<std::uint32_t>(m_width) +
               static_cast<std::uint32_t>(column);
    }

    // The cell at a position with its place filled in, or an empty one outside the grid.
    PlacedCell Get(int column, int row) const;
    // The same for positions known to lie inside.
    PlacedCell At(int column, int row) const {
        const CellRef& record = Record(column, row);
        return PlacedCell(record.get(), column * m_tileWidth, row * m_tileHeight, m_layer);
    }
    // The shared record stored at a position known to lie inside.
    const CellRef& Record(int column, int row) const { return m_cells[IndexOf(column, row)]; }
    const CellRef& AtIndex(std::uint32_t index) const { return m_cells[index]; }

    // A grid of the new size that keeps every cell lying inside both sizes at its column and row.
    // Throws std::bad_alloc without touching this grid when memory runs out.
    LayerGrid Resized(int width, int height) const;
    // Stores a record in a grid being built, before it is any document's (opening a file).
    void Put(std::uint32_t index, CellRef record) { m_cells[index] = std::move(record); }

private:
    friend class MapDocument;
    friend class CellChanges;

    int m_width = 1;
    int m_height = 1;
    // What the cells' places are worked out from: the document sets them, and a new tile size or layer
    // count visits no cell.
    int m_tileWidth = 0;
    int m_tileHeight = 0;
    std::uint8_t m_layer = 0;
    using Cells = std::vector<CellRef, HugePageAllocator<CellRef>>;
    Cells m_cells;

    void SetPlace(int layer, int tileWidth, int tileHeight) {
        m_layer = static_cast<std::uint8_t>(layer);
        m_tileWidth = tileWidth;
        m_tileHeight = tileHeight;
    }
    CellRef& Slot(std::uint32_t index) { return m_cells[index]; }
    // Makes count slots from first on, each holding was, hold with instead.
    void Refill(std::uint32_t first, std::uint32_t count, const CellRef& with, const CellRef& was) noexcept {
        CellRef::Refill(m_cells.data() + first, count, with, was);
    }
};
