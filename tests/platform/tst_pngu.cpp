// Reading PNG files of every colour type the editor may be handed, with their transparency, and refusing
// headers that ask for more pixels than the editor decodes.
#include "PngCraft.h"
#include "platform/PNGu.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWidth = 13; // odd sizes give every Adam7 pass a ragged edge
constexpr int kHeight = 11;

// The test image: colours and alphas that differ from pixel to pixel, with fully transparent, partly
// transparent and opaque pixels.
int Red(int x, int y) {
    return (x * 29 + y * 53 + 7) % 256;
}
int Green(int x, int y) {
    return (x * 71 + y * 13) % 256;
}
int Blue(int x, int y) {
    return (x * 5 + y * 97 + 200) % 256;
}
int Alpha(int x, int y) {
    static constexpr int kAlphas[] = {0, 255, 128, 200, 255, 160};
    return kAlphas[(x + 2 * y) % 6];
}

// The palette image: up to seven entries, as many as the depth can index, the tRNS chunk giving alphas to
// the first five only.
const int kPaletteAlpha[] = {0, 128, 255, 200, 160};
int PaletteEntries(int depth) {
    return std::min(7, 1 << depth);
}
int PaletteIndex(int depth, int x, int y) {
    return (x + y * kWidth) % PaletteEntries(depth);
}
QRgb PaletteColour(int i) {
    return qRgba((i * 40) % 256, 255 - i * 30, i * 17, i < 5 ? kPaletteAlpha[i] : 255);
}

// The colour key of the RGB file with a tRNS chunk: pixels of exactly this colour are transparent.
const QRgb kKey = qRgb(10, 20, 30);
bool IsKeyed(int x, int y) {
    return (x + y) % 4 == 0;
}

QByteArray Sample(int value, int depth) {
    if (depth == 8)
        return QByteArray(1, static_cast<char>(value));
    // value * 257 spreads 8 bits over 16 exactly, so the expected 8-bit result is value itself.
    const int wide = value * 257;
    QByteArray bytes;
    bytes.append(static_cast<char>(wide >> 8));
    bytes.append(static_cast<char>(wide & 0xFF));
    return bytes;
}

struct Kind {
    quint8 colourType;
    quint8 depth;
    bool interlaced;
    bool colourKey;
};

QRgb Expected(const Kind& kind, int x, int y) {
    switch (kind.colourType) {
    case PngCraft::Grey: {
        if (kind.depth >= 8)
            return qRgb(Red(x, y), Red(x, y), Red(x, y));
        // A grey of fewer bits spreads its levels evenly over 0 to 255.
        const int top = (1 << kind.depth) - 1;
        const int grey = (Red(x, y) >> (8 - kind.depth)) * 255 / top;
        return qRgb(grey, grey, grey);
    }
    case PngCraft::GreyAlpha:
        return qRgba(Red(x, y), Red(x, y), Red(x, y), Alpha(x, y));
    case PngCraft::Rgb:
        if (kind.colourKey && IsKeyed(x, y))
            return qRgba(qRed(kKey), qGreen(kKey), qBlue(kKey), 0);
        return qRgb(Red(x, y), Green(x, y), Blue(x, y));
    case PngCraft::Palette:
        return PaletteColour(PaletteIndex(kind.depth, x, y));
    default:
        return qRgba(Red(x, y), Green(x, y), Blue(x, y), Alpha(x, y));
    }
}

QByteArray PixelBytes(const Kind& kind, int x, int y) {
    const int d = kind.depth;
    switch (kind.colourType) {
    case PngCraft::Grey:
        return Sample(Red(x, y), d);
    case PngCraft::GreyAlpha:
        return Sample(Red(x, y), d) + Sample(Alpha(x, y), d);
    case PngCraft::Rgb:
        if (kind.colourKey && IsKeyed(x, y))
            return Sample(qRed(kKey), d) + Sample(qGreen(kKey), d) + Sample(qBlue(kKey), d);
        return Sample(Red(x, y), d) + Sample(Green(x, y), d) + Sample(Blue(x, y), d);
    case PngCraft::Palette:
        return QByteArray(1, static_cast<char>(PaletteIndex(kind.depth, x, y)));
    default:
        return Sample(Red(x, y), d) + Sample(Green(x, y), d) + Sample(Blue(x, y), d) + Sample(Alpha(x, y), d);
    }
}

QByteArray ExtraChunks(const Kind& kind, bool gamma) {
    QByteArray chunks;
    if (gamma) // a gamma of 1.0; the editor shows images as stored, so it must change nothing
        chunks += PngCraft::Chunk("gAMA", QByteArray::fromHex("000186a0"));
    if (kind.colourType == PngCraft::Palette) {
        QByteArray plte, trns;
        const int entries = PaletteEntries(kind.depth);
        for (int i = 0; i < entries; ++i) {
            const QRgb c = PaletteColour(i);
            plte.append(static_cast<char>(qRed(c)));
            plte.append(static_cast<char>(qGreen(c)));
            plte.append(static_cast<char>(qBlue(c)));
        }
        for (int i = 0; i < std::min(entries, 5); ++i)
            trns.append(static_cast<char>(kPaletteAlpha[i]));
        chunks += PngCraft::Chunk("PLTE", plte) + PngCraft::Chunk("tRNS", trns);
    }
    if (kind.colourKey) {
        // Two bytes per channel whatever the depth, holding the sample value as the scanlines store it.
        QByteArray key;
        for (const int channel : {qRed(kKey), qGreen(kKey), qBlue(kKey)}) {
            const int value = kind.depth == 8 ? channel : channel * 257;
            key.append(static_cast<char>(value >> 8));
            key.append(static_cast<char>(value & 0xFF));
        }
        chunks += PngCraft::Chunk("tRNS", key);
    }
    return chunks;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestPNGu : public QObject {
    Q_OBJECT
private slots:
    void readsEveryColourType_data();
    void readsEveryColourType();
    void refusesHeadersBeyondThePixelLimit_data();
    void refusesHeadersBeyondThePixelLimit();

private:
    QTemporaryDir m_dir;
};

void TestPNGu::readsEveryColourType_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("gamma");
    using namespace PngCraft;
    QTest::newRow("palette with tRNS") << Kind{Palette, 8, false, false} << false;
    QTest::newRow("palette, interlaced") << Kind{Palette, 8, true, false} << false;
    QTest::newRow("palette 4-bit") << Kind{Palette, 4, false, false} << false;
    QTest::newRow("palette 2-bit, interlaced") << Kind{Palette, 2, true, false} << false;
    QTest::newRow("palette 1-bit") << Kind{Palette, 1, false, false} << false;
    QTest::newRow("grey 1-bit") << Kind{Grey, 1, false, false} << false;
    QTest::newRow("grey 2-bit") << Kind{Grey, 2, false, false} << false;
    QTest::newRow("grey 4-bit, interlaced") << Kind{Grey, 4, true, false} << false;
    QTest::newRow("grey 8") << Kind{Grey, 8, false, false} << false;
    QTest::newRow("grey 16") << Kind{Grey, 16, false, false} << false;
    QTest::newRow("grey+alpha 8") << Kind{GreyAlpha, 8, false, false} << false;
    QTest::newRow("grey+alpha 16") << Kind{GreyAlpha, 16, false, false} << false;
    QTest::newRow("grey+alpha 8, interlaced") << Kind{GreyAlpha, 8, true, false} << false;
    QTest::newRow("rgb 16") << Kind{Rgb, 16, false, false} << false;
    QTest::newRow("rgb 8 with a colour key") << Kind{Rgb, 8, false, true} << false;
    QTest::newRow("rgba 8, interlaced") << Kind{Rgba, 8, true, false} << false;
    QTest::newRow("rgba 16") << Kind{Rgba, 16, false, false} << false;
    QTest::newRow("rgba 16, interlaced") << Kind{Rgba, 16, true, false} << false;
    QTest::newRow("rgba 8 with a gAMA chunk") << Kind{Rgba, 8, false, false} << true;
}

void TestPNGu::readsEveryColourType() {
    QFETCH(Kind, kind);
    QFETCH(bool, gamma);
    const QByteArray raw = kind.depth < 8
                               ? PngCraft::PackedScanlines(kWidth, kHeight, kind.depth, kind.interlaced,
                                                           [&](int x, int y) {
                                                               return kind.colourType == PngCraft::Palette
                                                                          ? PaletteIndex(kind.depth, x, y)
                                                                          : Red(x, y) >> (8 - kind.depth);
                                                           })
                               : PngCraft::Scanlines(kWidth, kHeight, kind.interlaced,
                                                     [&](int x, int y) { return PixelBytes(kind, x, y); });
    const QByteArray bytes =
        PngCraft::File(PngCraft::Ihdr(kWidth, kHeight, kind.depth, kind.colourType, kind.interlaced),
                       PngCraft::Deflate(raw), ExtraChunks(kind, gamma));
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("kind.png"));
    QVERIFY(PngCraft::Write(path, bytes));

    const PicturePtr picture = PNGu::OpenAsPictureWithMask(path, 0.0);
    QVERIFY(picture);
    QCOMPARE(picture->Width(), kWidth);
    QCOMPARE(picture->Height(), kHeight);
    const QImage& image = picture->Image();
    const QImage mask = picture->Mask();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const QRgb want = Expected(kind, x, y);
            const QRgb got = image.pixel(x, y);
            const QString where = QStringLiteral("pixel (%1, %2)").arg(x).arg(y);
            // Transparency exactly, in the picture and in its mask.
            QVERIFY2(qAlpha(got) == qAlpha(want), qPrintable(where));
            QVERIFY2(qGray(mask.pixel(x, y)) == qAlpha(want), qPrintable(where));
            // Colour as it will be drawn (premultiplied), allowing the rounding of that step.
            const QRgb drawn = qPremultiply(want);
            const QRgb gotDrawn =
                image.format() == QImage::Format_ARGB32_Premultiplied ? got : qPremultiply(got);
            QVERIFY2(std::abs(qRed(gotDrawn) - qRed(drawn)) <= 1 &&
                         std::abs(qGreen(gotDrawn) - qGreen(drawn)) <= 1 &&
                         std::abs(qBlue(gotDrawn) - qBlue(drawn)) <= 1,
                     qPrintable(where + QStringLiteral(": got %1, want %2")
                                            .arg(gotDrawn, 8, 16, QLatin1Char('0'))
                                            .arg(drawn, 8, 16, QLatin1Char('0'))));
        }
    }
}

void TestPNGu::refusesHeadersBeyondThePixelLimit_data() {
    QTest::addColumn<quint32>("width");
    QTest::addColumn<quint32>("height");
    QTest::newRow("100000 x 100000") << 100000u << 100000u;
    QTest::newRow("one row past 8192 x 8192") << 8192u << 8193u;
    QTest::newRow("2^31 - 1 wide") << 0x7FFFFFFFu << 1u;
    QTest::newRow("wider than PNG allows") << 0x80000000u << 1u;
}

void TestPNGu::refusesHeadersBeyondThePixelLimit() {
    QFETCH(quint32, width);
    QFETCH(quint32, height);
    // A valid header with a correct CRC and a tiny IDAT: only the size can make the reader refuse.
    const QByteArray bytes = PngCraft::File(PngCraft::Ihdr(width, height, 8, PngCraft::Rgba, false),
                                            PngCraft::Deflate(QByteArray(64, '\0')));
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("huge.png"));
    QVERIFY(PngCraft::Write(path, bytes));
    QVERIFY(!PNGu::OpenAsPictureWithMask(path, 0.0));
}

QTEST_MAIN(TestPNGu)
#include "tst_pngu.moc"
