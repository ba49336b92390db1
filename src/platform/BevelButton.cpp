#include "platform/BevelButton.h"

#include <QPixmap>

BevelButton::BevelButton(QWidget* parent) : QToolButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(24, 24));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(this, &QToolButton::clicked, this, [this] {
        if (Action)
            Action();
    });
}

void BevelButton::SetIcon(const PicturePtr& picture) {
    m_icon = picture;
    setIcon(picture ? QIcon(QPixmap::fromImage(picture->Image())) : QIcon());
}
