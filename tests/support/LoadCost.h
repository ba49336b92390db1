#pragma once

#include "ProcessMemory.h"

#include <QElapsedTimer>
#include <functional>

// What running some code costs: its wall time, and how far the process's peak resident memory rose above
// what was resident when it began (Linux: the kernel's peak is set back to the current figure first, after
// the allocator has returned what it keeps free). Shared by the tests and the load benchmark.
struct LoadCost {
    double ms = 0;
    double extraMB = 0;
    double keptMB = 0;     // how far the resident memory stayed above it after
    bool measured = false; // false when the peak could not be set back or read
};

inline LoadCost MeasureCost(const std::function<void()>& work) {
    const bool reset = ProcessMemory::ResetPeak();
    const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    work();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const qint64 peak = ProcessMemory::ResidentBytes("VmHWM:"),
                 after = ProcessMemory::ResidentBytes("VmRSS:");
    return {ms, double(peak - before) / (1 << 20), double(after - before) / (1 << 20),
            reset && before >= 0 && peak >= 0 && after >= 0};
}
