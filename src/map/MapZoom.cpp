#include "map/MapZoom.h"

#include "platform/ScrollMath.h"

#include <algorithm>

int ZoomStepped(int percent, int steps) {
    const auto* at = std::find(kZoomLevels.begin(), kZoomLevels.end(), percent);
    const std::int64_t index = at == kZoomLevels.end() ? 2 : at - kZoomLevels.begin();
    const std::int64_t last = static_cast<std::int64_t>(kZoomLevels.size()) - 1;
    return kZoomLevels[static_cast<std::size_t>(std::clamp<std::int64_t>(index + steps, 0, last))];
}

int ZoomedSide(int tileSide, int percent) {
    const std::int64_t scaled = (std::int64_t{tileSide} * percent + 50) / 100;
    return static_cast<int>(std::clamp<std::int64_t>(scaled, 1, 1 << 24));
}

std::int64_t MapToView(std::int64_t mapPixels, int tileSide, int viewSide) {
    if (tileSide < 1 || tileSide == viewSide)
        return mapPixels;
    const std::int64_t product = mapPixels * viewSide;
    return product / tileSide - (product % tileSide < 0 ? 1 : 0);
}

std::int64_t CanvasToMapCell(int pixel, int side, int offset) {
    return std::int64_t{offset} + PixelToCell(pixel, side);
}

int OffsetKeeping(std::int64_t cell, int pixel, int side, int maximum) {
    const std::int64_t offset = cell - PixelToCell(pixel, side);
    return static_cast<int>(std::clamp<std::int64_t>(offset, 0, std::max(maximum, 0)));
}
