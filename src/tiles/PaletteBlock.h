#pragma once

#include <optional>
#include <vector>

// A block of tiles picked by a drag across the palette: the tiles of one tileset image that lie, in that
// image, in the rectangle of columns and rows between the press tile and the tile under the pointer. The
// palette wraps its rows to its own width; the block follows the image, so a tree drawn over 2 x 3 tiles is
// one block however the palette shows them.
struct TileBlock {
    int width = 0;
    int height = 0;
    // Row by row; -1 where the image's rectangle has no tile (past the last tile the image gave).
    std::vector<int> tiles;
    bool operator==(const TileBlock&) const = default;
};

// One load of the tileset as the block needs it: it gave tiles firstTile .. firstTile + tileCount - 1,
// cut row by row from an image columns tiles wide.
struct TileImageRows {
    int firstTile = 0;
    int tileCount = 0;
    int columns = 1;
};

// The block between pressTile and pointerTile, both of the load given; nothing when either lies outside it
// (the pointer over another image's tiles leaves the block as it was).
std::optional<TileBlock> BlockBetween(const TileImageRows& load, int pressTile, int pointerTile);
