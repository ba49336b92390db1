#include "document/CellChanges.h"

#include "map/LayerGrid.h"
#include "tiles/CellPool.h"

CellChanges::Run& CellChanges::RunFor(std::uint32_t layer, std::uint32_t key) {
    const bool extends = !m_runs.empty() && (m_runs.back().key >> kIndexBits) == layer &&
                         m_runs.back().key + m_runs.back().count == key;
    if (!extends)
        m_runs.push_back({key, 0});
    return m_runs.back();
}

void CellChanges::Write(LayerGrid& grid, int layer, int column, int row, CellRef cell) {
    WriteRun(grid, layer, row, column, column, [&cell](int) { return std::move(cell); });
}

void CellChanges::ExchangeAll(std::array<LayerGrid, 8>& grids, bool undoing) noexcept {
    constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
    // Each held reference moves once, so counting as they arrive counts the record's final holdings.
    m_aliveOnlyHere = 0;
    if (undoing) {
        std::size_t at = m_cells.size();
        for (auto run = m_runs.rbegin(); run != m_runs.rend(); ++run) {
            LayerGrid& grid = grids[run->key >> kIndexBits];
            const std::uint32_t first = run->key & kIndexMask;
            for (std::uint32_t i = run->count; i-- > 0;) {
                CellRef& held = m_cells[--at];
                grid.Exchange(first + i, held);
                Count(held);
            }
        }
        return;
    }
    std::size_t at = 0;
    for (const Run& run : m_runs) {
        LayerGrid& grid = grids[run.key >> kIndexBits];
        const std::uint32_t first = run.key & kIndexMask;
        for (std::uint32_t i = 0; i < run.count; ++i) {
            CellRef& held = m_cells[at++];
            grid.Exchange(first + i, held);
            Count(held);
        }
    }
}

std::size_t CellChanges::Bytes() const {
    return m_runs.capacity() * sizeof(Run) + m_cells.Bytes() + m_aliveOnlyHere * CellPool::kSlotSize;
}

std::array<QRect, 8> CellChanges::Bounds() const {
    std::array<QRect, 8> bounds;
    for (std::size_t k = 0; k < bounds.size(); ++k)
        bounds[k] = m_bounds[k].Rect();
    return bounds;
}
