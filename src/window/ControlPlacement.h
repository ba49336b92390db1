#pragma once

#include <QRect>
#include <QWidget>

// Where a control sits in the window's design and which container edges it keeps its distance to.
// Containers: the window's content area, or the tab panel for controls on one of its pages. All positions
// are window coordinates, also for controls on a page.
struct ControlPlacement {
    enum Container { Window, TabPanel };

    QWidget* widget = nullptr;
    Container container = Window;
    QRect design;
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    // The tab page the control belongs to, or -1 for a control of the window.
    int page = -1;

    // The control's place once its container has grown by (dw, dh) from its design size.
    QRect Placed(int dw, int dh) const;
};
