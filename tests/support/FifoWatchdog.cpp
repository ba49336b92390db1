#include "FifoWatchdog.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

FifoWatchdog::FifoWatchdog(QStringList paths, std::chrono::milliseconds after) {
    m_thread = std::thread([this, paths, after] {
        std::unique_lock lock(m_mutex);
        if (m_stopping.wait_for(lock, after, [this] { return m_stop; }))
            return;
        do {
            for (const QString& path : paths) {
                const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
            }
        } while (!m_stopping.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_stop; }));
    });
}

FifoWatchdog::~FifoWatchdog() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_stopping.notify_all();
    m_thread.join();
}
