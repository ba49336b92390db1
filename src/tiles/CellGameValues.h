#pragma once

#include "platform/GameValues.h"
#include "tiles/clsVOCell.h"

// A record's eight game properties as values.
GameValues GameValuesOf(const clsVOCell& cell);
