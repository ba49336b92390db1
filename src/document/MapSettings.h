#pragma once

#include <QString>

// Limits that keep eight layers of the map within memory and the cell arithmetic meaningful.
constexpr int kMaxMapSide = 8192;
constexpr long long kMaxMapCells = 16777216;
constexpr int kMaxTileSide = 1024;

// What Apply makes of one size field.
struct SizeFieldVerdict {
    enum Kind { Keep, Use, Refuse };
    Kind kind = Keep;
    int value = 0;
    QString message;
};

// A map width or height: blank or non-numeric text keeps the current value; a whole number from 1 to
// kMaxMapSide is used; any other number is refused with a message naming the limit.
SizeFieldVerdict CheckMapSide(const QString& text, const QString& what);

// The map size asked for by the width and height fields. Each side falls back to the current one when its
// field keeps it or is refused; refusal names the first field refused, or else the cell limit when the
// size asked for exceeds it (tooLarge).
struct MapSizeRequest {
    int width = 0;
    int height = 0;
    bool tooLarge = false;
    QString refusal;
};
MapSizeRequest CheckMapSize(const QString& widthText, const QString& heightText, int currentWidth,
                            int currentHeight);

// A tile width or height: the number at the start of the text, fraction dropped, used when it lies from 1 to
// kMaxTileSide and refused otherwise.
SizeFieldVerdict CheckTileSide(const QString& text, const QString& what);
