#pragma once

#include "platform/HugePageAllocator.h"
#include "tiles/clsVOCell.h"

#include <cstdint>
#include <vector>

// One map layer: a dense grid of cell references indexed (column, row); an empty position holds null.
// A grid that was never sized, or whose layer is not in use, holds a single empty entry.
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

    // The stored reference, or null outside the grid.
    CellRef Get(int column, int row) const;
    // Direct access for positions known to lie inside.
    const CellRef& At(int column, int row) const { return m_cells[IndexOf(column, row)]; }
    const CellRef& AtIndex(std::uint32_t index) const { return m_cells[index]; }
    // Exchanges the reference at a position with the given one: how the document writes a cell and keeps
    // what was there for undo, without touching any count.
    void Exchange(std::uint32_t index, CellRef& other) noexcept { m_cells[index].Swap(other); }

    // A grid of the new size that keeps every cell lying inside both sizes at its column and row.
    // Throws std::bad_alloc without touching this grid when memory runs out.
    LayerGrid Resized(int width, int height) const;
    // Back to a single empty entry.
    void ShrinkToSingle();
    // Sets every stored cell's X and Y to where its column and row lie with the given tile size.
    void PlaceCellsAt(int tileWidth, int tileHeight);

private:
    int m_width = 1;
    int m_height = 1;
    using Cells = std::vector<CellRef, HugePageAllocator<CellRef>>;
    Cells m_cells;
};
