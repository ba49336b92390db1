#pragma once

#include "document/ExportPlan.h"

#include <QIODevice>
#include <QString>

struct FormatWriteOutcome {
    // Empty when the whole file was handed to the device; a device's own error says more than this text.
    QString failure;
    // Texts written with U+FFFD in place of characters the format cannot hold.
    int alteredTexts = 0;
};

// Writes the plan as a TMX map (XML): the map's properties, one embedded tileset per image, then each layer's
// tile layer (CSV data) followed by the object group of its cells that differ from their tiles.
FormatWriteOutcome WriteTmx(const ExportPlan& plan, QIODevice& device);
