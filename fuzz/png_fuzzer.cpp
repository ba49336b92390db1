// One input: any bytes, read as a PNG file twice: whole, as the editor reads its icons, and in bands of rows
// as a tileset is cut. Refusing is fine; crashing, reading out of bounds, undefined behaviour, a picture that
// disagrees with itself or a finished read whose hash is not that of every byte is a finding.
#include "platform/PNGu.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Reads the image in bands of up to 7 rows (decoding at most 64 rows), or an interlaced one whole keeping
// its first rows, then the rest of the file.
void ReadInBands(const QByteArray& bytes) {
    PNGu::Reader reader(bytes);
    if (!reader.Ok() || reader.Width() > 1 << 16)
        return;
    const int kept = std::min(reader.Height(), 64);
    QImage band(reader.Width(), std::min(kept, 7), QImage::Format_ARGB32);
    if (band.isNull())
        return;
    bool read = true;
    if (reader.Interlaced()) {
        QImage top(reader.Width(), kept, QImage::Format_ARGB32);
        read = !top.isNull() && reader.ReadInterlaced(top);
    } else {
        for (int y = 0; read && y + band.height() <= kept; y += band.height())
            read = reader.ReadRows(band);
    }
    const bool finished = read && reader.Finish();
    if (finished != !reader.ContentHash().isEmpty() ||
        (finished && reader.ContentHash() != QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const PicturePtr picture = PNGu::Decode(bytes);
        if (picture && (picture->Width() < 1 || picture->Height() < 1 ||
                        qint64(picture->Width()) * picture->Height() > PNGu::kMaxPixels))
            std::abort();
        ReadInBands(bytes);
    } catch (const std::bad_alloc&) {
        // An image the limits accept but memory cannot hold: the editor reports it as such.
    }
    return 0;
}
