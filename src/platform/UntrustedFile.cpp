#include "platform/UntrustedFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace UntrustedFile {

namespace {
QString Megabytes(qint64 bytes) {
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}
} // namespace

std::unique_ptr<QFile> Open(const QString& path, qint64 maxBytes, QString* refusal) {
    auto refuse = [&](const QString& why) {
        if (refusal)
            *refusal = why;
        return nullptr;
    };
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO with no writer returns at once instead of waiting for one. O_NOCTTY: a
    // terminal swapped in cannot become ours.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refuse(errno == ENOENT ? QStringLiteral("no such file")
                                      : QString::fromLocal8Bit(std::strerror(errno)).toLower());
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return refuse(QStringLiteral("it is not a regular file"));
    }
    if (status.st_size > maxBytes) {
        ::close(fd);
        return refuse(QStringLiteral("it is larger than %1 MB").arg(Megabytes(maxBytes)));
    }
    // A regular file never blocks; reads go back to the ordinary mode so a short read means the end.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(QStringLiteral("it cannot be read"));
    }
    return file;
}

} // namespace UntrustedFile
