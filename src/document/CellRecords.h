#pragma once

#include "document/MapSnapshot.h"
#include "tiles/clsVOCell.h"

// Between the cells of a map and their records as values.
CellRecord RecordOf(const clsVOCell& cell);
// A new cell holding the record. Throws std::bad_alloc when memory runs out.
CellRef MakeCell(const CellRecord& record);
// Whether two cells carry the same game properties: everything but the tile they show, their position and
// their layer.
bool SameGameProperties(const clsVOCell& a, const clsVOCell& b);
bool SameGameProperties(const clsVOCell& cell, const CellRecord& record);
