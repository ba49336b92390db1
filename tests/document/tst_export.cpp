// Exported maps read back as a game's loader would, with Qt's XML and JSON readers, and checked against what
// readers of these formats require and against the snapshot they came from.
#include "ExportedMapReader.h"
#include "PngCraft.h"
#include "UserSteps.h"
#include "document/JsonStreamWriter.h"
#include "document/MapExport.h"
#include "document/TmjWriter.h"
#include "document/TmxWriter.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <set>

namespace {

// The eight game properties as a reader should find them.
ReadProperties Expected(const CellRecord& r) {
    return {{"passable", {"bool", r.passable}},        {"destroyable", {"bool", r.destroyable}},
            {"prop_width", {"int", int(r.width)}},     {"prop_height", {"int", int(r.height)}},
            {"list_index", {"int", int(r.listIndex)}}, {"image_value", {"int", int(r.imageValue)}},
            {"custom1", {"string", r.custom1}},        {"custom2", {"string", r.custom2}}};
}

// A device that takes so many bytes and then refuses, like a disk that fills up.
class FillingDevice : public QIODevice {
public:
    explicit FillingDevice(qint64 room) : room(room) { open(WriteOnly); }
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        const qint64 taken = std::min(size, room);
        room -= taken;
        refused += taken == 0;
        return taken > 0 ? taken : -1;
    }
    qint64 room;
    int refused = 0;
};

} // namespace

class TestExport : public QObject {
    Q_OBJECT
    QTemporaryDir temp;
    // MOSAICOR_EXPORT_SAMPLES=folder keeps the exported files there, to try a game's reader on them.
    QString root = qEnvironmentVariable("MOSAICOR_EXPORT_SAMPLES", temp.path());

    QString Image(const QString& relative, QSize size) {
        const QString path = QDir(root).filePath(relative);
        const QImage image = MakeTileSheet(size.width(), size.height(), 1, 1);
        return QDir().mkpath(QFileInfo(path).path()) && image.save(path, "PNG") ? path : QString();
    }

    MapSnapshot Scenario(const QString& which) {
        MapSnapshot map;
        map.layers = map.mapWidth = map.mapHeight = 1;
        const QString a = Image("art/a.png", {64, 32});
        const QString b = Image("art/more/b & c.png", {72, 48});
        const QString tiny = Image("art/tiny.png", {8, 8});
        if (which == "single cell") {
            map.loads = {{{}, a, 16, 16, 64, 32, {}, 0, 8}};
            map.templates.resize(8);
            map.layer[0].tiles = {8};
            return map;
        }
        if (which == "five-digit gids over many pieces") {
            map.mapWidth = 500, map.mapHeight = 200;
            map.loads = {{{}, Image("art/wide.png", {200, 100}), 1, 1, 200, 100, {}, 0, 20000}};
            map.templates.resize(20000);
            for (int i = 0; i < 500 * 200; ++i)
                map.layer[0].tiles.push_back(std::uint16_t(i * 7919 % 20002));
            return map;
        }
        map.mapWidth = 5, map.mapHeight = 4, map.layers = 3, map.visibleLayers = 0b101;
        map.tileWidth = 20, map.tileHeight = 15;
        map.name = QString::fromUtf8("Q&A \"map\" <one>\nzweite Zeile é");
        map.loads = {{{}, a, 16, 16, 64, 32, {}, 0, 8},
                     {{}, tiny, 16, 16, 8, 8, {}, 8, 0},
                     {{}, b, 24, 16, 72, 48, {}, 8, 6}};
        map.templates.resize(14);
        map.templates[1].passable = true;
        map.templates[1].custom1 = QString::fromUtf8("say \"hi\" & <bye>\nsecond line ünï ✓ 😀");
        map.templates[1].custom2 = "tab\there";
        map.templates[9] = {0, 0, -32768, 32767, 7, 9, -1, {}, {}, 0, false, true};
        const std::uint16_t values[] = {0, 1, 2, 8, 9, 14, 15, 20, kOddTile};
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 20; ++i)
                map.layer[k].tiles.push_back(values[(i * 7 + k * 3) % 9]);
        map.layer[0].tiles[3] = 2, map.layer[0].tiles[4] = 10, map.layer[0].tiles[8] = kOddTile;
        CellRecord differs = map.templates[1], zOrderOnly = map.templates[9],
                   odd{0, 0, 0, 0, 0, -5, 0, {}, {}, 0, true, false};
        differs.passable = false, differs.custom1 = "other\r\nline", zOrderOnly.zOrder = 5;
        map.layer[0].exceptions = {{3, differs}, {4, zOrderOnly}, {8, odd}};
        map.layer[2].tiles[0] = 15, map.layer[2].tiles[19] = 2;
        map.layer[2].exceptions = {{0, odd}, {19, differs}};
        map.templates.resize(which == "tiles past the first load" ? 8 : 14);
        map.loads[2].imageMissing = which == "last image missing";
        map.loads.resize(which == "templates and no load" ? 0 : which == "templates past the loads" ? 1 : 3);
        return map;
    }

    // Everything a reader needs, and the map read back into tile indices, objects and properties.
    void Check(const ReadMap& read, const MapSnapshot& map, const QString& path, qint64 goneCells) {
        QCOMPARE(read.faults.join(" | "), QString());
        const QVariantMap& head = read.attributes;
        QCOMPARE(Say(head["orientation"], head["renderorder"], head["infinite"].toInt(), head["width"],
                     head["height"], head["tilewidth"], head["tileheight"]),
                 Say("orthogonal right-down 0", map.mapWidth, map.mapHeight, map.tileWidth, map.tileHeight));
        QCOMPARE(read.properties, (ReadProperties{{"name", {"string", map.name}}}));

        int loaded = 0;
        for (const TilesetLoadRecord& load : map.loads)
            loaded += load.tileCount;
        const int tiles = std::min(loaded, int(map.templates.size()));
        // A tile value whose tile a reader finds: one the tileset holds, from an image that is not missing.
        const auto found = [&](int v) {
            return v != kOddTile && v <= tiles &&
                   std::none_of(map.loads.begin(), map.loads.end(), [v](auto& l) {
                       return l.imageMissing && v > l.firstTile && v <= l.firstTile + l.tileCount;
                   });
        };
        // tile index of each gid, found through the tileset whose image is the load's
        std::map<qint64, int> tileOfGid{{0, -1}};
        int nextGid = 1;
        for (const ReadTileset& tileset : read.tilesets) {
            const QVariantMap& t = tileset.attributes;
            const QString image = t["image"].toString();
            QVERIFY2(!QDir::isAbsolutePath(image) && !image.startsWith("file:"), qPrintable(image));
            const QString resolved = QFileInfo(QFileInfo(path).dir(), image).canonicalFilePath();
            const auto load =
                std::find_if(map.loads.begin(), map.loads.end(), [&](const TilesetLoadRecord& l) {
                    return QFileInfo(l.absolutePath).canonicalFilePath() == resolved;
                });
            QVERIFY2(load != map.loads.end() && !load->imageMissing && !resolved.isEmpty(),
                     qPrintable(image));
            QCOMPARE(Say(t["name"], t["firstgid"], t["tilewidth"], t["tileheight"], t["imagewidth"],
                         t["imageheight"], t["columns"], t["spacing"], t["margin"]),
                     Say(QFileInfo(load->absolutePath).completeBaseName(), nextGid, load->tileWidth,
                         load->tileHeight, load->imageWidth, load->imageHeight,
                         load->imageWidth / load->tileWidth, "0 0"));
            const int count = t["tilecount"].toInt();
            QCOMPARE(count, std::clamp(tiles - load->firstTile, 0, load->tileCount));
            for (int local = 0; local < count; ++local) {
                tileOfGid[nextGid + local] = load->firstTile + local;
                const CellRecord& cell = map.templates[std::size_t(load->firstTile + local)];
                QCOMPARE(tileset.tiles.contains(local), Expected(cell) != Expected(CellRecord()));
                QVERIFY(!tileset.tiles.contains(local) || tileset.tiles[local] == Expected(cell));
            }
            nextGid += count;
        }

        qint64 gone = 0;
        std::set<int> layerIds, objectIds;
        for (int k = 0; k < map.layers; ++k) {
            const auto layer = std::find_if(read.layers.begin(), read.layers.end(), [&](const ReadLayer& l) {
                return l.isTileLayer && l.attributes["name"] == QStringLiteral("Layer %1").arg(k);
            });
            QVERIFY(layer != read.layers.end() && layerIds.insert(layer->attributes["id"].toInt()).second);
            QCOMPARE(Say(layer->attributes["visible"].toBool(), int(layer->gids.size())),
                     Say(bool(map.visibleLayers >> k & 1), map.mapWidth * map.mapHeight));
            std::map<std::pair<int, int>, ReadProperties> want;
            for (std::size_t i = 0; i < layer->gids.size(); ++i) {
                QVERIFY2(tileOfGid.count(layer->gids[i]), qPrintable(QString::number(layer->gids[i])));
                const int v = map.layer[k].tiles[i], tile = v && found(v) ? v - 1 : -1;
                QCOMPARE(tileOfGid[layer->gids[i]], tile);
                gone += v != 0 && tile < 0;
            }
            for (const CellException& e : map.layer[k].exceptions) {
                const int v = map.layer[k].tiles[e.index], column = int(e.index) % map.mapWidth;
                ReadProperties differ, tile = found(v) ? Expected(map.templates[v - 1]) : differ;
                const ReadProperties mine = Expected(e.record);
                for (auto it = tile.begin(); it != tile.end(); ++it)
                    if (mine[it.key()] != *it)
                        differ[it.key()] = mine[it.key()];
                if (!differ.isEmpty())
                    differ["column"] = {"int", column}, differ["row"] = {"int", int(e.index) / map.mapWidth},
                    want[{(column * 2 + 1) * map.tileWidth,
                          (int(e.index) / map.mapWidth * 2 + 1) * map.tileHeight}] = differ;
            }
            const auto group = std::find_if(read.layers.begin(), read.layers.end(), [&](const ReadLayer& l) {
                return !l.isTileLayer && l.attributes["name"] == QStringLiteral("Layer %1 cells").arg(k);
            });
            QCOMPARE(group != read.layers.end(), !want.empty());
            if (want.empty())
                continue;
            QVERIFY(layerIds.insert(group->attributes["id"].toInt()).second);
            QCOMPARE(Say(group->attributes["visible"].toBool(), int(group->objects.size())),
                     Say(bool(map.visibleLayers >> k & 1), int(want.size())));
            for (const ReadObject& object : group->objects) {
                const std::pair<int, int> at{int(object.x * 2), int(object.y * 2)};
                QVERIFY(object.point && want.count(at) && object.properties == want[at] &&
                        objectIds.insert(object.id).second);
            }
        }
        QCOMPARE(Say(int(read.layers.size()), head["nextlayerid"], head["nextobjectid"], goneCells),
                 Say(int(layerIds.size()), *layerIds.rbegin() + 1, int(objectIds.size()) + 1, gone));
        // objects are numbered from 1
        QVERIFY(objectIds.empty() ||
                (*objectIds.begin() == 1 && *objectIds.rbegin() == int(objectIds.size())));
    }

private slots:
    void initTestCase() { QVERIFY(QDir(root).mkpath("out")); }

    void exportedMapsReadBack_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("tmx");
        for (const char* scenario :
             {"loads of two cut sizes", "single cell", "tiles past the first load", "last image missing",
              "templates and no load", "templates past the loads", "five-digit gids over many pieces"})
            for (const bool tmx : {true, false})
                QTest::addRow("%s, %s", scenario, tmx ? "tmx" : "tmj") << QString(scenario) << tmx;
    }
    void exportedMapsReadBack() {
        QFETCH(QString, scenario);
        QFETCH(bool, tmx);
        const MapSnapshot map = Scenario(scenario);
        const QString path =
            QDir(root).filePath(QStringLiteral("out/%1.%2").arg(scenario, tmx ? "tmx" : "tmj"));
        const ExportOutcome outcome = ExportMap(map, path, tmx ? ExportFormat::Tmx : ExportFormat::Tmj);
        QVERIFY2(outcome.written(), qPrintable(outcome.failure));
        QCOMPARE(outcome.alteredTexts, 0);
        Check(tmx ? ReadTmx(path) : ReadTmj(path), map, path, outcome.goneCells);
    }

    // XML cannot hold most control characters or a lone surrogate (the writer would drop the whole text):
    // they become U+FFFD and are counted; JSON escapes control characters and only loses the lone surrogate.
    // An image path is never altered: a TMX export refuses one XML cannot hold, the JSON form keeps it.
    void textsAFormatCannotHold() {
        for (const bool tmx : {true, false}) {
            MapSnapshot map = Scenario("single cell");
            map.templates[7].custom1 = QStringLiteral("a\x01z\x0B");
            map.templates[7].custom2 =
                QStringLiteral("\U0001F600") + QChar(0xD800) + QStringLiteral("z") + QChar(0xDC00);
            const QString path = QDir(root).filePath(tmx ? "out/control.tmx" : "out/control.tmj");
            const ExportOutcome outcome = ExportMap(map, path, tmx ? ExportFormat::Tmx : ExportFormat::Tmj);
            QCOMPARE(outcome.alteredTexts, tmx ? 2 : 1);
            const ReadMap read = tmx ? ReadTmx(path) : ReadTmj(path);
            QCOMPARE(read.faults.join(" | "), QString());
            const ReadProperties& tile = read.tilesets.at(0).tiles[7];
            QCOMPARE(tile["custom1"].second,
                     tmx ? QStringLiteral("a\uFFFDz\uFFFD") : map.templates[7].custom1);
            QCOMPARE(tile["custom2"].second, QStringLiteral("\U0001F600\uFFFDz\uFFFD"));

            map.templates[7] = {};
            map.loads[0].absolutePath = Image("art/odd\x02name.png", {64, 32});
            const ExportOutcome odd = ExportMap(map, path, tmx ? ExportFormat::Tmx : ExportFormat::Tmj);
            QCOMPARE(odd.failure.contains("odd\x02name.png"), tmx);
            if (!tmx)
                Check(ReadTmj(path), map, path, odd.goneCells);
        }
    }

    // A failed export says why and leaves what was at the target as it was (faults met before any format).
    void failureKeepsTheTarget_data() {
        QTest::addColumn<QString>("fault");
        for (const char* fault : {"no such folder", "a layer of the wrong size",
                                  "a tile larger than its image", "a map of no cells"})
            QTest::newRow(fault) << QString(fault);
    }
    void failureKeepsTheTarget() {
        QFETCH(QString, fault);
        MapSnapshot map = Scenario("single cell");
        if (fault == "a layer of the wrong size")
            map.layer[0].tiles.push_back(1);
        if (fault == "a tile larger than its image")
            map.loads[0].tileCount = 1, map.loads[0].tileWidth = 65, map.templates.resize(1);
        if (fault == "a map of no cells")
            map.mapWidth = 0, map.layer[0].tiles.clear();
        const QString path = QDir(root).filePath(
            QStringLiteral("%1/map.tmx").arg(fault == "no such folder" ? "missing" : "out"));
        const bool made = PngCraft::Write(path, "before");
        QVERIFY(!ExportMap(map, path, ExportFormat::Tmx).failure.isEmpty());
        QVERIFY(made ? PngCraft::Read(path) == "before" : !QFile::exists(path));
        QFile::remove(path);
        // and no half-written file is left beside it
        QCOMPARE(QFileInfo(path).dir().entryList({"*" + QFileInfo(path).fileName() + "*"}), QStringList());
    }

    // Each writer stops and says so when the device stops taking bytes, wherever that happens.
    void writersReportADeviceThatFillsUp() {
        const MapSnapshot map = Scenario("loads of two cut sizes");
        QString failure;
        const auto plan = PlanExport(map, QDir(root).filePath("out/full.tmx"), failure);
        QVERIFY(plan);
        for (const auto write : {WriteTmx, WriteTmj}) {
            QBuffer whole;
            whole.open(QIODevice::WriteOnly);
            QVERIFY(write(*plan, whole).failure.isEmpty());
            for (int part = 0; part < 8; ++part) {
                FillingDevice device(whole.size() * part / 8);
                // A short write is no reason: the writer goes on to the write the device refuses, so the
                // device (a file on a full disk) can tell why.
                QVERIFY2(!write(*plan, device).failure.isEmpty() && device.refused > 0,
                         qPrintable(QString::number(part)));
            }
        }
    }

    void formatOfAFileName() {
        QStringList formats;
        for (const char* name : {"a.tmx", "b.TMJ", "c.json", "d.tmx.png", "tmx"}) {
            const std::optional<ExportFormat> format = ExportFormatOf(name);
            formats << (!format ? "none" : format == ExportFormat::Tmx ? "tmx" : "tmj");
        }
        QCOMPARE(formats.join(' '), "tmx tmj tmj none none");
    }

    // The JSON form is meant to be read and compared by people too: one member a line, indented by depth,
    // small objects on one line, empty containers closed where they open.
    void jsonLayout() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        JsonStreamWriter json(buffer);
        json.BeginObject(), json.Key("a").BeginArray(), json.Int(1);
        json.BeginObject(JsonStreamWriter::Layout::OneLine), json.Key("x").Int(0), json.Key("y").Bool(true);
        json.EndObject(), json.EndArray(), json.Key("e").BeginObject(), json.EndObject(), json.EndObject();
        QVERIFY(json.Finish());
        QCOMPARE(buffer.data(), "{\n  \"a\": [\n    1,\n    {\"x\": 0, \"y\": true}\n  ],\n  \"e\": {}\n}\n");
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
