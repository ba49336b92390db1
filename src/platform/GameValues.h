#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// The eight game properties of a map cell or of a tile's template cell, as the properties dialog shows and
// edits them: everything in a cell record but the tile it shows.
struct GameValues {
    bool passable = false;
    bool destroyable = false;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t listIndex = 0;
    std::int16_t imageValue = 0;
    QString custom1;
    QString custom2;

    bool operator==(const GameValues&) const = default;
};

// What the properties dialog calls each value, in its order: "Passable", "Destroyable", "Width", "Height",
// "List Index", "Image Value", "Custom 1", "Custom 2".
enum class GameValue { Passable, Destroyable, Width, Height, ListIndex, ImageValue, Custom1, Custom2 };
inline constexpr int kGameValueCount = 8;
QString GameValueLabel(GameValue value);

// The labels of the values in which a differs from b, in the dialog's order.
QStringList DifferingGameValues(const GameValues& a, const GameValues& b);
