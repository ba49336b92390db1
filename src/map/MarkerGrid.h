#pragma once

#include "platform/HugePageAllocator.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// One flag per map cell, shared by the fill tools to remember which cells a walk has already handled.
// Each walk sizes it to the map. The fill tool shrinks it again after every fill, as does recovery from
// running out of memory; the ellipse tools leave it sized between strokes.
class MarkerGrid {
public:
    // Sizes the grid to width x height with every flag cleared; negative sizes give an empty grid.
    void Reset(int width, int height);

    // Gives the memory of a large grid back once the fills are done with it.
    void Shrink();

    int Width() const { return width_; }
    int Height() const { return height_; }

    // True for cells on the grid, so callers can test neighbours of edge cells without their own checks.
    bool Inside(int column, int row) const {
        return column >= 0 && row >= 0 && column < width_ && row < height_;
    }

    // Whether the cell is marked; cells off the grid never are.
    bool Test(int column, int row) const { return Inside(column, row) && cells_[Index(column, row)] != 0; }

    // Marks the cells first .. last of a row that lies on the grid, columns known to lie on it.
    void SetRun(int first, int last, int row) {
        std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(Index(first, row)),
                  cells_.begin() + static_cast<std::ptrdiff_t>(Index(last, row)) + 1, std::uint8_t(1));
    }

    // Marks the cell; cells off the grid are ignored rather than written out of bounds.
    void Set(int column, int row) {
        if (Inside(column, row))
            cells_[Index(column, row)] = 1;
    }

private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(column);
    }

    int width_ = 1;
    int height_ = 1;
    using Cells = std::vector<std::uint8_t, HugePageAllocator<std::uint8_t>>;
    Cells cells_ = Cells(1, 0); // row-major
};
