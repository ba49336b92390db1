#include "tiles/clsVOCell.h"

namespace {
const QString kNoText;
} // namespace

clsVOCell::clsVOCell(const clsVOCell& other)
    : m_strCustom(other.m_strCustom ? std::make_unique<Texts>(*other.m_strCustom) : nullptr), m_X(other.m_X),
      m_Y(other.m_Y), m_shrtWidth(other.m_shrtWidth), m_shrtHeight(other.m_shrtHeight),
      m_shrtListIndex(other.m_shrtListIndex), m_shrtImageIndex(other.m_shrtImageIndex),
      m_shrtImageValue(other.m_shrtImageValue), m_bytZOrder(other.m_bytZOrder),
      m_blnPassable(other.m_blnPassable), m_blnDestroyable(other.m_blnDestroyable) {}

const QString& clsVOCell::Custom1() const {
    return m_strCustom ? m_strCustom->custom1 : kNoText;
}
const QString& clsVOCell::Custom2() const {
    return m_strCustom ? m_strCustom->custom2 : kNoText;
}

void clsVOCell::SetCustom1(const QString& value) {
    if (m_strCustom || !value.isEmpty())
        EnsureTexts().custom1 = value;
}

void clsVOCell::SetCustom2(const QString& value) {
    if (m_strCustom || !value.isEmpty())
        EnsureTexts().custom2 = value;
}

clsVOCell::Texts& clsVOCell::EnsureTexts() {
    if (!m_strCustom)
        m_strCustom = std::make_unique<Texts>();
    return *m_strCustom;
}

// Every property is copied by value, the texts included, so no later change to one cell shows in the other.
CellRef clsVOCell::Copy() const {
    return CellRef::Make(*this);
}
