#include "platform/ScrollBar.h"

#include <QSignalBlocker>

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
    setTracking(false);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (ValueChanged)
            ValueChanged();
    });
}

void ScrollBar::SetMaximumQuietly(int maximum) {
    const QSignalBlocker block(this);
    setMaximum(maximum);
}

void ScrollBar::SetValueQuietly(int value) {
    const QSignalBlocker block(this);
    setValue(value);
}
