#pragma once

#include "tiles/CellRef.h"
#include "tiles/SharedTexts.h"

#include <QString>
#include <cstdint>

// The property record of one map cell: where it lies on the map, which tileset picture it shows, the layer it
// was placed on, and game properties that travel with it unchanged. Cells are shared by reference (CellRef);
// an empty map position holds a null reference. A map holds millions of them, so the record is kept small
// (28 bytes): the two free texts are shared with the cell it was copied from, a copy of a tile's template
// shares the tile's texts, and a cell gets texts of its own only when one of them is changed (SharedTexts).
// Every cell lives in a pool slot, so only CellRef makes and destroys them.
class clsVOCell {
public:
    clsVOCell& operator=(const clsVOCell&) = delete;

    bool Destroyable() const { return m_blnDestroyable; }
    void SetDestroyable(bool value) { m_blnDestroyable = value; }
    bool Passable() const { return m_blnPassable; }
    void SetPassable(bool value) { m_blnPassable = value; }
    std::uint8_t ZOrder() const { return m_bytZOrder; }
    void SetZOrder(std::uint8_t value) { m_bytZOrder = value; }
    std::int16_t Height() const { return m_shrtHeight; }
    void SetHeight(std::int16_t value) { m_shrtHeight = value; }
    std::int16_t ImageIndex() const { return m_shrtImageIndex; }
    void SetImageIndex(std::int16_t value) { m_shrtImageIndex = value; }
    std::int16_t ListIndex() const { return m_shrtListIndex; }
    void SetListIndex(std::int16_t value) { m_shrtListIndex = value; }
    std::int16_t ImageValue() const { return m_shrtImageValue; }
    void SetImageValue(std::int16_t value) { m_shrtImageValue = value; }
    std::int16_t Width() const { return m_shrtWidth; }
    void SetWidth(std::int16_t value) { m_shrtWidth = value; }
    const QString& Custom1() const { return SharedTexts::Get(m_texts).custom1; }
    void SetCustom1(const QString& value);
    const QString& Custom2() const { return SharedTexts::Get(m_texts).custom2; }
    void SetCustom2(const QString& value);
    // The entry of the shared texts this cell uses (kNone when both are empty).
    SharedTexts::Handle TextsHandle() const { return m_texts; }
    std::int32_t X() const { return m_X; }
    void SetX(std::int32_t value) { m_X = value; }
    std::int32_t Y() const { return m_Y; }
    void SetY(std::int32_t value) { m_Y = value; }

    // A new, independent cell with the same values.
    CellRef Copy() const;

private:
    friend class CellRef;
    clsVOCell() = default;
    clsVOCell(const clsVOCell& other);
    ~clsVOCell() { SharedTexts::Release(m_texts); }

    std::int32_t m_X = 0;
    std::int32_t m_Y = 0;
    std::int16_t m_shrtWidth = 0;
    std::int16_t m_shrtHeight = 0;
    std::int16_t m_shrtListIndex = 0;
    std::int16_t m_shrtImageIndex = 0;
    std::int16_t m_shrtImageValue = 0;
    std::uint8_t m_bytZOrder = 0;
    // The flags share one byte, which keeps the record at 28 bytes.
    bool m_blnPassable : 1 = false;
    bool m_blnDestroyable : 1 = false;
    std::uint32_t m_references = 0;
    SharedTexts::Handle m_texts = SharedTexts::kNone;
};

void CellRef::Retain() const noexcept {
    if (m_cell)
        ++m_cell->m_references;
}

void CellRef::Release() noexcept {
    if (m_cell && --m_cell->m_references == 0)
        Destroy(m_cell);
    m_cell = nullptr;
}
