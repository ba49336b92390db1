#pragma once

#include "map/MarkerGrid.h"

#include <deque>

// A cell position on the map grid.
struct GridPoint {
    int column;
    int row;
};

// Breadth-first walk over the width x height grid from start, shared by the fill tools. The work list is
// the caller's heap-backed queue, not the call stack, so a region of millions of cells cannot overflow it.
// Each taken cell that is not yet marked is marked, handed to process(c, r), and its unmarked neighbours
// (up, down, left, right) are offered; offer(c, r) decides whether the region continues there and may
// write the cell while doing so. Marking when processed rather than when queued lets a cell be queued
// twice but processed once. marks must already be cleared and cover the grid: a cell that cannot be marked
// would be offered again for ever, so a too-small marker grid makes the walk do nothing at all.
// The queue is emptied first and is empty afterwards.
template <class Process, class Offer>
void FloodRegion(int width, int height, GridPoint start, MarkerGrid& marks, std::deque<GridPoint>& queue,
                 Process&& process, Offer&& offer) {
    const auto inside = [&](int c, int r) { return c >= 0 && r >= 0 && c < width && r < height; };
    queue.clear();
    if (!inside(start.column, start.row) || marks.Width() < width || marks.Height() < height)
        return;
    queue.push_back(start);
    while (!queue.empty()) {
        const GridPoint p = queue.front();
        queue.pop_front();
        if (marks.Test(p.column, p.row))
            continue;
        marks.Set(p.column, p.row);
        process(p.column, p.row);
        const GridPoint neighbours[] = {
            {p.column, p.row - 1}, {p.column, p.row + 1}, {p.column - 1, p.row}, {p.column + 1, p.row}};
        for (const GridPoint& n : neighbours) {
            if (inside(n.column, n.row) && !marks.Test(n.column, n.row) && offer(n.column, n.row))
                queue.push_back(n);
        }
    }
}
