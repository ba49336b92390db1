// Rectangles given by a position and a size anywhere in the int range cover exactly the pixels a 64-bit
// reference says, on a small picture; the map's cursor at the far ends of the range draws nothing.
#include "EditorFixture.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"

#include <QtTest>
#include <climits>

class TestGraphics : public QObject {
    Q_OBJECT
private slots:
    void rectanglesMatchA64BitReference();
    void cursorAtTheEndsOfTheRange();
};

void TestGraphics::rectanglesMatchA64BitReference() {
    const qint64 positions[] = {INT_MIN, -20, -3, 0, 3, 7, 9, INT_MAX - 2, INT_MAX};
    const qint64 sizes[] = {-qint64(INT_MAX), -5, 0, 2, 10, INT_MAX};
    for (const bool outline : {false, true}) {
        for (const qint64 x : positions) {
            for (const qint64 y : positions) {
                for (const qint64 w : sizes) {
                    for (const qint64 h : sizes) {
                        QImage image(8, 8, QImage::Format_RGB32);
                        image.fill(Qt::white);
                        {
                            Graphics g(image);
                            g.ForeColor = Qt::black;
                            outline ? g.DrawRect(x, y, w, h) : g.FillRect(x, y, w, h);
                        }
                        const qint64 left = std::min(x, x + w), right = std::max(x, x + w) - 1;
                        const qint64 top = std::min(y, y + h), bottom = std::max(y, y + h) - 1;
                        for (int py = 0; py < 8; ++py) {
                            for (int px = 0; px < 8; ++px) {
                                const bool inside = px >= left && px <= right && py >= top && py <= bottom;
                                const bool edge = px == left || px == right || py == top || py == bottom;
                                const bool want = inside && (!outline || edge);
                                if ((image.pixel(px, py) == qRgb(0, 0, 0)) != want)
                                    QFAIL(qPrintable(QStringLiteral("%1 (%2, %3, %4, %5) at pixel (%6, %7)")
                                                         .arg(outline ? "outline" : "fill")
                                                         .arg(x)
                                                         .arg(y)
                                                         .arg(w)
                                                         .arg(h)
                                                         .arg(px)
                                                         .arg(py)));
                            }
                        }
                    }
                }
            }
        }
    }
}

void TestGraphics::cursorAtTheEndsOfTheRange() {
    EditorFixture f;
    f.LoadSolidTiles(2, 1);
    f->canMain_MouseEnter();
    f->canMain_MouseMove(-1, -1);
    const QImage empty = f->canMain->Buffer().copy();
    // Each tool's cursor or preview with the pointer far off the canvas: nothing of it can show.
    for (int tool = 0; tool < 8; ++tool) {
        f->btnTool_Action(tool);
        for (const QPoint p :
             {QPoint(INT_MAX, INT_MAX), QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MIN)}) {
            f->canMain_MouseMove(p.x(), p.y());
            QCOMPARE(f->canMain->Buffer(), empty);
        }
    }
}

QTEST_MAIN(TestGraphics)
#include "tst_graphics.moc"
