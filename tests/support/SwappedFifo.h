#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

// A PNG of two 32 x 32 tiles and a FIFO beside it, swapped under their two names over and over by a thread
// of its own until destroyed: whichever a reader finds at the file's name, it must never wait for a writer.
// From `after` on, the thread also opens both names as reader and writer every 100 ms, so a reader stuck in
// open() wakes and its read finds the end: a test that must not block then fails on its time, not by hanging.
class SwappedFifo {
public:
    SwappedFifo(const QString& file, const QString& fifo, std::chrono::milliseconds after);
    ~SwappedFifo();
    bool Made() const { return m_made; } // false when the image or the FIFO could not be made
    int Swaps() const { return m_swaps; }

private:
    const bool m_made;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_swaps = 0;
    std::thread m_thread;
};
