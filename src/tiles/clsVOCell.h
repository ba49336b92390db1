#pragma once

#include "platform/GameValues.h"
#include "tiles/SharedTexts.h"

#include <QString>
#include <cstdint>

// Everything a cell record holds, as plain values: the tile it shows and its game properties. Where a
// placed cell lies (its pixel position and layer) is no part of it: that is worked out from its place.
struct CellValues {
    std::int16_t imageIndex = 0;
    GameValues game;

    bool operator==(const CellValues&) const = default;
};

// The property record of a map cell or of a tile's template: which tileset picture it shows and the game
// properties that travel with it. A record is immutable: it is made whole (CellRef::Make) and never written
// again, so one record is shared by a tile's template and by every cell placed from it, and a cell whose
// properties change gets a record of its own. Nothing here can change a record once it is made: there are no
// setters, and a CellRef gives only const access. The two free texts are a handle to shared texts, so
// records that differ in anything but their texts still share them. Every record lives in a pool slot, so
// only CellRef makes and destroys them.
class clsVOCell {
public:
    clsVOCell(const clsVOCell&) = delete;
    clsVOCell& operator=(const clsVOCell&) = delete;

    bool Destroyable() const { return m_blnDestroyable; }
    bool Passable() const { return m_blnPassable; }
    std::int16_t Height() const { return m_shrtHeight; }
    std::int16_t ImageIndex() const { return m_shrtImageIndex; }
    std::int16_t ListIndex() const { return m_shrtListIndex; }
    std::int16_t ImageValue() const { return m_shrtImageValue; }
    std::int16_t Width() const { return m_shrtWidth; }
    const QString& Custom1() const { return SharedTexts::Get(m_texts).custom1; }
    const QString& Custom2() const { return SharedTexts::Get(m_texts).custom2; }
    // The entry of the shared texts this record uses (kNone when both are empty).
    SharedTexts::Handle TextsHandle() const { return m_texts; }

    CellValues Values() const;
    // Whether the two records hold the same values in every field.
    bool SameValues(const clsVOCell& other) const;

private:
    friend class CellRef;
    clsVOCell() = default;
    ~clsVOCell() { SharedTexts::Release(m_texts); }

    std::int16_t m_shrtWidth = 0;
    std::int16_t m_shrtHeight = 0;
    std::int16_t m_shrtListIndex = 0;
    std::int16_t m_shrtImageIndex = 0;
    std::int16_t m_shrtImageValue = 0;
    bool m_blnPassable : 1 = false;
    bool m_blnDestroyable : 1 = false;
    // How many references share the record. The grids hold at most 8 x 16,777,216 of them (2^27); the
    // history holds one per run of cells it replaced, whatever the run's length, and the grids of Apply
    // steps within its memory bound (at most 2 GB of 8-byte slots, 2^28); a file's reader one per distinct
    // record. So a count stays below 2^29, far within its 32 bits.
    std::uint32_t m_references = 0;
    SharedTexts::Handle m_texts = SharedTexts::kNone;
};
