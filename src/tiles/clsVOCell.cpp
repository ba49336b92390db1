#include "tiles/clsVOCell.h"

namespace {
const QString kNoText;
} // namespace

clsVOCell::clsVOCell(const clsVOCell& other)
    : m_X(other.m_X), m_Y(other.m_Y), m_shrtWidth(other.m_shrtWidth), m_shrtHeight(other.m_shrtHeight),
      m_shrtListIndex(other.m_shrtListIndex), m_shrtImageIndex(other.m_shrtImageIndex),
      m_shrtImageValue(other.m_shrtImageValue), m_bytZOrder(other.m_bytZOrder),
      m_blnPassable(other.m_blnPassable), m_blnDestroyable(other.m_blnDestroyable) {
    if (other.m_blnHasTexts)
        EnsureTexts() = *CellPool::Texts(&other, false);
}

clsVOCell::~clsVOCell() {
    if (m_blnHasTexts)
        CellPool::DropTexts(this);
}

const QString& clsVOCell::Custom1() const {
    return m_blnHasTexts ? CellPool::Texts(this, false)->custom1 : kNoText;
}
const QString& clsVOCell::Custom2() const {
    return m_blnHasTexts ? CellPool::Texts(this, false)->custom2 : kNoText;
}

void clsVOCell::SetCustom1(const QString& value) {
    if (m_blnHasTexts || !value.isEmpty())
        EnsureTexts().custom1 = value;
}

void clsVOCell::SetCustom2(const QString& value) {
    if (m_blnHasTexts || !value.isEmpty())
        EnsureTexts().custom2 = value;
}

CellTexts& clsVOCell::EnsureTexts() {
    CellTexts* texts = CellPool::Texts(this, true);
    m_blnHasTexts = true;
    return *texts;
}

// Every property is copied by value, the texts included, so no later change to one cell shows in the other.
CellRef clsVOCell::Copy() const {
    return CellRef::Make(*this);
}
