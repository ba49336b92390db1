#include "tiles/CellRef.h"

#include "tiles/clsVOCell.h"

#include <new>

static_assert(sizeof(CellRef) == sizeof(void*), "a map holds one handle per cell position");
static_assert(sizeof(clsVOCell) <= 40, "placed cells must stay small: eight full layers hold millions");

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
    TakeCellMemory(1);
    return CellRef(new clsVOCell());
}

CellRef CellRef::Make(const clsVOCell& copyOf) {
    TakeCellMemory(1);
    return CellRef(new clsVOCell(copyOf));
}

long CellRef::use_count() const noexcept {
    return m_cell ? static_cast<long>(m_cell->m_references) : 0;
}

void CellRef::Retain() const noexcept {
    if (m_cell)
        ++m_cell->m_references;
}

void CellRef::Release() noexcept {
    if (m_cell && --m_cell->m_references == 0)
        delete m_cell;
    m_cell = nullptr;
}
