#include "window/StatusLabel.h"

#include "platform/PlainToolTip.h"

#include <QPainter>
#include <QStyle>

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

QString StatusLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void StatusLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QString shown = ShownText();
    // An elided text fills the line: it starts at the left whatever the alignment, so its start is seen.
    const Qt::Alignment placed =
        shown == text() ? alignment() : (Qt::AlignLeft | (alignment() & Qt::AlignVertical_Mask));
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(placed), palette(), isEnabled(), shown,
                          foregroundRole());
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    UpdateToolTip();
}

void StatusLabel::UpdateToolTip() {
    setToolTip(ShownText() == text() ? QString() : PlainToolTip(text()));
}
