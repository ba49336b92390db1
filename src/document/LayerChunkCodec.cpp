#include "document/LayerChunkCodec.h"

#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <array>
#include <utility>

namespace {
// zstd's fastest level: random tiles over 256 values keep one byte per cell (the low plane's), and the save
// of the largest map stays within seconds.
constexpr int kCompressionLevel = 1;
// A fixed count lets the compiler turn the loop into vector instructions.
template <std::size_t kCount>
void Interleave(const std::uint8_t* low, const std::uint8_t* high, std::uint16_t* values) {
    for (std::size_t i = 0; i < kCount; ++i)
        values[i] = std::uint16_t(low[i] | (high[i] << 8));
}

} // namespace

void LayerChunkEncoder::FreeContext::operator()(ZSTD_CCtx* context) const {
    ZSTD_freeCCtx(context);
}

LayerChunkEncoder::LayerChunkEncoder() : m_context(ZSTD_createCCtx()) {
    // Each frame carries a checksum of its content, which the reader checks: damage inside the compressed
    // data is found even where the data still decodes. A window of 64 KiB makes zstd's blocks as long as a
    // full chunk's plane, so each plane gets a block and an entropy table of its own: with one table for
    // both, random tiles over 32768 values (7 random bits in the high plane, 8 in the low) are stored
    // uncompressed.
    const std::pair<ZSTD_cParameter, int> parameters[] = {
        {ZSTD_c_compressionLevel, kCompressionLevel}, {ZSTD_c_checksumFlag, 1}, {ZSTD_c_windowLog, 16}};
    for (const auto& [parameter, value] : parameters)
        if (m_context && ZSTD_isError(ZSTD_CCtx_setParameter(m_context.get(), parameter, value)))
            m_context.reset();
}
LayerChunkEncoder::~LayerChunkEncoder() = default;

std::span<const char> LayerChunkEncoder::Encode(std::span<const std::uint16_t> values) {
    const std::size_t count = values.size();
    if (!m_context)
        return {};
    m_planes.resize(2 * count);
    std::uint8_t* low = m_planes.data();
    std::uint8_t* high = low + count;
    for (std::size_t i = 0; i < count; ++i) {
        low[i] = std::uint8_t(values[i]);
        high[i] = std::uint8_t(values[i] >> 8);
    }
    m_frame.resize(ZSTD_compressBound(m_planes.size()));
    const std::size_t size =
        ZSTD_compress2(m_context.get(), m_frame.data(), m_frame.size(), m_planes.data(), m_planes.size());
    if (ZSTD_isError(size))
        return {};
    return {m_frame.data(), size};
}

void LayerChunkDecoder::FreeContext::operator()(ZSTD_DCtx* context) const {
    ZSTD_freeDCtx(context);
}

LayerChunkDecoder::LayerChunkDecoder() : m_context(ZSTD_createDCtx()) {}
LayerChunkDecoder::~LayerChunkDecoder() = default;

std::size_t LayerChunkDecoder::MaxFrameBytes(std::size_t values) {
    return ZSTD_compressBound(2 * values);
}

bool LayerChunkDecoder::Decode(std::span<const char> frame, std::size_t count,
                               std::vector<std::uint16_t>* values, QString* problem) {
    if (!m_context) {
        *problem = QStringLiteral("cannot be inflated: out of memory");
        return false;
    }
    m_planes.resize(2 * count);
    // The planes buffer is the only place zstd may write: a frame that claims or inflates to more stops with
    // an error when it is full.
    const std::size_t size =
        ZSTD_decompressDCtx(m_context.get(), m_planes.data(), m_planes.size(), frame.data(), frame.size());
    if (ZSTD_isError(size)) {
        *problem = ZSTD_getErrorCode(size) == ZSTD_error_dstSize_tooSmall
                       ? QStringLiteral("inflates to more than its size")
                       : QStringLiteral("is not valid zstd data");
        return false;
    }
    if (size != m_planes.size()) {
        *problem = QStringLiteral("inflates to less than its size");
        return false;
    }
    // Appended a stretch at a time through a small buffer: growing the vector by resizing would first fill it
    // with zeros, a pass over the whole layer for nothing.
    const std::uint8_t* low = m_planes.data();
    const std::uint8_t* high = low + count;
    std::array<std::uint16_t, 4096> stretch;
    for (std::size_t start = 0; start < count; start += stretch.size()) {
        const std::size_t length = std::min(stretch.size(), count - start);
        if (length == stretch.size())
            Interleave<stretch.size()>(low + start, high + start, stretch.data());
        else
            for (std::size_t i = 0; i < length; ++i)
                stretch[i] = std::uint16_t(low[start + i] | (high[start + i] << 8));
        values->insert(values->end(), stretch.begin(), stretch.begin() + std::ptrdiff_t(length));
    }
    return true;
}
