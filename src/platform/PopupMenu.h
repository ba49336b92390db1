#pragma once

#include <QComboBox>
#include <QWheelEvent>

// A closed list showing the chosen row's text, changed only by opening it with the mouse and choosing a row:
// it takes no keyboard focus and lets the wheel pass, so neither a key nor a stray wheel turn changes the
// row unseen.
class PopupMenu : public QComboBox {
public:
    explicit PopupMenu(QWidget* parent = nullptr) : QComboBox(parent) { setFocusPolicy(Qt::NoFocus); }

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};
