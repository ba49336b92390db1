#include "tile_kit.h"

#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace sampletiles {

// ---- Deterministic texture noise ----

// An integer hash stands in for a random generator: the same inputs give the same "random" value on every
// run.
quint32 hash(int x, int y, int salt) {
    quint32 h = static_cast<quint32>(x) * 0x27d4eb2du ^ static_cast<quint32>(y) * 0x165667b1u ^
                static_cast<quint32>(salt) * 0x9e3779b9u;
    h ^= h >> 15;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    return h ^ (h >> 16);
}

double random01(int x, int y, int salt) {
    return (hash(x, y, salt) & 0xffffff) / double(0xffffff);
}

int wrap(int v, int n) {
    return ((v % n) + n) % n;
}

// Smooth value noise that repeats every tile, so a textured tile meets copies of itself without a seam.
double smoothNoise(int x, int y, int cell, int salt) {
    const int period = Tile / cell;
    const double fx = (x + 0.5) / cell - 0.5, fy = (y + 0.5) / cell - 0.5;
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    const auto ease = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = ease(fx - x0), ty = ease(fy - y0);
    const auto at = [&](int i, int j) { return random01(wrap(i, period), wrap(j, period), salt); };
    const double top = std::lerp(at(x0, y0), at(x0 + 1, y0), tx);
    const double bottom = std::lerp(at(x0, y0 + 1), at(x0 + 1, y0 + 1), tx);
    return std::lerp(top, bottom, ty);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(
        float(std::lerp(a.redF(), b.redF(), t)), float(std::lerp(a.greenF(), b.greenF(), t)),
        float(std::lerp(a.blueF(), b.blueF(), t)), float(std::lerp(a.alphaF(), b.alphaF(), t)));
}

QColor shade(const QColor& c, double factor) {
    const auto channel = [factor](int v) { return std::clamp(int(std::lround(v * factor)), 0, 255); };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()), c.alpha());
}

// Lightens or darkens single pixels now and then, so flat ground has grain.
QColor addGrain(QColor c, int x, int y, int salt, double amount) {
    const double r = random01(x, y, salt);
    if (r > 0.92)
        return shade(c, 1 + amount);
    if (r < 0.08)
        return shade(c, 1 - amount);
    return c;
}

// ---- Painter helpers ----

QPen outline(const QColor& c, double width) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A soft contact shadow grounds an object on whatever layer lies beneath it.
void groundShadow(QPainter& p, const QRectF& r) {
    QRadialGradient g(r.center(), r.width() / 2);
    g.setColorAt(0, QColor(0, 0, 0, 90));
    g.setColorAt(1, QColor(0, 0, 0, 0));
    p.save();
    p.translate(r.center());
    p.scale(1, r.height() / r.width());
    p.translate(-r.center());
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QRectF(r.x(), r.center().y() - r.width() / 2, r.width(), r.width()));
    p.restore();
}

QBrush litFrom(const QPointF& light, double radius, const QColor& bright, const QColor& dark) {
    QRadialGradient g(light, radius);
    g.setColorAt(0, bright);
    g.setColorAt(1, dark);
    return g;
}

} // namespace sampletiles
