#include "document/GidRows.h"

#include "document/ExportPlan.h"
#include "document/WriteAll.h"

#include <charconv>

namespace {

constexpr std::size_t kPieceBytes = 256 * 1024;
// A gid's digits and the separators after it.
constexpr std::size_t kMostPerValue = 8;

} // namespace

bool WriteGidRows(QIODevice& device, const std::vector<std::uint16_t>& tiles, int width,
                  const TileExistence& exists) {
    std::vector<char> piece(kPieceBytes + std::size_t(width) * kMostPerValue);
    char* out = piece.data();
    const auto flush = [&] {
        const qint64 bytes = out - piece.data();
        out = piece.data();
        return WriteAll(device, piece.data(), bytes);
    };
    for (std::size_t start = 0; start < tiles.size(); start += std::size_t(width)) {
        if (start != 0) {
            *out++ = ',';
            *out++ = '\n';
        }
        const std::uint16_t* row = tiles.data() + start;
        for (int column = 0; column < width; ++column) {
            if (column != 0)
                *out++ = ',';
            const std::uint32_t gid = GidOfTileValue(row[column], exists);
            if (gid < 10)
                *out++ = char('0' + gid);
            else
                out = std::to_chars(out, out + kMostPerValue, gid).ptr;
        }
        if (std::size_t(out - piece.data()) >= kPieceBytes && !flush())
            return false;
    }
    return flush();
}
