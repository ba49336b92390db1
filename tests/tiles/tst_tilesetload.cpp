// Loading a PNG file as a tileset: the tiles are the image's, cut row by row at every tile size, from every
// colour type, depth and interlacing, when the tileset fills part way; a file refused part way takes back
// what it added; the load tells what it loaded; large hostile files and a FIFO swapped in cost next to
// nothing.
#include "FifoWatchdog.h"
#include "LoadCost.h"
#include "PngCorpus.h"
#include "PngCraft.h"
#include "tiles/clsVOTileset.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr auto kDrawn = QImage::Format_ARGB32_Premultiplied;

clsVOTileset Tileset(int tileWidth, int tileHeight) {
    clsVOTileset tileset;
    tileset.SetTileWidth(tileWidth);
    tileset.SetTileHeight(tileHeight);
    return tileset;
}

// A tileset of count tiles of 1 x 1 pixel, from one image of count pixels in a row.
clsVOTileset Prefilled(const QString& path, int count) {
    QImage strip(count, 1, QImage::Format_ARGB32);
    strip.fill(Qt::darkRed);
    strip.save(path);
    clsVOTileset tileset = Tileset(1, 1);
    tileset.LoadTileset(FolderItem(path));
    return tileset;
}

// Where the tiles of an image go wrong, if they do: the expected tiles are cut from the decoded picture by
// the rule, row by row, left to right, count of them after the tiles already there.
QString Mismatch(const clsVOTileset& tileset, int first, const QImage& image, int count) {
    const int tw = tileset.TileWidth(), th = tileset.TileHeight(), columns = image.width() / tw;
    if (tileset.Count() != first + count)
        return QStringLiteral("%1 tiles, not %2").arg(tileset.Count()).arg(first + count);
    for (int n = 0; n < count; ++n) {
        const QImage expected =
            image.copy(n % columns * tw, n / columns * th, tw, th).convertToFormat(kDrawn);
        if (tileset.GetTileImage(first + n)->Image() != expected ||
            tileset.GetTile(first + n)->ImageIndex() != first + n)
            return QStringLiteral("tile %1 differs").arg(n);
    }
    return {};
}

} // namespace

class TestTilesetLoad : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::vector<PngCorpus::LargeFile> m_large;
    // Tilesets with room for 0, 1, 4 and 7 more tiles.
    std::map<int, clsVOTileset> m_nearlyFull;

    QString Path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(QDir().mkpath(m_dir.filePath("large")));
        m_large = PngCorpus::WriteLargeFiles(m_dir.filePath("large"));
        QCOMPARE(m_large.size(), std::size_t(5));
        for (const int room : {0, 1, 4, 7})
            m_nearlyFull[room] = Prefilled(Path("strip.png"), clsVOTileset::kMaxTiles - room);
    }

    // Every image that decodes, at tile sizes that fit it once, several times, unevenly or exactly; and
    // when the tileset has room for only part of it, so the load stops in the middle of a tile row.
    void tilesAreTheImage_data() {
        QTest::addColumn<int>("entry");
        const auto& corpus = PngCorpus::All();
        for (std::size_t i = 0; i < corpus.size(); ++i)
            if (!corpus[i].expected.isNull() && corpus[i].expected.width() <= 64)
                QTest::newRow(qPrintable(corpus[i].name)) << int(i);
    }
    void tilesAreTheImage() {
        QFETCH(int, entry);
        const PngCorpus::Entry& e = PngCorpus::All()[std::size_t(entry)];
        const QString path = Path("image.png");
        QVERIFY(PngCraft::Write(path, e.bytes));
        for (const QSize tile : {QSize(1, 1), QSize(2, 3), QSize(5, 2), QSize(4, 11), QSize(13, 1),
                                 QSize(13, 11), QSize(6, 5)}) {
            for (const int room : {-1, 0, 1, 4, 7}) { // -1: room for all
                clsVOTileset tileset = room < 0 ? clsVOTileset() : m_nearlyFull[room];
                tileset.SetTileWidth(tile.width());
                tileset.SetTileHeight(tile.height());
                const int first = tileset.Count();
                const int wanted =
                    (e.expected.width() / tile.width()) * (e.expected.height() / tile.height());
                const int taken = room < 0 ? wanted : std::min(room, wanted);
                const TilesetLoadResult result = tileset.LoadTileset(FolderItem(path));
                const QString where =
                    QStringLiteral("%1 x %2 tiles, room %3: ").arg(tile.width()).arg(tile.height()).arg(room);
                QVERIFY2(Mismatch(tileset, first, e.expected, taken).isEmpty(),
                         qPrintable(where + Mismatch(tileset, first, e.expected, taken)));
                QCOMPARE(result.TileCount, taken);
                QCOMPARE(result.FirstTile, first);
                QCOMPARE(result.Complete, taken == wanted);
            }
        }
    }

    // What a load tells a map that names its tileset: the image's size, the tiles it appended and the hash
    // of the file's bytes; a refused load tells that nothing was added and hashes nothing.
    void whatTheLoadTells() {
        QImage image(100, 70, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgba(x * 2, y * 3, x ^ y, 255 - x));
        const QByteArray bytes = PngCraft::QtPng(image) + "trailing bytes after the end chunk";
        QVERIFY(PngCraft::Write(Path("tiles.png"), bytes));
        QVERIFY(PngCraft::Write(Path("cut.png"), bytes.left(bytes.size() / 2)));
        clsVOTileset tileset = Tileset(32, 32);
        const auto tell = [&](const QString& name) {
            const TilesetLoadResult r = tileset.LoadTileset(FolderItem(Path(name)));
            return QStringLiteral("%1|%2 x %3|%4 + %5|%6")
                .arg(r.Text)
                .arg(r.ImageWidth)
                .arg(r.ImageHeight)
                .arg(r.FirstTile)
                .arg(r.TileCount)
                .arg(QString::fromLatin1(r.ContentHash.toHex()));
        };
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        QCOMPARE(tell("tiles.png"), "tiles.png loaded|100 x 70|0 + 6|" + hash);
        QCOMPARE(tell("cut.png"), QStringLiteral("cut.png could not be loaded|100 x 70|6 + 0|"));
        QCOMPARE(tell("tiles.png"), "tiles.png loaded|100 x 70|6 + 6|" + hash);
        QCOMPARE(tileset.Count(), 12);
    }

    // Damage found after tiles were cut: in the second tile row, in the checksum of the image data, or a
    // file that ends before its end chunk. The tileset stays as it was. Rows that no tile takes are not
    // decoded, only read through with their checksum: damage that only decoding them would show does not
    // stop the load.
    void refusedPartWay_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("status");
        // 40 x 70 RGBA: two tile rows of one 32 x 32 tile, and 6 rows no tile takes; each row 161 bytes.
        const auto scanlines = [](int rows) {
            return PngCraft::Scanlines(40, rows, 8, 4, false,
                                       [](int x, int y, int c) { return (x * 5 + y * 3 + c) & 0xFF; });
        };
        const QByteArray header = PngCraft::Ihdr(40, 70, 8, PngCraft::Rgba, false);
        const auto file = [&](const QByteArray& rows) {
            return PngCraft::File(header, PngCraft::Deflate(rows));
        };
        // A filter type PNG does not have, at the start of a row.
        const auto badFilter = [&](int row) { return file(scanlines(70).replace(161 * row, 1, "\x09", 1)); };
        const QString refused = "damaged.png could not be loaded|0|0|2", loaded = "damaged.png loaded|1|2|4";
        QTest::newRow("second tile row cut short") << file(scanlines(50)) << refused;
        QTest::newRow("bad filter in the second tile row") << badFilter(40) << refused;
        QByteArray wrongCrc = file(scanlines(70));
        wrongCrc[wrongCrc.size() - 13] = char(wrongCrc[wrongCrc.size() - 13] ^ 0x40);
        QTest::newRow("wrong CRC on the image data") << wrongCrc << refused;
        QTest::newRow("no end chunk") << file(scanlines(70)).chopped(12) << refused;
        QTest::newRow("rows no tile takes cut short") << file(scanlines(66)) << loaded;
        QTest::newRow("bad filter in a row no tile takes") << badFilter(68) << loaded;
    }
    void refusedPartWay() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, status);
        QVERIFY(PngCraft::Write(Path("damaged.png"), bytes));
        clsVOTileset tileset = Tileset(32, 32);
        QImage image(64, 32, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        image.save(Path("two.png"));
        tileset.LoadTileset(FolderItem(Path("two.png")));
        const TilesetLoadResult result = tileset.LoadTileset(FolderItem(Path("damaged.png")));
        QCOMPARE(QStringLiteral("%1|%2|%3|%4")
                     .arg(result.Text)
                     .arg(result.Complete)
                     .arg(result.TileCount)
                     .arg(tileset.Count()),
                 status);
        QCOMPARE(tileset.GetTileImage(1)->Image().pixel(5, 5), QColor(Qt::blue).rgb());
    }

    // Each large hostile file as a user would load it: a refusal or a load within 10 times the targets
    // (50 ms, 20 MB more memory). The padded file is read whole, as its bytes are hashed: it may take what
    // hashing them takes, twice over, on top.
    void largeHostileFiles_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < 5; ++i)
            QTest::newRow(qPrintable(QStringLiteral("file %1").arg(i))) << int(i);
    }
    void largeHostileFiles() {
        QFETCH(int, index);
        const PngCorpus::LargeFile& file = m_large[std::size_t(index)];
        clsVOTileset tileset = Tileset(32, 32);
        TilesetLoadResult result;
        const LoadCost cost = MeasureCost([&] { result = tileset.LoadTileset(FolderItem(file.path)); });
        QCOMPARE(result.Text, file.status);
        QCOMPARE(tileset.Count(), file.tiles);
        double allowedMs = 500;
        if (file.tiles > 0) {
            QElapsedTimer timer;
            timer.start();
            QCryptographicHash hash(QCryptographicHash::Sha256);
            const QByteArray piece(16 << 20, 'x');
            hash.addData(piece);
            allowedMs += 2 * double(timer.nsecsElapsed()) / 1e6 * double(QFileInfo(file.path).size()) /
                         double(piece.size());
        }
        QVERIFY2(cost.ms <= allowedMs,
                 qPrintable(QStringLiteral("%1: %2 ms of %3").arg(file.name).arg(cost.ms).arg(allowedMs)));
        QVERIFY(cost.measured);
        QVERIFY2(cost.extraMB <= 200,
                 qPrintable(QStringLiteral("%1: %2 MB").arg(file.name).arg(cost.extraMB)));
    }

    // Peak memory stays near the tiles' own: what the load holds on top of them while it runs (one band
    // of rows) is far below the image, which is never held whole.
    void memoryNearTheTiles() {
        // 4096 x 2048 one-bit pixels: 8192 tiles of 4 KB, an image of 32 MB if it were held whole.
        QVERIFY(PngCraft::Write(Path("big.png"),
                                PngCraft::File(PngCraft::Ihdr(4096, 2048, 1, PngCraft::Grey, false),
                                               PngCraft::Deflate(QByteArray(513 * 2048, '\0')))));
        clsVOTileset tileset = Tileset(32, 32);
        const LoadCost cost = MeasureCost([&] { tileset.LoadTileset(FolderItem(Path("big.png"))); });
        QCOMPARE(tileset.Count(), 8192);
        QVERIFY(cost.measured);
        QVERIFY2(cost.keptMB >= 32 && cost.extraMB - cost.keptMB <= 16,
                 qPrintable(QStringLiteral("peak %1 MB, kept %2 MB").arg(cost.extraMB).arg(cost.keptMB)));
    }

    // The file chosen is swapped for a FIFO, over and over, while it is loaded: whichever the reader finds
    // at the name, it never waits for a writer. A reader that looked at the name before opening it would
    // now and then open the FIFO and wait.
    void swappedForAFifo() {
        const QString image = Path("swap.png"), fifo = Path("swap.fifo");
        QImage tiles(64, 32, QImage::Format_ARGB32);
        tiles.fill(Qt::green);
        QVERIFY(tiles.save(image));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        std::atomic<bool> stop = false;
        std::atomic<int> swaps = 0;
        std::thread swapper([&] {
            const QByteArray a = QFile::encodeName(image), b = QFile::encodeName(fifo);
            while (!stop)
                if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0)
                    ++swaps;
        });
        FifoWatchdog watchdog({image, fifo}, std::chrono::milliseconds(1000));
        double slowest = 0;
        int loaded = 0, refused = 0;
        QElapsedTimer total;
        total.start();
        while (total.elapsed() < 3000) {
            QElapsedTimer timer;
            timer.start();
            clsVOTileset tileset = Tileset(32, 32);
            const TilesetLoadResult result = tileset.LoadTileset(FolderItem(image));
            slowest = std::max(slowest, double(timer.nsecsElapsed()) / 1e6);
            (result.TileCount == 2 ? loaded : refused) += 1;
            QVERIFY(result.Text == "swap.png loaded" || result.Text == "swap.png could not be loaded");
        }
        stop = true;
        swapper.join();
        QVERIFY2(slowest < 500, qPrintable(QStringLiteral("a load took %1 ms").arg(slowest)));
        QVERIFY2(swaps > 100 && loaded + refused > 100,
                 qPrintable(QStringLiteral("%1 swaps, %2 loads").arg(swaps).arg(loaded + refused)));
    }
};

QTEST_MAIN(TestTilesetLoad)
#include "tst_tilesetload.moc"
