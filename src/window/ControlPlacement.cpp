#include "window/ControlPlacement.h"

QRect ControlPlacement::Placed(int dw, int dh) const {
    QRect r = design;
    if (left && right)
        r.setWidth(r.width() + dw);
    else if (right)
        r.translate(dw, 0);
    if (top && bottom)
        r.setHeight(r.height() + dh);
    else if (bottom)
        r.translate(0, dh);
    return r;
}
