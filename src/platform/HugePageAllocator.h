#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

// An allocator for the map's large arrays (layer grids, fill marks). A fill walks such an array in a wave
// that touches every row at once; with small pages each row lies on a page of its own and most of the walk's
// time goes to address translation. Arrays of 2 MiB and more are therefore aligned to 2 MiB and offered to
// the kernel for huge pages; smaller ones come from the ordinary heap.
template <class T> struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t kHugePage = std::size_t(2) << 20;

    HugePageAllocator() noexcept = default;
    template <class U> HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHugePage)
            return static_cast<T*>(::operator new(bytes));
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* memory = std::aligned_alloc(kHugePage, rounded);
        if (!memory)
            throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
        // Advice only: where huge pages are not to be had the array works the same with small pages.
        madvise(memory, rounded, MADV_HUGEPAGE);
#endif
        return static_cast<T*>(memory);
    }

    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) < kHugePage)
            ::operator delete(p);
        else
            std::free(p);
    }

    template <class U> bool operator==(const HugePageAllocator<U>&) const noexcept {
        return true;
    }
};
