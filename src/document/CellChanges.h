#pragma once

#include "document/LayerGrid.h"
#include "tiles/CellRef.h"

#include <QRect>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// The smallest rectangle of columns and rows around some cells; growing it is a few comparisons.
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

// Whether storing record where held is would change nothing: the same record, or one equal in every field.
inline bool SameRecord(const CellRef& held, const CellRef& record) {
    return held == record || (held && record && held->SameValues(*record));
}

// The cells one edit changed, kept as runs: consecutive positions of a layer that all held one record (or
// were all empty) before the edit and all got one record from it take one entry, whatever their number. So
// a fill over an empty region costs one entry per run of rows, and a run holds one reference to each of its
// two records. Taking the edit back puts the runs' old records back, the last written first; doing it again
// puts the new ones back: exact exchanges that allocate nothing and cannot fail part way.
class CellChanges {
public:
    // Records that the cells first .. last of a row (known to lie on the grid) get make(column) each, one
    // after the other; a cell that already holds that record, or one equal to it, is left alone and is no
    // change. Throws std::bad_alloc with the cells written so far recorded and the rest untouched.
    template <class Make>
    void WriteRun(LayerGrid& grid, int layer, int row, int first, int last, Make&& make);

    // Puts back the records before the edit (undoing) or those it wrote.
    void ExchangeAll(std::array<LayerGrid, 8>& grids, bool undoing) noexcept;

    bool Empty() const { return m_runs.empty(); }
    // Cells changed, and runs kept for them.
    std::size_t CellCount() const { return m_cellCount; }
    std::size_t RunCount() const { return m_runs.size(); }
    // The cells changed on each layer, as a rectangle of columns and rows (empty when none).
    std::array<QRect, 8> Bounds() const;
    // Memory the record holds: itself, and the records that nothing but it keeps alive.
    std::size_t Bytes() const;
    // Counts again which records only this keeps alive (after the edit ends, and after each exchange).
    void Recount() noexcept;

private:
    struct Run {
        // The layer in the top bits, the grid index of the run's first cell below.
        std::uint32_t key;
        std::uint32_t count;
        CellRef before;
        CellRef after;
    };
    static constexpr int kIndexBits = 24;
    static_assert((1u << kIndexBits) >= 16777216u, "every cell index of the largest layer must fit");

    std::vector<Run> m_runs;
    std::array<CellBox, 8> m_bounds{};
    std::size_t m_cellCount = 0;
    std::size_t m_aliveOnlyHere = 0;

    // Records that count cells from key on now get record where each held held; throws std::bad_alloc, with
    // nothing changed, when a new run cannot be had. Returns the run's own reference to held, which keeps it
    // alive while the cells are written over.
    const CellRef& Note(std::uint32_t key, std::uint32_t count, const CellRef& held, const CellRef& record);
};

template <class Make>
void CellChanges::WriteRun(LayerGrid& grid, int layer, int row, int first, int last, Make&& make) {
    if (first > last)
        return;
    const std::uint32_t start = grid.IndexOf(first, row);
    const std::uint32_t count = static_cast<std::uint32_t>(last - first) + 1;
    const std::uint32_t layerKey = static_cast<std::uint32_t>(layer) << kIndexBits;
    bool changed = false;
    // Cells side by side that hold one record and get one record are compared, noted and counted once: a
    // piece or a fill of one tile over cells of one tile costs a few steps per row, not per cell.
    for (std::uint32_t at = 0; at < count;) {
        const CellRef& record = make(first + static_cast<int>(at));
        const CellRef& held = grid.Slot(start + at);
        std::uint32_t end = at + 1;
        while (end < count && grid.Slot(start + end) == held && make(first + static_cast<int>(end)) == record)
            ++end;
        if (!SameRecord(held, record)) {
            const CellRef& kept = Note(layerKey | (start + at), end - at, held, record);
            grid.Refill(start + at, end - at, record, kept);
            changed = true;
        }
        at = end;
    }
    if (!changed)
        return;
    CellBox& box = m_bounds[static_cast<std::size_t>(layer)];
    box.Add(first, row);
    box.Add(last, row);
}
