#include "document/CellChanges.h"

#include "tiles/CellPool.h"

const CellRef& CellChanges::Note(std::uint32_t key, std::uint32_t count, const CellRef& held,
                                 const CellRef& record) {
    if (!m_runs.empty()) {
        Run& last = m_runs.back();
        if (last.key + last.count == key && last.before == held && last.after == record &&
            (last.key >> kIndexBits) == (key >> kIndexBits)) {
            last.count += count;
            m_cellCount += count;
            return last.before;
        }
    }
    // A new run is the memory an edit takes: the test hook may say it has run out.
    CellRef::TakeCellMemory(1);
    m_runs.push_back({key, count, held, record});
    m_cellCount += count;
    return m_runs.back().before;
}

void CellChanges::ExchangeAll(std::array<LayerGrid, 8>& grids, bool undoing) noexcept {
    constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
    // Every cell of a run holds the run's one record on the side being left: the runs are put back in the
    // opposite order of their writing when undoing, so a cell written twice comes back through each.
    const auto put = [&grids](const Run& run, const CellRef& with, const CellRef& was) {
        grids[run.key >> kIndexBits].Refill(run.key & kIndexMask, run.count, with, was);
    };
    if (undoing)
        for (auto run = m_runs.rbegin(); run != m_runs.rend(); ++run)
            put(*run, run->before, run->after);
    else
        for (const Run& run : m_runs)
            put(run, run.after, run.before);
    Recount();
}

void CellChanges::Recount() noexcept {
    m_aliveOnlyHere = 0;
    for (const Run& run : m_runs)
        m_aliveOnlyHere +=
            (run.before && run.before.use_count() == 1) + (run.after && run.after.use_count() == 1);
}

std::size_t CellChanges::Bytes() const {
    return m_runs.capacity() * sizeof(Run) + m_aliveOnlyHere * CellPool::kSlotSize;
}

std::array<QRect, 8> CellChanges::Bounds() const {
    std::array<QRect, 8> bounds;
    for (std::size_t k = 0; k < bounds.size(); ++k)
        bounds[k] = m_bounds[k].Rect();
    return bounds;
}
