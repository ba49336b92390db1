#include "tiles/PaletteLayout.h"

#include "platform/ClampToInt.h"

#include <algorithm>

PaletteFlow::PaletteFlow(int tileWidth, int canvasWidth)
    : m_step(std::int64_t{tileWidth} + kPaletteSpacing), m_canvasWidth(canvasWidth) {}

PaletteFlow::Slot PaletteFlow::Next() {
    if (m_x != kPaletteSpacing && m_canvasWidth < m_x + m_step) {
        m_x = kPaletteSpacing;
        ++m_row;
    }
    const Slot slot{m_x, m_row};
    m_x += m_step;
    return slot;
}

std::vector<int> AssignPaletteRows(int tileCount, int tileWidth, int canvasWidth) {
    std::vector<int> rows;
    if (tileCount <= 0)
        return rows;
    rows.reserve(static_cast<std::size_t>(tileCount));
    PaletteFlow flow(tileWidth, canvasWidth);
    // At most tileCount rows, so every row number fits an int.
    for (int tile = 0; tile < tileCount; ++tile)
        rows.push_back(static_cast<int>(flow.Next().row));
    return rows;
}

int PaletteRowCount(int tileCount, int tileWidth, int canvasWidth) {
    PaletteFlow flow(tileWidth, canvasWidth);
    std::int64_t last = 0;
    for (int tile = 0; tile < tileCount; ++tile)
        last = flow.Next().row;
    return ClampToInt(last + 1);
}

int PaletteVisibleRows(int canvasHeight, int tileHeight) {
    const std::int64_t pitch = std::int64_t{tileHeight} + kPaletteSpacing;
    if (pitch < 1 || canvasHeight <= 0)
        return 0;
    return static_cast<int>((canvasHeight + pitch - 1) / pitch);
}

int PaletteOffsetShowing(int row, int offset, int canvasHeight, int tileHeight, int maximum) {
    const std::int64_t pitch = std::int64_t{tileHeight} + kPaletteSpacing;
    // Rows below the first shown one that still end inside the canvas.
    const std::int64_t below =
        pitch < 1
            ? 0
            : std::max<std::int64_t>((std::int64_t{canvasHeight} - kPaletteSpacing - tileHeight) / pitch, 0);
    std::int64_t wanted = offset;
    if (row < offset)
        wanted = row;
    else if (row - std::int64_t{offset} > below)
        wanted = row - below;
    return static_cast<int>(std::clamp<std::int64_t>(wanted, 0, std::max(maximum, 0)));
}
