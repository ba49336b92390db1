#pragma once

#include "tiles/CellRef.h"

#include <cstddef>
#include <memory>
#include <vector>

// The references an edit keeps, in the order it wrote them: appended one at a time, read back by position.
// A fill of a whole layer keeps millions, so they are held in fixed blocks that never move (no copying as it
// grows, and no more than one block unused) and appending is a few instructions.
class CellList {
public:
    CellList() = default;
    CellList(CellList&&) noexcept = default;
    CellList& operator=(CellList&&) noexcept = default;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    CellRef& operator[](std::size_t i) { return m_blocks[i >> kBlockBits][i & kBlockMask]; }
    const CellRef& operator[](std::size_t i) const { return m_blocks[i >> kBlockBits][i & kBlockMask]; }
    CellRef& back() { return (*this)[m_size - 1]; }

    // Appends a reference; throws std::bad_alloc, with nothing appended, when a new block cannot be had.
    void push_back(CellRef cell) {
        if ((m_size & kBlockMask) == 0 && (m_size >> kBlockBits) == m_blocks.size()) {
            m_blocks.reserve(m_blocks.size() + 1);
            m_blocks.push_back(std::make_unique<CellRef[]>(kBlockSize));
        }
        (*this)[m_size].Swap(cell);
        ++m_size;
    }

    // Memory it holds.
    std::size_t Bytes() const { return m_blocks.size() * kBlockSize * sizeof(CellRef); }

private:
    // Blocks of 64 KB: the C library keeps blocks this small in its heap for reuse, where larger ones would
    // come fresh from the kernel, to be cleared page by page, on every fill.
    static constexpr unsigned kBlockBits = 13;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;
    static constexpr std::size_t kBlockMask = kBlockSize - 1;

    std::vector<std::unique_ptr<CellRef[]>> m_blocks;
    std::size_t m_size = 0;
};
