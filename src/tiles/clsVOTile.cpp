#include "tiles/clsVOTile.h"

clsVOTile::clsVOTile(PicturePtr picture) : m_picImage(std::move(picture)), m_VOCell(CellRef::Make()) {}

TileRef clsVOTile::Copy() const {
    auto copy = std::make_shared<clsVOTile>(m_picImage);
    copy->SetCell(m_VOCell);
    return copy;
}
