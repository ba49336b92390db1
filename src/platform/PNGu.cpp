#include "platform/PNGu.h"

#include "platform/PngChunks.h"
#include "platform/UntrustedFile.h"

#include <QBuffer>
#include <cstring>
#include <new>
#include <png.h>

namespace {

// libpng reports errors by longjmp. The functions it can leave that way hold nothing with a destructor, so
// leaving them skips no clean-up; everything C++ lives in the callers, outside their frames.

struct ErrorState {
    // Set when libpng or zlib could not allocate: the caller then throws std::bad_alloc, as memory running
    // out is not a damaged file.
    bool outOfMemory = false;
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<ErrorState*>(png_get_error_ptr(png));
    if (errors && message && (std::strstr(message, "memory") || std::strstr(message, "Memory")))
        errors->outOfMemory = true;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadFromStream(png_structp png, png_bytep out, std::size_t count) {
    auto* stream = static_cast<PngChunkStream*>(png_get_io_ptr(png));
    bool read = false;
    try {
        read = stream->Read(out, count);
    } catch (const std::bad_alloc&) {
        static_cast<ErrorState*>(png_get_error_ptr(png))->outOfMemory = true;
    }
    if (!read)
        png_error(png, "the file ends early or lies about its chunks");
}

// Reads the chunks before the image data and asks for 8-bit RGBA in the byte order of
// QImage::Format_ARGB32: every colour type, depth and interlacing expanded, the colour key (tRNS) turned into
// alpha at the file's own depth, before 16-bit samples are scaled down. passes: how many times the rows go
// by (7 when interlaced).
bool StartDecoding(png_structp png, png_infop info, std::size_t* rowBytes, int* passes) {
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
    *passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *rowBytes = png_get_rowbytes(png, info);
    return true;
}

// Rows [0, keep) of every pass land in the lines from first on, stride bytes apart; the others are decoded
// and dropped. One pass of count rows reads the next count rows of a plain image.
bool ReadPasses(png_structp png, unsigned char* first, std::size_t stride, int keep, int count, int passes) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < count; ++y)
            png_read_row(png, y < keep ? first + std::size_t(y) * stride : nullptr, nullptr);
    return true;
}

bool ReadEnd(png_structp png) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_end(png, nullptr);
    return true;
}

} // namespace

namespace PNGu {

struct Reader::State {
    std::unique_ptr<QIODevice> device;
    std::unique_ptr<PngChunkStream> stream;
    PngHeader header;
    bool ok = false;
    bool finished = false;
    int rowsRead = 0;
    int passes = 1;
    ErrorState errors;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~State() {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }

    void Begin(std::unique_ptr<QIODevice> source, qint64 size) {
        device = std::move(source);
        stream = std::make_unique<PngChunkStream>(*device, size);
        if (!stream->ReadHeader(header))
            return;
        const qint64 pixels = qint64(header.width) * header.height;
        if (pixels > kMaxPixels)
            return;
        // Every pixel's bits are in the inflated data, interlaced or not; what is left of the file must be
        // able to hold them.
        const qint64 inflated = pixels * PngBitsPerPixel(header.colourType, header.bitDepth) / 8;
        ok = inflated <= stream->Remaining() * kMaxInflateRatio + 1024;
    }

    // Sets the decoder up on the first call; false when it finds the file damaged.
    bool Start() {
        if (png)
            return ok;
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, OnError, OnWarning);
        if (png)
            info = png_create_info_struct(png);
        if (!info)
            throw std::bad_alloc();
        png_set_user_limits(png, static_cast<png_uint_32>(kMaxPixels), static_cast<png_uint_32>(kMaxPixels));
        // The stream hands on no ancillary chunk but the colour key; should one get through, it is dropped.
        png_set_chunk_cache_max(png, 64);
        png_set_chunk_malloc_max(png, 4u << 20);
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
        // Mutated inputs rarely keep their checksums; ignoring them lets the fuzzer reach the decoding
        // itself.
        png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
        png_set_read_fn(png, stream.get(), ReadFromStream);
        std::size_t rowBytes = 0;
        Check(StartDecoding(png, info, &rowBytes, &passes));
        if (ok &&
            (png_get_image_width(png, info) != header.width ||
             png_get_image_height(png, info) != header.height || rowBytes != std::size_t{header.width} * 4))
            ok = false;
        return ok;
    }

    // A step of libpng that failed leaves the reader refused, or throws when memory ran out.
    bool Check(bool succeeded) {
        if (!succeeded) {
            ok = false;
            if (errors.outOfMemory)
                throw std::bad_alloc();
        }
        return succeeded;
    }

    bool Fits(const QImage& lines) const {
        return lines.format() == QImage::Format_ARGB32 && qint64(lines.width()) == qint64(header.width) &&
               lines.bytesPerLine() >= qsizetype(header.width) * 4;
    }
};

Reader::Reader(const QString& path) : m_state(std::make_unique<State>()) {
    std::unique_ptr<QFile> file = UntrustedFile::Open(path, kMaxFileBytes, nullptr);
    if (file) {
        const qint64 size = file->size();
        m_state->Begin(std::move(file), size);
    }
}

Reader::Reader(const QByteArray& bytes) : m_state(std::make_unique<State>()) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    if (bytes.size() <= kMaxFileBytes && buffer->open(QIODevice::ReadOnly))
        m_state->Begin(std::move(buffer), bytes.size());
}

Reader::~Reader() = default;

bool Reader::Ok() const {
    return m_state->ok;
}

int Reader::Width() const {
    return int(std::min<qint64>(m_state->header.width, INT_MAX));
}

int Reader::Height() const {
    return int(std::min<qint64>(m_state->header.height, INT_MAX));
}

bool Reader::Interlaced() const {
    return m_state->header.interlaced;
}

bool Reader::ReadRows(QImage& lines) {
    State& s = *m_state;
    if (!s.ok || s.header.interlaced || !s.Fits(lines) ||
        qint64(s.rowsRead) + lines.height() > s.header.height)
        return false;
    if (!s.Start())
        return false;
    if (!s.Check(ReadPasses(s.png, lines.bits(), std::size_t(lines.bytesPerLine()), lines.height(),
                            lines.height(), 1)))
        return false;
    s.rowsRead += lines.height();
    return true;
}

bool Reader::ReadInterlaced(QImage& lines) {
    State& s = *m_state;
    if (!s.ok || s.rowsRead != 0 || !s.Fits(lines) || qint64(lines.height()) > s.header.height)
        return false;
    if (!s.Start())
        return false;
    if (!s.Check(ReadPasses(s.png, lines.bits(), std::size_t(lines.bytesPerLine()), lines.height(),
                            int(s.header.height), s.passes)))
        return false;
    s.rowsRead = int(s.header.height);
    return true;
}

bool Reader::Finish() {
    State& s = *m_state;
    if (!s.ok || !s.Start() || !s.Check(ReadEnd(s.png)))
        return false;
    s.finished = s.stream->ReadToEnd();
    s.ok = s.finished;
    return s.finished;
}

QByteArray Reader::ContentHash() const {
    return m_state->finished ? m_state->stream->Hash() : QByteArray();
}

namespace {
PicturePtr DecodeWhole(Reader& reader) {
    if (!reader.Ok() || reader.Width() > kMaxPictureWidth)
        return nullptr;
    QImage image(reader.Width(), reader.Height(), QImage::Format_ARGB32);
    if (image.isNull())
        throw std::bad_alloc();
    const bool read = reader.Interlaced() ? reader.ReadInterlaced(image) : reader.ReadRows(image);
    if (!read || !reader.Finish())
        return nullptr;
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw std::bad_alloc();
    return std::make_shared<Picture>(std::move(image));
}
} // namespace

PicturePtr Decode(const QByteArray& bytes) {
    Reader reader(bytes);
    return DecodeWhole(reader);
}

PicturePtr OpenAsPictureWithMask(const QString& path, double /*gamma*/) {
    Reader reader(path);
    return DecodeWhole(reader);
}

} // namespace PNGu
