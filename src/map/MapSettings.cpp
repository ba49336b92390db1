#include "map/MapSettings.h"

#include "platform/Val.h"

#include <cmath>

SizeFieldVerdict CheckMapSide(const QString& text, const QString& what) {
    SizeFieldVerdict verdict;
    if (text.trimmed().isEmpty() || !IsNumeric(text))
        return verdict;
    const double value = Val(text);
    if (!(value >= 1 && value <= kMaxMapSide) || value != std::floor(value)) {
        verdict.kind = SizeFieldVerdict::Refuse;
        // Short enough for the status line to show whole, limit included.
        verdict.message = QStringLiteral("%1: a whole number, 1 to %2").arg(what).arg(kMaxMapSide);
        return verdict;
    }
    verdict.kind = SizeFieldVerdict::Use;
    verdict.value = static_cast<int>(value);
    return verdict;
}

SizeFieldVerdict CheckTileSide(const QString& text, const QString& what) {
    SizeFieldVerdict verdict;
    const int value = ValInt(text);
    if (value < 1 || value > kMaxTileSide) {
        verdict.kind = SizeFieldVerdict::Refuse;
        verdict.message = QStringLiteral("%1 must be from 1 to %2 pixels").arg(what).arg(kMaxTileSide);
        return verdict;
    }
    verdict.kind = SizeFieldVerdict::Use;
    verdict.value = value;
    return verdict;
}
