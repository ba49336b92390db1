#include "tiles/clsVOCell.h"

CellValues clsVOCell::Values() const {
    CellValues values;
    values.imageIndex = m_shrtImageIndex;
    values.game.passable = m_blnPassable;
    values.game.destroyable = m_blnDestroyable;
    values.game.width = m_shrtWidth;
    values.game.height = m_shrtHeight;
    values.game.listIndex = m_shrtListIndex;
    values.game.imageValue = m_shrtImageValue;
    values.game.custom1 = Custom1();
    values.game.custom2 = Custom2();
    return values;
}

bool clsVOCell::SameValues(const clsVOCell& other) const {
    // Records made from one another share their texts, which then need no comparing.
    return m_shrtImageIndex == other.m_shrtImageIndex && m_shrtWidth == other.m_shrtWidth &&
           m_shrtHeight == other.m_shrtHeight && m_shrtListIndex == other.m_shrtListIndex &&
           m_shrtImageValue == other.m_shrtImageValue && m_blnPassable == other.m_blnPassable &&
           m_blnDestroyable == other.m_blnDestroyable &&
           (m_texts == other.m_texts || (Custom1() == other.Custom1() && Custom2() == other.Custom2()));
}
