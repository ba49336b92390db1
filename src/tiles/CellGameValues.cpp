#include "tiles/CellGameValues.h"

GameValues GameValuesOf(const clsVOCell& cell) {
    GameValues values;
    values.passable = cell.Passable();
    values.destroyable = cell.Destroyable();
    values.width = cell.Width();
    values.height = cell.Height();
    values.listIndex = cell.ListIndex();
    values.imageValue = cell.ImageValue();
    values.custom1 = cell.Custom1();
    values.custom2 = cell.Custom2();
    return values;
}
