#include "PngCorpus.h"

#include "PngCraft.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <sys/stat.h>
#include <tuple>
#include <zlib.h>

namespace PngCorpus {

namespace {

using namespace PngCraft;

quint32 Hash(int x, int y, int c) {
    const quint32 h = (x * 73856093u ^ y * 19349663u ^ (c + 1) * 83492791u) * 0x5bd1e995u;
    return h ^ (h >> 15);
}

// An image of 13 x 11 pixels (odd sides give every Adam7 pass a ragged edge) and the pixels it must decode
// to, computed from the PNG rules: low depths spread evenly over 0 to 255, 16-bit samples round to the
// nearest level, a colour key makes exactly that grey or colour transparent, and palette indices take their
// alpha from tRNS (entries past its end are opaque).
Entry Image(quint8 type, int depth, bool interlaced, bool key) {
    constexpr int kW = 13, kH = 11;
    const int channels = type == Rgb ? 3 : type == GreyAlpha ? 2 : type == Rgba ? 4 : 1;
    const int max = (1 << depth) - 1, entries = std::min(max + 1, 100), alphas = entries / 2 + 1;
    auto keySample = [&](int c) { return int(Hash(99, 99, c)) & max; };
    // Keyed images hold the key and samples one lowest bit away from it, which 16-bit keys must tell apart.
    auto sample = [&](int x, int y, int c) {
        if (key && (x + y) % 4 < 2)
            return keySample(c) ^ ((x + y) % 4 == 1 && c == 0 ? 1 : 0);
        return type == Palette ? int(Hash(x, y, c) % quint32(entries)) : int(Hash(x, y, c)) & max;
    };
    // Palette entries from the first half on are opaque (tRNS stops there); entry 0 is fully transparent.
    auto entry = [&](int i) {
        const quint32 alpha = i >= alphas ? 255 : i ? Hash(300 + i, 3, 0) & 0xFF : 0;
        return (Hash(200 + i, 7, 0) & 0xFFFFFF) | alpha << 24;
    };
    QByteArray plte, trns;
    for (int i = 0; type == Palette && i < entries; ++i) {
        plte += QByteArray(1, char(qRed(entry(i)))) + char(qGreen(entry(i))) + char(qBlue(entry(i)));
        trns += QByteArray(i < alphas ? 1 : 0, char(qAlpha(entry(i))));
    }
    // A colour key: two bytes per channel whatever the depth, holding the sample as the scanlines store it.
    for (int c = 0; key && c < channels; ++c)
        trns += QByteArray(1, char(keySample(c) >> 8)) + char(keySample(c) & 0xFF);
    const QByteArray extra =
        (plte.isEmpty() ? plte : Chunk("PLTE", plte)) + (trns.isEmpty() ? trns : Chunk("tRNS", trns));
    Entry e{QString::asprintf("type %d, %d-bit%s%s", type, depth, interlaced ? ", interlaced" : "",
                              key ? ", colour key" : ""),
            File(Ihdr(kW, kH, quint8(depth), type, interlaced),
                 Deflate(Scanlines(kW, kH, depth, channels, interlaced, sample)), extra),
            QImage(kW, kH, QImage::Format_ARGB32)};
    // Grey spreads to all three colours; grey-alpha and RGBA carry their alpha last.
    const int g = channels < 3 ? 0 : 1, b = channels < 3 ? 0 : 2;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            auto level = [&](int c) {
                return depth == 16 ? (sample(x, y, c) * 255 + 32767) / 65535 : sample(x, y, c) * 255 / max;
            };
            bool keyed = key;
            for (int c = 0; c < channels; ++c)
                keyed = keyed && sample(x, y, c) == keySample(c);
            const int a = channels % 2 == 0 ? level(channels - 1) : keyed ? 0 : 255;
            e.expected.setPixel(
                x, y, type == Palette ? entry(sample(x, y, 0)) : qRgba(level(0), level(g), level(b), a));
        }
    return e;
}

std::vector<Entry> Build() {
    std::vector<Entry> all;
    // Low depths are for grey and palette images only, 16 bits for all but palette; keys for grey and RGB.
    for (const quint8 type : {Grey, GreyAlpha, Rgb, Palette, Rgba})
        for (const int depth : {1, 2, 4, 8, 16})
            for (const bool interlaced : {false, true})
                for (const bool key : {false, true})
                    if ((depth >= 8 || type == Grey || type == Palette) && (depth < 16 || type != Palette) &&
                        (!key || type == Grey || type == Rgb))
                        all.push_back(Image(type, depth, interlaced, key));
    // The most a small file can honestly hold: 2048 x 2048 one-bit pixels from a few hundred bytes.
    all.push_back({QStringLiteral("2048 x 2048 from a few hundred bytes"),
                   File(Ihdr(2048, 2048, 1, Grey, false), Deflate(QByteArray(2048 * 257, '\0'))),
                   QImage(2048, 2048, QImage::Format_ARGB32)});
    all.back().expected.fill(qRgb(0, 0, 0));

    const Entry base = Image(Rgba, 8, false, false);
    const qsizetype idat = base.bytes.indexOf("IDAT") - 4;
    auto lying = [](QByteArray chunk, quint32 claimed) {
        qToBigEndian(claimed, chunk.data());
        return chunk;
    };
    auto refused = [&](const QString& name, const QByteArray& bytes) { all.push_back({name, bytes, {}}); };
    // Chunks put in front of the base image's data: the editor has no use for any of them, and it loads.
    auto loads = [&](const char* name, const QByteArray& chunks) {
        all.push_back({name, base.bytes.left(idat) + chunks + base.bytes.mid(idat), base.expected});
    };
    // Lengths of 2 GB, the most PNG allows, and 4 GB, beyond its limit, where a sum with an offset overflows.
    for (const quint32 claimed : {0x7FFFFFFFu, ~0u})
        refused(QStringLiteral("claiming %1 bytes").arg(claimed),
                kSignature + base.bytes.mid(8, 25) + lying(Chunk("zTXt", "x"), claimed));
    refused("IDAT one byte longer than the file",
            base.bytes.left(idat) + lying(base.bytes.mid(idat), quint32(base.bytes.size() - idat - 11)));
    refused("IEND one byte longer than the file", base.bytes.chopped(12) + lying(Chunk("IEND", {}), 1));
    refused("IHDR length lie", kSignature + lying(base.bytes.mid(8, 25), 0x7FFFFFF0));

    // A text bomb that would inflate to a gigabyte, chunks too many to keep, and a damaged one. Every
    // ancillary chunk but tRNS is passed over unread, whatever its kind: one of each shape is enough.
    loads("one zTXt of 1 GB", Chunk("zTXt", QByteArray("Comment\0\0", 9) + DeflateZeros(qint64(1) << 30)));
    loads("100000 tEXt", Chunk("tEXt", QByteArray("a\0b", 3)).repeated(100000));
    QByteArray badText = Chunk("tEXt", QByteArray("a\0b", 3));
    badText.back() = char(badText.back() ^ 0x55);
    loads("text with a wrong CRC", badText);

    // Headers that claim more than the editor decodes or than the file holds, and damaged files.
    using Claim = std::tuple<const char*, quint32, quint32, quint8, quint8, int>;
    // clang-format off
    for (const auto& [name, width, height, depth, type, raw] : std::initializer_list<Claim>{
        {"2^31 wide", 0x80000000u, 1, 8, Rgba, 64}, {"0 x 0", 0, 0, 8, Rgba, 1},
        {"one row past 8192 x 8192", 8192, 8193, 1, Grey, 64}, {"2^31 - 1 wide", 0x7FFFFFFF, 1, 8, Rgba, 64},
        {"2^31 - 1 by 2^31 - 1", 0x7FFFFFFF, 0x7FFFFFFF, 16, Rgba, 64},
        {"8192 x 8192 from 64 bytes", 8192, 8192, 8, Rgba, 64}, {"RGB of 4 bits", 4, 4, 4, Rgb, 4 * 7},
        {"rows stop half way", 64, 64, 8, Rgba, 32 * 257}, {"palette without PLTE", 4, 4, 8, Palette, 4 * 5}})
        refused(name, File(Ihdr(width, height, depth, type, false), Deflate(QByteArray(raw, '\x01'))));
    // clang-format on
    refused("not deflate", File(Ihdr(7, 7, 8, Rgba, false), QByteArray(40, '\x5A')));
    refused("text, not a picture", QByteArray("This is a list of tiles.\n"));
    refused("no IEND", base.bytes.left(base.bytes.size() - 12));
    refused("tEXt before IHDR", kSignature + Chunk("tEXt", QByteArray("a\0b", 3)) + base.bytes.mid(8));
    // The last byte of IHDR's CRC, and of IDAT's (just before IEND), flipped.
    for (const qsizetype at : {qsizetype(32), base.bytes.size() - 13}) {
        QByteArray b = base.bytes;
        b[at] = char(b[at] ^ 0x5A);
        refused(at == 32 ? "wrong CRC on IHDR" : "wrong CRC on IDAT", b);
    }
    return all;
}

// Writes head, then size zero bytes as a hole where the file system allows, then tail.
bool WriteWithHole(const QString& path, const QByteArray& head, qint64 size, const QByteArray& tail = {}) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(head) == head.size() &&
           file.resize(head.size() + size) && file.seek(head.size() + size) &&
           file.write(tail) == tail.size();
}

} // namespace

const std::vector<Entry>& All() {
    static const std::vector<Entry> all = Build();
    return all;
}

std::vector<LargeFile> WriteLargeFiles(const QString& folder) {
    const QDir dir(folder);
    std::vector<LargeFile> files;
    auto add = [&](const char* name, const char* file, const QString& status, int tiles) {
        files.push_back({name, dir.filePath(file), QString(file) + status, tiles});
        return files.back().path;
    };
    constexpr qint64 kPadding = 260000000;
    // A 64 x 64 image (four tiles) with a private ancillary chunk of 260,000,000 zero bytes before its data.
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(qRgba(40, 90, 160, 200));
    const QByteArray valid = QtPng(image);
    const qsizetype idat = valid.indexOf("IDAT") - 4;
    QByteArray head = valid.left(idat) + QByteArray(4, '\0') + "paDd";
    qToBigEndian(quint32(kPadding), head.data() + idat);
    quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>("paDd"), 4));
    const QByteArray zeros(1 << 20, '\0');
    for (qint64 left = kPadding; left > 0; left -= zeros.size())
        crc = quint32(crc32(crc, reinterpret_cast<const Bytef*>(zeros.constData()),
                            uInt(std::min<qint64>(left, zeros.size()))));
    QByteArray tail(4, '\0');
    qToBigEndian(crc, tail.data());
    const bool written =
        WriteWithHole(add("260,000,000 zero bytes", "zeros.png", " could not be loaded", 0), {}, kPadding) &&
        WriteWithHole(add("a 64 x 64 PNG padded with 260,000,000 bytes", "padded.png", " loaded", 4), head,
                      kPadding, tail + valid.mid(idat)) &&
        // Rows of one grey pixel: a filter byte and the pixel, 2^27 bytes inflated from about 130 KB.
        Write(add("1 x 2^26 grey", "tall.png", " holds no whole 32 × 32 tile", 0),
              File(Ihdr(1, 1u << 26, 8, Grey, false), DeflateZeros(qint64(1) << 27))) &&
        // One row of 2^26 one-bit pixels: 8 MB inflated from about 8 KB.
        Write(add("2^26 x 1 one-bit grey", "wide.png", " holds no whole 32 × 32 tile", 0),
              File(Ihdr(1u << 26, 1, 1, Grey, false), Deflate(QByteArray(1 + (1 << 23), '\0')))) &&
        !::mkfifo(QFile::encodeName(add("a FIFO", "fifo.png", " could not be loaded", 0)).constData(), 0600);
    return written ? files : std::vector<LargeFile>();
}

} // namespace PngCorpus
