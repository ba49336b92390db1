#include "document/MapSettings.h"

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

MapSizeRequest CheckMapSize(const QString& widthText, const QString& heightText, int currentWidth,
                            int currentHeight) {
    const SizeFieldVerdict w = CheckMapSide(widthText, QStringLiteral("Map width"));
    const SizeFieldVerdict h = CheckMapSide(heightText, QStringLiteral("Map height"));
    MapSizeRequest request;
    request.width = w.kind == SizeFieldVerdict::Use ? w.value : currentWidth;
    request.height = h.kind == SizeFieldVerdict::Use ? h.value : currentHeight;
    request.tooLarge = static_cast<long long>(request.width) * request.height > kMaxMapCells;
    if (w.kind == SizeFieldVerdict::Refuse)
        request.refusal = w.message;
    else if (h.kind == SizeFieldVerdict::Refuse)
        request.refusal = h.message;
    else if (request.tooLarge)
        request.refusal = QStringLiteral("At most %1 cells per layer").arg(kMaxMapCells);
    return request;
}
