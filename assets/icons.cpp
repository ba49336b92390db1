#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

constexpr int Cell = 24;

const QColor Ink(38, 50, 66);
const QColor Accent(58, 124, 204);
const QColor AccentLight(156, 196, 238);

enum class Look { Up, Down };

// A rounded key cap, raised and lit from the top left when up, sunk with an inner shadow when down, so the
// pair reads as a toggle even where the button itself is drawn flat.
void drawKeyCap(QPainter& p, Look look) {
    QLinearGradient fill(0, 0, 0, Cell);
    if (look == Look::Up) {
        fill.setColorAt(0, QColor(255, 255, 255));
        fill.setColorAt(1, QColor(212, 218, 226));
    } else {
        fill.setColorAt(0, QColor(150, 160, 173));
        fill.setColorAt(1, QColor(186, 194, 204));
    }
    p.setPen(QPen(QColor(100, 110, 124), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, Cell - 1, Cell - 1), 3.5, 3.5);

    const auto edges = [&](QColor topLeft, QColor bottomRight, double inset) {
        const double near = inset + 0.5, far = Cell - inset - 0.5;
        p.setPen(QPen(topLeft, 1));
        p.drawLine(QPointF(3, near), QPointF(Cell - 3, near));
        p.drawLine(QPointF(near, 3), QPointF(near, Cell - 3));
        p.setPen(QPen(bottomRight, 1));
        p.drawLine(QPointF(3, far), QPointF(Cell - 3, far));
        p.drawLine(QPointF(far, 3), QPointF(far, Cell - 3));
    };
    if (look == Look::Up) {
        edges(QColor(255, 255, 255, 230), QColor(0, 0, 0, 50), 1);
    } else {
        edges(QColor(0, 0, 0, 120), QColor(255, 255, 255, 60), 1);
        edges(QColor(0, 0, 0, 45), Qt::transparent, 2);
    }
}

using Glyph = std::function<void(QPainter&, int)>;

// Paints count buttons as up/down pairs, one button per row. The glyph on the pressed key moves one pixel
// down and right, as if pushed into the panel.
QImage drawPairs(int count, const Glyph& glyph) {
    QImage sheet(2 * Cell, count * Cell, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        for (Look look : {Look::Up, Look::Down}) {
            p.save();
            p.translate(look == Look::Up ? 0 : Cell, i * Cell);
            p.setClipRect(0, 0, Cell, Cell);
            drawKeyCap(p, look);
            if (look == Look::Down)
                p.translate(1, 1);
            glyph(p, i);
            p.restore();
        }
    }
    return sheet;
}

QPen inkPen(double width) {
    return QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Digits as strokes of our own in a 6 x 10 box: no font is needed, so they look the same on every machine.
QPainterPath digitPath(int digit) {
    QPainterPath d;
    switch (digit) {
    case 0:
        d.addEllipse(QRectF(0, 0, 6, 10));
        break;
    case 1:
        d.moveTo(0.8, 2.2);
        d.lineTo(3.4, 0);
        d.lineTo(3.4, 10);
        d.moveTo(0.8, 10);
        d.lineTo(6, 10);
        break;
    case 2:
        d.moveTo(0.2, 2.6);
        d.cubicTo(0.6, -0.8, 6.2, -0.9, 5.9, 2.9);
        d.cubicTo(5.7, 5.2, 1.8, 7.2, 0, 10);
        d.lineTo(6.2, 10);
        break;
    case 3:
        d.arcMoveTo(QRectF(0.4, 0, 5.2, 4.8), 150);
        d.arcTo(QRectF(0.4, 0, 5.2, 4.8), 150, -240);
        d.arcTo(QRectF(0, 4.8, 6, 5.2), 90, -250);
        break;
    case 4:
        d.moveTo(4.6, 10);
        d.lineTo(4.6, 0);
        d.lineTo(0, 7);
        d.lineTo(6.4, 7);
        break;
    case 5:
        d.moveTo(5.8, 0);
        d.lineTo(1.0, 0);
        d.lineTo(0.6, 4.6);
        d.cubicTo(2.6, 3.2, 6.2, 3.6, 6.1, 6.9);
        d.cubicTo(6.0, 10.6, 1.4, 10.8, 0, 8.9);
        break;
    case 6:
        d.moveTo(5.4, 0.7);
        d.cubicTo(2.0, -0.8, 0, 2.4, 0, 7.0);
        d.addEllipse(QRectF(0, 4.4, 6, 5.6));
        break;
    case 7:
        d.moveTo(0, 0);
        d.lineTo(6.2, 0);
        d.lineTo(2.2, 10);
        break;
    default:
        break;
    }
    return d;
}

// The usual "layers" sign, a sheet lying on two more seen only by their edges, beside the layer's number.
void drawLayerGlyph(QPainter& p, int layer) {
    constexpr double Left = 2, Mid = 7, Right = 12, Top = 6;
    p.setPen(inkPen(1.4));
    p.setBrush(Qt::NoBrush);
    for (double drop : {7.0, 3.5})
        p.drawPolyline(QPolygonF{{Left, Top + 3 + drop}, {Mid, Top + 6 + drop}, {Right, Top + 3 + drop}});
    p.setPen(inkPen(1.2));
    p.setBrush(AccentLight);
    p.drawPolygon(QPolygonF{{Left, Top + 3}, {Mid, Top}, {Right, Top + 3}, {Mid, Top + 6}});

    p.setPen(inkPen(2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(QTransform(1.05, 0, 0, 1.2, 13.6, 6).map(digitPath(layer)));
}

void drawGridGlyph(QPainter& p) {
    // Hairlines stay sharp only on whole pixels.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(4, 4, 16, 16), AccentLight);
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRect(4 + 5 * i, 4, 1, 16), Ink);
        p.fillRect(QRect(4, 4 + 5 * i, 16, 1), Ink);
    }
}

void drawPencil(QPainter& p) {
    p.save();
    p.translate(12.5, 11.5);
    p.rotate(-45);
    p.setPen(inkPen(1));
    p.setBrush(QColor(232, 122, 138));
    p.drawRoundedRect(QRectF(6, -2.8, 4, 5.6), 1.2, 1.2);
    p.setBrush(QColor(176, 184, 196));
    p.drawRect(QRectF(4.5, -2.8, 1.8, 5.6));
    p.setBrush(QColor(246, 194, 60));
    p.drawRect(QRectF(-5, -2.8, 9.5, 5.6));
    p.setBrush(QColor(238, 210, 166));
    p.drawPolygon(QPolygonF{{-5, -2.8}, {-10, 0}, {-5, 2.8}});
    p.setBrush(Ink);
    p.drawPolygon(QPolygonF{{-8.2, -1}, {-10, 0}, {-8.2, 1}});
    p.restore();
}

void drawEraser(QPainter& p) {
    p.setPen(QPen(QColor(38, 50, 66, 140), 1.4, Qt::DashLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 20.5), QPointF(13, 20.5));
    p.save();
    p.translate(13, 11);
    p.rotate(-35);
    p.setPen(inkPen(1));
    p.setBrush(QColor(80, 132, 206));
    p.drawRoundedRect(QRectF(-8, -4, 16, 8), 1.5, 1.5);
    p.setBrush(QColor(240, 132, 146));
    p.drawRoundedRect(QRectF(-8, -4, 7, 8), 1.5, 1.5);
    p.restore();
}

void drawLineGlyph(QPainter& p) {
    p.setPen(inkPen(2.2));
    p.drawLine(QPointF(5.5, 18.5), QPointF(18.5, 5.5));
    p.setPen(inkPen(1));
    p.setBrush(Accent);
    p.drawEllipse(QPointF(5.5, 18.5), 2.4, 2.4);
    p.drawEllipse(QPointF(18.5, 5.5), 2.4, 2.4);
}

void drawShape(QPainter& p, bool ellipse, bool filled) {
    p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(filled ? QBrush(Accent) : QBrush(Qt::NoBrush));
    if (ellipse)
        p.drawEllipse(QRectF(4, 6, 16, 12));
    else
        p.drawRect(QRectF(5, 6, 14, 12));
}

// A tipped bucket pouring paint from its low lip.
void drawBucket(QPainter& p) {
    // Drawn a little small, so the handle and the drop stay clear of the rim on the sunk key too.
    p.translate(12, 12);
    p.scale(0.9, 0.9);
    p.translate(-12, -12);
    p.save();
    p.translate(9.5, 12.5);
    p.rotate(35);
    p.setPen(inkPen(1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-5, -9.5, 10, 10), 20 * 16, 140 * 16);
    QPainterPath body;
    body.moveTo(-5.5, -3);
    body.lineTo(-4, 7);
    body.quadTo(0, 8.5, 4, 7);
    body.lineTo(5.5, -3);
    body.closeSubpath();
    QLinearGradient metal(-5, 0, 5, 0);
    metal.setColorAt(0, QColor(236, 240, 244));
    metal.setColorAt(1, QColor(150, 162, 176));
    p.setPen(inkPen(1));
    p.setBrush(metal);
    p.drawPath(body);
    p.setBrush(Accent);
    p.drawEllipse(QRectF(-5.5, -5, 11, 4));
    p.restore();

    // The paint runs off the lip and gathers in a drop.
    QPainterPath paint;
    paint.moveTo(15.2, 13.0);
    paint.cubicTo(17.6, 13.0, 19.4, 14.4, 19.6, 16.6);
    paint.cubicTo(20.8, 18.2, 21.6, 19.4, 21.4, 20.4);
    paint.cubicTo(21.2, 22.0, 17.8, 22.0, 17.6, 20.4);
    paint.cubicTo(17.5, 19.4, 18.0, 18.0, 18.2, 16.8);
    paint.cubicTo(17.8, 15.4, 16.6, 14.8, 14.8, 14.6);
    paint.closeSubpath();
    p.setPen(inkPen(0.8));
    p.setBrush(Accent);
    p.drawPath(paint);
}

// A dashed frame around a few cells, held by square handles at its corners: the usual sign of a
// rectangular selection.
void drawSelectGlyph(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(5, 5, 14, 14), AccentLight);
    QPen dashes(Ink, 1, Qt::CustomDashLine);
    dashes.setDashPattern({2, 2});
    p.setPen(dashes);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(4, 4, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    for (const QPoint corner : {QPoint(4, 4), QPoint(19, 4), QPoint(4, 19), QPoint(19, 19)})
        p.drawRect(QRect(corner - QPoint(2, 2), QSize(4, 4)));
}

} // namespace

QImage drawLayerIcons() {
    return drawPairs(8, drawLayerGlyph);
}

QImage drawGridIcon() {
    return drawPairs(1, [](QPainter& p, int) { drawGridGlyph(p); });
}

QImage drawToolIcons() {
    return drawPairs(9, [](QPainter& p, int tool) {
        switch (tool) {
        case 0:
            drawPencil(p);
            break;
        case 1:
            drawEraser(p);
            break;
        case 2:
            drawLineGlyph(p);
            break;
        case 3:
        case 4:
            drawShape(p, false, tool == 4);
            break;
        case 5:
        case 6:
            drawShape(p, true, tool == 6);
            break;
        case 7:
            drawBucket(p);
            break;
        case 8:
            drawSelectGlyph(p);
            break;
        default:
            break;
        }
    });
}
