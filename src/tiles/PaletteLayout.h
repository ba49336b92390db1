#pragma once

#include <vector>

// Where the tiles of a tileset sit in the palette: they flow left to right in rows of equal tiles, with a
// margin at the left and top and a gap between neighbours, wrapping when the next tile would not fit.

// Pixels of margin left of and above the first tile, and of gap between neighbouring tiles.
inline constexpr int kPaletteSpacing = 10;

// The palette row of every tile, in tileset order. A canvas too narrow for one tile wraps before every
// tile, the first included, so row 0 then stays empty; the drawing pass keeps that first empty row.
std::vector<int> AssignPaletteRows(int tileCount, int tileWidth, int canvasWidth);

// How many rows the scroll bar has to cover: one plus one per wrap, so an empty tileset still counts 1.
int PaletteRowCount(int tileCount, int tileWidth, int canvasWidth);

// Rows the palette canvas shows at once, the partly visible last one included; 0 for unusable sizes.
int PaletteVisibleRows(int canvasHeight, int tileHeight);

// Left pixel of the tile at position slotInRow (0-based) in its row, clamped to the int range so hostile
// tile widths cannot overflow.
int PaletteSlotX(int slotInRow, int tileWidth);
