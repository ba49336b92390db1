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

// A tile width or height: the number at the start of the text, fraction dropped, used when it lies from 1 to
// kMaxTileSide and refused otherwise.
SizeFieldVerdict CheckTileSide(const QString& text, const QString& what);
