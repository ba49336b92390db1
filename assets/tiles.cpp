#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int Tile = 32;
constexpr double Pi = std::numbers::pi;

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

// ---- Ground textures, each a colour for a pixel of a tile ----

QColor grass(int x, int y) {
    const double n = 0.6 * smoothNoise(x, y, 8, 1) + 0.4 * smoothNoise(x, y, 4, 2);
    return addGrain(mix(QColor(70, 134, 56), QColor(108, 170, 70), n), x, y, 3, 0.14);
}

QColor dirt(int x, int y) {
    const QColor c = mix(QColor(132, 94, 60), QColor(162, 120, 78), smoothNoise(x, y, 8, 4));
    return addGrain(c, x, y, 5, 0.16);
}

QColor sand(int x, int y) {
    const QColor c = mix(QColor(216, 188, 132), QColor(236, 214, 162), smoothNoise(x, y, 8, 6));
    return addGrain(c, x, y, 7, 0.06);
}

QColor water(int x, int y, const QColor& deep = QColor(40, 96, 172),
             const QColor& light = QColor(60, 126, 204)) {
    QColor c = mix(deep, light, smoothNoise(x, y, 16, 8));
    // Ripples: wavy bands that repeat within the tile, broken into short glints.
    const double band = std::sin(2 * Pi * (y / 8.0 + 0.12 * std::sin(2 * Pi * x / 32.0)));
    if (band > 0.86 && smoothNoise(x, y, 8, 9) > 0.45)
        c = mix(c, QColor(170, 210, 240), 0.55);
    return c;
}

// Corner tiles: bit 1 = north-west, 2 = north-east, 4 = south-west, 8 = south-east. A set bit gives that
// corner to the second terrain. The blend is bilinear between the corners, so neighbouring tiles that share
// two corners agree along their shared edge, and the ragged noise repeats with the tile, so the border
// wanders without seams.
double cornerBlend(int corners, int x, int y, int salt) {
    const double u = (x + 0.5) / Tile, v = (y + 0.5) / Tile;
    const auto has = [corners](int bit) { return (corners & bit) ? 1.0 : 0.0; };
    const double m =
        (1 - u) * (1 - v) * has(1) + u * (1 - v) * has(2) + (1 - u) * v * has(4) + u * v * has(8);
    return m + 0.24 * (smoothNoise(x, y, 8, salt) - 0.5);
}

QColor grassToPath(int corners, int x, int y) {
    const double m = cornerBlend(corners, x, y, 11);
    if (m > 0.5)
        return m < 0.56 ? shade(dirt(x, y), 0.84) : dirt(x, y); // trodden rim
    return m > 0.44 ? shade(grass(x, y), 0.8) : grass(x, y);    // grass shades the path
}

QColor grassToWater(int corners, int x, int y) {
    const double m = cornerBlend(corners, x, y, 12);
    if (m > 0.62) {
        const QColor w = water(x, y);
        if (m < 0.66)
            return QColor(214, 234, 246);                                     // surf
        return m < 0.8 ? mix(QColor(72, 160, 196), w, (m - 0.66) / 0.14) : w; // shallows
    }
    if (m > 0.4)
        return m > 0.54 ? shade(sand(x, y), 0.86) : sand(x, y); // wet sand near the water
    return m > 0.36 ? shade(grass(x, y), 0.84) : grass(x, y);
}

QColor cobbles(int x, int y) {
    // Stones are cells around jittered points on a 4 x 4 grid that wraps with the tile.
    constexpr int Grid = 4, Step = Tile / Grid;
    double nearest = 1e9, second = 1e9;
    int stone = 0;
    QPointF centre;
    for (int gy = y / Step - 1; gy <= y / Step + 1; ++gy) {
        for (int gx = x / Step - 1; gx <= x / Step + 1; ++gx) {
            const int id = wrap(gx, Grid) + Grid * wrap(gy, Grid);
            const QPointF c(gx * Step + 1.5 + 5 * random01(id, 0, 21),
                            gy * Step + 1.5 + 5 * random01(id, 1, 21));
            const double d = std::hypot(x + 0.5 - c.x(), y + 0.5 - c.y());
            if (d < nearest) {
                second = nearest;
                nearest = d;
                stone = id;
                centre = c;
            } else if (d < second) {
                second = d;
            }
        }
    }
    if (second - nearest < 1.4)
        return addGrain(QColor(92, 86, 80), x, y, 22, 0.1); // grout
    QColor c = mix(QColor(138, 134, 128), QColor(176, 170, 160), random01(stone, 2, 21));
    // Light from the top left: the upper-left part of each stone is brighter.
    const double lit = ((centre.x() - x) + (centre.y() - y)) / 8.0;
    return addGrain(shade(c, 1 + 0.12 * std::clamp(lit, -1.0, 1.0)), x, y, 23, 0.05);
}

QColor brickWall(int x, int y) {
    const int course = y / 8, inY = y % 8;
    const int shifted = (x + (course % 2) * 8) % Tile, brick = shifted / 16, inX = shifted % 16;
    if (inY == 7 || inX == 15)
        return addGrain(QColor(186, 178, 164), x, y, 24, 0.06);
    QColor c = mix(QColor(148, 60, 46), QColor(182, 88, 62), random01(brick, course, 25));
    if (inY == 0 || inX == 0)
        c = shade(c, 1.14);
    else if (inY == 6 || inX == 14)
        c = shade(c, 0.82);
    return addGrain(c, x, y, 26, 0.08);
}

QColor stoneWall(int x, int y) {
    const int course = y / 16, inY = y % 16;
    const int shifted = (x + (course % 2) * 12) % Tile, block = shifted / 16, inX = shifted % 16;
    if (inY == 15 || inX == 15)
        return QColor(70, 72, 78);
    QColor c = mix(QColor(120, 124, 132), QColor(156, 160, 166), random01(block, course, 27));
    c = mix(c, shade(c, 0.85), smoothNoise(x, y, 4, 28));
    if (inY == 0 || inX == 0)
        c = shade(c, 1.2);
    else if (inY == 14 || inX == 14)
        c = shade(c, 0.78);
    return addGrain(c, x, y, 29, 0.06);
}

QColor woodFloor(int x, int y) {
    const int plank = x / 8, inX = x % 8;
    const int joint = (plank * 13 + 5) % Tile; // plank ends are staggered
    if (inX == 7 || y == joint)
        return QColor(92, 58, 32);
    QColor c = mix(QColor(170, 116, 66), QColor(196, 140, 84), random01(plank, y > joint, 30));
    const double grain = std::sin(y * 0.9 + plank * 2 + 3 * smoothNoise(x, y, 4, 31));
    if (grain > 0.8)
        c = shade(c, 0.88);
    if (inX == 0)
        c = shade(c, 1.1);
    return c;
}

QColor checkerFloor(int x, int y) {
    if (x % 16 == 15 || y % 16 == 15)
        return QColor(120, 112, 100);
    const bool light = ((x / 16) + (y / 16)) % 2 == 0;
    QColor c = light ? QColor(232, 222, 198) : QColor(86, 102, 124);
    c = mix(c, shade(c, 0.9), smoothNoise(x, y, 8, 32)); // marbling
    if (x % 16 == 0 || y % 16 == 0)
        c = shade(c, 1.08);
    return c;
}

QColor roofShingles(int x, int y) {
    // Rounded shingles in staggered rows of 8 pixels. Each row's tongues hang over the top of the row below
    // it, so a pixel belongs to the row above when that row's tongue reaches down to it.
    const auto shingle = [x, y](int row, int& seamX, double& depth) {
        const int inX = wrap(x + wrap(row, 2) * 4, Tile) % 8;
        const double across = (inX + 0.5 - 4) / 4;
        const double tongue = 3 * std::sqrt(std::max(0.0, 1 - across * across));
        seamX = inX;
        depth = row * 8 + 8 + tongue - (y + 0.5);
        return depth > 0;
    };
    int seamX = 0;
    double depth = 0;
    if (!shingle(y / 8 - 1, seamX, depth))
        shingle(y / 8, seamX, depth);
    if (depth < 1 || (seamX == 0 && depth > 3))
        return QColor(96, 34, 26);
    // Lit along the rounded edge, shadowed where the row above covers it.
    const QColor c = mix(QColor(200, 88, 60), QColor(140, 48, 36), depth / 11);
    return addGrain(c, x, y, 33, 0.06);
}

QColor farmland(int x, int y) {
    // Ploughed ridges with a row of seedlings on each, so it cannot be mistaken for planks.
    const int inY = y % 8, inX = x % 8;
    if ((inX == 4 && inY >= 2 && inY <= 4) || ((inX == 3 || inX == 5) && inY == 2))
        return inY == 2 ? QColor(120, 196, 70) : QColor(64, 140, 48);
    const QColor c = dirt(x, y);
    if (inY >= 6)
        return shade(c, 0.68); // furrow
    return inY <= 1 ? shade(c, 1.12) : c;
}

QColor snow(int x, int y) {
    QColor c = mix(QColor(218, 228, 240), QColor(250, 252, 255), smoothNoise(x, y, 8, 34));
    if (random01(x, y, 35) > 0.975)
        return QColor(255, 255, 255);
    return addGrain(c, x, y, 36, 0.03);
}

QColor lava(int x, int y) {
    const double n = 0.65 * smoothNoise(x, y, 8, 37) + 0.35 * smoothNoise(x, y, 4, 38);
    if (n < 0.47)
        return mix(QColor(52, 30, 26), QColor(90, 46, 34), n / 0.47); // cooled crust
    return mix(QColor(214, 62, 20), QColor(255, 206, 70), (n - 0.47) / 0.35);
}

// ---- Sheet helpers ----

template <class ColourAt> void fillTile(QImage& sheet, int col, int row, ColourAt colourAt) {
    for (int y = 0; y < Tile; ++y)
        for (int x = 0; x < Tile; ++x)
            sheet.setPixelColor(col * Tile + x, row * Tile + y, colourAt(x, y));
}

template <class Draw> void paintTile(QImage& sheet, int col, int row, Draw draw) {
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(col * Tile, row * Tile);
    p.setClipRect(0, 0, Tile, Tile);
    draw(p);
}

QPen outline(const QColor& c, double width = 1) {
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

} // namespace

QImage drawSampleTiles() {
    QImage sheet(8 * Tile, 8 * Tile, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);

    // Rows 0-3: the sixteen corner combinations of grass with a dirt path, then of grass with water.
    for (int corners = 0; corners < 16; ++corners) {
        fillTile(sheet, corners % 8, corners / 8,
                 [corners](int x, int y) { return grassToPath(corners, x, y); });
        fillTile(sheet, corners % 8, 2 + corners / 8,
                 [corners](int x, int y) { return grassToWater(corners, x, y); });
    }

    // Row 4: more ground.
    fillTile(sheet, 0, 4, sand);
    fillTile(sheet, 1, 4, cobbles);
    fillTile(sheet, 2, 4, grass);
    paintTile(sheet, 2, 4, [](QPainter& p) {
        for (int i = 0; i < 8; ++i) {
            // One flower in each cell of a 4 x 2 grid, nudged about, so they neither clump nor cross an edge.
            const QPointF at(4 + 8 * (i % 4) + 3 * random01(i, 0, 41),
                             6 + 16 * (i / 4) + 8 * random01(i, 1, 41));
            const QColor petals = i % 3 == 0   ? QColor(250, 250, 250)
                                  : i % 3 == 1 ? QColor(250, 210, 60)
                                               : QColor(236, 120, 170);
            flowerHead(p, at, petals, QColor(250, 200, 60), 1.3);
        }
    });
    fillTile(sheet, 3, 4, farmland);
    fillTile(sheet, 4, 4, snow);
    fillTile(sheet, 5, 4, [](int x, int y) { return water(x, y, QColor(22, 56, 120), QColor(34, 76, 150)); });
    fillTile(sheet, 6, 4, lava);
    fillTile(sheet, 7, 4, dirt);

    // Row 5: buildings.
    fillTile(sheet, 0, 5, brickWall);
    fillTile(sheet, 1, 5, stoneWall);
    fillTile(sheet, 2, 5, woodFloor);
    fillTile(sheet, 3, 5, checkerFloor);
    fillTile(sheet, 4, 5, roofShingles);
    fillTile(sheet, 5, 5, brickWall);
    paintTile(sheet, 5, 5, [](QPainter& p) {
        QPainterPath door;
        door.moveTo(8, 32);
        door.lineTo(8, 14);
        door.arcTo(QRectF(8, 6, 16, 16), 180, -180);
        door.lineTo(24, 32);
        p.setPen(outline(QColor(60, 36, 18), 1.5));
        p.setBrush(QColor(150, 98, 52));
        p.drawPath(door);
        p.setPen(outline(QColor(100, 64, 32)));
        for (double x : {12.0, 16.0, 20.0})
            p.drawLine(QPointF(x, 8), QPointF(x, 31));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 186, 60));
        p.drawEllipse(QPointF(21.5, 21), 1.2, 1.2);
    });
    fillTile(sheet, 6, 5, brickWall);
    paintTile(sheet, 6, 5, [](QPainter& p) {
        const QRectF frame(7, 6, 18, 18);
        p.setPen(outline(QColor(70, 46, 26), 1));
        p.setBrush(QColor(196, 150, 96));
        p.drawRect(frame);
        p.setBrush(litFrom(QPointF(11, 10), 18, QColor(210, 236, 250), QColor(90, 150, 200)));
        const QRectF glass = frame.adjusted(2, 2, -2, -2);
        p.drawRect(glass);
        p.setPen(outline(QColor(196, 150, 96), 2));
        p.drawLine(QPointF(glass.center().x(), glass.top()), QPointF(glass.center().x(), glass.bottom()));
        p.drawLine(QPointF(glass.left(), glass.center().y()), QPointF(glass.right(), glass.center().y()));
        p.setPen(outline(QColor(70, 46, 26), 1));
        p.setBrush(QColor(170, 168, 160));
        p.drawRect(QRectF(5, 24, 22, 3));
    });
    fillTile(sheet, 7, 5, [](int x, int y) {
        // Four stone steps: a lit tread, a dark nose line, then the shaded riser; slabs are staggered per
        // step.
        const int step = y / 8, inStep = y % 8;
        const int slab = (x + step * 11) % Tile / 16, inSlab = (x + step * 11) % 16;
        QColor c = mix(QColor(146, 144, 148), QColor(182, 178, 172), random01(slab, step, 42));
        c = mix(c, shade(c, 0.9), smoothNoise(x, y, 4, 43));
        if (inStep == 4)
            return QColor(64, 62, 66);
        if (inSlab == 15)
            return shade(c, 0.7);
        return addGrain(shade(c, inStep < 4 ? 1.12 + 0.03 * inStep : 0.62 + 0.06 * (inStep - 5)), x, y, 44,
                        0.05);
    });

    // Rows 6-7: plants and objects on transparent ground.
    paintTile(sheet, 0, 6, roundTree);
    paintTile(sheet, 1, 6, pineTree);
    paintTile(sheet, 2, 6, bush);
    paintTile(sheet, 3, 6, [](QPainter& p) { flowers(p, QColor(226, 48, 60), QColor(250, 210, 60), 44); });
    paintTile(sheet, 4, 6, [](QPainter& p) { flowers(p, QColor(250, 250, 246), QColor(244, 190, 40), 45); });
    paintTile(sheet, 5, 6, grassTuft);
    paintTile(sheet, 6, 6, mushrooms);
    paintTile(sheet, 7, 6, lilyPads);
    paintTile(sheet, 0, 7, boulder);
    paintTile(sheet, 1, 7, crate);
    paintTile(sheet, 2, 7, barrel);
    paintTile(sheet, 3, 7, chest);
    paintTile(sheet, 4, 7, fence);
    paintTile(sheet, 5, 7, signpost);
    paintTile(sheet, 6, 7, pot);
    paintTile(sheet, 7, 7, campfire);
    return sheet;
}
