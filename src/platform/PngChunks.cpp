#include "platform/PngChunks.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace {

std::uint32_t BigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kSkipPiece = std::size_t(1) << 16;

} // namespace

int PngBitsPerPixel(int colourType, int depth) {
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

PngChunkStream::PngChunkStream(QIODevice& device, std::int64_t size) : m_device(device), m_size(size) {}

bool PngChunkStream::ReadRaw(unsigned char* out, std::size_t count) {
    if (std::int64_t(count) > Remaining())
        return false;
    const qint64 got = m_device.read(reinterpret_cast<char*>(out), qint64(count));
    if (got != qint64(count))
        return false;
    m_hash.addData(QByteArrayView(out, qsizetype(count)));
    m_at += std::int64_t(count);
    return true;
}

bool PngChunkStream::Skip(std::int64_t count) {
    if (m_skipBuffer.empty())
        m_skipBuffer.resize(kSkipPiece);
    while (count > 0) {
        const std::size_t piece = std::size_t(std::min<std::int64_t>(count, std::int64_t(kSkipPiece)));
        if (!ReadRaw(m_skipBuffer.data(), piece))
            return false;
        count -= std::int64_t(piece);
    }
    return true;
}

bool PngChunkStream::ReadHeader(PngHeader& header) {
    unsigned char* const h = m_pending;
    if (m_at != 0 || !ReadRaw(h, sizeof m_pending) || std::memcmp(h, kSignature, 8) != 0)
        return false;
    // The header chunk: length 13, type, width, height, depth, colour type, compression, filter,
    // interlacing, CRC over type and data.
    const unsigned char* body = h + 16;
    if (BigEndian32(h + 8) != 13 || std::memcmp(h + 12, "IHDR", 4) != 0)
        return false;
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Mutated inputs rarely keep their checksums; the fuzzer's build reads past them, as its decoder does.
    if (crc32(0, h + 12, 17) != BigEndian32(h + 29))
        return false;
#endif
    header.width = BigEndian32(body);
    header.height = BigEndian32(body + 4);
    header.bitDepth = body[8];
    header.colourType = body[9];
    header.interlaced = body[12] == 1;
    // PNG allows sides of 1 to 2^31 - 1; within that the pixel count cannot overflow 64 bits.
    if (header.width - 1 >= 0x7FFFFFFFu || header.height - 1 >= 0x7FFFFFFFu ||
        PngBitsPerPixel(header.colourType, header.bitDepth) == 0 || body[10] != 0 || body[11] != 0 ||
        body[12] > 1)
        return false;
    m_pendingAt = 0;
    m_pendingSize = sizeof m_pending;
    return true;
}

bool PngChunkStream::NextChunk() {
    for (;;) {
        unsigned char* const head = m_pending;
        if (!ReadRaw(head, 8))
            return false;
        const std::uint32_t length = BigEndian32(head);
        const unsigned char* type = head + 4;
        // A length PNG forbids, or one that runs past the end of the file, is a lie.
        if (length > 0x7FFFFFFFu || std::int64_t(length) + 4 > Remaining())
            return false;
        if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3]))
            return false;
        // A critical chunk the decoder does not know makes it refuse the file, as it must.
        const bool critical = type[0] >= 'A' && type[0] <= 'Z';
        if (critical || std::memcmp(type, "tRNS", 4) == 0) {
            m_pendingAt = 0;
            m_pendingSize = 8;
            m_chunkLeft = std::int64_t(length) + 4;
            m_ended = std::memcmp(type, "IEND", 4) == 0;
            return true;
        }
        if (!Skip(std::int64_t(length) + 4))
            return false;
    }
}

bool PngChunkStream::Read(unsigned char* out, std::size_t count) {
    while (count > 0) {
        std::size_t piece = 0;
        if (m_pendingAt < m_pendingSize) {
            piece = std::min(count, m_pendingSize - m_pendingAt);
            std::memcpy(out, m_pending + m_pendingAt, piece);
            m_pendingAt += piece;
        } else if (m_chunkLeft > 0) {
            piece = std::size_t(std::min<std::int64_t>(std::int64_t(count), m_chunkLeft));
            if (!ReadRaw(out, piece))
                return false;
            m_chunkLeft -= std::int64_t(piece);
        } else if (m_ended || !NextChunk()) {
            return false;
        }
        out += piece;
        count -= piece;
    }
    return true;
}

bool PngChunkStream::ReadToEnd() {
    return Skip(Remaining());
}
