#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct ZSTD_CCtx_s;
struct ZSTD_DCtx_s;

// One chunk of a layer's tile values as stored in a map file: the low bytes of its values, then their high
// bytes, compressed as one zstd frame. Split in byte planes, values that differ only in their low byte (most
// tilesets have fewer than 256 tiles) leave a high plane that compresses to almost nothing.
class LayerChunkEncoder {
public:
    LayerChunkEncoder();
    ~LayerChunkEncoder();
    // The frame for the values, valid until the next call; empty when zstd fails (out of memory).
    std::span<const char> Encode(std::span<const std::uint16_t> values);

private:
    struct FreeContext {
        void operator()(ZSTD_CCtx_s* context) const;
    };
    std::unique_ptr<ZSTD_CCtx_s, FreeContext> m_context;
    std::vector<std::uint8_t> m_planes;
    std::vector<char> m_frame;
};

class LayerChunkDecoder {
public:
    LayerChunkDecoder();
    ~LayerChunkDecoder();
    // The largest frame a chunk of that many values can need; a longer one is refused before it is read.
    static std::size_t MaxFrameBytes(std::size_t values);
    // Decodes the frame into exactly count values appended to *values. Never writes or allocates more than
    // that, whatever the frame claims; false with *problem saying why
    // in a few words ("inflates to more than its size") when the frame is damaged or gives more or fewer.
    bool Decode(std::span<const char> frame, std::size_t count, std::vector<std::uint16_t>* values,
                QString* problem);

private:
    struct FreeContext {
        void operator()(ZSTD_DCtx_s* context) const;
    };
    std::unique_ptr<ZSTD_DCtx_s, FreeContext> m_context;
    std::vector<std::uint8_t> m_planes;
};
