#pragma once

#include <QFileDevice>
#include <QString>
#include <cerrno>
#include <cstring>

// Why a write to file failed, in the system's words. Qt forgets the reason when a write stops part way (a
// full disk, the file-size limit) and says "Unknown error"; the caller clears errno before the write and
// passes what it holds after, which is then the reason the system gave.
inline QString WriteFailure(const QFileDevice& file, int systemError) {
    if (systemError != 0 && systemError != EINTR)
        return QString::fromLocal8Bit(std::strerror(systemError));
    return file.errorString();
}
