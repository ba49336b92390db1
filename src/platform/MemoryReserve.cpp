#include "platform/MemoryReserve.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>

MemoryReserve::MemoryReserve(std::size_t bytes, std::size_t touchedBytes)
    : m_bytes(bytes), m_touchedBytes(std::min(touchedBytes, bytes)) {}

MemoryReserve::~MemoryReserve() {
    Release();
}

void MemoryReserve::Release() {
    // Mapped apart from the heap, so the release returns both the pages and the address space at once,
    // whatever the allocator keeps for itself.
    if (m_block)
        ::munmap(m_block, m_bytes);
    m_block = nullptr;
}

bool MemoryReserve::Replenish() {
    if (m_block)
        return true;
    void* block = ::mmap(nullptr, m_bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return false;
    // A page counts as memory only once written.
    std::memset(block, 0x5A, m_touchedBytes);
    m_block = block;
    return true;
}
