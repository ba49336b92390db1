#pragma once

#include "platform/GameValues.h"
#include "tiles/clsVOCell.h"

// A cell's eight game properties as values, and setting them on a cell.
GameValues GameValuesOf(const clsVOCell& cell);
// Sets the values on cell; its position, layer and tile stay. Throws std::bad_alloc when the texts need an
// entry of their own and none can be had; the cell may then have taken some of the values.
void SetGameValues(clsVOCell& cell, const GameValues& values);
