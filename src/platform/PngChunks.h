#pragma once

#include <cstddef>
#include <cstdint>

// A look at a PNG file's chunk layout before any decoder touches it: every chunk must lie whole inside the
// file, the header must come first and the image data must be able to hold the pixels the header claims.
// What passes still goes through the decoder's own checks; what fails is refused without allocating.

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    bool interlaced = false;
};

// Deflate never expands its input more than this many times over (a 2-bit code standing for 258 bytes).
inline constexpr std::int64_t kMaxInflateRatio = 1032;

// True when the file's layout is sound and its pixel count is at most maxPixels; header then holds the
// image header.
bool ScanPngChunks(const unsigned char* data, std::size_t size, std::int64_t maxPixels, PngHeader& header);
