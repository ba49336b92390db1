#pragma once

#include "document/ExportPlan.h"
#include "document/TmxWriter.h"

#include <QIODevice>

// Writes the plan as a JSON map (.tmj) with the same content as the TMX form: the map's properties, one
// embedded tileset per image, then each layer's tile layer (a plain data array) followed by the object group
// of its cells that differ from their tiles.
FormatWriteOutcome WriteTmj(const ExportPlan& plan, QIODevice& device);
