#pragma once

#include <QColor>

// Colours that more than one part of the window paints with.

// Status texts that report something which did not work.
inline const QColor kFailureColour(200, 0, 0);
