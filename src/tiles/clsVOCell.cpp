#include "tiles/clsVOCell.h"

// A copy shares the texts; a later change to either cell's texts gives that cell texts of its own, so the
// copy is still independent in value.
clsVOCell::clsVOCell(const clsVOCell& other)
    : m_X(other.m_X), m_Y(other.m_Y), m_shrtWidth(other.m_shrtWidth), m_shrtHeight(other.m_shrtHeight),
      m_shrtListIndex(other.m_shrtListIndex), m_shrtImageIndex(other.m_shrtImageIndex),
      m_shrtImageValue(other.m_shrtImageValue), m_bytZOrder(other.m_bytZOrder),
      m_blnPassable(other.m_blnPassable), m_blnDestroyable(other.m_blnDestroyable), m_texts(other.m_texts) {
    SharedTexts::Retain(m_texts);
}

void clsVOCell::SetCustom1(const QString& value) {
    if (value != Custom1())
        m_texts = SharedTexts::WithText(m_texts, SharedTexts::Which::Custom1, value);
}

void clsVOCell::SetCustom2(const QString& value) {
    if (value != Custom2())
        m_texts = SharedTexts::WithText(m_texts, SharedTexts::Which::Custom2, value);
}

// Every property is copied by value; the texts are shared until one side changes them, so no later change to
// one cell shows in the other.
CellRef clsVOCell::Copy() const {
    return CellRef::Make(*this);
}
