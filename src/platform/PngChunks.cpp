#include "platform/PngChunks.h"

#include <cstring>

namespace {

std::uint32_t BigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Bits one pixel takes in the scanlines, or 0 for a colour type and depth PNG does not allow.
int BitsPerPixel(int colourType, int depth) {
    const bool small = depth == 1 || depth == 2 || depth == 4;
    const bool wide = depth == 8 || depth == 16;
    switch (colourType) {
    case 0: // grey
        return small || wide ? depth : 0;
    case 3: // palette
        return small || depth == 8 ? depth : 0;
    case 2: // RGB
        return wide ? 3 * depth : 0;
    case 4: // grey and alpha
        return wide ? 2 * depth : 0;
    case 6: // RGBA
        return wide ? 4 * depth : 0;
    default:
        return 0;
    }
}

} // namespace

bool ScanPngChunks(const unsigned char* data, std::size_t size, std::int64_t maxPixels, PngHeader& header) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0)
        return false;
    std::size_t at = 8;
    std::int64_t imageData = 0;
    bool first = true;
    while (size - at >= 12) {
        const std::uint32_t length = BigEndian32(data + at);
        const unsigned char* type = data + at + 4;
        // A length PNG forbids, or one that runs past the end of the file, is a lie.
        if (length > 0x7FFFFFFFu || length > size - at - 12)
            return false;
        if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3]))
            return false;
        const unsigned char* body = data + at + 8;
        if (first != (std::memcmp(type, "IHDR", 4) == 0))
            return false;
        if (first) {
            if (length != 13)
                return false;
            header.width = BigEndian32(body);
            header.height = BigEndian32(body + 4);
            header.bitDepth = body[8];
            header.colourType = body[9];
            header.interlaced = body[12] != 0;
            // PNG allows sides of 1 to 2^31 - 1; within that the pixel count cannot overflow 64 bits.
            if (header.width - 1 >= 0x7FFFFFFFu || header.height - 1 >= 0x7FFFFFFFu)
                return false;
            first = false;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            imageData += length;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            const int bits = BitsPerPixel(header.colourType, header.bitDepth);
            const std::int64_t pixels = std::int64_t{header.width} * header.height;
            if (bits == 0 || pixels > maxPixels)
                return false;
            // Every pixel's bits are in the inflated data, interlaced or not.
            const std::int64_t inflated = pixels * bits / 8;
            return inflated <= imageData * kMaxInflateRatio + 1024;
        }
        at += std::size_t{length} + 12;
    }
    // The file ends before its end chunk: cut short.
    return false;
}
