#include "tiles/PaletteLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Runs the flow rule once and reports, per tile, whether it wrapped. Positions are kept in 64 bits:
// x only ever adds tileWidth + spacing at most INT_MAX times, which stays far inside that range.
template <class Wrapped> void FlowTiles(int tileCount, int tileWidth, int canvasWidth, Wrapped&& wrapped) {
    const std::int64_t step = std::int64_t{tileWidth} + kPaletteSpacing;
    std::int64_t x = kPaletteSpacing;
    for (int tile = 0; tile < tileCount; ++tile) {
        const bool wraps = canvasWidth < x + step;
        if (wraps)
            x = kPaletteSpacing;
        wrapped(wraps);
        x += step;
    }
}

int ClampToInt(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

std::vector<int> AssignPaletteRows(int tileCount, int tileWidth, int canvasWidth) {
    std::vector<int> rows;
    if (tileCount <= 0)
        return rows;
    rows.reserve(static_cast<std::size_t>(tileCount));
    int row = 0;
    FlowTiles(tileCount, tileWidth, canvasWidth, [&](bool wraps) {
        if (wraps)
            ++row;
        rows.push_back(row);
    });
    return rows;
}

int PaletteRowCount(int tileCount, int tileWidth, int canvasWidth) {
    // At most INT_MAX tiles can wrap, so the count needs 64 bits before it is clamped.
    std::int64_t rows = 1;
    FlowTiles(tileCount, tileWidth, canvasWidth, [&](bool wraps) { rows += wraps ? 1 : 0; });
    return ClampToInt(rows);
}

int PaletteVisibleRows(int canvasHeight, int tileHeight) {
    const std::int64_t pitch = std::int64_t{tileHeight} + kPaletteSpacing;
    if (pitch < 1 || canvasHeight <= 0)
        return 0;
    return static_cast<int>((canvasHeight + pitch - 1) / pitch);
}

int PaletteSlotX(int slotInRow, int tileWidth) {
    return ClampToInt(kPaletteSpacing +
                      std::int64_t{slotInRow} * (std::int64_t{tileWidth} + kPaletteSpacing));
}
