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

// A device that passes every write whole to another through WriteAll. A writer that gives up at the first
// short write (the XML writer does) then goes on to the write that fails with the reason, so the device it
// writes to can say what happened ("No space left on device") instead of nothing.
class WholeWrites : public QIODevice {
public:
    explicit WholeWrites(QIODevice& target) : m_target(target) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        return WriteAll(m_target, data, size) ? size : -1;
    }

private:
    QIODevice& m_target;
};
