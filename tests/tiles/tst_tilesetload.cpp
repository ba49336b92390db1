// Reading PNG files, as pictures and as tilesets: every colour type, depth and interlacing decodes to the
// pixels written, colour keys included, and lying, bombed and damaged files are refused or load correctly;
// tiles are the image's, cut row by row at every tile size, also when the tileset fills part way; a file
// refused part way takes back what it added; the load tells what it loaded; large hostile files and a FIFO
// swapped in cost next to nothing.
#include "LoadCost.h"
#include "PngCorpus.h"
#include "PngCraft.h"
#include "SwappedFifo.h"
#include "UserSteps.h"
#include "platform/PNGu.h"
#include "tiles/clsVOTileset.h"

#include <QtTest>
#include <map>

namespace {

constexpr auto kDrawn = QImage::Format_ARGB32_Premultiplied;

clsVOTileset Tileset(QSize tile = QSize(32, 32), clsVOTileset tileset = clsVOTileset()) {
    tileset.SetTileWidth(tile.width());
    tileset.SetTileHeight(tile.height());
    return tileset;
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
        m_large = PngCorpus::WriteLargeFiles(m_dir.path());
        QCOMPARE(m_large.size(), std::size_t(5));
        const PicturePtr pixel = NewPicture(1, 1, 32);
        for (const int room : {0, 1, 4, 7})
            while (m_nearlyFull[room].Count() < clsVOTileset::kMaxTiles - room)
                m_nearlyFull[room].Add(pixel);
    }

    // Every file of the corpus read whole as a picture: the picture holds what is drawn, the colour weighted
    // by its alpha and the alpha itself, or nothing for a file to refuse. Every image that decodes cut into
    // tiles of sizes that fit it once, several times, unevenly or exactly; and when the tileset has room for
    // only part of it, so the load stops in the middle of a tile row.
    void corpus_data() {
        QTest::addColumn<int>("entry");
        for (std::size_t i = 0; i < PngCorpus::All().size(); ++i)
            QTest::newRow(qPrintable(PngCorpus::All()[i].name)) << int(i);
    }
    void corpus() {
        QFETCH(int, entry);
        const PngCorpus::Entry& e = PngCorpus::All()[std::size_t(entry)];
        const QString path = Path("image.png");
        QVERIFY(PngCraft::Write(path, e.bytes));
        const PicturePtr picture = PNGu::OpenAsPictureWithMask(path, 0.0);
        QCOMPARE(picture ? picture->Image().convertToFormat(kDrawn) : QImage(),
                 e.expected.convertToFormat(kDrawn));
        if (e.expected.isNull() || e.expected.width() > 64)
            return;
        for (const QSize tile :
             {QSize(1, 1), QSize(2, 3), QSize(5, 2), QSize(4, 11), QSize(13, 1), QSize(13, 11), QSize(6, 5)})
            for (const int room : {-1, 0, 1, 4, 7}) { // -1: room for all
                clsVOTileset tileset = Tileset(tile, room < 0 ? clsVOTileset() : m_nearlyFull[room]);
                const int first = tileset.Count(), tw = tile.width(), th = tile.height();
                const int columns = e.expected.width() / tw, wanted = columns * (e.expected.height() / th);
                const int taken = room < 0 ? wanted : std::min(room, wanted);
                const TilesetLoadResult result = tileset.LoadTileset(FolderItem(path));
                const QString at = Say(tw, "x", th, "tiles, room", room);
                QCOMPARE(Say(at, result.TileCount, result.FirstTile, result.Complete, tileset.Count()),
                         Say(at, taken, first, taken == wanted, first + taken));
                // Each tile cut from the decoded picture by the rule, row by row, left to right.
                for (int n = 0; n < taken; ++n)
                    QVERIFY2(tileset.GetTileImage(first + n)->Image() ==
                                     e.expected.copy(n % columns * tw, n / columns * th, tw, th)
                                         .convertToFormat(kDrawn) &&
                                 tileset.GetTile(first + n)->ImageIndex() == first + n,
                             qPrintable(Say(at, "tile", n)));
            }
    }

    // What a load tells on top of two tiles: the image's size once its header is read, the tiles it added,
    // and the hash of every byte (those after the end chunk too) only when the file was read whole. Damage
    // found after tiles were cut (in the second tile row, in the checksum of the image data, or a file that
    // ends before its end chunk) leaves the tileset as it was. Rows that no tile takes are not decoded, only
    // read through with their checksum: damage that only decoding them would show does not stop the load.
    void loadOnTopOfTwoTiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("told"); // text, complete, first tile, tiles added, tiles then, image size
        using namespace PngCraft;
        // 40 x 70 RGBA: two tile rows of one 32 x 32 tile, and 6 rows no tile takes; each row 161 bytes.
        const auto scanlines = [](int n) { // the first n rows
            return Scanlines(40, n, 8, 4, false, [](int x, int y, int c) { return x * 5 + y * 3 + c; });
        };
        const auto file = [](QByteArray raw) { return File(Ihdr(40, 70, 8, Rgba, false), Deflate(raw)); };
        // A filter type PNG does not have, at the start of a row.
        const auto badFilter = [&](int row) { return file(scanlines(70).replace(161 * row, 1, "\x09", 1)); };
        const QString refused = "damaged.png could not be loaded false 2 0 2 40 70";
        const QString loaded = "damaged.png loaded true 2 2 4 40 70";
        QTest::newRow("bytes after the end chunk") << file(scanlines(70)) + "trailing bytes" << loaded;
        QTest::newRow("second tile row cut short") << file(scanlines(50)) << refused;
        QTest::newRow("bad filter in the second tile row") << badFilter(40) << refused;
        QByteArray wrongCrc = file(scanlines(70));
        wrongCrc[wrongCrc.size() - 13] = char(wrongCrc[wrongCrc.size() - 13] ^ 0x40);
        QTest::newRow("wrong CRC on the image data") << wrongCrc << refused;
        QTest::newRow("no end chunk") << file(scanlines(70)).chopped(12) << refused;
        QTest::newRow("rows no tile takes cut short") << file(scanlines(66)) << loaded;
        QTest::newRow("bad filter in a row no tile takes") << badFilter(68) << loaded;
    }
    void loadOnTopOfTwoTiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        QVERIFY(PngCraft::Write(Path("damaged.png"), bytes));
        clsVOTileset tileset = Tileset();
        QImage image(64, 32, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        image.save(Path("two.png"));
        tileset.LoadTileset(FolderItem(Path("two.png")));
        const TilesetLoadResult r = tileset.LoadTileset(FolderItem(Path("damaged.png")));
        QCOMPARE(Say(r.Text, r.Complete, r.FirstTile, r.TileCount, tileset.Count(), r.ImageWidth,
                     r.ImageHeight, tileset.GetTileImage(1)->Image().pixel(5, 5) == QColor(Qt::blue).rgb()),
                 told + " true");
        QCOMPARE(r.ContentHash,
                 r.TileCount ? QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) : QByteArray());
    }

    // Each large hostile file as a user would load it: a refusal or a load within 10 times the targets
    // (50 ms, 20 MB more memory). The padded file is read whole, as its bytes are hashed: it may take what
    // hashing them takes, twice over, on top.
    void largeHostileFiles() {
        for (const PngCorpus::LargeFile& file : m_large) {
            clsVOTileset tileset = Tileset();
            TilesetLoadResult result;
            const LoadCost cost = MeasureCost([&] { result = tileset.LoadTileset(FolderItem(file.path)); });
            QCOMPARE(Say(result.Text, tileset.Count()), Say(file.status, file.tiles));
            double allowedMs = 500;
            if (file.tiles > 0) { // the padded file is hashed whole: allow for that, twice over
                const QByteArray piece(16 << 20, 'x');
                const double ms =
                    MeasureCost([&] { QCryptographicHash::hash(piece, QCryptographicHash::Sha256); }).ms;
                allowedMs += 2 * ms * double(QFileInfo(file.path).size()) / double(piece.size());
            }
            QVERIFY2(cost.measured && cost.ms <= allowedMs && cost.extraMB <= 200,
                     qPrintable(Say(file.name, cost.ms, "ms of", allowedMs, cost.extraMB, "MB")));
        }
    }

    // Peak memory stays near the tiles' own: what the load holds on top of them while it runs (one band
    // of rows) is far below the image, which is never held whole.
    void memoryNearTheTiles() {
        // 4096 x 2048 one-bit pixels: 8192 tiles of 4 KB, an image of 32 MB if it were held whole.
        QVERIFY(PngCraft::Write(Path("big.png"),
                                PngCraft::File(PngCraft::Ihdr(4096, 2048, 1, PngCraft::Grey, false),
                                               PngCraft::Deflate(QByteArray(513 * 2048, '\0')))));
        clsVOTileset tileset = Tileset();
        const LoadCost cost = MeasureCost([&] { tileset.LoadTileset(FolderItem(Path("big.png"))); });
        QCOMPARE(tileset.Count(), 8192);
        QVERIFY2(cost.measured && cost.keptMB >= 32 && cost.extraMB - cost.keptMB <= 16,
                 qPrintable(Say("peak", cost.extraMB, "MB, kept", cost.keptMB, "MB")));
    }

    // The file chosen is swapped for a FIFO, over and over, while it is loaded: whichever the reader finds
    // at the name, it never waits for a writer. A reader that looked at the name before opening it would
    // now and then open the FIFO and wait.
    void swappedForAFifo() {
        const QString image = Path("swap.png");
        const SwappedFifo swapping(image, Path("swap.fifo"), std::chrono::milliseconds(1000));
        QVERIFY(swapping.Made());
        double slowest = 0;
        int loads = 0;
        for (const QDeadlineTimer end(3000); !end.hasExpired(); ++loads) {
            QElapsedTimer timer;
            timer.start();
            const TilesetLoadResult result = Tileset().LoadTileset(FolderItem(image));
            slowest = std::max(slowest, double(timer.nsecsElapsed()) / 1e6);
            QCOMPARE(result.Text, result.TileCount == 2 ? "swap.png loaded" : "swap.png could not be loaded");
        }
        QVERIFY2(slowest < 500 && swapping.Swaps() > 100 && loads > 100,
                 qPrintable(Say("slowest load", slowest, "ms,", swapping.Swaps(), "swaps,", loads, "loads")));
    }
};

QTEST_MAIN(TestTilesetLoad)
#include "tst_tilesetload.moc"
