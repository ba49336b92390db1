#pragma once

#include "platform/Picture.h"
#include "tiles/CellRef.h"
#include "tiles/clsVOCell.h"

class clsVOTile;
using TileRef = std::shared_ptr<clsVOTile>;

// One tile of the tileset: its picture and its template record, the record every placement of the tile on
// the map shares. The template is never written: a change of the tile's properties replaces it with a new
// record, and the cells placed before keep the old one.
class clsVOTile {
public:
    explicit clsVOTile(PicturePtr picture);

    const PicturePtr& Image() const { return m_picImage; }
    void SetImage(PicturePtr picture) { m_picImage = std::move(picture); }

    // The template's properties, read through the tile.
    bool Destroyable() const { return m_VOCell->Destroyable(); }
    bool Passable() const { return m_VOCell->Passable(); }
    std::int16_t Height() const { return m_VOCell->Height(); }
    std::int16_t ImageIndex() const { return m_VOCell->ImageIndex(); }
    std::int16_t ListIndex() const { return m_VOCell->ListIndex(); }
    std::int16_t ImageValue() const { return m_VOCell->ImageValue(); }
    std::int16_t Width() const { return m_VOCell->Width(); }
    const QString& Custom1() const { return m_VOCell->Custom1(); }
    const QString& Custom2() const { return m_VOCell->Custom2(); }

    // The template record itself, to read.
    const clsVOCell& Template() const { return *m_VOCell; }
    // The template record, shared: what a placement of the tile stores.
    const CellRef& Cell() const { return m_VOCell; }
    // Makes the given record the template, by reference.
    void SetCell(CellRef cell) { m_VOCell = std::move(cell); }
    // Exchanges the template with another record: how a change of the tile's properties is made and taken
    // back.
    void ExchangeCell(CellRef& other) noexcept { m_VOCell.Swap(other); }

    // A tile on the same picture sharing the template record.
    TileRef Copy() const;

private:
    PicturePtr m_picImage;
    CellRef m_VOCell;
};
