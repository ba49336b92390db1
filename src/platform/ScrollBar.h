#pragma once

#include <QScrollBar>
#include <functional>

// A scroll bar that reports a new value when the user lets go of the thumb, not while dragging it.
class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    std::function<void()> ValueChanged;

    int Value() const { return value(); }
    int Maximum() const { return maximum(); }
    // Changes the range without reporting the change; the value is kept inside the new range.
    void SetMaximumQuietly(int maximum);
    void SetValueQuietly(int value);
};
