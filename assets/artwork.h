#pragma once

#include <QImage>

// The editor ships no borrowed pictures: every icon sheet and the sample tileset are painted by these
// functions. They read no clock and draw no random numbers (texture noise is a hash of the pixel position),
// so each build paints the same pixels.

// Button sheets are two 24 x 24 cells wide: row k holds the up (released) picture of button k on the left and
// its down (pressed) picture on the right.

// 8 rows: the layer numbers 0 to 7.
QImage drawLayerIcons();
// 1 row: the grid toggle.
QImage drawGridIcon();
// 8 rows: plot, erase, line, rectangle, filled rectangle, ellipse, filled ellipse, flood fill.
QImage drawToolIcons();

// 8 x 8 tiles of 32 x 32 pixels; plants and objects stand on fully transparent ground so they can go on a
// layer above the terrain.
QImage drawSampleTiles();

// The application icon, size x size pixels, drawn for each size rather than scaled so the small ones stay
// sharp.
QImage drawAppIcon(int size);

// The icon of the editor's map files (.mqm) in file managers: a page bearing a few tiles of the application
// icon's grounds, size x size pixels.
QImage drawMapFileIcon(int size);
