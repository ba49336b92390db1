#pragma once

#include "platform/Picture.h"

#include <QToolButton>
#include <functional>

// A two-state toggle button showing a 24 x 24 picture. A click flips Value, then runs Action; setting Value
// from code runs nothing.
class BevelButton : public QToolButton {
    Q_OBJECT
public:
    explicit BevelButton(QWidget* parent = nullptr);

    std::function<void()> Action;

    bool Value() const { return isChecked(); }
    void SetValue(bool pressed) { setChecked(pressed); }
    // The picture shown; null shows none.
    void SetIcon(const PicturePtr& picture);
    const PicturePtr& Icon() const { return m_icon; }

private:
    PicturePtr m_icon;
};
