// The editor's arithmetic and drawing primitives, each against a reference over a small domain.
#include "platform/Graphics.h"
#include "platform/ScrollMath.h"
#include "platform/Val.h"
#include "tiles/PaletteLayout.h"

#include <QtTest>
#include <climits>
#include <cmath>

class TestMath : public QObject {
    Q_OBJECT
private slots:
    // Every text of up to five characters from a small alphabet: the number after leading blanks (sign,
    // digits with a fraction, exponent) is read, 0 without one; a text that is one number is numeric.
    void valReadsTheLeadingNumber() {
        const QRegularExpression number(QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?)"));
        const QString alphabet = QStringLiteral(" +-.19ex");
        for (int k = 0; k < 9 * 9 * 9 * 9 * 9; ++k) {
            QString text; // base-9 digits of k, 0 standing for no character
            for (int v = k; v > 0; v /= 9)
                text += v % 9 ? QString(alphabet[v % 9 - 1]) : QString();
            const QRegularExpressionMatch m = number.match(text);
            const double want = m.hasMatch() ? m.captured(1).toDouble() : 0.0;
            QCOMPARE(Val(text), want);
            QCOMPARE(ValInt(text), int(std::clamp(std::trunc(want), double(INT_MIN), double(INT_MAX))));
            QCOMPARE(IsNumeric(text), m.hasMatch() && text.mid(m.capturedEnd()).trimmed().isEmpty());
        }
    }

    // Cells under pixels round down, visible cells and palette rows (tile plus 10 pixels) round up, and a
    // scroll bar's maximum is one more than the hidden cells, 0 when nothing is hidden.
    void cellsAndScrollRanges() {
        for (int k = 0, t = -1, p = -40; k < 11 * 81; ++k, t = k / 81 - 1, p = k % 81 - 40) {
            QCOMPARE(PixelToCell(p, t), t < 1 ? 0 : int(std::floor(double(p) / t)));
            QCOMPARE(VisibleCells(p, t), t < 1 || p <= 0 ? 0 : int(std::ceil(double(p) / t)));
            QCOMPARE(PaletteVisibleRows(p, t), p <= 0 ? 0 : int(std::ceil(double(p) / (t + 10))));
            QCOMPARE(ScrollMaximum(p, t), p - t < 1 ? 0 : p - t + 1);
        }
    }

    // Tiles sit 10 pixels from the left and from each other; a row takes as many as keep a 10-pixel right
    // margin, but at least one.
    void paletteFlowsInRows() {
        for (int k = 0; k < 14 * 15 * 8; ++k) {
            const int tw = k % 14 * 3 + 1, cw = k / 14 % 15 * 7, count = k / 210;
            const int perRow = std::max(1, (cw - 10) / (tw + 10));
            PaletteFlow flow(tw, cw);
            const std::vector<int> rows = AssignPaletteRows(count, tw, cw);
            QCOMPARE(int(rows.size()), count);
            for (int i = 0; i < count; ++i) {
                const auto [x, row] = flow.Next();
                QVERIFY(x == 10 + i % perRow * (tw + 10) && row == i / perRow && rows[i] == row);
            }
            QCOMPARE(PaletteRowCount(count, tw, cw), count == 0 ? 1 : (count - 1) / perRow + 1);
        }
    }

    // Rectangles filled, outlined or cleared anywhere in the 64-bit range cover exactly their pixels; a
    // rounded square with equal arcs is symmetric about its diagonal; no warnings.
    void graphicsDrawsExactPixels() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        const qint64 at[] = {INT_MIN, -20, -3, 0, 3, 7, 9, INT_MAX - 2, INT_MAX};
        const qint64 sizes[] = {-qint64(INT_MAX), -5, 0, 2, 10, INT_MAX};
        for (int k = 0; k < 3 * 9 * 9 * 6 * 6; ++k) {
            const int mode = k % 3;
            const qint64 x = at[k / 3 % 9], y = at[k / 27 % 9], w = sizes[k / 243 % 6], h = sizes[k / 1458];
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(mode == 2 ? Qt::black : Qt::white);
            const QRgb background = image.pixel(0, 0);
            Graphics g(image); // draws in black unless told otherwise
            mode == 0 ? g.FillRect(x, y, w, h) : mode == 1 ? g.DrawRect(x, y, w, h) : g.ClearRect(x, y, w, h);
            g.Painter().end();
            const qint64 l = std::min(x, x + w), r = std::max(x, x + w) - 1;
            const qint64 t = std::min(y, y + h), b = std::max(y, y + h) - 1;
            for (int px = 0, py = 0; py < 8; px = (px + 1) % 8, py += px == 0) {
                const bool edge = mode != 1 || px == l || px == r || py == t || py == b;
                const bool want = px >= l && px <= r && py >= t && py <= b && edge;
                QVERIFY2((image.pixel(px, py) != background) == want, QByteArray::number(k));
            }
        }
        QImage image(40, 40, QImage::Format_RGB32);
        for (const bool filled : {false, true}) {
            image.fill(Qt::white);
            Graphics g(image);
            filled ? g.FillRoundRect(2, 2, 30, 30, 16, 16) : g.DrawRoundRect(2, 2, 30, 30, 16, 16);
            g.Painter().end();
            for (int p = 0; p < 39 * 39; ++p)
                QCOMPARE(image.pixel(p % 39, p / 39), image.pixel(p / 39, p % 39));
            QVERIFY(image.pixel(2, 2) == qRgb(255, 255, 255) && image.pixel(17, 2) == qRgb(0, 0, 0) &&
                    image.pixel(17, 17) == (filled ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
        }
    }
};

QTEST_APPLESS_MAIN(TestMath)
#include "tst_math.moc"
