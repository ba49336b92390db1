#pragma once

#include "document/CellList.h"
#include "map/LayerGrid.h"
#include "tiles/CellRef.h"

#include <QRect>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// The smallest rectangle of columns and rows around some cells; growing it is a few comparisons, which a
// fill of millions of cells does once per cell.
struct CellBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool Empty() const { return right < left; }
    void Add(int column, int row) {
        if (Empty()) {
            left = right = column;
            top = bottom = row;
            return;
        }
        left = std::min(left, column);
        right = std::max(right, column);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
    }
    QRect Rect() const { return Empty() ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom)); }
};

// The cells one edit changed, and for each the reference that is not in the map: what a position held
// before the edit while it is done, what the edit wrote while it is undone. Taking an edit back or doing it
// again exchanges the two, so nothing is copied and every field of every cell comes back exactly. Positions
// are kept as runs of consecutive grid indices: a fill or a filled shape writes whole rows.
class CellChanges {
public:
    // Records that the position gets cell: the reference is kept here and exchanged with the grid's.
    // Throws std::bad_alloc with nothing recorded and the grid untouched.
    void Write(LayerGrid& grid, int layer, int column, int row, CellRef cell);

    // Records that the cells first .. last of a row get make(column) each, one after the other (columns known
    // to lie on the grid). Throws std::bad_alloc with the cells written so far recorded.
    template <class Make>
    void WriteRun(LayerGrid& grid, int layer, int row, int first, int last, Make&& make);

    // Exchanges every recorded reference with the grid's, the last written first when undoing.
    void ExchangeAll(std::array<LayerGrid, 8>& grids, bool undoing) noexcept;

    bool Empty() const { return m_cells.empty(); }
    std::size_t CellCount() const { return m_cells.size(); }
    // The cells changed on each layer, as a rectangle of columns and rows (empty when none).
    std::array<QRect, 8> Bounds() const;
    // Memory the record holds: itself, and the cells that nothing but the record keeps alive.
    std::size_t Bytes() const;

    template <class Visit> void ForEachCell(Visit&& visit) const {
        std::size_t at = 0;
        for (const Run& run : m_runs)
            for (std::uint32_t i = 0; i < run.count; ++i)
                visit(m_cells[at++]);
    }

private:
    struct Run {
        // The layer in the top bits, the grid index of the run's first cell below.
        std::uint32_t key;
        std::uint32_t count;
    };
    static constexpr int kIndexBits = 24;
    static_assert((1u << kIndexBits) >= 16777216u, "every cell index of the largest layer must fit");

    std::vector<Run> m_runs;
    // One per recorded position, in the order of the runs.
    CellList m_cells;
    std::array<CellBox, 8> m_bounds{};
    // Recorded cells that only this record holds.
    std::size_t m_aliveOnlyHere = 0;

    void Count(const CellRef& held) { m_aliveOnlyHere += held && held.use_count() == 1 ? 1 : 0; }
    // Starts a run at key or extends the last one when key follows it; throws std::bad_alloc, with nothing
    // changed, when a new run cannot be had.
    Run& RunFor(std::uint32_t layer, std::uint32_t key);
};

template <class Make>
void CellChanges::WriteRun(LayerGrid& grid, int layer, int row, int first, int last, Make&& make) {
    if (first > last)
        return;
    const std::uint32_t start = grid.IndexOf(first, row);
    Run& run =
        RunFor(static_cast<std::uint32_t>(layer), (static_cast<std::uint32_t>(layer) << kIndexBits) | start);
    // The box takes the whole run first, so that cells written before a failure part way are never left out
    // of what is announced or rolled back.
    CellBox& box = m_bounds[static_cast<std::size_t>(layer)];
    box.Add(first, row);
    box.Add(last, row);
    for (std::uint32_t index = start, end = start + static_cast<std::uint32_t>(last - first); index <= end;
         ++index) {
        m_cells.push_back(make(first + static_cast<int>(index - start)));
        CellRef& held = m_cells.back();
        grid.Exchange(index, held);
        Count(held);
        ++run.count;
    }
}
