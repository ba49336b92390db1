#include "platform/ScrollMath.h"

#include "platform/ClampToInt.h"

#include <cstdint>

int PixelToCell(int pixel, int tileSize) {
    if (tileSize < 1)
        return 0;
    // C++ division truncates towards zero; step one further down when a negative pixel leaves a remainder.
    const int quotient = pixel / tileSize;
    return (pixel % tileSize < 0) ? quotient - 1 : quotient;
}

int VisibleCells(int canvasPixels, int tileSize) {
    if (tileSize < 1 || canvasPixels <= 0)
        return 0;
    // Written as quotient plus remainder test so canvasPixels + tileSize - 1 can never overflow.
    return canvasPixels / tileSize + (canvasPixels % tileSize != 0 ? 1 : 0);
}

int ScrollMaximum(int needed, int visible) {
    const std::int64_t extra = std::int64_t{needed} - visible;
    if (extra < 1)
        return 0;
    return ClampToInt(extra + 1);
}
