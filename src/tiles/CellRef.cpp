#include "tiles/CellRef.h"

#include "tiles/CellPool.h"
#include "tiles/clsVOCell.h"

#include <new>

static_assert(sizeof(CellRef) == sizeof(void*), "a map holds one handle per cell position");
static_assert(sizeof(clsVOCell) <= CellPool::kSlotSize && CellPool::kSlotSize % alignof(clsVOCell) == 0,
              "records must fit one pool slot");

namespace {
// Left for a test to set; negative: no limit.
long long g_cellMemoryLeft = -1;

// The texts handle for values: kNone when both are empty, else a new entry. Throws std::bad_alloc.
SharedTexts::Handle TextsFor(const GameValues& values) {
    SharedTexts::Handle handle = SharedTexts::kNone;
    try {
        if (!values.custom1.isEmpty())
            handle = SharedTexts::WithText(handle, SharedTexts::Which::Custom1, values.custom1);
        if (!values.custom2.isEmpty())
            handle = SharedTexts::WithText(handle, SharedTexts::Which::Custom2, values.custom2);
    } catch (...) {
        SharedTexts::Release(handle);
        throw;
    }
    return handle;
}
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
    return CellRef(new (CellPool::Allocate()) clsVOCell());
}

CellRef CellRef::Make(const CellValues& values) {
    CellRef made = Make();
    clsVOCell& cell = *made.m_cell;
    cell.m_shrtImageIndex = values.imageIndex;
    cell.m_shrtWidth = values.game.width;
    cell.m_shrtHeight = values.game.height;
    cell.m_shrtListIndex = values.game.listIndex;
    cell.m_shrtImageValue = values.game.imageValue;
    cell.m_blnPassable = values.game.passable;
    cell.m_blnDestroyable = values.game.destroyable;
    // The record is not shared yet: a failure here drops it whole.
    cell.m_texts = TextsFor(values.game);
    return made;
}

CellRef CellRef::Make(const clsVOCell& like, const GameValues& values) {
    const bool sameTexts = like.Custom1() == values.custom1 && like.Custom2() == values.custom2;
    if (!sameTexts)
        return Make(CellValues{like.ImageIndex(), values});
    GameValues plain = values;
    plain.custom1.clear();
    plain.custom2.clear();
    CellRef made = Make(CellValues{like.ImageIndex(), plain});
    made.m_cell->m_texts = like.TextsHandle();
    SharedTexts::Retain(made.m_cell->m_texts);
    return made;
}

long CellRef::use_count() const noexcept {
    return m_cell ? static_cast<long>(m_cell->m_references) : 0;
}

void CellRef::Destroy(clsVOCell* cell) noexcept {
    cell->~clsVOCell();
    CellPool::Free(cell);
}

void CellRef::Refill(CellRef* cells, std::uint32_t count, const CellRef& with, const CellRef& was) noexcept {
    for (std::uint32_t i = 0; i < count; ++i)
        cells[i].m_cell = with.m_cell;
    if (with.m_cell)
        with.m_cell->m_references += count;
    if (was.m_cell)
        was.m_cell->m_references -= count;
}
