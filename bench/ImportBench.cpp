// Importing maps other programs wrote: a 1000 x 1000 TMX map with 8 full layers of random tiles over 256, its
// data as CSV and as base64 + zlib, read (MapFile::Open) and read and built into cells as File, Open does;
// and the worst refusal among hostile TMX and JSON files, with the extra peak memory beside the times.
#include "ForeignMaps.h"
#include "ProcessMemory.h"
#include "document/DocumentBuilder.h"
#include "document/MapDocument.h"
#include "document/MapFileReader.h"
#include "tiles/CellPool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ctime>
#include <random>

using namespace ForeignMaps;

namespace {

QString Folder() {
    static QTemporaryDir folder;
    return folder.path();
}

bool Write(const QString& name, const QByteArray& bytes) {
    QFile file(QDir(Folder()).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The 1000 x 1000 map of 8 full layers, written once per encoding; its tileset is a 256 x 256 image of 256
// tiles of 16 x 16.
QString LargeMap(Encoding encoding) {
    const QString name =
        encoding == Encoding::Csv ? QStringLiteral("large-csv.tmx") : QStringLiteral("large-zlib.tmx");
    if (QFile::exists(QDir(Folder()).filePath(name)))
        return QDir(Folder()).filePath(name);
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(Qt::darkGreen);
    image.save(QDir(Folder()).filePath(QStringLiteral("tiles.png")), "PNG");
    Map map;
    map.width = map.height = 1000;
    map.tilesets = {{1, QStringLiteral("tiles.png"), 16, 256, 256, 0, {}, {}}};
    std::mt19937 rng(1000);
    for (int k = 0; k < 8; ++k) {
        Layer layer;
        layer.gids.resize(1000 * 1000);
        for (std::uint32_t& gid : layer.gids)
            gid = 1 + rng() % 256;
        map.layers.push_back(std::move(layer));
    }
    Write(name, Tmx(map, encoding));
    return QDir(Folder()).filePath(name);
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct NoQuestions : TilesetImageResolver {
    Answer Resolve(const TilesetLoadRecord&, Problem, QString*) override { return Answer::GoOn; }
};

// Read only (against the map's tile values, two bytes a cell), or read and built into the document's cells
// (against the cells and their places in the grids).
void Import(benchmark::State& state, Encoding encoding, bool build) {
    const QString path = LargeMap(encoding);
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1 << 20);
    for (auto _ : state) {
        state.PauseTiming();
        ProcessMemory::ResetPeak();
        const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
        const std::size_t slabs = CellPool::SlabCount();
        state.ResumeTiming();
        MapSnapshot map;
        const MapFileResult read = MapFile::Open(path, &map);
        NoQuestions resolver;
        std::unique_ptr<MapDocument> document =
            read.ok() && build ? BuildDocument(map, QString(), resolver) : nullptr;
        state.PauseTiming();
        if (!read.ok() || (build && !document)) {
            state.SkipWithError(qPrintable(read.reason));
            break;
        }
        map = MapSnapshot();
        const double own = build ? double(CellPool::SlabCount() - slabs) * double(CellPool::kSlabSize) +
                                       8.0 * sizeof(CellRef) * 1000 * 1000 * 8
                                 : 2.0 * 1000 * 1000 * 8;
        state.counters["map_MB"] = own / (1 << 20);
        state.counters["peak_over_map"] = ProcessMemory::ExtraPeakMB(before) * (1 << 20) / own;
        document.reset();
        state.ResumeTiming();
    }
}

void BM_ImportTmxCsv(benchmark::State& state) {
    Import(state, Encoding::Csv, state.range(0) != 0);
}
void BM_ImportTmxZlib(benchmark::State& state) {
    Import(state, Encoding::Zlib, state.range(0) != 0);
}
BENCHMARK(BM_ImportTmxCsv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ImportTmxZlib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Hostile files: entities, deep nesting, data that inflates without end, maps that claim the largest size and
// hold almost nothing, a tileset file named by thousands of tilesets, a JSON file too large to read.
std::vector<std::pair<QString, QByteArray>> HostileFiles() {
    std::vector<std::pair<QString, QByteArray>> files;
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE map [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaa\">";
    for (int i = 1; i < 10; ++i)
        laughs += QStringLiteral("<!ENTITY %1 \"%2\">")
                      .arg(QChar('a' + i))
                      .arg(QStringLiteral("&%1;").arg(QChar('a' + i - 1)).repeated(10))
                      .toUtf8();
    files.emplace_back("laughs.tmx", laughs + "]><map width=\"1\" height=\"1\">&j;</map>");
    files.emplace_back("deep.tmx", "<map width=\"1\" height=\"1\" tilewidth=\"1\" tileheight=\"1\">" +
                                       QByteArray("<group>").repeated(200000));
    files.emplace_back("deep-skip.tmx", "<map width=\"1\" height=\"1\" tilewidth=\"1\" tileheight=\"1\">" +
                                            QByteArray("<x>").repeated(200000));
    files.emplace_back("deep.tmj", "{\"layers\":" + QByteArray("[").repeated(200000));
    Map base;
    base.width = base.height = 1000;
    base.tilesets = {{1, QStringLiteral("tiles.png"), 16, 256, 256, 0, {}, {}}};
    Map bomb = base;
    bomb.layers = {{std::vector<std::uint32_t>(std::size_t(16) << 20, 0), true, {}}};
    files.emplace_back("bomb.tmx", Tmx(bomb, Encoding::Zlib));
    files.emplace_back("bomb.tmj", Tmj(bomb, Encoding::Zlib));
    Map liar = base;
    liar.width = 8192, liar.height = 2048;
    files.emplace_back(
        "liar.tmx",
        Tmx(liar, Encoding::Csv)
            .replace("</map>",
                     QByteArray(
                         "<layer width=\"8192\" height=\"2048\"><data encoding=\"csv\">1,2,3</data></layer>")
                             .repeated(8) +
                         "</map>"));
    files.emplace_back(
        "liar.tmj",
        Tmj(liar, Encoding::Csv)
            .replace(
                "\"layers\":[]",
                "\"layers\":[{\"type\":\"tilelayer\",\"width\":8192,\"height\":2048,\"data\":[1,2,3]}]"));
    QImage one(16, 16, QImage::Format_ARGB32);
    one.fill(Qt::red);
    one.save(QDir(Folder()).filePath(QStringLiteral("one.png")), "PNG");
    Write("one.tsx",
          "<tileset name=\"one\" tilewidth=\"16\" tileheight=\"16\"><image source=\"one.png\"/></tileset>");
    files.emplace_back(
        "tilesets.tmx", "<map width=\"1\" height=\"1\" tilewidth=\"16\" tileheight=\"16\">" + [] {
            QByteArray sets;
            for (int i = 0; i < 40000; ++i)
                sets += "<tileset firstgid=\"" + QByteArray::number(1 + i) + "\" source=\"one.tsx\"/>";
            return sets;
        }() + "</map>");
    return files;
}

void BM_ImportRefuseHostile(benchmark::State& state) {
    LargeMap(Encoding::Csv); // the tileset image
    std::vector<std::pair<QString, QByteArray>> files = HostileFiles();
    for (const auto& [name, bytes] : files)
        Write(name, bytes);
    QFile huge(QDir(Folder()).filePath(QStringLiteral("huge.tmj")));
    huge.open(QIODevice::WriteOnly);
    huge.write("{");
    huge.resize(qint64(65) << 20);
    huge.close();
    files.emplace_back("huge.tmj", QByteArray());
    double worstMs = 0, worstCpuMs = 0, worstMB = 0;
    QString slowest, hungriest;
    for (auto _ : state)
        for (const auto& file : files) {
            ProcessMemory::ResetPeak();
            const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
            QElapsedTimer timer;
            timer.start();
            const double cpuStart = ThreadCpuMs();
            MapSnapshot map;
            if (MapFile::Open(QDir(Folder()).filePath(file.first), &map).ok()) {
                state.SkipWithError(qPrintable(QStringLiteral("read: ") + file.first));
                return;
            }
            const double ms = double(timer.nsecsElapsed()) / 1e6, mb = ProcessMemory::ExtraPeakMB(before);
            worstCpuMs = std::max(worstCpuMs, ThreadCpuMs() - cpuStart);
            if (ms > worstMs)
                std::tie(worstMs, slowest) = std::pair(ms, file.first);
            if (mb > worstMB)
                std::tie(worstMB, hungriest) = std::pair(mb, file.first);
        }
    state.counters["files"] = double(files.size());
    state.counters["worst_ms"] = worstMs;
    state.counters["worst_cpu_ms"] = worstCpuMs;
    state.counters["worst_extra_MB"] = worstMB;
    state.SetLabel(QStringLiteral("slowest '%1', most memory '%2'").arg(slowest, hungriest).toStdString());
}
BENCHMARK(BM_ImportRefuseHostile)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
