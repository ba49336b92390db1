#include "tile_kit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace sampletiles {

// ---- Plants ----

void roundTree(QPainter& p) {
    groundShadow(p, QRectF(6, 25, 20, 6));
    p.setPen(outline(QColor(64, 40, 22)));
    p.setBrush(QColor(120, 80, 44));
    p.drawRect(QRectF(14, 17, 4, 11));
    QPainterPath crown;
    crown.addEllipse(QPointF(16, 10), 9, 8);
    crown.addEllipse(QPointF(9.5, 15), 6, 5.5);
    crown.addEllipse(QPointF(22.5, 15), 6, 5.5);
    crown.setFillRule(Qt::WindingFill);
    p.setPen(outline(QColor(30, 78, 34)));
    p.setBrush(litFrom(QPointF(12, 6), 18, QColor(136, 200, 86), QColor(42, 110, 44)));
    p.drawPath(crown.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 220, 120, 150));
    p.drawEllipse(QPointF(12.5, 7), 2.5, 1.8);
    p.drawEllipse(QPointF(7.5, 13), 1.6, 1.2);
}

void pineTree(QPainter& p) {
    groundShadow(p, QRectF(8, 26, 16, 5));
    p.setPen(outline(QColor(64, 40, 22)));
    p.setBrush(QColor(110, 72, 40));
    p.drawRect(QRectF(14.5, 23, 3, 6));
    p.setPen(outline(QColor(18, 60, 40)));
    for (int tier = 0; tier < 3; ++tier) {
        const double top = 2 + tier * 6, half = 5 + tier * 2.5, bottom = top + 10;
        p.setBrush(mix(QColor(48, 128, 80), QColor(30, 96, 62), tier / 2.0));
        p.drawPolygon(QPolygonF{{16, top}, {16 + half, bottom}, {16 - half, bottom}});
    }
}

void bush(QPainter& p) {
    groundShadow(p, QRectF(4, 24, 24, 6));
    QPainterPath leaves;
    leaves.addEllipse(QPointF(11, 19), 7, 6.5);
    leaves.addEllipse(QPointF(21, 19), 7, 6.5);
    leaves.addEllipse(QPointF(16, 14), 7.5, 6.5);
    leaves.addRect(QRectF(8, 19, 16, 8));
    leaves.setFillRule(Qt::WindingFill);
    p.setPen(outline(QColor(30, 80, 36)));
    p.setBrush(litFrom(QPointF(13, 11), 16, QColor(120, 190, 80), QColor(46, 116, 48)));
    p.drawPath(leaves.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(206, 40, 60));
    for (const QPointF& berry : {QPointF(11, 17), QPointF(18, 13), QPointF(21, 20), QPointF(14, 22)})
        p.drawEllipse(berry, 1.4, 1.4);
}

void flowerHead(QPainter& p, QPointF at, const QColor& petals, const QColor& centre, double size) {
    p.setPen(outline(shade(petals, 0.6), 0.6));
    p.setBrush(petals);
    for (int i = 0; i < 5; ++i) {
        const double a = 2 * Pi * i / 5 - Pi / 2;
        p.drawEllipse(at + QPointF(std::cos(a), std::sin(a)) * size, size * 0.75, size * 0.75);
    }
    p.setBrush(centre);
    p.drawEllipse(at, size * 0.6, size * 0.6);
}

void flowers(QPainter& p, const QColor& petals, const QColor& centre, int salt) {
    const QPointF heads[] = {{9, 11}, {22, 9}, {16, 19}, {25, 22}, {7, 24}};
    for (int i = 0; i < 5; ++i) {
        const QPointF h = heads[i] + QPointF(2 * random01(i, 0, salt) - 1, 2 * random01(i, 1, salt) - 1);
        p.setPen(outline(QColor(40, 110, 40), 1.2));
        p.drawLine(h, h + QPointF(0.5, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 150, 60));
        p.drawEllipse(h + QPointF(2.2, 4.5), 1.8, 1);
        flowerHead(p, h, petals, centre, 1.6 + 0.4 * random01(i, 2, salt));
    }
}

void grassTuft(QPainter& p) {
    groundShadow(p, QRectF(7, 25, 18, 5));
    for (int i = 0; i < 9; ++i) {
        const double spread = (i - 4) / 4.0;
        const QPointF base(16 + 4 * spread, 27);
        const QPointF tip(16 + 12 * spread + 2 * random01(i, 0, 40),
                          8 + 8 * std::abs(spread) + 4 * random01(i, 1, 40));
        QPainterPath blade;
        blade.moveTo(base);
        blade.quadTo(QPointF(base.x(), (base.y() + tip.y()) / 2), tip);
        p.setPen(outline(mix(QColor(50, 120, 40), QColor(130, 190, 70), random01(i, 2, 40)), 1.8));
        p.drawPath(blade);
    }
}

void mushroom(QPainter& p, QPointF foot, double size) {
    p.setPen(outline(QColor(120, 100, 80), 0.8));
    p.setBrush(QColor(240, 230, 210));
    p.drawRoundedRect(QRectF(foot.x() - size * 0.3, foot.y() - size * 1.1, size * 0.6, size * 1.1), 1, 1);
    QPainterPath cap;
    cap.moveTo(foot.x() - size, foot.y() - size);
    cap.cubicTo(foot.x() - size, foot.y() - size * 2.4, foot.x() + size, foot.y() - size * 2.4,
                foot.x() + size, foot.y() - size);
    cap.closeSubpath();
    p.setPen(outline(QColor(110, 20, 20), 0.8));
    p.setBrush(litFrom(foot + QPointF(-size * 0.4, -size * 1.9), size * 1.6, QColor(240, 80, 70),
                       QColor(170, 24, 28)));
    p.drawPath(cap);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 240));
    p.drawEllipse(foot + QPointF(-size * 0.45, -size * 1.45), size * 0.22, size * 0.2);
    p.drawEllipse(foot + QPointF(size * 0.3, -size * 1.7), size * 0.18, size * 0.16);
    p.drawEllipse(foot + QPointF(size * 0.55, -size * 1.2), size * 0.14, size * 0.12);
}

void mushrooms(QPainter& p) {
    groundShadow(p, QRectF(6, 24, 20, 6));
    mushroom(p, QPointF(12, 27), 6);
    mushroom(p, QPointF(23, 27), 4);
}

void lilyPads(QPainter& p) {
    const auto pad = [&p](QPointF c, double r, double notchAngle) {
        p.setPen(outline(QColor(30, 90, 40), 0.8));
        p.setBrush(litFrom(c - QPointF(r / 3, r / 3), r * 1.4, QColor(120, 190, 90), QColor(50, 130, 56)));
        p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int((notchAngle + 20) * 16), 320 * 16);
    };
    pad(QPointF(12, 13), 8, 300);
    pad(QPointF(24, 24), 5.5, 120);
    flowerHead(p, QPointF(13, 12), QColor(246, 170, 200), QColor(250, 220, 90), 1.8);
}

// ---- Objects ----

void boulder(QPainter& p) {
    groundShadow(p, QRectF(3, 23, 26, 7));
    const QPolygonF rock{{5, 26}, {4, 18}, {9, 10}, {17, 7}, {25, 10}, {28, 18}, {27, 26}};
    p.setPen(outline(QColor(60, 62, 68)));
    p.setBrush(litFrom(QPointF(12, 11), 20, QColor(196, 196, 200), QColor(100, 102, 110)));
    p.drawPolygon(rock);
    p.setPen(outline(QColor(80, 82, 90), 0.8));
    p.drawLine(QPointF(17, 7.5), QPointF(15, 14));
    p.drawLine(QPointF(15, 14), QPointF(19, 19));
}

void crate(QPainter& p) {
    groundShadow(p, QRectF(3, 25, 26, 6));
    const QRectF box(5, 5, 22, 22);
    p.setPen(outline(QColor(80, 50, 24)));
    p.setBrush(QColor(190, 136, 74));
    p.drawRect(box);
    p.setBrush(QColor(150, 100, 52));
    const QRectF inner = box.adjusted(3, 3, -3, -3);
    p.drawRect(inner);
    p.setPen(outline(QColor(190, 136, 74), 2.4));
    p.drawLine(inner.bottomLeft(), inner.topRight());
    p.setPen(outline(QColor(80, 50, 24), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 76));
    for (const QPointF& nail : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        p.drawEllipse(nail + (box.center() - nail) * 0.14, 0.9, 0.9);
}

void barrel(QPainter& p) {
    groundShadow(p, QRectF(5, 25, 22, 6));
    QPainterPath body;
    body.moveTo(9, 5);
    body.cubicTo(5, 12, 5, 20, 9, 28);
    body.lineTo(23, 28);
    body.cubicTo(27, 20, 27, 12, 23, 5);
    body.closeSubpath();
    QLinearGradient wood(6, 0, 26, 0);
    wood.setColorAt(0, QColor(120, 74, 38));
    wood.setColorAt(0.35, QColor(196, 138, 78));
    wood.setColorAt(1, QColor(110, 68, 34));
    p.setPen(outline(QColor(70, 42, 20)));
    p.setBrush(wood);
    p.drawPath(body);
    p.setPen(outline(QColor(60, 60, 66), 1.6));
    for (double y : {9.0, 24.0})
        p.drawLine(QPointF(7.5, y), QPointF(24.5, y));
    p.setPen(outline(QColor(70, 42, 20)));
    p.setBrush(QColor(150, 100, 56));
    p.drawEllipse(QRectF(9, 3, 14, 4));
}

void chest(QPainter& p) {
    groundShadow(p, QRectF(3, 25, 26, 6));
    const QColor gold(232, 186, 60), edge(70, 42, 20);
    p.setPen(outline(edge));
    p.setBrush(QColor(160, 96, 46));
    p.drawRect(QRectF(4, 15, 24, 12));
    QPainterPath lid;
    lid.moveTo(4, 15);
    lid.cubicTo(4, 6, 28, 6, 28, 15);
    lid.closeSubpath();
    p.setBrush(QColor(186, 116, 58));
    p.drawPath(lid);
    p.setPen(outline(shade(gold, 0.6), 0.8));
    p.setBrush(gold);
    p.drawRect(QRectF(7, 8.5, 3, 18.5));
    p.drawRect(QRectF(22, 8.5, 3, 18.5));
    p.drawRoundedRect(QRectF(14, 13, 4, 5), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    p.drawEllipse(QPointF(16, 15.8), 0.7, 0.7);
}

// Rails run to both edges, and posts sit 16 pixels apart, so a row of fence tiles joins up.
void fence(QPainter& p) {
    const QColor wood(186, 134, 80), edge(84, 54, 28);
    p.setPen(outline(edge));
    p.setBrush(wood);
    p.drawRect(QRectF(-1, 11, 34, 3));
    p.drawRect(QRectF(-1, 19, 34, 3));
    for (double x : {8.0, 24.0}) {
        groundShadow(p, QRectF(x - 4, 26, 8, 4));
        QPolygonF post{{x - 2.5, 28}, {x - 2.5, 8}, {x, 5.5}, {x + 2.5, 8}, {x + 2.5, 28}};
        p.setPen(outline(edge));
        p.setBrush(shade(wood, 1.08));
        p.drawPolygon(post);
    }
}

void signpost(QPainter& p) {
    groundShadow(p, QRectF(10, 26, 12, 5));
    const QColor edge(84, 54, 28);
    p.setPen(outline(edge));
    p.setBrush(QColor(150, 104, 60));
    p.drawRect(QRectF(14.5, 10, 3, 18));
    p.setBrush(QColor(206, 156, 96));
    p.drawPolygon(QPolygonF{{4, 6}, {24, 6}, {29, 10.5}, {24, 15}, {4, 15}});
    p.setPen(outline(QColor(110, 72, 38), 1.2));
    p.drawLine(QPointF(7, 9), QPointF(21, 9));
    p.drawLine(QPointF(7, 12), QPointF(17, 12));
}

void pot(QPainter& p) {
    groundShadow(p, QRectF(7, 25, 18, 6));
    QPainterPath body;
    body.moveTo(12, 6);
    body.lineTo(20, 6);
    body.cubicTo(20, 10, 27, 12, 26, 19);
    body.cubicTo(25, 26, 21, 28, 16, 28);
    body.cubicTo(11, 28, 7, 26, 6, 19);
    body.cubicTo(5, 12, 12, 10, 12, 6);
    p.setPen(outline(QColor(100, 44, 24)));
    p.setBrush(litFrom(QPointF(12, 14), 16, QColor(236, 142, 92), QColor(150, 66, 36)));
    p.drawPath(body);
    p.setBrush(QColor(120, 52, 28));
    p.drawEllipse(QRectF(11, 4.5, 10, 3));
    p.setPen(outline(QColor(250, 220, 170), 1.2));
    p.drawLine(QPointF(8, 18), QPointF(24, 18));
}

void campfire(QPainter& p) {
    groundShadow(p, QRectF(4, 22, 24, 8));
    p.setPen(outline(QColor(60, 36, 18)));
    p.setBrush(QColor(120, 78, 42));
    p.save();
    p.translate(16, 24);
    p.rotate(20);
    p.drawRoundedRect(QRectF(-11, -2, 22, 4), 2, 2);
    p.rotate(-40);
    p.drawRoundedRect(QRectF(-11, -2, 22, 4), 2, 2);
    p.restore();
    const auto flame = [&p](double w, double h, const QColor& c) {
        QPainterPath f;
        f.moveTo(16, 24 - h);
        f.cubicTo(16 + w, 24 - h * 0.55, 16 + w, 24, 16, 24);
        f.cubicTo(16 - w, 24, 16 - w, 24 - h * 0.55, 16, 24 - h);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(f);
    };
    flame(7, 20, QColor(226, 72, 24));
    flame(5, 14, QColor(250, 150, 30));
    flame(3, 8, QColor(255, 232, 120));
}

} // namespace sampletiles
