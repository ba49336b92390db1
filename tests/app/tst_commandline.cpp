// The program as scripts and file managers call it: the command line's modes, exit codes and outputs, the
// export of each format with no display at all, failures that leave no file behind, the thumbnailer on
// hostile files, and a map named at start opened as File > Open would.
#include "MapCorpus.h"
#include "PngCraft.h"
#include "UserSteps.h"
#include "app/CommandLine.h"
#include "map/MapThumbnail.h"

#include <QLabel>
#include <QtTest>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// The address checker's build runs several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSlowdown = 10;
#else
constexpr int kSlowdown = 1;
#endif

struct Run {
    int status = -1;
    QString out, err;
};

// The real program, with no display of any kind in its environment.
Run Mosaicor(const QStringList& arguments) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/mosaicor"), arguments);
    child.waitForFinished(60000);
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            QString::fromUtf8(child.readAllStandardOutput()),
            QString::fromUtf8(child.readAllStandardError())};
}

// A small map of solid 16-pixel tiles on three layers, layer 2 hidden, grid off, saved as map.mqm.
QString SaveSmallMap(EditorFixture& f) {
    Apply(f.w, "3", "16", "16", "12", "9");
    f.LoadSolidTiles(4, 0);
    for (int c = 0; c < 12; ++c)
        for (int r = 0; r < 9; ++r)
            Put(f.w, 0, c, r, (c + r) % 2);
    Put(f.w, 1, 3, 4, 2);
    Put(f.w, 2, 5, 5, 3);
    f.w.Controls().btnLayer[1]->click();
    f.w.Controls().btnViewGrid->click();
    const QString map = QDir(f.temp.path()).filePath("map.mqm");
    return f.w.SaveMapTo(map) ? map : QString();
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("mode");
        // What the mode carries: the file or the pairs joined (help, version, unknown: helpVersionAndUsage).
        QTest::addColumn<QString>("carried");
        using M = CommandLine::Mode;
        const auto row = [](const char* name, const char* a, M mode, const char* carried) {
            QTest::newRow(name) << QString(a).split(' ', Qt::SkipEmptyParts) << int(mode) << QString(carried);
        };
        row("Qt's options pass", "-platform xcb --style=fusion -reverse a.mqm", M::Edit, "a.mqm");
        row("-- ends options", "-- --help", M::Edit, "--help");
        row("dash alone is a name", "-", M::Edit, "-");
        row("two files", "a.mqm b.mqm", M::Usage, "");
        row("Qt option without its value", "a.mqm -style", M::Usage, "");
        row("help wins", "a.mqm -h", M::Help, "");
        row("export pairs", "--export a.mqm a.tmx --zoom 50 b b.png", M::Export, "a.mqm>a.tmx b>b.png");
        row("export odd", "--export a.mqm", M::Usage, "");
        row("zoom not a level", "--export --zoom=30 a.mqm a.png", M::Usage, "");
        row("scale 1", "--export --scale 1 a.mqm a.png", M::Export, "a.mqm>a.png");
        row("scale just above 1", "--export --scale=1.000001 a.mqm a.png", M::Usage, "");
        row("zoom without export", "--zoom 50 a.mqm", M::Usage, "");
        row("thumbnail", "--thumbnail a.mqm a.png 128", M::Thumbnail, "a.mqm>a.png");
        row("thumbnail size 0", "--thumbnail a.mqm a.png 0", M::Usage, "");
        row("two modes", "--thumbnail --export a.mqm a.png 1", M::Usage, "");
    }

    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, mode);
        QFETCH(QString, carried);
        const CommandLine line = ParseCommandLine(arguments);
        QCOMPARE(Say(int(line.mode), line.error.isEmpty()), Say(mode, mode != int(CommandLine::Mode::Usage)));
        QStringList pairs;
        for (const auto& [in, out] : line.pairs)
            pairs << in + '>' + out;
        if (line.mode == CommandLine::Mode::Thumbnail)
            pairs << line.thumbnailIn + '>' + line.thumbnailOut;
        QCOMPARE(line.mode == CommandLine::Mode::Edit ? line.file : pairs.join(' '), carried);
        if (arguments.contains("-reverse"))
            QCOMPARE(line.qtArguments, QStringList({"-platform", "xcb", "--style=fusion", "-reverse"}));
    }

    void helpVersionAndUsage() {
        QCOMPARE(TerminalSafe(QString::fromUtf16(u"a\x1b[2Jb\nc\u202Ed\u00e9")),
                 QStringLiteral("a\\x1B[2Jb\\x0Ac\\u202Ed\u00e9"));
        // An unknown option with a terminal-moving name: no window is tried (there is no display), nothing on
        // standard output, the usage on standard error with the name escaped.
        const Run help = Mosaicor({"--help"}), version = Mosaicor({"--version"}),
                  wrong = Mosaicor({"--\x1b[31mbogus", "a.mqm"});
        QCOMPARE(Say(help.status, version.status, wrong.status, help.out.startsWith("Usage: mosaicor [FILE]"),
                     help.err + wrong.out, version.out),
                 Say(0, 0, 2, true, "", QStringLiteral("mosaicor %1\n").arg(MOSAICOR_VERSION)));
        QVERIFY2(wrong.err.startsWith("mosaicor: unknown option --\\x1B[31mbogus\nUsage:"),
                 qPrintable(wrong.err));
    }

    void exportEachFormat() {
        EditorFixture f;
        const QString map = SaveSmallMap(f);
        QVERIFY(!map.isEmpty());
        const QDir dir(f.temp.path());
        const auto at = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
        QVERIFY(PngCraft::Write(at("kept.tmx"), "old bytes"));
        const QByteArray mapBytes = PngCraft::Read(map);
        const Run run =
            Mosaicor({"--export", map, at("a.tmx"), map, at("b.tmj"), map, at("c.mqm"), map, at("d.png"),
                      at("missing.mqm"), at("kept.tmx"), map, at("e.txt"), map, map});
        QCOMPARE(Say(run.status, int(run.out.count('\n')), int(run.err.count('\n'))), "1 4 3");
        QVERIFY2(run.out.startsWith(at("a.tmx") + " written from " + map + '\n'), qPrintable(run.out));
        QVERIFY2(run.err.contains("kept.tmx could not be exported: missing.mqm could not be opened: "),
                 qPrintable(run.err));
        // Nothing failed left a file, an existing one stays byte for byte, and IN is never written. Each
        // format is what the editor itself writes: its own save (c.mqm), its export, the picture it shows.
        QCOMPARE(Say(PngCraft::Read(at("kept.tmx")), PngCraft::Read(map) == mapBytes,
                     PngCraft::Read(at("c.mqm")) == mapBytes, dir.entryList(QDir::Files).size()),
                 "old bytes true true 7");
        for (const auto& [ours, editors] : {std::pair{"a.tmx", "w.tmx"}, {"b.tmj", "w.tmj"}}) {
            f.dialogs->saveAnswers.push_back(FolderItem(at(editors))), f.w.FileExport_Action();
            QCOMPARE(PngCraft::Read(at(ours)), PngCraft::Read(at(editors)));
        }
        QCOMPARE(QImage(at("d.png")),
                 ShownMap(f.w).copy(0, 0, 12 * 16, 9 * 16).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(Mosaicor({"--export", "--zoom", "50", map, at("half.png")}).status, 0);
        f.w.ZoomTo(50, QPoint(0, 0));
        QCOMPARE(QImage(at("half.png")),
                 ShownMap(f.w).copy(0, 0, 12 * 8, 9 * 8).convertToFormat(QImage::Format_RGB32));

        // With its tileset image gone the map is still exported, and told of.
        QVERIFY(QFile::remove(at("solid.png")));
        const Run missing = Mosaicor({"--export", map, at("m.tmx")});
        QCOMPARE(missing.status, 0);
        QVERIFY2(missing.err.startsWith("mosaicor: warning: " + map + ": the tileset image ") &&
                     missing.err.contains("solid.png is missing; its cells are written as empty"),
                 qPrintable(missing.err));
        QVERIFY2(missing.out.contains("; 110 cells written as empty, their tiles are gone"),
                 qPrintable(missing.out));
        // 17 x 16 tiles of 1024 pixels: 285 M pixels, past the limit until scaled to 5 %.
        Apply(f.w, "1", "1024", "1024", "17", "16");
        QVERIFY(f.w.SaveMapTo(at("big.mqm")));
        const Run big = Mosaicor({"--export", at("big.mqm"), at("big.png")});
        QVERIFY2(big.status == 1 && !QFile::exists(at("big.png")) &&
                     big.err.contains("17408 × 16384 pixels, more than 268,435,456; --scale shrinks it"),
                 qPrintable(big.err));
        QCOMPARE(Mosaicor({"--export", "--scale", "0.05", at("big.mqm"), at("big.png")}).status, 0);
        QCOMPARE(QImage(at("big.png")).size(), QSize(17 * 51, 16 * 51));
    }

    void thumbnail() {
        EditorFixture f;
        const QDir dir(f.temp.path());
        const QString map = SaveSmallMap(f);
        QVERIFY(!map.isEmpty());
        const QString out = dir.filePath("thumb.png");
        // 192 x 144 map pixels in 64 x 48: each pixel shows the cell under it, tiles 0 and 1 alternating on
        // layer 0; the hidden layer 2 does not show.
        QCOMPARE(Mosaicor({"--thumbnail", map, out, "64"}).status, 0);
        const QImage thumb(out);
        QCOMPARE(thumb.size(), QSize(64, 48));
        QCOMPARE(Say(thumb.pixel(0, 0), thumb.pixel(63, 0), thumb.pixel(5 * 64 / 12 + 2, 5 * 48 / 9 + 2)),
                 Say(TileColour(f.w, 0), TileColour(f.w, 1), TileColour(f.w, 0)));
        QVERIFY(QFile::remove(dir.filePath("solid.png")));
        QCOMPARE(Mosaicor({"--thumbnail", map, out, "64"}).status, 0);
        QCOMPARE(QImage(out).pixel(63, 47), 0xFF808080u);
        // Tiles one pixel tall have their colours too.
        QImage strip(2, 1, QImage::Format_ARGB32);
        strip.setPixel(0, 0, 0xFF102030), strip.setPixel(1, 0, 0xFF405060);
        QVERIFY(strip.save(dir.filePath("strip.png")));
        MapSnapshot strips;
        strips.templates.resize(2);
        strips.loads.push_back({{}, dir.filePath("strip.png"), 1, 1, 2, 1, {}, 0, 2});
        QCOMPARE(MapThumbnail::TileColours(strips, map, 1000), (std::vector<QRgb>{0xFF102030, 0xFF405060}));

        // Hostile files give no thumbnail, fast and within the memory bound: the largest map with lying data,
        // a FIFO in a map's name and 300 MB of nothing.
        std::vector<MapCorpus::Entry> hostile = MapCorpus::LargestMapLies();
        QVERIFY(mkfifo(QFile::encodeName(dir.filePath("fifo.mqm")).constData(), 0600) == 0);
        QVERIFY(PngCraft::Write(dir.filePath("sparse.mqm"), {}) &&
                QFile::resize(dir.filePath("sparse.mqm"), 300'000'000));
        for (const QString& name : {QStringLiteral("fifo.mqm"), QStringLiteral("sparse.mqm")})
            hostile.push_back({name, {}});
        for (const MapCorpus::Entry& entry : hostile) {
            const QString in = dir.filePath(entry.name.endsWith(".mqm") ? entry.name : entry.name + ".mqm");
            QVERIFY(entry.bytes.isEmpty() || PngCraft::Write(in, entry.bytes));
            QElapsedTimer clock;
            clock.start();
            const Run run = Mosaicor({"--thumbnail", in, dir.filePath("no.png"), "256"});
            QVERIFY2(run.status == 1 && run.err.startsWith("mosaicor: no thumbnail of "),
                     qPrintable(entry.name + run.err));
            QVERIFY2(clock.elapsed() < 5000 * kSlowdown, qPrintable(entry.name));
            QVERIFY(!QFile::exists(dir.filePath("no.png")));
        }
#if !defined(__SANITIZE_ADDRESS__)
        // The address checker's program has no memory bound: its shadow memory leaves room for none.
        rusage children{};
        getrusage(RUSAGE_CHILDREN, &children);
        QVERIFY2(children.ru_maxrss < 300 * 1024, qPrintable(QString::number(children.ru_maxrss)));
#endif
    }

    // A map named at start is opened, or told of when missing, or not opened when a copy is recovered.
    void startFile() {
        EditorFixture saved;
        const QString map = SaveSmallMap(saved);
        QVERIFY(!map.isEmpty());
        const auto dialogs = std::make_shared<ScriptedDialogs>();
        {
            frmMain w(dialogs);
            w.OpenAtStart(map);
            w.show();
            QTRY_COMPARE(w.Document().FilePath(), map);
            QCOMPARE(Say(w.Layer(1).Get(3, 4)->ImageIndex(), w.Controls().lblStatus->text()),
                     "2 map.mqm opened");
            frmMain refused(dialogs);
            refused.OpenAtStart(map + ".gone");
            refused.show();
            QTRY_COMPARE(dialogs->messages, QStringList("map.mqm.gone could not be opened: no such file"));
            QCOMPARE(refused.Document().FilePath(), QString());
        }
        // A run that ended without cleaning up: its copy of an unsaved map stays, and nobody holds it.
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        {
            MapDocument document;
            QVERIFY(document.SizeGrids());
            RecoveryKeeper keeper;
            keeper.SetTiming({0, 0, 1}); // one cell a slice: the copy is taken up again at every cell
            keeper.Watch(&document);
            QSignalSpy written(&keeper, &RecoveryKeeper::copyWritten);
            MapDocument::CellEdit edit(document, QStringLiteral("Put"));
            edit.Put(0, 1, 1, CellRef::Make());
            edit.Commit();
            QVERIFY(written.wait(20000));
        }
        dialogs->replies.push_back(QStringLiteral("Recover"));
        frmMain w(dialogs);
        w.OpenAtStart(map);
        w.show();
        // The question about the copy came first; the recovered map stays and the file named is not opened,
        // now or once the window is up.
        QCoreApplication::processEvents();
        QVERIFY(dialogs->replies.empty() && w.Layer(0).Get(1, 1) && w.Document().FilePath().isEmpty());
        QCOMPARE(w.Controls().lblStatus->text(),
                 QStringLiteral("Unsaved changes to Untitled recovered; map.mqm was not opened"));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
