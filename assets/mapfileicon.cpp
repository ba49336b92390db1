#include "artwork.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
// The same grounds as the application icon, so the file reads as the editor's at a glance.
const QColor kTiles[3][3] = {
    {QColor(58, 124, 204), QColor(226, 202, 146), QColor(108, 170, 70)},
    {QColor(226, 202, 146), QColor(108, 170, 70), QColor(56, 118, 52)},
    {QColor(108, 170, 70), QColor(56, 118, 52), QColor(108, 170, 70)},
};
} // namespace

QImage drawMapFileIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);

    // A sheet of paper, taller than wide, with its top right corner folded down.
    const double s = size;
    const QRectF sheet(s * 0.14, s * 0.04, s * 0.72, s * 0.92);
    const double fold = s * 0.2;
    QPainterPath page;
    page.moveTo(sheet.topLeft());
    page.lineTo(sheet.right() - fold, sheet.top());
    page.lineTo(sheet.right(), sheet.top() + fold);
    page.lineTo(sheet.bottomRight());
    page.lineTo(sheet.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(QColor(96, 104, 116), std::max(1.0, s / 48)));
    p.setBrush(QColor(248, 248, 244));
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    corner.closeSubpath();
    p.setBrush(QColor(214, 218, 224));
    p.drawPath(corner);

    // Three by three tiles on whole pixels in the sheet's lower part: a map on a page.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int left = int(std::lround(sheet.left() + s * 0.1));
    const int top = int(std::lround(sheet.top() + s * 0.34));
    const int side = std::max(1, int((sheet.width() - s * 0.2) / 3));
    const int gap = size >= 48 ? std::max(1, size / 64) : 0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.fillRect(left + col * side, top + row * side, side - gap, side - gap, kTiles[row][col]);
    return icon;
}
