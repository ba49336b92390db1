#include "PngCorpus.h"

#include "PngCraft.h"

#include <QtEndian>

namespace PngCorpus {

namespace {

using namespace PngCraft;

struct Kind {
    quint8 type;
    quint8 depth;
    bool interlaced;
    bool key; // a tRNS colour key: pixels of exactly that grey or colour are transparent
};

constexpr int kWidth = 13; // odd sizes give every Adam7 pass a ragged edge
constexpr int kHeight = 11;

quint32 Hash(int x, int y, int c) {
    quint32 h = quint32(x) * 73856093u ^ quint32(y) * 19349663u ^ quint32(c + 1) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

int Channels(quint8 type) {
    switch (type) {
    case Rgb:
        return 3;
    case GreyAlpha:
        return 2;
    case Rgba:
        return 4;
    default:
        return 1;
    }
}

int PaletteEntries(const Kind& k) {
    return std::min(1 << k.depth, 100);
}

int KeySample(const Kind& k, int c) {
    return int(Hash(99, 99, c) & ((1u << k.depth) - 1));
}

// Sample c of pixel (x, y) as the file stores it. Keyed images hold pixels equal to the key and pixels that
// differ from it in the lowest bit only, which 16-bit keys must tell apart from the key.
int Sample(const Kind& k, int x, int y, int c) {
    if (k.key && (x + y) % 4 == 0)
        return KeySample(k, c);
    if (k.key && (x + y) % 4 == 1)
        return KeySample(k, c) ^ (c == 0 ? 1 : 0);
    if (k.type == Palette)
        return int(Hash(x, y, c) % quint32(PaletteEntries(k)));
    return int(Hash(x, y, c) & ((1u << k.depth) - 1));
}

QRgb PaletteColour(int i) {
    const quint32 h = Hash(200 + i, 7, 0);
    return qRgb(int(h & 0xFF), int((h >> 8) & 0xFF), int((h >> 16) & 0xFF));
}

// tRNS gives alphas to the first half of the palette, the first of them fully transparent.
int PaletteAlphaCount(const Kind& k) {
    return PaletteEntries(k) / 2 + 1;
}
int PaletteAlpha(int i) {
    return i == 0 ? 0 : int(Hash(300 + i, 3, 0) & 0xFF);
}

// An 8-bit level from a sample of the given depth: low depths spread evenly over 0 to 255, 16-bit samples
// are rounded to the nearest level.
int To8(int v, int depth) {
    if (depth == 16)
        return (v * 255 + 32767) / 65535;
    return v * 255 / ((1 << depth) - 1);
}

QRgb ExpectedPixel(const Kind& k, int x, int y) {
    auto s = [&](int c) { return Sample(k, x, y, c); };
    auto level = [&](int c) { return To8(s(c), k.depth); };
    switch (k.type) {
    case Grey: {
        const bool keyed = k.key && s(0) == KeySample(k, 0);
        return qRgba(level(0), level(0), level(0), keyed ? 0 : 255);
    }
    case GreyAlpha:
        return qRgba(level(0), level(0), level(0), level(1));
    case Rgb: {
        const bool keyed =
            k.key && s(0) == KeySample(k, 0) && s(1) == KeySample(k, 1) && s(2) == KeySample(k, 2);
        return qRgba(level(0), level(1), level(2), keyed ? 0 : 255);
    }
    case Palette: {
        const QRgb c = PaletteColour(s(0));
        return qRgba(qRed(c), qGreen(c), qBlue(c), s(0) < PaletteAlphaCount(k) ? PaletteAlpha(s(0)) : 255);
    }
    default:
        return qRgba(level(0), level(1), level(2), level(3));
    }
}

QByteArray SampleBytes(int value, int depth) {
    QByteArray bytes;
    if (depth == 16)
        bytes.append(static_cast<char>(value >> 8));
    bytes.append(static_cast<char>(value & 0xFF));
    return bytes;
}

Entry Image(const Kind& k, int width = kWidth, int height = kHeight) {
    Entry e;
    e.name = QStringLiteral("type %1, %2-bit%3%4")
                 .arg(k.type)
                 .arg(k.depth)
                 .arg(k.interlaced ? QStringLiteral(", interlaced") : QString())
                 .arg(k.key ? QStringLiteral(", colour key") : QString());
    const QByteArray raw = k.depth < 8 ? PackedScanlines(width, height, k.depth, k.interlaced,
                                                         [&](int x, int y) { return Sample(k, x, y, 0); })
                                       : Scanlines(width, height, k.interlaced, [&](int x, int y) {
                                             QByteArray bytes;
                                             for (int c = 0; c < Channels(k.type); ++c)
                                                 bytes += SampleBytes(Sample(k, x, y, c), k.depth);
                                             return bytes;
                                         });
    QByteArray extra;
    if (k.type == Palette) {
        QByteArray plte, trns;
        for (int i = 0; i < PaletteEntries(k); ++i) {
            const QRgb c = PaletteColour(i);
            plte += QByteArray(1, char(qRed(c))) + char(qGreen(c)) + char(qBlue(c));
        }
        for (int i = 0; i < PaletteAlphaCount(k); ++i)
            trns.append(char(PaletteAlpha(i)));
        extra = Chunk("PLTE", plte) + Chunk("tRNS", trns);
    } else if (k.key) {
        // Two bytes per channel whatever the depth, holding the sample as the scanlines store it.
        QByteArray key;
        for (int c = 0; c < Channels(k.type); ++c)
            key += QByteArray(1, char(KeySample(k, c) >> 8)) + char(KeySample(k, c) & 0xFF);
        extra = Chunk("tRNS", key);
    }
    e.bytes = File(Ihdr(quint32(width), quint32(height), k.depth, k.type, k.interlaced), Deflate(raw), extra);
    e.expected = QImage(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            e.expected.setPixel(x, y, ExpectedPixel(k, x, y));
    return e;
}

// The base file with chunks put in front of its image data.
Entry WithChunks(const QString& name, const Entry& base, const QByteArray& chunks) {
    const qsizetype idat = base.bytes.indexOf("IDAT") - 4;
    return {name, base.bytes.left(idat) + chunks + base.bytes.mid(idat), base.expected};
}

Entry Refused(const QString& name, const QByteArray& bytes) {
    return {name, bytes, QImage()};
}

QByteArray Repeat(const QByteArray& chunk, int times) {
    QByteArray all;
    all.reserve(chunk.size() * times);
    for (int i = 0; i < times; ++i)
        all += chunk;
    return all;
}

// The offset of the CRC of the first chunk of the given type.
qsizetype CrcOffset(const QByteArray& png, const char* type) {
    const qsizetype at = png.indexOf(type);
    return at + 4 + qsizetype(qFromBigEndian<quint32>(png.constData() + at - 4));
}

std::vector<Entry> Build() {
    std::vector<Entry> all;
    // Every colour type and depth, interlaced or not; colour keys at low depths, 8 and 16 bits.
    const std::pair<quint8, std::vector<quint8>> kinds[] = {{Grey, {1, 2, 4, 8, 16}},
                                                            {GreyAlpha, {8, 16}},
                                                            {Rgb, {8, 16}},
                                                            {Palette, {1, 2, 4, 8}},
                                                            {Rgba, {8, 16}}};
    for (const auto& [type, depths] : kinds)
        for (const quint8 depth : depths)
            for (const bool interlaced : {false, true})
                all.push_back(Image({type, depth, interlaced, false}));
    for (const Kind& k : {Kind{Grey, 1, false, true}, Kind{Grey, 4, true, true}, Kind{Grey, 8, false, true},
                          Kind{Grey, 16, false, true}, Kind{Rgb, 8, false, true}, Kind{Rgb, 8, true, true},
                          Kind{Rgb, 16, false, true}, Kind{Rgb, 16, true, true}})
        all.push_back(Image(k));
    // The most a small file can honestly hold: 2048 x 2048 one-bit pixels from a few hundred bytes.
    {
        Entry e;
        e.name = QStringLiteral("2048 x 2048 from a few hundred bytes");
        const QByteArray raw = QByteArray(2048 * 257, '\0');
        e.bytes = File(Ihdr(2048, 2048, 1, Grey, false), Deflate(raw));
        e.expected = QImage(2048, 2048, QImage::Format_ARGB32);
        e.expected.fill(qRgb(0, 0, 0));
        all.push_back(e);
    }

    const Entry base = Image({Rgba, 8, false, false}, 7, 7);
    const QByteArray header = kSignature + Ihdr(7, 7, 8, Rgba, false);
    const QByteArray lies[] = {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT",
                               "pCAL", "eXIf", "bKGD", "prIv", "IDAT"};
    for (const QByteArray& type : lies)
        all.push_back(Refused(QStringLiteral("%1 claiming 2 GB").arg(QString::fromLatin1(type)),
                              header + LyingChunk(type, "Comment", 0x7FFFFFFF)));
    all.push_back(Refused(QStringLiteral("IDAT one byte longer than the file"), [&] {
        QByteArray b = base.bytes;
        const qsizetype at = b.indexOf("IDAT") - 4;
        qToBigEndian(quint32(b.size() - at - 11), b.data() + at);
        return b;
    }()));
    all.push_back(Refused(QStringLiteral("tEXt length beyond PNG's limit"),
                          header + LyingChunk("tEXt", "Comment", 0xFFFFFFFF)));
    all.push_back(Refused(QStringLiteral("IHDR length lie"),
                          kSignature + LyingChunk("IHDR", base.bytes.mid(16, 13), 0x7FFFFFF0)));

    // Text bombs: chunks that would inflate to gigabytes, many of them or one huge one, and chunks too
    // many or too large to keep. The editor has no use for any of them; the image loads.
    const QByteArray megabyte = Deflate(QByteArray(1 << 20, '\0'));
    const QByteArray gigabyte = DeflateZeros(qint64(1) << 30);
    all.push_back(WithChunks(QStringLiteral("600 zTXt of 1 MB each"), base,
                             Repeat(Chunk("zTXt", QByteArray("Comment\0\0", 9) + megabyte), 600)));
    all.push_back(WithChunks(QStringLiteral("one zTXt of 1 GB"), base,
                             Chunk("zTXt", QByteArray("Comment\0\0", 9) + gigabyte)));
    all.push_back(WithChunks(QStringLiteral("one iTXt of 1 GB"), base,
                             Chunk("iTXt", QByteArray("XML\0\1\0\0\0", 8) + gigabyte)));
    all.push_back(
        WithChunks(QStringLiteral("iCCP of 1 GB"), base, Chunk("iCCP", QByteArray("icc\0\0", 5) + gigabyte)));
    all.push_back(WithChunks(QStringLiteral("100000 tEXt"), base,
                             Repeat(Chunk("tEXt", QByteArray("a\0b", 3)), 100000)));
    all.push_back(WithChunks(QStringLiteral("one tEXt of 6 MB"), base,
                             Chunk("tEXt", QByteArray("Comment\0", 8) + QByteArray(6 << 20, 'x'))));
    all.push_back(WithChunks(QStringLiteral("sPLT of 3 MB"), base,
                             Chunk("sPLT", QByteArray("big\0\x08", 5) + QByteArray(3 << 20, '\x7F'))));
    all.push_back(WithChunks(QStringLiteral("text with a wrong CRC"), base, [] {
        QByteArray c = Chunk("tEXt", QByteArray("a\0b", 3));
        c[c.size() - 1] = char(c[c.size() - 1] ^ 0x55);
        return c;
    }()));

    // Headers that claim more than the editor decodes or than the file holds, and damaged files.
    auto claiming = [](quint32 w, quint32 h, quint8 depth, quint8 type, const QByteArray& raw) {
        return File(Ihdr(w, h, depth, type, false), Deflate(raw));
    };
    const QByteArray few(64, '\0');
    all.push_back(Refused(QStringLiteral("100000 x 100000"), claiming(100000, 100000, 8, Rgba, few)));
    all.push_back(Refused(QStringLiteral("one row past 8192 x 8192"), claiming(8192, 8193, 1, Grey, few)));
    all.push_back(Refused(QStringLiteral("2^31 - 1 wide"), claiming(0x7FFFFFFF, 1, 8, Rgba, few)));
    all.push_back(Refused(QStringLiteral("2^31 wide"), claiming(0x80000000u, 1, 8, Rgba, few)));
    all.push_back(
        Refused(QStringLiteral("2^32 - 1 by 2^32 - 1"), claiming(0xFFFFFFFFu, 0xFFFFFFFFu, 8, Rgba, few)));
    all.push_back(Refused(QStringLiteral("0 x 0"), claiming(0, 0, 8, Rgba, QByteArray(1, '\0'))));
    all.push_back(Refused(QStringLiteral("8192 x 8192 from 64 bytes"), claiming(8192, 8192, 8, Rgba, few)));
    all.push_back(Refused(QStringLiteral("rows stop half way"),
                          claiming(64, 64, 8, Rgba, QByteArray(32 * 257, '\x01'))));
    all.push_back(Refused(QStringLiteral("RGB of 4 bits"), claiming(4, 4, 4, Rgb, QByteArray(4 * 7, '\0'))));
    all.push_back(
        Refused(QStringLiteral("palette without PLTE"), claiming(4, 4, 8, Palette, QByteArray(4 * 5, '\0'))));
    all.push_back(
        Refused(QStringLiteral("not deflate"), File(Ihdr(7, 7, 8, Rgba, false), QByteArray(40, '\x5A'))));
    all.push_back(Refused(QStringLiteral("text, not a picture"), QByteArray("This is a list of tiles.\n")));
    all.push_back(Refused(QStringLiteral("zero bytes"), QByteArray()));
    all.push_back(Refused(QStringLiteral("signature only"), kSignature));
    all.push_back(Refused(QStringLiteral("cut in half"), base.bytes.left(base.bytes.size() / 2)));
    all.push_back(Refused(QStringLiteral("no IEND"), base.bytes.left(base.bytes.size() - 12)));
    all.push_back(Refused(QStringLiteral("tEXt before IHDR"),
                          kSignature + Chunk("tEXt", QByteArray("a\0b", 3)) + base.bytes.mid(8)));
    for (const char* type : {"IHDR", "IDAT"}) {
        QByteArray b = base.bytes;
        b[CrcOffset(b, type)] = char(b[CrcOffset(b, type)] ^ 0x5A);
        all.push_back(Refused(QStringLiteral("wrong CRC on %1").arg(QLatin1String(type)), b));
    }
    return all;
}

} // namespace

const std::vector<Entry>& All() {
    static const std::vector<Entry> all = Build();
    return all;
}

} // namespace PngCorpus
