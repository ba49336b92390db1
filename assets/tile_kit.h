#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <numbers>

// What the sample tiles are painted with. Each picture is a function of the pixel's place alone, so every
// build paints the same sheet.
namespace sampletiles {

constexpr int Tile = 32;
constexpr double Pi = std::numbers::pi;

// Noise, colours and painter helpers (tile_kit.cpp).
double random01(int x, int y, int salt);
int wrap(int v, int n);
double smoothNoise(int x, int y, int cell, int salt);
QColor mix(const QColor& a, const QColor& b, double t);
QColor shade(const QColor& c, double factor);
QColor addGrain(QColor c, int x, int y, int salt, double amount);
QPen outline(const QColor& c, double width = 1);
void groundShadow(QPainter& p, const QRectF& r);
QBrush litFrom(const QPointF& light, double radius, const QColor& bright, const QColor& dark);

// Ground textures, each the colour of pixel (x, y) of a tile (tile_grounds.cpp). The corner tiles give the
// corners whose bits are set (1 north-west, 2 north-east, 4 south-west, 8 south-east) to the second ground.
QColor grass(int x, int y);
QColor dirt(int x, int y);
QColor sand(int x, int y);
QColor water(int x, int y, const QColor& deep = QColor(40, 96, 172),
             const QColor& light = QColor(60, 126, 204));
QColor grassToPath(int corners, int x, int y);
QColor grassToWater(int corners, int x, int y);
QColor cobbles(int x, int y);
QColor brickWall(int x, int y);
QColor stoneWall(int x, int y);
QColor woodFloor(int x, int y);
QColor checkerFloor(int x, int y);
QColor roofShingles(int x, int y);
QColor farmland(int x, int y);
QColor snow(int x, int y);
QColor lava(int x, int y);

// Plants and objects, each drawn into one tile on transparent ground (tile_objects.cpp).
void roundTree(QPainter& p);
void pineTree(QPainter& p);
void bush(QPainter& p);
void flowerHead(QPainter& p, QPointF at, const QColor& petals, const QColor& centre, double size);
void flowers(QPainter& p, const QColor& petals, const QColor& centre, int salt);
void grassTuft(QPainter& p);
void mushrooms(QPainter& p);
void lilyPads(QPainter& p);
void boulder(QPainter& p);
void crate(QPainter& p);
void barrel(QPainter& p);
void chest(QPainter& p);
void fence(QPainter& p);
void signpost(QPainter& p);
void pot(QPainter& p);
void campfire(QPainter& p);

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

} // namespace sampletiles
