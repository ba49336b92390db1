#pragma once

#include <cstddef>

// Storage for placed cells. A fill of a large map places millions of cells at once, and one system allocation
// per cell costs a call, a header and a page fault every few dozen cells. Cells are instead carved from
// 2 MiB slabs: placing a cell takes a free slot of a slab, freeing it puts the slot back, and a slab whose
// last cell is freed is kept back for reuse, up to 32 of them (64 MiB), so placing and erasing cells, or a
// fill undone and done again, does not take and return slabs each time; beyond that it goes back to the
// system. The editor has one thread, so nothing is locked.
namespace CellPool {

// Bytes of every slot: the largest record the pool holds.
inline constexpr std::size_t kSlotSize = 20;
// Bytes of one slab. Slabs are aligned to their size, so the slab of any slot is found by masking its
// address: a slot needs no header of its own. 2 MiB is also the size of a huge page, which spares large
// fills most page faults.
inline constexpr std::size_t kSlabSize = std::size_t(2) << 20;

// Room for one cell record. Throws std::bad_alloc when no slab can be had.
void* Allocate();
// Gives back a slot that Allocate returned; the record in it has been destroyed.
void Free(void* slot) noexcept;

// Slabs holding cells now (the empty ones kept back for reuse not counted).
std::size_t SlabCount() noexcept;

} // namespace CellPool
