#include "tiles/clsVOCell.h"

CellRef clsVOCell::Copy() const {
    auto copy = std::make_shared<clsVOCell>();
    copy->SetCustom1(Custom1());
    copy->SetCustom2(Custom2());
    copy->SetDestroyable(Destroyable());
    copy->SetHeight(Height());
    copy->SetImageIndex(ImageIndex());
    copy->SetImageValue(ImageValue());
    copy->SetListIndex(ListIndex());
    copy->SetPassable(Passable());
    copy->SetWidth(Width());
    copy->SetX(X());
    copy->SetY(Y());
    copy->SetZOrder(ZOrder());
    return copy;
}
