#pragma once

// Cell and scroll-bar arithmetic for a canvas that shows a window onto a grid of equal tiles.

// The cell under a pixel; rounds towards minus infinity so pixels left of or above the grid never land in
// cell 0. A tile size below 1 gives 0 instead of dividing by zero.
int PixelToCell(int pixel, int tileSize);

// How many cells a canvas shows, the partly visible last one included; 0 for empty canvases or bad sizes.
int VisibleCells(int canvasPixels, int tileSize);

// The scroll-bar maximum that lets the first visible cell run from 0 to needed - visible + 1; 0 when
// everything already fits, so the bar stays at rest.
int ScrollMaximum(int needed, int visible);
