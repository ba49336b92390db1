#pragma once

#include "platform/HugePageAllocator.h"
#include "tiles/clsVOCell.h"

#include <cstdint>
#include <vector>

// One map layer: a dense grid of cell references indexed (column, row); an empty position holds null.
// A grid that was never sized, or whose layer is not in use, holds a single empty entry.
class LayerGrid {
public:
    struct Change {
        int column;
        int row;
    };
    // The change log keeps at most this many positions; beyond it, it only says that more changed.
    static constexpr std::size_t kMaxLoggedChanges = 4096;

    LayerGrid();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Inside(int column, int row) const {
        return column >= 0 && row >= 0 && column < m_width && row < m_height;
    }
    bool SizedTo(int width, int height) const { return m_width == width && m_height == height; }

    // The stored reference, or null outside the grid.
    CellRef Get(int column, int row) const;
    // Stores a reference (null empties the position); ignored outside the grid.
    void Set(int column, int row, CellRef cell);
    // Direct access for positions known to lie inside.
    const CellRef& At(int column, int row) const {
        return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) +
                       static_cast<std::size_t>(column)];
    }

    // A grid of the new size that keeps every cell lying inside both sizes at its column and row.
    // Throws std::bad_alloc without touching this grid when memory runs out.
    LayerGrid Resized(int width, int height) const;
    // Back to a single empty entry.
    void ShrinkToSingle();

    // Records a change made to the cell at a position in place (not through Set).
    void Touch(int column, int row);

    // Counts every change of content, so a renderer can tell whether what it composed is still current.
    std::uint64_t Revision() const { return m_revision; }
    // The positions changed since the log was last cleared, unless more changed than the log keeps.
    const std::vector<Change>& Changes() const { return m_changes; }
    // True when Changes() cannot be relied on: nothing logged yet since the grid was made or resized, or more
    // changed than the log keeps. The renderer then has to recompose everything.
    bool ChangeLogUntrusted() const { return m_changeLogUntrusted; }
    void ClearChanges();

private:
    int m_width = 1;
    int m_height = 1;
    using Cells = std::vector<CellRef, HugePageAllocator<CellRef>>;
    Cells m_cells;
    std::uint64_t m_revision = 0;
    std::vector<Change> m_changes;
    bool m_changeLogUntrusted = true;

    void NoteChange(int column, int row);
};
