#pragma once

#include "tiles/clsVOCell.h"

#include <cstdint>

// A placed cell as every reader sees it: its record's values, with the pixel position and the layer worked
// out from where it lies (column x tile width, row x tile height, the layer's number), which no record
// stores. A null one is an empty position. A small value, made on each read.
class PlacedCell {
public:
    PlacedCell() = default;
    PlacedCell(const clsVOCell* record, std::int32_t x, std::int32_t y, std::uint8_t zOrder)
        : m_record(record), m_X(x), m_Y(y), m_bytZOrder(zOrder) {}

    explicit operator bool() const { return m_record != nullptr; }
    const PlacedCell* operator->() const { return this; }
    // The shared record; null for an empty position.
    const clsVOCell* Record() const { return m_record; }

    std::int32_t X() const { return m_X; }
    std::int32_t Y() const { return m_Y; }
    std::uint8_t ZOrder() const { return m_bytZOrder; }
    bool Destroyable() const { return m_record->Destroyable(); }
    bool Passable() const { return m_record->Passable(); }
    std::int16_t Height() const { return m_record->Height(); }
    std::int16_t ImageIndex() const { return m_record->ImageIndex(); }
    std::int16_t ListIndex() const { return m_record->ListIndex(); }
    std::int16_t ImageValue() const { return m_record->ImageValue(); }
    std::int16_t Width() const { return m_record->Width(); }
    const QString& Custom1() const { return m_record->Custom1(); }
    const QString& Custom2() const { return m_record->Custom2(); }
    SharedTexts::Handle TextsHandle() const { return m_record->TextsHandle(); }

private:
    const clsVOCell* m_record = nullptr;
    std::int32_t m_X = 0;
    std::int32_t m_Y = 0;
    std::uint8_t m_bytZOrder = 0;
};
