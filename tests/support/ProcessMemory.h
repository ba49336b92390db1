#pragma once

#include <QFile>
#include <malloc.h>

// The process's memory as the kernel counts it (Linux), for the tests and benchmarks that bound or report
// peak memory.
namespace ProcessMemory {

// The process's resident memory, current ("VmRSS:") or peak ("VmHWM:"), in bytes.
inline qint64 ResidentBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

// Gives memory the allocator keeps free back to the system, then sets the peak back to what is resident now,
// so the next peak counts every page the code after touches.
inline bool ResetPeak() {
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// Peak memory since the last ResetPeak beyond what was resident then (before), in MB.
inline double ExtraPeakMB(qint64 before) {
    return double(ResidentBytes("VmHWM:") - before) / (1 << 20);
}

} // namespace ProcessMemory
