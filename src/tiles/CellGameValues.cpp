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

void SetGameValues(clsVOCell& cell, const GameValues& values) {
    cell.SetPassable(values.passable);
    cell.SetDestroyable(values.destroyable);
    cell.SetWidth(values.width);
    cell.SetHeight(values.height);
    cell.SetListIndex(values.listIndex);
    cell.SetImageValue(values.imageValue);
    cell.SetCustom1(values.custom1);
    cell.SetCustom2(values.custom2);
}
