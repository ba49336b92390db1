// The map file: random maps read back whole, a generated corpus of damaged files each refused with the
// reader's target untouched, files with what a reader must pass over, and saves that fail or are cancelled
// leaving the old file byte for byte.
#include "MapCorpus.h"
#include "PngCraft.h"
#include "document/DocumentBuilder.h"
#include "document/MapDocument.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/PieceCodec.h"
#include "document/SnapshotGatherer.h"

#include <QBuffer>
#include <QCborArray>
#include <QCborMap>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <set>

namespace {

using MapCorpus::Written;

MapFileResult ReadBytes(QByteArray bytes, MapSnapshot* map, const MapFileProgress& progress = {}) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return MapFile::Read(buffer, map, progress);
}

using PngCraft::Read;

// Calls of a progress callback: each (done, total) in order.
struct ProgressLog {
    QList<QPair<qint64, qint64>> calls;
    int cancelAt = -1;
    MapFileProgress Callback() {
        return [this](qint64 done, qint64 total) {
            calls.append({done, total});
            return calls.size() - 1 != cancelAt;
        };
    }
    bool CountsUpTo(qint64 total) const {
        for (qsizetype i = 1; i < calls.size(); ++i)
            if (calls[i].first <= calls[i - 1].first || calls[i].second != total)
                return false;
        return !calls.isEmpty() && calls.front() == qMakePair(qint64(0), total) &&
               calls.back().first == total;
    }
};

// The map with its layers' data left out, as a save that hands them over one at a time starts from.
MapSnapshot WithoutLayers(MapSnapshot map) {
    for (LayerSnapshot& layer : map.layer)
        layer = {};
    return map;
}

// Hands over map's layers one at a time, each after telling asked, whose answer goes back to the writer.
MapFile::LayerSource LayersOf(const MapSnapshot& map, const std::function<bool(int)>& asked) {
    return [&map, asked](int k, LayerSnapshot* layer) {
        *layer = map.layer[std::size_t(k)];
        return asked(k);
    };
}

// Opens without the images a map names, as Open Without It does.
struct WithoutImages : TilesetImageResolver {
    Answer Resolve(const TilesetLoadRecord&, Problem, QString*) override { return Answer::GoOn; }
};

// Every stored cell of a document, one line each, as the files saved before records were shared list them.
QString CellLines(const MapDocument& document) {
    QString text;
    QTextStream out(&text);
    for (int k = 0; k < 8; ++k) {
        const LayerGrid& grid = document.Layer(k);
        for (std::uint32_t i = 0; i < grid.Count(); ++i) {
            if (!grid.AtIndex(i))
                continue;
            const PlacedCell c = grid.At(int(i) % grid.Width(), int(i) / grid.Width());
            out << k << ' ' << i << ' ' << c.X() << ' ' << c.Y() << ' ' << c.ZOrder() << ' ' << c.ImageIndex()
                << ' ' << c.Width() << ' ' << c.Height() << ' ' << c.ListIndex() << ' ' << c.ImageValue()
                << ' ' << int(c.Passable()) << ' ' << int(c.Destroyable()) << " ["
                << c.Custom1().toUtf8().toHex() << "] [" << c.Custom2().toUtf8().toHex() << "]\n";
        }
    }
    return text;
}

} // namespace

class tst_MapFile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<MapSnapshot>("map");
        QRandomGenerator sizes(2024);
        for (quint32 seed = 1; seed <= 40; ++seed) {
            const int w = sizes.bounded(1, 60), h = sizes.bounded(1, 60);
            QTest::addRow("random %u, %d x %d", seed, w, h) << MapCorpus::RandomMap(seed, w, h);
        }
        // Chunks of 65536 cells: exactly one, one and a bit, the longest rows and columns, many chunks.
        for (const QSize size :
             {QSize(256, 256), QSize(257, 255), QSize(8192, 1), QSize(1, 8192), QSize(1000, 700)})
            QTest::addRow("%d x %d", size.width(), size.height())
                << MapCorpus::RandomMap(size.width(), size.width(), size.height());
    }
    void roundTrip() {
        QFETCH(MapSnapshot, map);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("map.mqm"));
        ProgressLog saving, opening;
        const MapFileResult saved = MapFile::Save(map, path, saving.Callback());
        QVERIFY2(saved.ok(), qPrintable(saved.reason));
        MapSnapshot back;
        const MapFileResult opened = MapFile::Open(path, &back, opening.Callback());
        QVERIFY2(opened.ok(), qPrintable(opened.reason));
        QVERIFY(back == map);
        const qint64 cells = qint64(map.mapWidth) * map.mapHeight * map.layers;
        QVERIFY(saving.CountsUpTo(cells) && opening.CountsUpTo(cells));
        // Handed over one layer at a time, in order, each asked for once: the same bytes (written twice, so
        // nothing depends on memory left over from before).
        int asked = 0;
        QBuffer layered;
        layered.open(QIODevice::WriteOnly);
        const auto ask = [&](int k) { return k == asked++; }; // one out of turn cancels the write
        QVERIFY(MapFile::Write(WithoutLayers(map), LayersOf(map, ask), layered).ok() && asked == map.layers);
        QCOMPARE(layered.data(), Read(path));
        // Saved from a document, opened into one and saved again: the same bytes (cells sharing their tile's
        // record or holding their own, odd texts, hidden layers, the tileset images missing).
        WithoutImages resolver;
        const auto resaved = [&](const MapSnapshot& from) {
            const std::unique_ptr<MapDocument> document = BuildDocument(from, path, resolver);
            return document ? Written(TakeSnapshot(*document, path)) : QByteArray();
        };
        const QByteArray once = resaved(map);
        QVERIFY(!once.isEmpty() && ReadBytes(once, &back).ok() && resaved(back) == once);
    }

    // Files saved before cells shared their records (tests/data/saved-before, with the cells that tree
    // read from them) open to the same cells, every field, place and layer included, share equal records,
    // and save to the same bytes.
    // The files: a sample with no tileset; templates, cells of their own and a new tile size.
    void filesSavedBeforeOpenAlike() {
        for (const QString name : {"sample", "templates"}) {
            const QString path = QStringLiteral(MOSAICOR_TEST_DATA "/saved-before/") + name;
            MapSnapshot snapshot;
            QVERIFY(MapFile::Open(path + ".mqm", &snapshot).ok());
            WithoutImages resolver;
            qint64 moved = -1;
            const std::unique_ptr<MapDocument> document =
                BuildDocument(snapshot, path + ".mqm", resolver, {}, &moved);
            QVERIFY(document && moved == 0);
            QCOMPARE(CellLines(*document), QString::fromUtf8(Read(path + ".cells")));
            std::set<const clsVOCell*> records;
            for (int k = 0; k < 8; ++k)
                for (std::uint32_t i = 0; i < document->Layer(k).Count(); ++i)
                    if (const CellRef& cell = document->Layer(k).AtIndex(i))
                        records.insert(cell.get());
            for (auto a = records.begin(); a != records.end(); ++a)
                for (auto b = std::next(a); b != records.end(); ++b)
                    QVERIFY(!(*a)->SameValues(**b));
            QTemporaryDir dir;
            QVERIFY(Written(TakeSnapshot(*document, dir.filePath(name + ".mqm"))) == Read(path + ".mqm"));
            // Records that name another place take the one where they lie, and are counted.
            snapshot.layer[0].exceptions.at(0).record.x += 1;
            snapshot.layer[1].exceptions.at(1).record.zOrder = 7;
            if (!snapshot.templates.empty())
                snapshot.templates[0].y = 3;
            const std::unique_ptr<MapDocument> placed =
                BuildDocument(snapshot, path + ".mqm", resolver, {}, &moved);
            QCOMPARE(moved, snapshot.templates.empty() ? 2 : 3);
            QCOMPARE(CellLines(*placed), CellLines(*document));
        }
    }

    void damagedFilesAreRefusedVariantsRead() {
        const MapSnapshot untouched = MapCorpus::RandomMap(99, 3, 2);
        QStringList wrong;
        qint64 slowestNs = 0;
        for (const MapCorpus::Entry& entry : MapCorpus::Damaged()) {
            MapSnapshot target = untouched;
            QElapsedTimer timer;
            timer.start();
            const MapFileResult result = ReadBytes(entry.bytes, &target);
            slowestNs = std::max(slowestNs, timer.nsecsElapsed());
            if (result.status != MapFileResult::Failed || result.reason.isEmpty() || !(target == untouched))
                wrong.append(QStringLiteral("accepted: ") + entry.name);
        }
        QVERIFY(MapCorpus::Damaged().size() > 1000);
        // Ten times the time a refusal may take in use.
        QVERIFY2(slowestNs < 500'000'000,
                 qPrintable(QString::number(slowestNs / 1e6) + QStringLiteral(" ms")));
        for (const MapCorpus::Entry& entry : MapCorpus::Variants()) {
            MapSnapshot read;
            const MapFileResult result = ReadBytes(entry.bytes, &read);
            if (!result.ok() || !(read == MapCorpus::BaseMap()))
                wrong.append(QStringLiteral("misread: ") + entry.name + QStringLiteral(": ") + result.reason);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("\n"))));
    }

    // A refusal says why; a cancelled opening says so and leaves the map it was to fill alone.
    void reasonsSayWhatCancelsLeaveTheMap() {
        const QByteArray base = Written(MapCorpus::BaseMap());
        QByteArray newer = base;
        newer[newer.indexOf("version") + 7] = 2;
        const std::pair<QByteArray, QString> files[]{
            {"hello", "it is not a 2D Mosaicor map"},
            {{}, "it is empty"},
            {base.left(base.size() - 1), "it ends too early"},
            {newer, "it is in version 2 of the map format, which this program cannot read"}};
        const MapSnapshot untouched = MapCorpus::RandomMap(3, 4, 4);
        MapSnapshot target = untouched;
        for (const auto& [bytes, reason] : files)
            QCOMPARE(ReadBytes(bytes, &target).reason, reason);
        ProgressLog progress;
        progress.cancelAt = 2;
        QCOMPARE(ReadBytes(base, &target, progress.Callback()).status, MapFileResult::Cancelled);
        QVERIFY(progress.calls.size() == 3 && target == untouched);
    }

    // Tiles and loads may follow the layers: the file reads the same, and tiles no load gave are refused
    // before any layer's data is inflated (no cell of progress is ever reported).
    void tilesAfterTheLayersAreCheckedFirst() {
        const MapSnapshot map = MapCorpus::RandomMap(5, 300, 200);
        MapSnapshot back;
        ProgressLog reading;
        QVERIFY(ReadBytes(MapCorpus::LayersFirst(map), &back, reading.Callback()).ok() && back == map);
        QVERIFY(reading.CountsUpTo(qint64(300) * 200 * map.layers));
        ProgressLog refusing;
        const MapFileResult refused = ReadBytes(MapCorpus::LayersFirst(map, 1), &back, refusing.Callback());
        QVERIFY(refused.reason.contains("tile properties"));
        QVERIFY(
            std::all_of(refusing.calls.begin(), refusing.calls.end(), [](auto c) { return c.first == 0; }));
    }

    // A lone surrogate is no character: it is written, and so read back, as U+FFFD; a pair stays itself.
    void loneSurrogatesComeBackAsReplacements() {
        MapSnapshot map = MapCorpus::BaseMap();
        const QChar high(char16_t(0xD83D)), low(char16_t(0xDE00));
        map.name = QString(high) + "a" + low + high + low + high;
        map.templates[0].custom1 = QString(low);
        MapSnapshot back;
        QVERIFY(ReadBytes(Written(map), &back).ok());
        QCOMPARE(back.name, QString::fromUtf16(u"\uFFFDa\uFFFD\U0001F600\uFFFD"));
        QCOMPARE(back.templates[0].custom1, QString(QChar::ReplacementCharacter));
    }

    void brokenMapsAreNotWritten_data() {
        QTest::addColumn<MapSnapshot>("map");
        const MapSnapshot base = MapCorpus::BaseMap();
        auto row = [&](const char* name, auto change) {
            MapSnapshot map = base;
            change(map);
            QTest::newRow(name) << map;
        };
        // Only what the reader's damaged files cannot show: the reader refuses the rest by the same checks.
        row("a cell too few", [](MapSnapshot& m) { m.layer[2].tiles.pop_back(); });
        row("tiles on a layer not in use", [](MapSnapshot& m) { m.layer[3].tiles.assign(300 * 220, 0); });
        row("tile value 32769", [](MapSnapshot& m) { m.layer[0].tiles[0] = 32769; });
        row("32769 tiles", [](MapSnapshot& m) {
            m.templates.resize(32769);
            m.loads[1].tileCount = 32767;
        });
        row("a text over 1 MiB",
            [](MapSnapshot& m) { m.templates[2].custom2 = QString((1 << 20) + 1, u'x'); });
    }
    void brokenMapsAreNotWritten() {
        QFETCH(MapSnapshot, map);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const MapFileResult result = MapFile::Write(map, buffer);
        QCOMPARE(result.status, MapFileResult::Failed);
        QVERIFY(result.reason.startsWith(QStringLiteral("the map is inconsistent: ")));
        QVERIFY(buffer.data().isEmpty());
        // Layers handed over one at a time are checked as they come: refused with the same reason.
        QBuffer layered;
        layered.open(QIODevice::WriteOnly);
        const MapFileResult late =
            MapFile::Write(WithoutLayers(map), LayersOf(map, [](int) { return true; }), layered);
        // Only the layers in use are asked for: tiles left on one that is not are never seen, never written.
        MapSnapshot inUse = WithoutLayers(map);
        std::copy_n(map.layer.begin(), map.layers, inUse.layer.begin());
        if (Written(inUse).isEmpty())
            QVERIFY(late.status == MapFileResult::Failed && late.reason == result.reason);
        else
            QCOMPARE(layered.data(), Written(inUse));
    }

    // A save that fails keeps the file it was to replace byte for byte and leaves nothing beside it. Tests
    // run as root, so a read-only folder would not stop them: the folder is taken away, or the save
    // cancelled.
    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("swapFolderAt");
        QTest::addColumn<int>("cancelAt"); // a save cancelled says so; any other fails, saying why
        QTest::addColumn<bool>("layerByLayer");
        for (const bool layered : {false, true}) {
            const char* how = layered ? "layer by layer" : "whole";
            QTest::addRow("%s: the path is a folder", how) << "maps" << -1 << -1 << layered;
            QTest::addRow("%s: the folder is a file", how) << "note.txt/map.mqm" << -1 << -1 << layered;
            QTest::addRow("%s: cancelled at the start", how) << "maps/map.mqm" << -1 << 0 << layered;
            QTest::addRow("%s: cancelled half way", how) << "maps/map.mqm" << -1 << 3 << layered;
            QTest::addRow("%s: folder replaced by a file half way", how)
                << "maps/map.mqm" << 3 << -1 << layered;
        }
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, target);
        QFETCH(int, swapFolderAt);
        QFETCH(int, cancelAt);
        QTemporaryDir dir;
        const QByteArray old = Written(MapCorpus::RandomMap(5, 20, 20));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("maps")));
        for (const QString& name : {QStringLiteral("maps/map.mqm"), QStringLiteral("note.txt")})
            QVERIFY(PngCraft::Write(dir.filePath(name), old));
        ProgressLog progress;
        progress.cancelAt = cancelAt;
        const MapFileProgress swapping = [&](qint64 done, qint64 total) {
            if (progress.calls.size() == swapFolderAt) {
                QDir(dir.path()).rename(QStringLiteral("maps"), QStringLiteral("moved"));
                PngCraft::Write(dir.filePath(QStringLiteral("maps")), {});
            }
            return progress.Callback()(done, total);
        };
        QFETCH(bool, layerByLayer);
        const MapSnapshot map = MapCorpus::BaseMap();
        // Handed over a layer at a time, a cancel can also come from the one who hands them over.
        const MapFileResult result =
            layerByLayer
                ? MapFile::Save(WithoutLayers(map), LayersOf(map, [&](int) { return swapping(0, 1); }),
                                dir.filePath(target), swapping)
                : MapFile::Save(map, dir.filePath(target), swapping);
        QCOMPARE(result.status, cancelAt >= 0 ? MapFileResult::Cancelled : MapFileResult::Failed);
        QCOMPARE(result.reason.isEmpty(), result.status == MapFileResult::Cancelled);
        const QString folder = swapFolderAt >= 0 ? QStringLiteral("moved") : QStringLiteral("maps");
        QCOMPARE(Read(dir.filePath(folder + QStringLiteral("/map.mqm"))), old);
        QCOMPARE(QDir(dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden), QStringList{"map.mqm"});
    }

    // A piece of map on the clipboard is read by the map file's rules: each of its three parts must be there,
    // once, in order, and nothing after them; what is refused leaves the piece it was to fill alone.
    void piecesThatLieAreRefused() {
        const PieceSnapshot piece{2, 1, {}, {{3, {{1, 0}, {}}}}};
        const QCborMap whole = QCborValue::fromCbor(PieceCodec::Encode(piece)).toMap();
        PieceSnapshot read;
        QCOMPARE(PieceCodec::Decode(whole.toCborValue().toCbor(), &read), QString());
        const QCborValue layer = whole.value(QLatin1StringView("layers")).toArray().at(0);
        QCborMap editLayer = layer.toMap(); // one for the edit layer comes alone
        editLayer.remove(QLatin1StringView("layer"));
        const auto with = [&](const char* key, const QCborValue& value) { // an undefined value takes it out
            QCborMap m = whole;
            if (value.isUndefined())
                m.remove(QLatin1StringView(key));
            else
                m.insert(QLatin1StringView(key), value);
            return m.toCborValue().toCbor();
        };
        QCborMap twoChunks = layer.toMap();
        const QCborValue chunk = layer[QLatin1StringView("tiles")][0];
        twoChunks[QLatin1StringView("tiles")] = QCborArray{chunk, chunk};
        const std::pair<QByteArray, const char*> rows[] = {
            {with("format", QStringLiteral("mosaicor-map")), "they are not map cells"},
            {with("version", 2), "they are in version 2, which this program cannot read"},
            {with("piece", QCborMap{{QStringLiteral("width"), 8192}, {QStringLiteral("height"), 8192}}),
             "they are more than 16,777,216 cells"},
            {with("layers", QCborArray()), "they have no layer"},
            {with("layers", QCborArray{layer, layer}), "their layers repeat"},
            {with("layers", QCborArray{editLayer, layer}), "their layers repeat"},
            {with("layers", QCborArray{layer, editLayer}), "their layers repeat"},
            {with("layers", QCborArray{twoChunks}), "claims 2 entries, more than 1"},
            {whole.toCborValue().toCbor() + QByteArray(1, '\0'), "they go on after their end"},
            {with("piece", {}), "their layers come before their size"},
            {with("templates", {}), "a part is missing"},
            {with("layers", {}), "a part is missing"}};
        for (const auto& [bytes, reason] : rows) {
            read.width = 7;
            const QString problem = PieceCodec::Decode(bytes, &read);
            QVERIFY2(problem.endsWith(QLatin1String(reason)) && read.width == 7, qPrintable(problem));
        }
    }
};

QTEST_GUILESS_MAIN(tst_MapFile)
#include "tst_mapfile.moc"
