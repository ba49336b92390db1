#pragma once

#include "document/MapSnapshot.h"
#include "tiles/PlacedCell.h"

// Between the cells of a map and their records as values.
CellRecord RecordOf(const PlacedCell& cell);
// A template's record: it lies nowhere, so its place is 0.
CellRecord RecordOf(const clsVOCell& cell);
// The values of a record read from a file, without its place.
CellValues ValuesOf(const CellRecord& record);
// Whether a cell carries the same game properties as a record: everything but the tile it shows, its
// position and its layer.
bool SameGameProperties(const clsVOCell& cell, const CellRecord& record);
