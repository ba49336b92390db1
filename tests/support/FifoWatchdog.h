#pragma once

#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Frees a reader stuck on a FIFO. From `after` on, until destroyed, it opens each path as reader and writer
// and closes it again every 100 ms: a reader waiting in open() for a writer wakes, and its read then finds
// the end. A test that must not block on a FIFO then fails on its time instead of hanging.
class FifoWatchdog {
public:
    FifoWatchdog(QStringList paths, std::chrono::milliseconds after);
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_stopping;
    bool m_stop = false;
    std::thread m_thread;
};
