#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include <sys/mman.h>

namespace HugePages {

inline constexpr std::size_t kSize = std::size_t(2) << 20;

// Whole huge pages straight from the kernel, aligned to 2 MiB and offered for huge pages; bytes is a multiple
// of 2 MiB. They are given back to the kernel as soon as they are freed: from the C library's heap, blocks
// freed by one large map were carved up again by the next, and opening the same map again took a third more
// memory than opening it once. Throws std::bad_alloc when the kernel has none to give.
inline void* Map(std::size_t bytes) {
    const std::size_t span = bytes + kSize;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto first = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (first + kSize - 1) & ~std::uintptr_t(kSize - 1);
    const std::size_t head = aligned - first;
    if (head > 0)
        munmap(raw, head);
    if (span - head - bytes > 0)
        munmap(reinterpret_cast<void*>(aligned + bytes), span - head - bytes);
    void* memory = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
    // Advice only: where huge pages are not to be had the memory works the same with small pages.
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

inline void Unmap(void* memory, std::size_t bytes) noexcept {
    munmap(memory, bytes);
}

} // namespace HugePages

// An allocator for the map's large arrays (layer grids, fill marks). A fill walks such an array in a wave
// that touches every row at once; with small pages each row lies on a page of its own and most of the walk's
// time goes to address translation. Arrays of 2 MiB and more are therefore aligned to 2 MiB and offered to
// the kernel for huge pages; smaller ones come from the ordinary heap.
template <class T> struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t kHugePage = HugePages::kSize;
    static std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

    HugePageAllocator() noexcept = default;
    template <class U> HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHugePage)
            return static_cast<T*>(::operator new(bytes));
        return static_cast<T*>(HugePages::Map(Rounded(bytes)));
    }

    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) < kHugePage)
            ::operator delete(p);
        else
            HugePages::Unmap(p, Rounded(n * sizeof(T)));
    }

    template <class U> bool operator==(const HugePageAllocator<U>&) const noexcept { return true; }
};
