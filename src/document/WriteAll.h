#pragma once

#include <QIODevice>

// Writes all of bytes, going on after a short write: a file system that is filling up takes part of a write
// without an error, and only the next write fails with the reason (which the device then reports).
inline bool WriteAll(QIODevice& device, const char* bytes, qint64 size) {
    while (size > 0) {
        const qint64 written = device.write(bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}
