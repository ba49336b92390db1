#include "LoadCost.h"

#include <QElapsedTimer>
#include <QFile>
#include <malloc.h>

namespace {

// The process's resident memory, current (VmRSS) or peak (VmHWM), in bytes; -1 when unknown.
qint64 ResidentBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

bool ResetPeak() {
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

LoadCost MeasureCost(const std::function<void()>& work) {
    LoadCost cost;
    const bool reset = ResetPeak();
    const qint64 before = ResidentBytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    work();
    cost.ms = double(timer.nsecsElapsed()) / 1e6;
    const qint64 peak = ResidentBytes("VmHWM:");
    const qint64 after = ResidentBytes("VmRSS:");
    cost.measured = reset && before >= 0 && peak >= 0 && after >= 0;
    cost.extraMB = double(peak - before) / (1 << 20);
    cost.keptMB = double(after - before) / (1 << 20);
    return cost;
}
