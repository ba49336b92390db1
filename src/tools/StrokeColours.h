#pragma once

#include <QColor>

// The colours of the tools' cursors and previews over the map.

// The frame around the cells a tool is about to change.
inline const QColor kFrameColour(153, 80, 80);
// The inside of the erase tool's cursor.
inline const QColor kEraseFill(245, 180, 180);
