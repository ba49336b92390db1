#pragma once

#include <QColor>

// Colours that more than one part of the editor paints with.

// The frame around the cells a tool is about to change.
inline const QColor kFrameColour(153, 80, 80);
// Status texts that report something which did not work.
inline const QColor kFailureColour(200, 0, 0);
