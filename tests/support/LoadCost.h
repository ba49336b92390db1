#pragma once

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

LoadCost MeasureCost(const std::function<void()>& work);
