#include "SwappedFifo.h"

#include <QFile>
#include <QImage>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

SwappedFifo::SwappedFifo(const QString& file, const QString& fifo, std::chrono::milliseconds after)
    : m_made([&] {
          QImage tiles(64, 32, QImage::Format_ARGB32);
          tiles.fill(Qt::green);
          return tiles.save(file) && ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0;
      }()),
      m_thread([this, a = QFile::encodeName(file), b = QFile::encodeName(fifo), after] {
          const auto began = std::chrono::steady_clock::now();
          auto woken = began;
          while (!m_stop) {
              if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0)
                  ++m_swaps;
              const auto now = std::chrono::steady_clock::now();
              if (now - began < after || now - woken < std::chrono::milliseconds(100))
                  continue;
              woken = now;
              for (const QByteArray& path : {a, b})
                  if (const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC); fd >= 0)
                      ::close(fd);
          }
      }) {}

SwappedFifo::~SwappedFifo() {
    m_stop = true;
    m_thread.join();
}
