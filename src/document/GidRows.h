#pragma once

#include "document/ExportPlan.h"

#include <QIODevice>
#include <cstdint>
#include <vector>

// Writes a layer's gids as the text both formats share: comma-separated, one map row per line ("1,2,\n3,4"),
// without a comma or line break at the end. The text goes to the device in large pieces, straight from the
// numbers, since a full 1000 x 1000 layer is millions of characters and a text object per value, or an
// escaping pass over the whole, costs more than the export may take. Returns false when the device refuses.
bool WriteGidRows(QIODevice& device, const std::vector<std::uint16_t>& tiles, int width,
                  const TileExistence& exists);
