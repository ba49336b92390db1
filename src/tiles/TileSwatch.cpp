#include "tiles/TileSwatch.h"

#include <QPainter>
#include <algorithm>

namespace {
const QColor kFrame(100, 100, 100);
} // namespace

TileSwatch::TileSwatch(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TileSwatch::Show(const PicturePtr& picture) {
    const qint64 key = picture ? picture->Image().cacheKey() : 0;
    if (picture == m_picture && key == m_pictureKey)
        return;
    m_picture = picture;
    m_pictureKey = key;
    update();
}

void TileSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_picture || m_picture->Width() < 1 || m_picture->Height() < 1)
        return;
    painter.setPen(kFrame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // The picture fills the inside of the frame as far as its shape allows: pixel art grows by whole
    // pixels, larger pictures shrink smoothly.
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    const QSize fitted = m_picture->Image().size().scaled(inside.size(), Qt::KeepAspectRatio);
    const QRect target(inside.topLeft() + QPoint((inside.width() - fitted.width()) / 2,
                                                 (inside.height() - fitted.height()) / 2),
                       fitted.expandedTo(QSize(1, 1)));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, fitted.width() < m_picture->Width());
    painter.drawImage(target, m_picture->Image());
}
