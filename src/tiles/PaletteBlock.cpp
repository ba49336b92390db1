#include "tiles/PaletteBlock.h"

#include <algorithm>

std::optional<TileBlock> BlockBetween(const TileImageRows& load, int pressTile, int pointerTile) {
    const auto inside = [&](int tile) {
        return tile >= load.firstTile && tile - load.firstTile < load.tileCount;
    };
    if (!inside(pressTile) || !inside(pointerTile))
        return std::nullopt;
    const int columns = std::max(load.columns, 1);
    const int a = pressTile - load.firstTile;
    const int b = pointerTile - load.firstTile;
    const int left = std::min(a % columns, b % columns);
    const int right = std::max(a % columns, b % columns);
    const int top = std::min(a / columns, b / columns);
    const int bottom = std::max(a / columns, b / columns);
    TileBlock block;
    block.width = right - left + 1;
    block.height = bottom - top + 1;
    block.tiles.reserve(static_cast<std::size_t>(block.width) * static_cast<std::size_t>(block.height));
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column) {
            const int i = row * columns + column;
            block.tiles.push_back(i < load.tileCount ? load.firstTile + i : -1);
        }
    return block;
}
