#include "document/CellRecords.h"

CellRecord RecordOf(const clsVOCell& cell) {
    CellRecord record;
    record.width = cell.Width();
    record.height = cell.Height();
    record.listIndex = cell.ListIndex();
    record.imageIndex = cell.ImageIndex();
    record.imageValue = cell.ImageValue();
    record.custom1 = cell.Custom1();
    record.custom2 = cell.Custom2();
    record.passable = cell.Passable();
    record.destroyable = cell.Destroyable();
    return record;
}

CellRecord RecordOf(const PlacedCell& cell) {
    CellRecord record = RecordOf(*cell.Record());
    record.x = cell.X();
    record.y = cell.Y();
    record.zOrder = cell.ZOrder();
    return record;
}

CellValues ValuesOf(const CellRecord& record) {
    CellValues values;
    values.imageIndex = record.imageIndex;
    values.game.width = record.width;
    values.game.height = record.height;
    values.game.listIndex = record.listIndex;
    values.game.imageValue = record.imageValue;
    values.game.custom1 = record.custom1;
    values.game.custom2 = record.custom2;
    values.game.passable = record.passable;
    values.game.destroyable = record.destroyable;
    return values;
}

bool SameGameProperties(const clsVOCell& cell, const CellRecord& record) {
    return cell.Width() == record.width && cell.Height() == record.height &&
           cell.ListIndex() == record.listIndex && cell.ImageValue() == record.imageValue &&
           cell.Passable() == record.passable && cell.Destroyable() == record.destroyable &&
           cell.Custom1() == record.custom1 && cell.Custom2() == record.custom2;
}
