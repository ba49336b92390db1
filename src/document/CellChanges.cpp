#include "document/CellChanges.h"

#include "map/LayerGrid.h"
#include "tiles/CellPool.h"

void CellChanges::Write(LayerGrid& grid, int layer, int column, int row, CellRef cell) {
    const std::uint32_t index = grid.IndexOf(column, row);
    const std::uint32_t key = (static_cast<std::uint32_t>(layer) << kIndexBits) | index;
    const bool extends = !m_runs.empty() &&
                         (m_runs.back().key >> kIndexBits) == static_cast<std::uint32_t>(layer) &&
                         m_runs.back().key + m_runs.back().count == key;
    if (extends) {
        m_cells.push_back(std::move(cell));
        ++m_runs.back().count;
    } else {
        m_runs.push_back({key, 0});
        try {
            m_cells.push_back(std::move(cell));
        } catch (...) {
            m_runs.pop_back();
            throw;
        }
        m_runs.back().count = 1;
    }
    grid.Exchange(index, m_cells.back());
    Count(m_cells.back());
    m_bounds[static_cast<std::size_t>(layer)].Add(column, row);
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
    return m_runs.capacity() * sizeof(Run) + m_cells.size() * sizeof(CellRef) +
           m_aliveOnlyHere * CellPool::kSlotSize;
}

std::array<QRect, 8> CellChanges::Bounds() const {
    std::array<QRect, 8> bounds;
    for (std::size_t k = 0; k < bounds.size(); ++k)
        bounds[k] = m_bounds[k].Rect();
    return bounds;
}
