#pragma once

#include <cstdint>
#include <vector>

// Where the tiles of a tileset sit in the palette: they flow left to right in rows of equal tiles, with a
// margin at the left and top and a gap between neighbours, wrapping when the next tile would not fit.

// Pixels of margin left of and above the first tile, and of gap between neighbouring tiles.
inline constexpr int kPaletteSpacing = 10;

// The flow rule, tile by tile: a tile starts a new row when its right edge plus the right margin would pass
// the canvas's width, unless it is already first in its row. A tile wider than the palette thus gets a row
// of its own at the margin, where it can be seen and picked. Positions are 64-bit, so no tile width or count
// can overflow them. Laying out, drawing, hovering and picking all place tiles through this one rule.
class PaletteFlow {
public:
    struct Slot {
        std::int64_t x;   // left pixel
        std::int64_t row; // from 0
    };

    PaletteFlow(int tileWidth, int canvasWidth);
    // The slot of the next tile.
    Slot Next();

private:
    std::int64_t m_step;
    std::int64_t m_canvasWidth;
    std::int64_t m_x = kPaletteSpacing;
    std::int64_t m_row = 0;
};

// The palette row of every tile, in tileset order.
std::vector<int> AssignPaletteRows(int tileCount, int tileWidth, int canvasWidth);

// How many rows the scroll bar has to cover: an empty tileset still counts 1.
int PaletteRowCount(int tileCount, int tileWidth, int canvasWidth);

// Rows the palette canvas shows at once, the partly visible last one included; 0 for unusable sizes.
int PaletteVisibleRows(int canvasHeight, int tileHeight);

// The first palette row to show so that row `row` is seen whole: offset itself when it already is, else the
// nearest offset that shows it (at the top when the row lies above, as low as it goes when below), held to
// 0 .. maximum. A row taller than the canvas is shown from its top.
int PaletteOffsetShowing(int row, int offset, int canvasHeight, int tileHeight, int maximum);
