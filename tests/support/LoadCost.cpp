#include "LoadCost.h"
#include "ProcessMemory.h"

#include <QElapsedTimer>

LoadCost MeasureCost(const std::function<void()>& work) {
    LoadCost cost;
    const bool reset = ProcessMemory::ResetPeak();
    const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    work();
    cost.ms = double(timer.nsecsElapsed()) / 1e6;
    const qint64 peak = ProcessMemory::ResidentBytes("VmHWM:");
    const qint64 after = ProcessMemory::ResidentBytes("VmRSS:");
    cost.measured = reset && before >= 0 && peak >= 0 && after >= 0;
    cost.extraMB = double(peak - before) / (1 << 20);
    cost.keptMB = double(after - before) / (1 << 20);
    return cost;
}
