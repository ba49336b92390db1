#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QIODevice>
#include <cstddef>
#include <cstdint>
#include <vector>

// A PNG file read front to back as a stream, its chunk layout checked as it comes: the header must come
// first and be sound, and every chunk must lie whole inside the file. Only the chunks a decoder needs (the
// critical ones and the colour key, tRNS) are handed on; every other chunk is read past in pieces and
// forgotten, so no text, profile or padding is ever held or inflated. Every byte read is hashed.

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    bool interlaced = false;
};

// Deflate never expands its input more than this many times over (a 2-bit code standing for 258 bytes).
inline constexpr std::int64_t kMaxInflateRatio = 1032;

// Bits one pixel takes in the scanlines, or 0 for a colour type and depth PNG does not allow.
int PngBitsPerPixel(int colourType, int depth);

class PngChunkStream {
public:
    // Reads device from where it stands; size is how many bytes it holds from there.
    PngChunkStream(QIODevice& device, std::int64_t size);

    // Reads the signature and the header chunk. False when the file is no PNG or its header is damaged or
    // describes no image PNG allows.
    bool ReadHeader(PngHeader& header);
    // Fills out with the next count bytes of what the decoder is to see: the signature and the header, then
    // the chunks it needs. False at the end of the file, at a chunk that is malformed or claims more bytes
    // than the file has left, and after the end chunk.
    bool Read(unsigned char* out, std::size_t count);
    // Reads what follows the end chunk, so the hash covers the whole file. False when the file turns out
    // shorter than it was.
    bool ReadToEnd();

    // Bytes of the file not read yet.
    std::int64_t Remaining() const { return m_size - m_at; }
    // SHA-256 of the bytes read so far: of the whole file once ReadToEnd has succeeded.
    QByteArray Hash() const { return m_hash.result(); }

private:
    bool ReadRaw(unsigned char* out, std::size_t count);
    bool Skip(std::int64_t count);
    bool NextChunk();

    QIODevice& m_device;
    std::int64_t m_size;
    std::int64_t m_at = 0;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    // Bytes read ahead and still owed to the decoder: the signature and header, or a chunk's length and type.
    unsigned char m_pending[33] = {};
    std::size_t m_pendingAt = 0;
    std::size_t m_pendingSize = 0;
    // Bytes of the chunk being handed on (its data and CRC) not read yet.
    std::int64_t m_chunkLeft = 0;
    bool m_ended = false;
    std::vector<unsigned char> m_skipBuffer;
};
