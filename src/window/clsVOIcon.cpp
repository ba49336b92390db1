#include "window/clsVOIcon.h"

void clsVOIcon::AddUpIcon(PicturePtr picture) {
    ++m_intUpIconCount;
    m_picUpIcon.push_back(std::move(picture));
}

void clsVOIcon::AddDownIcon(PicturePtr picture) {
    ++m_intDownIconCount;
    m_picDownIcon.push_back(std::move(picture));
}

PicturePtr clsVOIcon::UpIcon(int i) const {
    return i >= 0 && i <= m_intUpIconCount ? m_picUpIcon[static_cast<std::size_t>(i)] : nullptr;
}

PicturePtr clsVOIcon::DownIcon(int i) const {
    return i >= 0 && i <= m_intDownIconCount ? m_picDownIcon[static_cast<std::size_t>(i)] : nullptr;
}
