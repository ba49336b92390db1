#pragma once

#include "tiles/clsVOCell.h"

#include <cstddef>
#include <cstdint>
#include <utility>

// A counted reference to an immutable cell record: a tile's template and every cell placed from it share
// one record, and a record lives as long as one reference does. The count sits inside the record and the
// handle is one pointer: a full 8-layer map holds one handle per cell position. The handle gives const
// access only, so a record, once made, is never written. The editor has one thread, so the count is plain.
class CellRef {
public:
    CellRef() noexcept = default;
    CellRef(std::nullptr_t) noexcept {}
    CellRef(const CellRef& other) noexcept : m_cell(other.m_cell) { Retain(); }
    CellRef(CellRef&& other) noexcept : m_cell(std::exchange(other.m_cell, nullptr)) {}
    CellRef& operator=(CellRef other) noexcept {
        std::swap(m_cell, other.m_cell);
        return *this;
    }
    ~CellRef() { Release(); }
    void Swap(CellRef& other) noexcept { std::swap(m_cell, other.m_cell); }

    const clsVOCell* get() const noexcept { return m_cell; }
    const clsVOCell* operator->() const noexcept { return m_cell; }
    const clsVOCell& operator*() const noexcept { return *m_cell; }
    explicit operator bool() const noexcept { return m_cell != nullptr; }
    // How many references share the record, 0 for a null reference.
    long use_count() const noexcept;
    friend bool operator==(const CellRef& a, const CellRef& b) noexcept { return a.m_cell == b.m_cell; }
    friend bool operator==(const CellRef& a, std::nullptr_t) noexcept { return a.m_cell == nullptr; }

    // A new record with initial values, or with the given ones. Throws std::bad_alloc when memory runs out.
    static CellRef Make();
    static CellRef Make(const CellValues& values);
    // A new record showing like's tile with the given game properties; it shares like's texts when they are
    // the same.
    static CellRef Make(const clsVOCell& like, const GameValues& values);

    // Memory for records is taken here: the records themselves, and the slots of the grids that hold them
    // (count of them at once). Throws std::bad_alloc when the test hook below says memory has run out.
    static void TakeCellMemory(std::size_t count);
    // Test hook: memory for this many more records or slots is granted, then every request fails as if
    // memory had run out; a negative count lifts the limit.
    static void FailCellMemoryAfter(long long count);

private:
    friend class LayerGrid;
    explicit CellRef(clsVOCell* adopted) noexcept : m_cell(adopted) { Retain(); }
    // Inline because a fill copies and drops millions of references.
    inline void Retain() const noexcept;
    inline void Release() noexcept;
    static void Destroy(clsVOCell* cell) noexcept;
    // Makes count cells, each holding was, hold with instead, adjusting both counts once: how the history
    // puts back a run of cells that all held one record. was keeps a reference of its own, so it never
    // reaches 0 here.
    static void Refill(CellRef* cells, std::uint32_t count, const CellRef& with, const CellRef& was) noexcept;

    clsVOCell* m_cell = nullptr;
};

void CellRef::Retain() const noexcept {
    if (m_cell)
        ++m_cell->m_references;
}

void CellRef::Release() noexcept {
    if (m_cell && --m_cell->m_references == 0)
        Destroy(m_cell);
    m_cell = nullptr;
}
