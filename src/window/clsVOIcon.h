#pragma once

#include "platform/Picture.h"

#include <vector>

// The up (released) and down (pressed) pictures of a group of toggle buttons, in the order added.
class clsVOIcon {
public:
    void AddUpIcon(PicturePtr picture);
    void AddDownIcon(PicturePtr picture);
    // The highest valid index, -1 when there is none (one less than the number of pictures).
    int UpIconCount() const { return m_intUpIconCount; }
    int DownIconCount() const { return m_intDownIconCount; }
    // The picture at index i, or null outside the pictures held.
    PicturePtr UpIcon(int i) const;
    PicturePtr DownIcon(int i) const;

private:
    std::vector<PicturePtr> m_picUpIcon;
    std::vector<PicturePtr> m_picDownIcon;
    int m_intUpIconCount = -1;
    int m_intDownIconCount = -1;
};
