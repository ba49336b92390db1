#pragma once

#include <QString>

// Number parsing with the forgiving rules of the editor's text fields: the number at the start of a text
// counts, whatever follows it, and a text that starts with no number reads as 0.

// The leading number of text (leading blanks skipped; sign, digits, fraction, exponent), 0 if there is none.
// Overlong numbers read as +/- infinity rather than failing.
double Val(const QString& text);

// Converts a double to a 32-bit integer by dropping the fraction; values beyond the range clamp to its ends
// and NaN reads as 0, so no out-of-range double is ever narrowed.
int ToInt32(double value);

// Val(text) as a 32-bit integer, fraction dropped.
int ValInt(const QString& text);

// True when the whole text, blanks around it aside, is one number.
bool IsNumeric(const QString& text);
