#include "map/MarkerGrid.h"

#include <algorithm>

void MarkerGrid::Reset(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    // assign clears in one pass and keeps the capacity of an earlier, larger grid.
    cells_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

void MarkerGrid::Shrink() {
    width_ = 1;
    height_ = 1;
    cells_ = Cells(1, 0);
}
