// The zoomed map view through real events: the cell under the pointer stays put, the canvas matches a picture
// drawn here from the map's cells at every level, strokes and previews land on the zoomed cells, the scroll
// range follows; and the blend that draws zoomed pictures against the painter's own.
#include "UserSteps.h"
#include "platform/PixelBlit.h"
#include "platform/ScrollBar.h"
#include "tools/LineWalk.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>
#include <random>

namespace {
// Tile t's quarter q (0 top left, 1 top right, 2 bottom left, 3 bottom right), all opaque.
QRgb Quarter(int t, int q) {
    return qRgb(40 * t + 20, 60 * q + 10, 200 - 30 * t);
}

// The cell the status line names while the pointer rests at p with the plot tool.
QString CellUnder(frmMain& w, QPoint p) {
    HoverAt(w, p);
    return w.Controls().lblStatus->text();
}

// The editor prepared for zooming: three tiles, each in four quarters of their own colours, tile 1 selected,
// the plot tool.
void Prepare(EditorFixture& f) {
    QImage sheet(96, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x)
            sheet.setPixel(x, y, Quarter(x / 32, (y / 16) * 2 + x % 32 / 16));
    f.LoadTiles(QStringLiteral("quarters.png"), sheet);
    f.PickTile(1);
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT
private slots:
    // Ctrl+wheel turns, one notch at a time (away from the user zooms in): each keeps the map cell under the
    // pointer where it is, the status line's numbers following the zoom. Turned in past the last level, out
    // past the first at a cell's edge, and in at the top left corner.
    void cellUnderThePointerStays() {
        // Each case: the notch, the pointer, the scroll and the zoom after each turn.
        for (const auto& [notch, at, scroll, levels] :
             {std::tuple{1, QPoint(17, 480), QPoint(40, 10), QList<int>{200, 400, 400}},
              {-1, QPoint(96, 64), QPoint(30, 30), QList<int>{50, 25, 25}},
              {1, QPoint(0, 0), QPoint(20, 20), QList<int>{200}}}) {
            EditorFixture f;
            Prepare(f);
            f.w.Controls().scbMainHorizontal->setValue(scroll.x());
            f.w.Controls().scbMainVertical->setValue(scroll.y());
            const QString before = CellUnder(f.w, at);
            QCOMPARE(before, Say("Plot", "X:", scroll.x() + at.x() / 32, "Y:", scroll.y() + at.y() / 32));
            for (const int level : levels) {
                Input::Wheel(f.w.Controls().canMain, at, QPoint(0, 120 * notch), Qt::ControlModifier);
                QCOMPARE(Say(f.w.View().ZoomPercent(), CellUnder(f.w, at)), Say(level, before));
            }
        }
    }

    // A fine wheel's small turns add up: seven of 17 units fall one short of a step in, the eighth makes it;
    // after part of a turn in, a turn back counts from nothing, not against that part, so eight of -15 make
    // one step out. A fast drag at 25 % writes the walk between the zoomed cells; at 400 % the rectangle's
    // preview covers the zoomed cells it spans and the frame sits around the pointer's cell.
    void strokesPreviewsAndKeysOnZoomedCells() {
        EditorFixture f;
        Prepare(f);
        const QPoint at(200, 200);
        HoverAt(f.w, at);
        QString levels;
        for (int turn = 0; turn < 19; ++turn) { // eleven of 17 units, then eight of -15
            Input::Wheel(f.w.Controls().canMain, at, QPoint(0, turn < 11 ? 17 : -15), Qt::ControlModifier);
            levels += QString::number(f.w.View().ZoomPercent() / 100);
        }
        QCOMPARE(levels, "1111111222222222221");
        const QPoint middle(f.w.Controls().canMain->width() / 2, f.w.Controls().canMain->height() / 2);
        HoverAt(f.w, middle);
        Input::Wheel(f.w.Controls().canMain, middle, QPoint(0, -240), Qt::ControlModifier);
        const int ox = f.w.Controls().scbMainHorizontal->Value(),
                  oy = f.w.Controls().scbMainVertical->Value();
        MouseStroke fast(f.w, QPoint(8 * 2 + 3, 8 * 3 + 1));
        fast.DragTo(QPoint(8 * 40 + 7, 8 * 12));
        fast.Release();
        CellSet walked;
        WalkLine(2 + ox, 3 + oy, 40 + ox, 12 + oy, [&](int c, int r) { walked.emplace(c, r); });
        QCOMPARE(Describe(Occupied(f.w.Layer(0))), Describe(walked));

        Input::Wheel(f.w.Controls().canMain, middle, QPoint(0, 480), Qt::ControlModifier);
        ChooseTool(f.w, Tool::FilledRectangle);
        const QPoint press(128 + 5, 128 + 60), drag(3 * 128 + 100, 2 * 128 + 1);
        MouseStroke s(f.w, press);
        s.DragTo(drag);
        const QImage& canvas = f.w.Controls().canMain->Buffer();
        // Pixels well inside a cell's top left and bottom right quarters show tile 1's there when previewed.
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(Say(c, r, canvas.pixel(c * 128 + 20, r * 128 + 20) == Quarter(1, 0),
                             canvas.pixel(c * 128 + 100, r * 128 + 100) == Quarter(1, 3)),
                         Say(c, r, c > 0 && (r == 1 || r == 2), c > 0 && (r == 1 || r == 2)));
        s.Release();
        // The plot cursor: the tile on the pointer's zoomed cell in its frame, just outside the cell.
        ChooseTool(f.w, Tool::Plot);
        HoverAt(f.w, QPoint(2 * 128 + 70, 3 * 128 + 9));
        QCOMPARE(Say(canvas.pixel(2 * 128 + 64, 3 * 128 - 1), canvas.pixel(2 * 128 - 1, 3 * 128 + 64),
                     canvas.pixel(2 * 128 + 127, 3 * 128 + 20)),
                 Say(kFramePixel.rgb(), kFramePixel.rgb(), Quarter(1, 1)));

        // Ctrl+- and Ctrl+= step through every level about the canvas's middle while the pointer is away from
        // the map, and Ctrl+0 returns to 100 %, which shows the map as it was. At each level every pixel of
        // the canvas, grid included, is the map drawn here cell by cell, and the scroll range lets the map's
        // last column and row be seen whole, no further.
        QVERIFY(Activate(f.w)); // shortcuts need the window active
        QTest::keyClick(&f.w, Qt::Key_0, Qt::ControlModifier);
        for (int i = 0; i < 10000; ++i) // the whole map, with gaps so that empty cells show too
            if (const int c = i % 100, r = i / 100; (c * 7 + r * 3) % 5 < 3)
                Put(f.w, 0, c, r, (c + r) % 3);
        f.w.Controls().scbMainHorizontal->setValue(30);
        f.w.Controls().scbMainVertical->setValue(40);
        const QString underMiddle = CellUnder(f.w, middle);
        for (const auto& [key, level] : {std::pair{Qt::Key_Minus, 50},
                                         {Qt::Key_Minus, 25},
                                         {Qt::Key_0, 100},
                                         {Qt::Key_Equal, 200},
                                         {Qt::Key_Equal, 400}}) {
            Input::Leave(f.w.Controls().canMain); // no cursor in the picture
            QTest::keyClick(&f.w, key, Qt::ControlModifier);
            QCOMPARE(Say(f.w.View().ZoomPercent(), DiffersFromRule(f.w)), Say(level, ""));
            const int side = 32 * level / 100, hmax = f.w.Controls().scbMainHorizontal->Maximum(),
                      vmax = f.w.Controls().scbMainVertical->Maximum();
            QVERIFY((100 - hmax) * side <= canvas.width() && (100 - hmax + 1) * side > canvas.width() - side);
            QVERIFY((100 - vmax) * side <= canvas.height() &&
                    (100 - vmax + 1) * side > canvas.height() - side);
            QCOMPARE(CellUnder(f.w, middle), underMiddle);
        }
    }

    // Source-over of premultiplied pixels onto an opaque picture, against QPainter on every alpha with
    // colours from black to the alpha, at one and at several target pixels per source pixel, clipped at every
    // side.
    void blendMatchesThePainter() {
        std::mt19937 random(7);
        QImage source(256, 16, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 16; ++y)
            for (int a = 0; a < 256; ++a) {
                const auto channel = [&] { return std::uniform_int_distribution<int>(0, a)(random); };
                source.setPixel(a, y, qRgba(channel(), channel(), channel(), a));
            }
        for (const int factor : {1, 2, 3, 4})
            for (const QPoint at : {QPoint(0, 0), QPoint(-37, -5), QPoint(20, 9)}) {
                QImage target(300 * factor / 2, 40, QImage::Format_RGB32);
                for (int i = 0; i < target.width() * target.height(); ++i)
                    target.setPixel(i % target.width(), i / target.width(), 0xff000000u | QRgb(random()));
                QImage painted = target.copy();
                QPainter{&painted}.drawImage(QRect(at.x(), at.y(), 256 * factor, 16 * factor), source);
                BlendOver(target, at.x(), at.y(), source, factor);
                QVERIFY2(target == painted, qPrintable(Say(factor, at.x(), at.y())));
                // Far off the picture nothing is drawn, whatever the product of position and size.
                BlendOver(target, std::int64_t{1} << 40, 0, source, factor);
                BlendOver(target, -(std::int64_t{1} << 40), -(std::int64_t{1} << 40), source, factor);
                QVERIFY(target == painted);
            }
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
