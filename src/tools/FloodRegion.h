#pragma once

#include "map/MarkerGrid.h"

#include <deque>

// A cell position on the map grid.
struct GridPoint {
    int column;
    int row;
};

// Columns first ... last of a row still to be looked at by the fill. Every cell of the same columns in the
// row it came from (row - step) already belongs to the region.
struct RowSpan {
    int first;
    int last;
    int row;
    int step; // +1 or -1: the direction the walk is moving in
};

// The region of the width x height grid that a fill covers: the start cell, unless it is already marked,
// and every unmarked cell for which open(c, r) holds that is 4-connected to it through such cells. Marks set
// before the walk are boundaries. Each run of region cells in a row is marked and then handed to
// visitRun(first, last, r) exactly once.
// open must not change anything; it is only asked about unmarked cells inside the grid, so visitRun may
// rewrite the cells it is given without changing the region. The order of visits is not part of the
// contract.
//
// The walk fills whole runs of a row at once and keeps the rows still to be looked at as spans on the
// caller's heap-backed list, not on the call stack, so a region of millions of cells cannot overflow it.
// Each filled run adds at most three spans, so the list never holds more than three per region cell.
// Marking as cells are visited keeps runs that meet from visiting a cell twice. marks must cover the
// grid: a too-small marker grid makes the walk do nothing at all. The list is emptied first and is empty
// afterwards.
template <class Open, class VisitRun>
void FloodRuns(int width, int height, GridPoint start, MarkerGrid& marks, std::deque<RowSpan>& spans,
               Open&& open, VisitRun&& visitRun) {
    spans.clear();
    if (start.column < 0 || start.row < 0 || start.column >= width || start.row >= height ||
        marks.Width() < width || marks.Height() < height || marks.Test(start.column, start.row))
        return;
    const auto joins = [&](int c, int r) { return !marks.Test(c, r) && open(c, r); };
    const auto fillRun = [&](int first, int last, int row) {
        marks.SetRun(first, last, row);
        visitRun(first, last, row);
    };
    const auto push = [&](int first, int last, int row, int step) {
        if (first <= last && row >= 0 && row < height)
            spans.push_back(RowSpan{first, last, row, step});
    };
    int first = start.column;
    int last = start.column;
    while (first > 0 && joins(first - 1, start.row))
        --first;
    while (last + 1 < width && joins(last + 1, start.row))
        ++last;
    fillRun(first, last, start.row);
    push(first, last, start.row - 1, -1);
    push(first, last, start.row + 1, 1);
    while (!spans.empty()) {
        const RowSpan span = spans.back();
        spans.pop_back();
        for (int c = span.first; c <= span.last; ++c) {
            if (!joins(c, span.row))
                continue;
            // A run found at the span's first column may reach further left; any other run starts where
            // the cell before it was just found closed.
            first = c;
            if (c == span.first)
                while (first > 0 && joins(first - 1, span.row))
                    --first;
            last = c;
            while (last + 1 < width && joins(last + 1, span.row))
                ++last;
            fillRun(first, last, span.row);
            push(first, last, span.row + span.step, span.step);
            // Back towards the row the span came from, only where the run sticks out beyond the span:
            // within it that row is region already.
            push(first, span.first - 1, span.row - span.step, -span.step);
            push(span.last + 1, last, span.row - span.step, -span.step);
            c = last + 1;
        }
    }
}

// The same walk, handing each region cell to visit(c, r) on its own.
template <class Open, class Visit>
void FloodRegion(int width, int height, GridPoint start, MarkerGrid& marks, std::deque<RowSpan>& spans,
                 Open&& open, Visit&& visit) {
    FloodRuns(width, height, start, marks, spans, open, [&](int first, int last, int row) {
        for (int c = first; c <= last; ++c)
            visit(c, row);
    });
}
