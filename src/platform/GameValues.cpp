#include "platform/GameValues.h"

QString GameValueLabel(GameValue value) {
    static const char* const kLabels[kGameValueCount] = {"Passable",   "Destroyable", "Width",    "Height",
                                                         "List Index", "Image Value", "Custom 1", "Custom 2"};
    return QLatin1String(kLabels[static_cast<int>(value)]);
}

QStringList DifferingGameValues(const GameValues& a, const GameValues& b) {
    const bool differs[kGameValueCount] = {a.passable != b.passable,   a.destroyable != b.destroyable,
                                           a.width != b.width,         a.height != b.height,
                                           a.listIndex != b.listIndex, a.imageValue != b.imageValue,
                                           a.custom1 != b.custom1,     a.custom2 != b.custom2};
    QStringList labels;
    for (int i = 0; i < kGameValueCount; ++i)
        if (differs[i])
            labels << GameValueLabel(static_cast<GameValue>(i));
    return labels;
}
