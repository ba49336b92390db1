#include "tiles/CellRef.h"

#include "tiles/CellPool.h"
#include "tiles/clsVOCell.h"

#include <new>

static_assert(sizeof(CellRef) == sizeof(void*), "a map holds one handle per cell position");
static_assert(sizeof(clsVOCell) <= CellPool::kSlotSize && CellPool::kSlotSize % alignof(clsVOCell) == 0,
              "placed cells must fit one pool slot: eight full layers hold millions");

// Builds a cell in a pool slot; the slot goes back if the record cannot be built.
template <typename... Args> clsVOCell* CellRef::Build(Args&&... args) {
    TakeCellMemory(1);
    void* slot = CellPool::Allocate();
    try {
        return new (slot) clsVOCell(std::forward<Args>(args)...);
    } catch (...) {
        CellPool::Free(slot);
        throw;
    }
}

namespace {
// Left for a test to set; negative: no limit.
long long g_cellMemoryLeft = -1;
} // namespace

void CellRef::FailCellMemoryAfter(long long count) {
    g_cellMemoryLeft = count;
}

void CellRef::TakeCellMemory(std::size_t count) {
    if (g_cellMemoryLeft < 0)
        return;
    if (static_cast<unsigned long long>(g_cellMemoryLeft) < count)
        throw std::bad_alloc();
    g_cellMemoryLeft -= static_cast<long long>(count);
}

CellRef CellRef::Make() {
    return CellRef(Build());
}

CellRef CellRef::Make(const clsVOCell& copyOf) {
    return CellRef(Build(copyOf));
}

long CellRef::use_count() const noexcept {
    return m_cell ? static_cast<long>(m_cell->m_references) : 0;
}

void CellRef::Destroy(clsVOCell* cell) noexcept {
    cell->~clsVOCell();
    CellPool::Free(cell);
}
