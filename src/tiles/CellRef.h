#pragma once

#include <cstddef>
#include <utility>

class clsVOCell;

// A counted reference to a cell: cells are shared by reference (the map, the fill's work, the tests) and
// live as long as one reference does. The count sits inside the cell and the handle is one pointer, half a
// std::shared_ptr: a full 8-layer map holds one handle per cell position, and every placed cell is one slot
// of the cell pool with no separate control block. The editor has one thread, so the count is plain.
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

    clsVOCell* get() const noexcept { return m_cell; }
    clsVOCell* operator->() const noexcept { return m_cell; }
    clsVOCell& operator*() const noexcept { return *m_cell; }
    explicit operator bool() const noexcept { return m_cell != nullptr; }
    // How many references share the cell, 0 for a null reference.
    long use_count() const noexcept;
    friend bool operator==(const CellRef& a, const CellRef& b) noexcept { return a.m_cell == b.m_cell; }
    friend bool operator==(const CellRef& a, std::nullptr_t) noexcept { return a.m_cell == nullptr; }

    // A new cell, initial values or a value copy of another. Throws std::bad_alloc when memory runs out.
    static CellRef Make();
    static CellRef Make(const clsVOCell& copyOf);

    // Memory for cells is taken here: the cells themselves, and the slots of the grids that hold them
    // (count of them at once). Throws std::bad_alloc when the test hook below says memory has run out.
    static void TakeCellMemory(std::size_t count);
    // Test hook: memory for this many more cells or slots is granted, then every request fails as if memory
    // had run out; a negative count lifts the limit.
    static void FailCellMemoryAfter(long long count);

private:
    explicit CellRef(clsVOCell* adopted) noexcept : m_cell(adopted) { Retain(); }
    template <typename... Args> static clsVOCell* Build(Args&&... args);
    // Inline (defined after clsVOCell) because a fill copies and drops millions of references.
    inline void Retain() const noexcept;
    inline void Release() noexcept;
    static void Destroy(clsVOCell* cell) noexcept;

    clsVOCell* m_cell = nullptr;
};
