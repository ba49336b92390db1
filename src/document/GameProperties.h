#pragma once

#include "document/MapSnapshot.h"

#include <QLatin1String>
#include <QString>
#include <array>
#include <vector>

// The eight game properties of a cell record as they leave the editor: typed, and named so that no reader of
// the exchange formats mistakes them for its own attributes (a reader may overwrite a tile property called
// "width" with the tile's size, hence prop_width).
enum class PropertyType { Bool, Int, String };

struct GameProperty {
    QLatin1String name;
    PropertyType type = PropertyType::Int;
    // The value of a Bool (0 or 1) or an Int property.
    int number = 0;
    // The value of a String property.
    QString text;

    bool operator==(const GameProperty&) const = default;
};

// "bool", "int" or "string", as both formats name the types.
QLatin1String PropertyTypeName(PropertyType type);

// passable, destroyable, prop_width, prop_height, list_index, image_value, custom1, custom2, in that order.
std::array<GameProperty, 8> GamePropertiesOf(const CellRecord& cell);

// The properties in which cell differs from its tile's template, in the order above.
std::vector<GameProperty> DifferingGameProperties(const CellRecord& cell, const CellRecord& tileTemplate);

// True when none of the eight differs from a new cell's (false, 0, empty text).
bool HasInitialGameProperties(const CellRecord& cell);
