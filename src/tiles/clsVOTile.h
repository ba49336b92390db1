#pragma once

#include "platform/Picture.h"
#include "tiles/clsVOCell.h"

class clsVOTile;
using TileRef = std::shared_ptr<clsVOTile>;

// One tile of the tileset: its picture and the template cell that every placement on the map copies.
class clsVOTile {
public:
    explicit clsVOTile(PicturePtr picture);

    // Drawing state of the palette.
    bool Selected = false;
    bool MouseFocus = false;
    int DisplayRow = 0;

    const PicturePtr& Image() const { return m_picImage; }
    void SetImage(PicturePtr picture) { m_picImage = std::move(picture); }

    // The template cell's properties, read and written through the tile.
    bool Destroyable() const { return m_VOCell->Destroyable(); }
    void SetDestroyable(bool value) { m_VOCell->SetDestroyable(value); }
    bool Passable() const { return m_VOCell->Passable(); }
    void SetPassable(bool value) { m_VOCell->SetPassable(value); }
    std::uint8_t ZOrder() const { return m_VOCell->ZOrder(); }
    void SetZOrder(std::uint8_t value) { m_VOCell->SetZOrder(value); }
    std::int16_t Height() const { return m_VOCell->Height(); }
    void SetHeight(std::int16_t value) { m_VOCell->SetHeight(value); }
    std::int16_t ImageIndex() const { return m_VOCell->ImageIndex(); }
    void SetImageIndex(std::int16_t value) { m_VOCell->SetImageIndex(value); }
    std::int16_t ListIndex() const { return m_VOCell->ListIndex(); }
    void SetListIndex(std::int16_t value) { m_VOCell->SetListIndex(value); }
    std::int16_t ImageValue() const { return m_VOCell->ImageValue(); }
    void SetImageValue(std::int16_t value) { m_VOCell->SetImageValue(value); }
    std::int16_t Width() const { return m_VOCell->Width(); }
    void SetWidth(std::int16_t value) { m_VOCell->SetWidth(value); }
    const QString& Custom1() const { return m_VOCell->Custom1(); }
    void SetCustom1(const QString& value) { m_VOCell->SetCustom1(value); }
    const QString& Custom2() const { return m_VOCell->Custom2(); }
    void SetCustom2(const QString& value) { m_VOCell->SetCustom2(value); }
    std::int32_t X() const { return m_VOCell->X(); }
    void SetX(std::int32_t value) { m_VOCell->SetX(value); }
    std::int32_t Y() const { return m_VOCell->Y(); }
    void SetY(std::int32_t value) { m_VOCell->SetY(value); }

    // The template cell itself, to read.
    const clsVOCell& Template() const { return *m_VOCell; }
    // A fresh copy of the template cell on every call: what the map stores is never the template itself.
    CellRef Cell() const { return m_VOCell->Copy(); }
    // Makes the given cell the template, by reference.
    void SetCell(CellRef cell) { m_VOCell = std::move(cell); }
    // Exchanges the template with another cell: how a change of the tile's properties is made and taken back.
    void ExchangeCell(CellRef& other) noexcept { m_VOCell.Swap(other); }

    // A tile on the same picture with a copy of the template cell; palette state starts afresh.
    TileRef Copy() const;

private:
    PicturePtr m_picImage;
    CellRef m_VOCell;
};
