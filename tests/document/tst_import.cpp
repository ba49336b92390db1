// Maps written by other programs, as the formats' public description has them, opened through the one
// function that opens map files; our own exports read back; hostile files refused.
#include "ForeignMaps.h"
#include "PngCraft.h"
#include "UserSteps.h"
#include "document/ForeignImport.h"
#include "document/MapExport.h"
#include "document/MapFileReader.h"

#include <QLabel>
#include <QtTest>

using namespace ForeignMaps;

class TestImport : public QObject {
    Q_OBJECT
    QTemporaryDir temp;

    QString Path(const QString& relative) const { return QDir(temp.path()).filePath(relative); }

    bool WriteFile(const QString& relative, const QByteArray& bytes) {
        return QDir().mkpath(QFileInfo(Path(relative)).path()) && PngCraft::Write(Path(relative), bytes);
    }

    MapFileResult Open(const QString& relative, MapSnapshot* map) {
        return MapFile::Open(Path(relative), map);
    }

    // Two tilesets with a gap between their gids: 8 tiles of art/a.png from gid 1, 4 of art/b.png from
    // gid 20.
    Map TwoTilesets(bool external, bool json) {
        Map map;
        map.name = "Forest";
        Tileset a{1, "art/a.png", 16, 64, 32, 0, {}, {}};
        a.tiles =
            json ? R"({"id":1,"properties":[{"name":"passable","type":"bool","value":true},)"
                   R"({"name":"custom1","type":"string","value":"x y"},{"name":"other","value":3}]})"
                 : "<tile id=\"1\"><properties><property name=\"passable\" type=\"bool\" value=\"true\"/>"
                   "<property name=\"custom1\">x y</property><property name=\"other\" type=\"int\" "
                   "value=\"3\"/></properties></tile>";
        Tileset b{20, external ? "../art/b.png" : "art/b.png", 16, 32, 32, 0, {}, {}};
        b.external = !external ? "" : json ? "sets/b.tsj" : "sets/b.tsx";
        map.tilesets = {a, b};
        map.layers = {{{1, 2, 8, 9, 20, 23, 24, 0, 0x80000002u, 0x20000014u, 0, 3}, true, {}},
                      {{0, 0, 0, 0, 0, 21, 0, 0, 0, 0, 0, 0}, false, {}}};
        return map;
    }

    bool rowJson = false; // the format of the row Both is making, for changes that differ by format

    // A row of refusals_data in each format: the map of TwoTilesets changed.
    void Both(const char* name, const QString& reason, const std::function<void(Map&)>& change,
              Encoding encoding = Encoding::Csv) {
        for (const bool json : {false, true}) {
            rowJson = json;
            Map map = TwoTilesets(false, json);
            change(map);
            QTest::addRow("%s %s", json ? "tmj" : "tmx", name)
                << (json ? Tmj(map, encoding) : Tmx(map, encoding)) << reason;
        }
    }

    // Refusals of files no writer makes: entities, data that inflates without end, damage.
    void OddFileRefusals() {
        const QByteArray csv = Tmx(TwoTilesets(false, false), Encoding::Csv);
        QByteArray dtd = csv;
        dtd.insert(dtd.indexOf("<map"),
                   "<!DOCTYPE map [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>\n");
        QTest::addRow("tmx entities") << dtd.replace("Forest", "&b;") << "document type declaration";
        // A layer whose zlib data inflates far beyond the map's 12 cells.
        Both(
            "zlib bomb", "a layer holds more cells than the map",
            [](Map& m) { m.layers[0].gids.assign(4 << 20, 0); }, Encoding::Zlib);
        // Layer data no writer makes: gids apart or missing, past 32 bits, encodings and compressions
        // unknown.
        QTest::addRow("tmx gids apart") << QByteArray(csv).replace("1,2,8", "1 2,8") << "not a list of gids";
        QTest::addRow("tmx empty gid") << QByteArray(csv).replace("1,2,8", "1,,2,8") << "not a list of gids";
        QTest::addRow("tmx gid of 33 bits")
            << QByteArray(csv).replace("2147483650", "4294967296") << "than 32 bits";
        QTest::addRow("tmx hex") << QByteArray(csv).replace("encoding=\"csv\"", "encoding=\"hex\"")
                                 << "a layer's data is encoded as hex, which";
        QTest::addRow("tmx lzma") << Tmx(TwoTilesets(false, false), Encoding::Zlib)
                                         .replace("compression=\"zlib\"", "compression=\"lzma\"")
                                  << "a layer's data is compressed as lzma, which";
        QTest::addRow("tmj damaged") << QByteArray("{\"type\":\"map\",") << "it is damaged";
        Map missing = TwoTilesets(true, false);
        missing.tilesets[1].external = "sets/missing.tsx";
        QTest::addRow("tmx missing tileset file")
            << Tmx(missing, Encoding::Csv) << "its tileset file missing.tsx could not be read: no such file";
    }

private slots:
    void initTestCase() {
        for (const auto& [name, size] :
             {std::pair("art/a.png", QSize(64, 32)), std::pair("art/b.png", QSize(32, 32)),
              std::pair("art/many.png", QSize(200, 200))})
            QVERIFY(WriteFile(name, PngCraft::QtPng(MakeTileSheet(size.width(), size.height(), 16, 16))));
        QVERIFY(WriteFile("art/picture.png", "GIF89a not a png"));
    }

    void encodings_data() {
        QTest::addColumn<bool>("json");
        QTest::addColumn<int>("encoding");
        for (const bool json : {false, true})
            for (int e = 0; e <= int(Encoding::TileElements) - json; ++e)
                QTest::addRow("%s %d%s", json ? "tmj" : "tmx", e, e % 2 ? " external" : "") << json << e;
    }

    // Every encoding gives the same map, and so do tilesets in files of their own (every other encoding).
    void encodings() {
        QFETCH(bool, json);
        QFETCH(int, encoding);
        const bool external = encoding % 2;
        Map map = TwoTilesets(external, json);
        map.tilesets[1].imageWidth = 16; // the file's word on the image's size gives way to the image's own
        if (external)                    // the same cells, one column wide
            map.width = 1, map.height = 12;
        const QString name = json ? "forest.tmj" : "forest.tmx";
        QVERIFY(WriteFile(name, json ? Tmj(map, Encoding(encoding)) : Tmx(map, Encoding(encoding))));
        QVERIFY(WriteTilesets(map, json, temp.path()));
        MapSnapshot read;
        const MapFileResult result = Open(name, &read);
        QVERIFY2(result.ok() && result.imported, qPrintable(result.reason));
        QCOMPARE(result.notes, QStringList({"2 flipped or rotated tiles placed unflipped",
                                            "2 cells left empty: their tiles are in no tileset"}));
        QCOMPARE(Say(read.mapWidth, read.mapHeight, read.tileWidth, read.tileHeight, read.layers,
                     read.visibleLayers, read.name, int(read.templates.size()), int(read.loads.size())),
                 external ? "1 12 16 16 2 1 Forest 12 2" : "4 3 16 16 2 1 Forest 12 2");
        QCOMPARE(read.layer[0].tiles, (std::vector<std::uint16_t>{1, 2, 8, 0, 9, 12, 0, 0, 2, 9, 0, 3}));
        QCOMPARE(read.layer[1].tiles, (std::vector<std::uint16_t>{0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(read.templates[1], (CellRecord{0, 0, 0, 0, 0, 0, 0, "x y", {}, 0, true, false}));
        QCOMPARE(read.templates[9], CellRecord());
        QCOMPARE(Say(read.loads[1].firstTile, read.loads[1].tileCount, read.loads[1].imageWidth), "8 4 32");
        QCOMPARE(QFileInfo(read.loads[1].absolutePath).canonicalFilePath(),
                 QFileInfo(Path("art/b.png")).canonicalFilePath());
    }

    void refusals_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        Both("isometric", "its orientation is isometric; only orthogonal",
             [](Map& m) { m.orientation = "isometric"; });
        Both("infinite", "it is an infinite map", [](Map& m) { m.infinite = true; });
        Both("nine layers", "it has more than 8 tile layers",
             [](Map& m) { m.layers.resize(9, m.layers[0]); });
        Both("wide", "its size 8193 × 3 is beyond the limits",
             [](Map& m) { m.width = 8193, m.layers.clear(); });
        Both("many cells", "is beyond the limits",
             [](Map& m) { m.width = m.height = 4097, m.layers.clear(); });
        Both("no width", "its map size or tile size is missing or not above 0",
             [](Map& m) { m.width = 0, m.layers.clear(); });
        Both("gids out of order", "first gids are not in ascending order",
             [](Map& m) { m.tilesets[1].firstGid = 1; });
        Both("large tiles", "larger than the limit of 1024", [](Map& m) { m.tileSize = 1025; });
        Both("many tiles", "its tilesets hold more than 32768 tiles", [](Map& m) {
            m.tileSize = m.tilesets[0].tileSize = m.tilesets[1].tileSize = 1;
            m.tilesets[1].image = "art/many.png", m.tilesets[1].imageWidth = m.tilesets[1].imageHeight = 200;
        });
        Both("spacing", "has spacing or a margin", [](Map& m) { m.tilesets[1].spacing = 2; });
        Both("tile size", "has tiles of 8 × 8 pixels, not the map's",
             [](Map& m) { m.tilesets[1].tileSize = 8; });
        Both("not png", "is not a PNG image", [](Map& m) { m.tilesets[0].image = "art/picture.png"; });
        Both("collection", "is a collection of separate images", [this](Map& m) {
            m.tilesets[0].image.clear();
            m.tilesets[0].tiles =
                rowJson ? R"({"id":0,"image":"x.png"})" : R"(<tile id="0"><image source="x.png"/></tile>)";
        });
        Both("short layer", "layer 1 holds 11 cells instead of 12",
             [](Map& m) { m.layers[1].gids.pop_back(); });
        Both("long layer", "a layer holds more cells than the map",
             [](Map& m) { m.layers[1].gids.push_back(0); });
        Both("deep groups", "nest deeper than 64", [this](Map& m) {
            m.after = QString(rowJson ? R"({"type":"group","layers":[)" : "<group>").repeated(70) +
                      QString(rowJson ? "]}" : "</group>").repeated(70);
        });
        OddFileRefusals();
    }

    // Each refusal names what is not supported; nothing is read into the map.
    void refusals() {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        QVERIFY(WriteFile("bad.map", file)); // read as what it holds, whatever its name
        MapSnapshot read;
        read.name = "untouched";
        const MapFileResult result = Open("bad.map", &read);
        QVERIFY2(!result.ok() && result.reason.contains(reason), qPrintable(result.reason));
        QCOMPARE(read.name, "untouched");
    }

    // However elements nest (groups, an object's children or property, a tile's property), the deepest level
    // the reader takes, <map> being the first, is the limit its refusal names.
    void nestingLimitIsTheSameEverywhere() {
        const QString property = R"(<properties><property name="p">%1</property></properties>)";
        for (const auto& [above, holder, inTileset] :
             {std::tuple{1, QString("%1"), false},
              {3, QString("<objectgroup><object>%1</object></objectgroup>"), false},
              {5, "<objectgroup><object>" + property + "</object></objectgroup>", false},
              {5, R"(<tile id="1">)" + property + "</tile>", true}}) {
            const QString element = above == 1 ? "group" : "a";
            int deepest = -1;
            for (int k = 1; k < 80 && deepest < 0; ++k) {
                Map map = TwoTilesets(false, false);
                const QString nest = holder.arg(QString("<%1>").arg(element).repeated(k) +
                                                QString("</%1>").arg(element).repeated(k));
                (inTileset ? map.tilesets[0].tiles : map.after) = nest;
                MapSnapshot read;
                if (!WriteFile("nest.tmx", Tmx(map, Encoding::Csv)) || !Open("nest.tmx", &read).ok())
                    deepest = above + k - 1;
            }
            QCOMPARE(deepest, ForeignImport::kMaxDepth);
        }
    }

    void largeJsonRefused() {
        QVERIFY(WriteFile("huge.json", "{") && QFile::resize(Path("huge.json"), 65 << 20));
        MapSnapshot read;
        QCOMPARE(Open("huge.json", &read).reason, "it is a JSON map larger than 64 MB, more than is read");
    }

    // Groups are flattened in order, object and image layers skipped, looks ignored: each counted.
    void whatCannotBeShown() {
        for (const bool json : {false, true}) {
            Map map = TwoTilesets(false, json);
            map.layers[0].extra = json ? R"(,"offsetx":4)" : R"(opacity="0.5")";
            const QString data = "0,0,0,0,0,0,0,0,0,0,0,4"; // the grouped layer: gid 4 in its last cell
            map.after =
                json
                    ? QString(R"({"type":"group","visible":false,"layers":[{"type":"tilelayer","width":4,)"
                              R"("height":3,"data":[%1]}]},{"type":"imagelayer","image":"x.png"},)"
                              R"({"type":"objectgroup","objects":[{"id":1,"x":3,"y":4,"point":true}]})")
                          .arg(data)
                    : QString("<group visible=\"0\" tintcolor=\"#ff0000\"><layer width=\"4\" height=\"3\">"
                              "<data encoding=\"csv\">%1</data></layer></group><imagelayer/>"
                              "<objectgroup><object id=\"1\" x=\"3\" y=\"4\"><point/></object></objectgroup>")
                          .arg(data);
            // Tiles listed out of order and twice (the last holds), and no name.
            map.name = QString();
            const QString three = json ? R"({"id":3,"properties":[{"name":"custom1","value":"%1"}]})"
                                       : R"(<tile id="3"><properties><property name="custom1" value="%1"/>)"
                                         R"(</properties></tile>)";
            const QString comma = json ? "," : "";
            map.tilesets[0].tiles = three.arg("c") + comma + map.tilesets[0].tiles + comma + three.arg("d");
            QVERIFY(WriteFile("looks.map", json ? Tmj(map, Encoding::Csv) : Tmx(map, Encoding::Csv)));
            MapSnapshot read;
            const MapFileResult result = Open("looks.map", &read);
            QVERIFY2(result.ok() && read.layers == 3, qPrintable(result.reason));
            QCOMPARE(Say(read.layer[2].tiles.back(), read.visibleLayers, read.name, read.templates[3].custom1,
                         read.templates[1].passable, read.layer[1].tiles[0]),
                     "4 1 looks d true 0");
            QCOMPARE(result.notes.mid(1),
                     QStringList({"1 group of layers flattened", "2 object or image layers skipped",
                                  json ? "1 layer's opacity, offset or tint ignored"
                                       : "2 layers' opacity, offsets or tints ignored",
                                  "2 cells left empty: their tiles are in no tileset"}));
        }
    }

    // Our own export opened again gives back the map it was made from: every cell, each tile's properties and
    // each cell's own values (the export's point objects, here on two layers). Which cells an export writes
    // empty (odd ones, those whose tiles are gone) the export test checks with its own reader.
    void exportRoundTrip() {
        MapSnapshot map;
        map.mapWidth = 5, map.mapHeight = 4, map.layers = 3, map.visibleLayers = 0b110;
        map.name = "Round \"trip\"", map.tileWidth = map.tileHeight = 16;
        map.loads = {{{}, Path("art/a.png"), 16, 16, 64, 32, {}, 0, 8},
                     {{}, Path("art/b.png"), 16, 16, 32, 32, {}, 8, 4}};
        map.templates.resize(12);
        map.templates[1] = {0, 0, -7, 0, 0, 0, 0, "line one\nline two", {}, 0, true, false};
        map.templates[9] = {0, 0, 300, -300, 5, 0, 6, {}, "two", 0, false, true};
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 20; ++i)
                map.layer[k].tiles.push_back(std::uint16_t((i * 5 + k * 3) % 13));
        // Cell (3, 0) of layer 0 shows tile 1, cell (3, 1) of layer 2 tile 6.
        CellRecord own = map.templates[1];
        own.passable = false, own.custom1 = "its own", own.imageIndex = 1, own.x = 48;
        map.layer[0].exceptions = {{3, own}};
        map.layer[2].exceptions = {{8, {48, 16, 0, 0, 4, 6, 0, {}, {}, 2, false, true}}};
        QVERIFY(QDir().mkpath(Path("out")));
        for (const ExportFormat format : {ExportFormat::Tmx, ExportFormat::Tmj}) {
            const QString path = Path(format == ExportFormat::Tmx ? "out/round.tmx" : "out/round.tmj");
            QVERIFY(ExportMap(map, path, format).written());
            MapSnapshot read;
            const MapFileResult result = MapFile::Open(path, &read);
            QVERIFY2(result.ok() && result.notes.isEmpty(),
                     qPrintable(result.reason + result.notes.join(';')));
            for (TilesetLoadRecord& load : read.loads) // the images are named relative to the map
                load.absolutePath = QDir::cleanPath(load.absolutePath);
            QVERIFY(read == map);
        }
    }

    // Through File, Open: the map opens as a new one named after the file; its first save asks where and the
    // TMX file stays as it was.
    void openInTheEditor() {
        const Map map = TwoTilesets(false, false);
        QVERIFY(WriteFile("editor/forest.tmx", Tmx(map, Encoding::Zlib)));
        for (const QString name : {"a.png", "b.png"})
            QVERIFY(WriteFile("editor/art/" + name, PngCraft::Read(Path("art/" + name))));
        EditorFixture f;
        frmMain& w = f.w;
        f.Open(Path("editor/forest.tmx"));
        QVERIFY(f.dialogs->requests.back().Filter.contains("*.tmx"));
        QCOMPARE(Say(w.windowTitle(), w.Tileset().Count(), w.Document().FilePath().isEmpty()),
                 "forest[*] - 2D Mosaicor 12 true");
        QVERIFY(w.Controls().lblStatus->text().startsWith("forest.tmx imported; 2 flipped"));
        f.Save("FileSave", Path("editor/forest.mqm"));
        QCOMPARE(f.dialogs->saveRequests.back().StartAt, Path("editor/forest.mqm"));
        QCOMPARE(PngCraft::Read(Path("editor/forest.tmx")), Tmx(map, Encoding::Zlib));
        MapSnapshot saved;
        QVERIFY(MapFile::Open(Path("editor/forest.mqm"), &saved).ok());
        QCOMPARE(saved.layer[0].tiles[4], 9);

        // An image missing at import: the map opens without it if the user says so, and saves. With no size
        // stated, the image is as many whole rows as its tile count takes (3 tiles of 2 columns: 32 x 32).
        QVERIFY(QFile::remove(Path("editor/art/b.png")));
        QByteArray unsized = Tmx(map, Encoding::Csv);
        unsized.replace("tilecount=\"4\"", "tilecount=\"3\"")
            .replace("b.png\" width=\"32\" height=\"32\"", "b.png\"");
        QVERIFY(WriteFile("editor/unsized.tmx", unsized));
        f.dialogs->replies.push_back("Open Without It");
        f.Open(Path("editor/unsized.tmx"));
        QCOMPARE(f.dialogs->questions.last(), "The tileset image b.png is missing.");
        f.Save("FileSave", Path("editor/without.mqm"));
        QVERIFY2(f.dialogs->messages.isEmpty(), qPrintable(f.dialogs->messages.join('\n')));
        QVERIFY(MapFile::Open(Path("editor/without.mqm"), &saved).ok());
        const TilesetLoadRecord& b = saved.loads.at(1);
        QCOMPARE(Say(b.imageWidth, b.imageHeight, b.tileCount, saved.layer[0].tiles[4], w.Tileset().Count()),
                 "32 32 4 9 12");
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
