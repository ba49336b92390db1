#include "tiles/CellRef.h"

#include "tiles/clsVOCell.h"

static_assert(sizeof(CellRef) == sizeof(void*), "a map holds one handle per cell position");
static_assert(sizeof(clsVOCell) <= 40, "placed cells must stay small: eight full layers hold millions");

CellRef CellRef::Make() {
    return CellRef(new clsVOCell());
}

CellRef CellRef::Make(const clsVOCell& copyOf) {
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
