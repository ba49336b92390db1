#pragma once

#include <cstddef>

// Memory held back for the moments after an operation has run out of it. Released then, it leaves room to
// show the message, open a dialog and save; it is taken again at the start of a later operation, when the
// system can give it once more.
class MemoryReserve {
public:
    // Address space for a file dialog: the thread that reads its folder and the two painting threads each
    // map a stack of 8 MB as they start, and they start only when the dialog opens.
    static constexpr std::size_t kDefaultBytes = std::size_t(40) << 20;
    // Of that, the part whose pages are touched when taken, so it is real memory and not only address space:
    // what the dialog's widgets, its folder listing and its painting use.
    static constexpr std::size_t kDefaultTouchedBytes = std::size_t(8) << 20;

    // Holds nothing yet: taking the memory costs a few thousand page faults, which the owner spends once its
    // window is up rather than before it first shows.
    explicit MemoryReserve(std::size_t bytes = kDefaultBytes,
                           std::size_t touchedBytes = kDefaultTouchedBytes);
    ~MemoryReserve();
    MemoryReserve(const MemoryReserve&) = delete;
    MemoryReserve& operator=(const MemoryReserve&) = delete;

    // Gives the memory back to the system, so what comes next can have it. Nothing when not held.
    void Release();
    // Takes the memory again unless it is held; false when the system cannot give it now.
    bool Replenish();
    bool Held() const { return m_block != nullptr; }

private:
    void* m_block = nullptr;
    std::size_t m_bytes;
    std::size_t m_touchedBytes;
};
