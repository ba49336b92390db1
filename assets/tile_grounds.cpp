#include "tile_kit.h"

#include <algorithm>
#include <cmath>

namespace sampletiles {

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

QColor water(int x, int y, const QColor& deep, const QColor& light) {
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

} // namespace sampletiles
