// --thumbnail: a small picture of a map for file managers. File managers run it on whatever lies in a folder,
// so it is bounded in time and memory whatever the file holds: a file that would cost more gives no
// thumbnail, quickly, and the file manager shows its generic icon.
#include "app/HeadlessCommands.h"
#include "document/ReadMapFile.h"
#include "map/MapThumbnail.h"
#include "platform/PngBandWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <new>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The whole run is stopped after this many seconds: the kernel ends the process, and no OUT is left since
// it is written only once the picture is whole.
constexpr unsigned kSecondsAllowed = 4;
// Memory the run may take beyond what the process held when it began: the largest map's tile numbers
// (8 layers of 16,777,216 cells, two bytes each) do not fit, so such a map gives no thumbnail.
constexpr rlim_t kExtraAddressSpace = rlim_t(240) << 20;
// Pixels of tileset images decoded for tile colours, in all: about a quarter of a second's work.
constexpr qint64 kPixelBudget = qint64(32) << 20;

// The process's address space now, from /proc; 0 when it cannot be read. (Unused where the address
// checker runs: see Bound.)
[[maybe_unused]] rlim_t AddressSpace() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return rlim_t(status.readLine().split(' ').value(0).toULongLong()) * rlim_t(sysconf(_SC_PAGESIZE));
}

void Bound() {
    alarm(kSecondsAllowed);
#if !defined(__SANITIZE_ADDRESS__)
    // The address checker reserves terabytes of address space up front: no such limit can hold there.
    if (const rlim_t now = AddressSpace(); now > 0) {
        const struct rlimit limit { now + kExtraAddressSpace, now + kExtraAddressSpace };
        setrlimit(RLIMIT_AS, &limit);
    }
#endif
}

QString WritePng(const QImage& picture, const QString& path) {
    // The picture is made: writing its few bytes is not cut short by the clock, so no half-written
    // temporary file is ever left beside OUT.
    alarm(0);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    PngBandWriter writer(file, picture.width(), picture.height());
    if (!writer.AddRows(picture) || !writer.Finish())
        return writer.Problem();
    return file.commit() ? QString() : file.errorString();
}

QString Thumbnail(const CommandLine& line) {
    MapSnapshot map;
    const MapFileResult read = ReadMapFile(line.thumbnailIn, &map);
    if (!read.ok())
        return read.reason;
    const std::vector<QRgb> colours =
        MapThumbnail::TileColours(map, QFileInfo(line.thumbnailIn).absoluteFilePath(), kPixelBudget);
    const QImage picture = MapThumbnail::Draw(map, colours, line.thumbnailSize);
    if (picture.isNull())
        throw std::bad_alloc();
    return WritePng(picture, line.thumbnailOut);
}

} // namespace

int RunThumbnail(const CommandLine& line, std::FILE* out, std::FILE* err) {
    Bound();
    const QString failure = FailureOf([&line] { return Thumbnail(line); });
    if (!failure.isEmpty()) {
        PrintLine(
            err,
            QStringLiteral("mosaicor: no thumbnail of %1: %2").arg(TerminalSafe(line.thumbnailIn), failure));
        return 1;
    }
    PrintLine(out, QStringLiteral("%1 written from %2")
                       .arg(TerminalSafe(line.thumbnailOut), TerminalSafe(line.thumbnailIn)));
    return 0;
}
