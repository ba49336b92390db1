#include "tiles/CellPool.h"

#include "platform/HugePageAllocator.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define MOSAICOR_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define MOSAICOR_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define MOSAICOR_POISON(p, n) ((void)(p), (void)(n))
#define MOSAICOR_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace CellPool {
namespace {

struct Slab {
    Slab* previous = nullptr; // in the list of slabs with room
    Slab* next = nullptr;
    std::uint32_t freeHead = 0; // index + 1 of the first freed slot, 0 when none
    std::uint32_t carved = 0;   // slots handed out at least once; those above were never touched
    std::uint32_t live = 0;     // slots in use
    bool listed = false;        // in the list of slabs with room
};

constexpr std::size_t kFirstSlot = (sizeof(Slab) + kSlotSize - 1) / kSlotSize * kSlotSize;
constexpr std::uint32_t kSlotsPerSlab = static_cast<std::uint32_t>((kSlabSize - kFirstSlot) / kSlotSize);

// The pool is the cells' allocator, as the C library's heap is everyone else's: one per program.
struct State {
    Slab* withRoom = nullptr; // slabs with a free slot
    // Empty slabs kept back for the next cells, up to 64 MB: a fill taken back and done again, or a map
    // closed and another opened, finds its pages already touched instead of waiting for the kernel to clear
    // fresh ones. Beyond that they go back to the kernel.
    std::array<void*, 32> spares{};
    std::size_t spareCount = 0;
    std::size_t slabs = 0; // in use, spares not counted
};
State g_pool;

Slab* SlabOf(const void* slot) {
    return reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(slot) & ~std::uintptr_t(kSlabSize - 1));
}

std::uint32_t IndexOf(const Slab* slab, const void* slot) {
    const auto offset = static_cast<std::size_t>(static_cast<const std::byte*>(slot) -
                                                 reinterpret_cast<const std::byte*>(slab));
    return static_cast<std::uint32_t>((offset - kFirstSlot) / kSlotSize);
}

std::byte* SlotAt(Slab* slab, std::uint32_t index) {
    return reinterpret_cast<std::byte*>(slab) + kFirstSlot + std::size_t(index) * kSlotSize;
}

void Link(Slab* slab) {
    slab->previous = nullptr;
    slab->next = g_pool.withRoom;
    if (g_pool.withRoom)
        g_pool.withRoom->previous = slab;
    g_pool.withRoom = slab;
    slab->listed = true;
}

void Unlink(Slab* slab) {
    if (slab->previous)
        slab->previous->next = slab->next;
    else
        g_pool.withRoom = slab->next;
    if (slab->next)
        slab->next->previous = slab->previous;
    slab->previous = slab->next = nullptr;
    slab->listed = false;
}

Slab* NewSlab() {
    void* memory = g_pool.spareCount > 0 ? g_pool.spares[--g_pool.spareCount] : nullptr;
    if (!memory) {
        memory = HugePages::Map(kSlabSize);
        MOSAICOR_POISON(static_cast<std::byte*>(memory) + kFirstSlot, kSlabSize - kFirstSlot);
    }
    ++g_pool.slabs;
    Slab* slab = new (memory) Slab();
    Link(slab);
    return slab;
}

void Retire(Slab* slab) {
    Unlink(slab);
    slab->~Slab();
    --g_pool.slabs;
    if (g_pool.spareCount < g_pool.spares.size())
        g_pool.spares[g_pool.spareCount++] = slab;
    else {
        // The kernel may hand the same addresses to anyone next: they must not stay marked as the pool's.
        MOSAICOR_UNPOISON(slab, kSlabSize);
        HugePages::Unmap(slab, kSlabSize);
    }
}

} // namespace

void* Allocate() {
    Slab* slab = g_pool.withRoom ? g_pool.withRoom : NewSlab();
    std::byte* slot;
    if (slab->freeHead != 0) {
        slot = SlotAt(slab, slab->freeHead - 1);
        MOSAICOR_UNPOISON(slot, kSlotSize);
        std::memcpy(&slab->freeHead, slot, sizeof slab->freeHead);
    } else {
        slot = SlotAt(slab, slab->carved++);
        MOSAICOR_UNPOISON(slot, kSlotSize);
    }
    if (++slab->live == kSlotsPerSlab)
        Unlink(slab);
    return slot;
}

void Free(void* slot) noexcept {
    if (!slot)
        return;
    Slab* slab = SlabOf(slot);
    std::memcpy(slot, &slab->freeHead, sizeof slab->freeHead);
    slab->freeHead = IndexOf(slab, slot) + 1;
    MOSAICOR_POISON(slot, kSlotSize);
    if (!slab->listed)
        Link(slab);
    if (--slab->live == 0)
        Retire(slab);
}

std::size_t SlabCount() noexcept {
    return g_pool.slabs;
}

} // namespace CellPool
