#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

enum Ground { Water, Sand, Grass, Forest };

// A little island seen from above, four by four tiles: the icon reads as "a map made of tiles" even at 16
// pixels, where each tile is only two or three pixels wide.
constexpr Ground Island[4][4] = {
    {Water, Water, Sand, Grass},
    {Water, Sand, Grass, Grass},
    {Sand, Grass, Forest, Grass},
    {Water, Sand, Grass, Forest},
};

QColor groundColour(Ground g) {
    switch (g) {
    case Water:
        return QColor(58, 124, 204);
    case Sand:
        return QColor(226, 202, 146);
    case Grass:
        return QColor(108, 170, 70);
    case Forest:
        return QColor(56, 118, 52);
    }
    return Qt::black;
}

int scaled(int size, double fraction, int least) {
    return std::max(least, int(std::lround(size * fraction)));
}

} // namespace

QImage drawAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);

    // The board: a dark rounded frame the tiles sit in.
    const double radius = size / 7.0;
    QLinearGradient board(0, 0, 0, size);
    board.setColorAt(0, QColor(62, 78, 100));
    board.setColorAt(1, QColor(30, 40, 54));
    p.setPen(Qt::NoPen);
    p.setBrush(board);
    p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);

    // Tiles are placed on whole pixels, so the small sizes stay sharp instead of blurring at the seams.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int border = scaled(size, 3.0 / 32, 1);
    // At 16 pixels there is no room for grout: the tiles touch.
    const int gap = scaled(size, 1.0 / 64, 0);
    const int inner = size - 2 * border;
    const auto edge = [&](int i) { return border + int(std::lround(i * (inner + gap) / 4.0)); };
    QRect cursor;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRect tile(QPoint(edge(col), edge(row)),
                             QPoint(edge(col + 1) - gap - 1, edge(row + 1) - gap - 1));
            const QColor base = groundColour(Island[row][col]);
            QLinearGradient light(tile.topLeft(), tile.bottomRight());
            light.setColorAt(0, base.lighter(118));
            light.setColorAt(1, base.darker(108));
            p.fillRect(tile, light);
            if (row == 1 && col == 2)
                cursor = tile;
        }
    }

    // A white frame around one tile marks it as the one being painted.
    const int frame = scaled(size, 1.0 / 40, 1);
    const int out = std::max(gap, 1);
    const QRect around = cursor.adjusted(-out, -out, out, out);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    for (int i = 0; i < frame; ++i)
        p.drawRect(around.adjusted(i, i, -i - 1, -i - 1));
    return icon;
}
