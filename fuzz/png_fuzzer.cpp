// One input: any bytes, decoded as a PNG file. Refusing is fine; crashing, reading out of bounds, undefined
// behaviour or a picture that disagrees with itself is a finding.
#include "platform/PNGu.h"

#include <cstdint>
#include <cstdlib>
#include <new>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const PicturePtr picture =
            PNGu::Decode(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
        if (picture && (picture->Width() < 1 || picture->Height() < 1 ||
                        qint64(picture->Width()) * picture->Height() > PNGu::kMaxPixels))
            std::abort();
    } catch (const std::bad_alloc&) {
        // An image the limits accept but memory cannot hold: the editor reports it as such.
    }
    return 0;
}
