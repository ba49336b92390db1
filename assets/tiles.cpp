#include "artwork.h"
#include "tile_kit.h"

#include <QPainterPath>

using namespace sampletiles;

namespace {

void door(QPainter& p) {
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
}

void window(QPainter& p) {
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
}

QColor stoneSteps(int x, int y) {
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
    return addGrain(shade(c, inStep < 4 ? 1.12 + 0.03 * inStep : 0.62 + 0.06 * (inStep - 5)), x, y, 44, 0.05);
}

// Rows 0-4: the grounds.
void drawGrounds(QImage& sheet) {
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
}

// Row 5: buildings.
void drawBuildings(QImage& sheet) {
    fillTile(sheet, 0, 5, brickWall);
    fillTile(sheet, 1, 5, stoneWall);
    fillTile(sheet, 2, 5, woodFloor);
    fillTile(sheet, 3, 5, checkerFloor);
    fillTile(sheet, 4, 5, roofShingles);
    fillTile(sheet, 5, 5, brickWall);
    paintTile(sheet, 5, 5, door);
    fillTile(sheet, 6, 5, brickWall);
    paintTile(sheet, 6, 5, window);
    fillTile(sheet, 7, 5, stoneSteps);
}

// Rows 6-7: plants and objects on transparent ground.
void drawPlantsAndObjects(QImage& sheet) {
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
}

} // namespace

QImage drawSampleTiles() {
    QImage sheet(8 * Tile, 8 * Tile, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    drawGrounds(sheet);
    drawBuildings(sheet);
    drawPlantsAndObjects(sheet);
    return sheet;
}
