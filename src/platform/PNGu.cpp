#include "platform/PNGu.h"

#include "platform/PngChunks.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <new>
#include <png.h>
#include <vector>

namespace {

// libpng reports errors by longjmp. The functions it can leave that way hold nothing with a destructor, so
// leaving them skips no clean-up; everything C++ lives in the caller, outside their frames.

struct MemorySource {
    const unsigned char* data;
    std::size_t size;
    std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, std::size_t count) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->at)
        png_error(png, "read past the end of the file");
    std::memcpy(out, source->data + source->at, count);
    source->at += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Chunks the editor has no use for. Their data is skipped without being read into memory or inflated: text
// and colour profiles can be compressed bombs, suggested palettes and the rest can claim large buffers.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0pCAL\0sCAL\0eXIf\0hIST\0tIME\0"
                                      "bKGD\0cHRM\0gAMA\0sRGB\0oFFs\0pHYs\0sBIT";
constexpr int kSkippedChunkCount = 17;

struct Layout {
    png_uint_32 width;
    png_uint_32 height;
    std::size_t rowBytes;
};

// Reads the header and asks for 8-bit RGBA in the byte order of QImage::Format_ARGB32: every colour type,
// depth and interlacing expanded, the colour key (tRNS) turned into alpha at the file's own depth, before
// 16-bit samples are scaled down.
bool ReadHeader(png_structp png, png_infop info, Layout* layout) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    const bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_scale_16(png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (!hasAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
    png_set_swap_alpha(png);
    if (!hasAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    layout->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool ReadPixels(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

class ReadStruct {
public:
    ReadStruct() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (m_png)
            m_info = png_create_info_struct(m_png);
    }
    ~ReadStruct() { png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr); }
    ReadStruct(const ReadStruct&) = delete;
    ReadStruct& operator=(const ReadStruct&) = delete;

    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

} // namespace

namespace PNGu {

PicturePtr Decode(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    PngHeader header;
    if (!ScanPngChunks(data, size, kMaxPixels, header))
        return nullptr;

    ReadStruct read;
    if (!read.info())
        throw std::bad_alloc();
    png_structp png = read.png();
    png_set_user_limits(png, static_cast<png_uint_32>(kMaxPixels), static_cast<png_uint_32>(kMaxPixels));
    // No ancillary chunk may keep more than a few of its kind or allocate more than a few megabytes.
    png_set_chunk_cache_max(png, 64);
    png_set_chunk_malloc_max(png, 4u << 20);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Mutated inputs rarely keep their checksums; ignoring them lets the fuzzer reach the decoding itself.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    MemorySource source{data, size, 0};
    png_set_read_fn(png, &source, ReadFromMemory);

    Layout layout{};
    if (!ReadHeader(png, read.info(), &layout))
        return nullptr;
    if (layout.width != header.width || layout.height != header.height ||
        layout.rowBytes != std::size_t{layout.width} * 4)
        return nullptr;
    QImage image(static_cast<int>(layout.width), static_cast<int>(layout.height), QImage::Format_ARGB32);
    if (image.isNull())
        throw std::bad_alloc();
    std::vector<png_bytep> rows(layout.height);
    for (png_uint_32 y = 0; y < layout.height; ++y)
        rows[y] = image.scanLine(static_cast<int>(y));
    if (!ReadPixels(png, rows.data()))
        return nullptr;
    image = std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw std::bad_alloc();
    return std::make_shared<Picture>(std::move(image));
}

PicturePtr OpenAsPictureWithMask(const QString& path, double /*gamma*/) {
    // Only a regular file of bounded size is read; a device or a pipe could feed the reader without end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileBytes)
        return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.read(info.size());
    if (bytes.size() != info.size())
        return nullptr;
    return Decode(bytes);
}

} // namespace PNGu
