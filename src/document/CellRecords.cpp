#include "document/CellRecords.h"

CellRecord RecordOf(const clsVOCell& cell) {
    CellRecord record;
    record.x = cell.X();
    record.y = cell.Y();
    record.width = cell.Width();
    record.height = cell.Height();
    record.listIndex = cell.ListIndex();
    record.imageIndex = cell.ImageIndex();
    record.imageValue = cell.ImageValue();
    record.custom1 = cell.Custom1();
    record.custom2 = cell.Custom2();
    record.zOrder = cell.ZOrder();
    record.passable = cell.Passable();
    record.destroyable = cell.Destroyable();
    return record;
}

CellRef MakeCell(const CellRecord& record) {
    CellRef cell = CellRef::Make();
    cell->SetX(record.x);
    cell->SetY(record.y);
    cell->SetWidth(record.width);
    cell->SetHeight(record.height);
    cell->SetListIndex(record.listIndex);
    cell->SetImageIndex(record.imageIndex);
    cell->SetImageValue(record.imageValue);
    cell->SetCustom1(record.custom1);
    cell->SetCustom2(record.custom2);
    cell->SetZOrder(record.zOrder);
    cell->SetPassable(record.passable);
    cell->SetDestroyable(record.destroyable);
    return cell;
}

bool SameGameProperties(const clsVOCell& a, const clsVOCell& b) {
    // Cells copied from one another share their texts, which then need no comparing.
    return a.Width() == b.Width() && a.Height() == b.Height() && a.ListIndex() == b.ListIndex() &&
           a.ImageValue() == b.ImageValue() && a.Passable() == b.Passable() &&
           a.Destroyable() == b.Destroyable() &&
           (a.TextsHandle() == b.TextsHandle() || (a.Custom1() == b.Custom1() && a.Custom2() == b.Custom2()));
}

bool SameGameProperties(const clsVOCell& cell, const CellRecord& record) {
    return cell.Width() == record.width && cell.Height() == record.height &&
           cell.ListIndex() == record.listIndex && cell.ImageValue() == record.imageValue &&
           cell.Passable() == record.passable && cell.Destroyable() == record.destroyable &&
           cell.Custom1() == record.custom1 && cell.Custom2() == record.custom2;
}
