#include "document/GameProperties.h"

namespace {

GameProperty Flag(const char* name, bool value) {
    return {QLatin1String(name), PropertyType::Bool, value, {}};
}
GameProperty Number(const char* name, int value) {
    return {QLatin1String(name), PropertyType::Int, value, {}};
}
GameProperty Text(const char* name, const QString& value) {
    return {QLatin1String(name), PropertyType::String, 0, value};
}

} // namespace

QLatin1String PropertyTypeName(PropertyType type) {
    switch (type) {
    case PropertyType::Bool:
        return QLatin1String("bool");
    case PropertyType::Int:
        return QLatin1String("int");
    case PropertyType::String:
        break;
    }
    return QLatin1String("string");
}

std::array<GameProperty, 8> GamePropertiesOf(const CellRecord& cell) {
    return {Flag("passable", cell.passable),      Flag("destroyable", cell.destroyable),
            Number("prop_width", cell.width),     Number("prop_height", cell.height),
            Number("list_index", cell.listIndex), Number("image_value", cell.imageValue),
            Text("custom1", cell.custom1),        Text("custom2", cell.custom2)};
}

std::vector<GameProperty> DifferingGameProperties(const CellRecord& cell, const CellRecord& tileTemplate) {
    const auto mine = GamePropertiesOf(cell);
    const auto tiles = GamePropertiesOf(tileTemplate);
    std::vector<GameProperty> differing;
    for (std::size_t i = 0; i < mine.size(); ++i)
        if (!(mine[i] == tiles[i]))
            differing.push_back(mine[i]);
    return differing;
}

bool HasInitialGameProperties(const CellRecord& cell) {
    return DifferingGameProperties(cell, CellRecord()).empty();
}
