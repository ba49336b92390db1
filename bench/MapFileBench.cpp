// Saving and opening map files (MapFile::Save and MapFile::Open, from and to a map snapshot): a 1000 x 1000
// map with 8 full layers of random tiles over 256 and over 32768 tiles and of patchy content as painted by
// the tools, the largest map, and hostile files. The file's bytes per cell and the extra peak memory of
// opening are reported beside the times.
#include "MapCorpus.h"
#include "ProcessMemory.h"
#include "document/DocumentBuilder.h"
#include "document/MapDocument.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <random>

namespace {

enum Content { Random256, Random32768, Patchy };

// A map of full layers: random tiles, or a background painted over with rectangles and lines.
MapSnapshot FullMap(int side, Content content) {
    MapSnapshot map;
    map.mapWidth = map.mapHeight = side;
    map.layers = 8;
    std::mt19937 rng(side + content);
    for (int k = 0; k < 8; ++k) {
        std::vector<std::uint16_t>& tiles = map.layer[k].tiles;
        tiles.resize(std::size_t(side) * side);
        if (content != Patchy) {
            const unsigned top = content == Random256 ? 256 : 32768;
            for (std::uint16_t& tile : tiles)
                tile = std::uint16_t(1 + rng() % top);
            continue;
        }
        std::fill(tiles.begin(), tiles.end(), std::uint16_t(1 + k));
        auto paint = [&](int x0, int y0, int w, int h, std::uint16_t tile) {
            for (int y = y0; y < std::min(side, y0 + h); ++y)
                std::fill_n(tiles.begin() + std::ptrdiff_t(y) * side + x0, std::min(w, side - x0), tile);
        };
        for (int shape = 0; shape < 600; ++shape) {
            const auto tile = std::uint16_t(1 + rng() % 256);
            const int x = int(rng() % side), y = int(rng() % side), length = 5 + int(rng() % 150);
            if (shape % 3 == 0)
                paint(x, y, 2 + int(rng() % 80), 2 + int(rng() % 80), tile); // rectangle
            else if (shape % 3 == 1)
                paint(x, y, length, 1, tile); // horizontal line
            else
                paint(x, y, 1, length, tile); // vertical line
        }
    }
    return map;
}

const MapSnapshot& CachedMap(int side, Content content) {
    static std::map<std::pair<int, int>, MapSnapshot> maps;
    auto [it, added] = maps.try_emplace({side, content});
    if (added)
        it->second = FullMap(side, content);
    return it->second;
}

const char* ContentName(Content content) {
    return content == Random256     ? "random tiles over 256"
           : content == Random32768 ? "random tiles over 32768"
                                    : "patchy";
}

void BM_MapSave(benchmark::State& state) {
    const int side = int(state.range(0));
    const auto content = Content(state.range(1));
    const MapSnapshot& map = CachedMap(side, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.mqm"));
    for (auto _ : state)
        if (const MapFileResult result = MapFile::Save(map, path); !result.ok()) {
            state.SkipWithError(qPrintable(result.reason));
            return;
        }
    const double cells = double(side) * side * 8;
    state.counters["bytes_per_cell"] = double(QFileInfo(path).size()) / cells;
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1 << 20);
    state.SetLabel(ContentName(content));
}

void BM_MapOpen(benchmark::State& state) {
    const int side = int(state.range(0));
    const auto content = Content(state.range(1));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.mqm"));
    MapFile::Save(CachedMap(side, content), path);
    double extraMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ProcessMemory::ResetPeak();
        const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
        state.ResumeTiming();
        MapSnapshot map;
        if (const MapFileResult result = MapFile::Open(path, &map); !result.ok()) {
            state.SkipWithError(qPrintable(result.reason));
            return;
        }
        state.PauseTiming();
        extraMB = std::max(extraMB, ProcessMemory::ExtraPeakMB(before));
        map = MapSnapshot();
        state.ResumeTiming();
    }
    // The map's own arrays: two bytes per cell.
    state.counters["map_MB"] = double(side) * side * 8 * 2 / (1 << 20);
    state.counters["peak_MB"] = extraMB;
    state.SetLabel(ContentName(content));
}

BENCHMARK(BM_MapSave)
    ->Args({1000, Random256})
    ->Args({1000, Random32768})
    ->Args({1000, Patchy})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MapOpen)
    ->Args({1000, Random256})
    ->Args({1000, Random32768})
    ->Args({1000, Patchy})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MapSave)
    ->Args({4096, Random256})
    ->Args({4096, Random32768})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_MapOpen)
    ->Args({4096, Random256})
    ->Args({4096, Random32768})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// Every file of the damaged corpus and files of the largest map with no layer data or a first chunk that
// lies: the worst time and extra peak memory of a refusal.
void BM_MapRefuseHostile(benchmark::State& state) {
    std::vector<MapCorpus::Entry> files = MapCorpus::Damaged();
    std::vector<MapCorpus::Entry> largest = MapCorpus::LargestMapLies();
    files.insert(files.end(), largest.begin(), largest.end() - 1);
    double worstMs = 0, worstMB = 0;
    QString slowest, hungriest;
    for (auto _ : state)
        for (const MapCorpus::Entry& file : files) {
            QBuffer buffer;
            buffer.setData(file.bytes);
            buffer.open(QIODevice::ReadOnly);
            ProcessMemory::ResetPeak();
            const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
            QElapsedTimer timer;
            timer.start();
            MapSnapshot map;
            if (MapFile::Read(buffer, &map).ok()) {
                state.SkipWithError(qPrintable(QStringLiteral("read: ") + file.name));
                return;
            }
            const double ms = double(timer.nsecsElapsed()) / 1e6, mb = ProcessMemory::ExtraPeakMB(before);
            if (ms > worstMs)
                std::tie(worstMs, slowest) = std::pair(ms, file.name);
            if (mb > worstMB)
                std::tie(worstMB, hungriest) = std::pair(mb, file.name);
        }
    state.counters["files"] = double(files.size());
    state.counters["worst_ms"] = worstMs;
    state.counters["worst_extra_MB"] = worstMB;
    state.SetLabel(QStringLiteral("slowest '%1', most memory '%2'").arg(slowest, hungriest).toStdString());
}
BENCHMARK(BM_MapRefuseHostile)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening (reading and building) a map whose loads all name one small image of noise, of some 21 KB: the
// image is read once, however many loads there are; its extra peak memory is reported.
void BM_OpenManyLoadsOfOneImage(benchmark::State& state) {
    struct OpenWithout : TilesetImageResolver {
        Answer Resolve(const TilesetLoadRecord&, Problem, QString*) override { return Answer::GoOn; }
    } resolver;
    QTemporaryDir dir;
    QImage noise(100, 72, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, rng() & 0xFFFFFF);
    const QString image = dir.filePath(QStringLiteral("noise.png"));
    const QString path = dir.filePath(QStringLiteral("many.mqm"));
    noise.save(image);
    MapFile::Save(MapCorpus::ManyLoadsOfOneImage(image, int(state.range(0)), 16), path);
    double extraMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ProcessMemory::ResetPeak();
        const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
        state.ResumeTiming();
        MapSnapshot map;
        std::unique_ptr<MapDocument> document;
        if (MapFile::Open(path, &map).ok())
            document = BuildDocument(map, path, resolver);
        if (!document || document->Tileset().Count() != state.range(0) ||
            !document->Tileset().GetTileImage(0)) {
            state.SkipWithError("the map did not open with its tiles");
            return;
        }
        state.PauseTiming();
        extraMB = std::max(extraMB, ProcessMemory::ExtraPeakMB(before));
        state.ResumeTiming();
    }
    state.counters["image_KB"] = double(QFileInfo(image).size()) / 1024;
    state.counters["file_KB"] = double(QFileInfo(path).size()) / 1024;
    state.counters["extra_peak_MB"] = extraMB;
}
BENCHMARK(BM_OpenManyLoadsOfOneImage)->Arg(256)->Arg(32768)->Unit(benchmark::kMillisecond)->Iterations(3);

// The largest map, 8 full layers, with its tiles and their loads after the layers and two tiles no load
// gave: refused before a layer is inflated.
void BM_MapRefuseTilesAfterLayers(benchmark::State& state) {
    const QByteArray bytes = MapCorpus::LargestMapLies().front().bytes;
    double extraMB = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        state.PauseTiming();
        ProcessMemory::ResetPeak();
        const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
        state.ResumeTiming();
        MapSnapshot map;
        if (MapFile::Read(buffer, &map).ok()) {
            state.SkipWithError("the file was read");
            return;
        }
        extraMB = std::max(extraMB, ProcessMemory::ExtraPeakMB(before));
    }
    state.counters["file_KB"] = double(bytes.size()) / 1024;
    state.counters["extra_peak_MB"] = extraMB;
}
BENCHMARK(BM_MapRefuseTilesAfterLayers)->Unit(benchmark::kMillisecond)->Iterations(5);

// The largest map, 8 full layers, whose very last chunk inflates to more than its size: refused, with no more
// memory than its header's sizes allow (8 layers of 4096 x 4096 two-byte cells, 256 MB).
void BM_MapRefuseLastLayerLie(benchmark::State& state) {
    const QByteArray bytes = MapCorpus::LargestMapLies().back().bytes;
    double extraMB = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        state.PauseTiming();
        ProcessMemory::ResetPeak();
        const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
        state.ResumeTiming();
        MapSnapshot map;
        if (MapFile::Read(buffer, &map).ok()) {
            state.SkipWithError("the lying file was read");
            return;
        }
        extraMB = std::max(extraMB, ProcessMemory::ExtraPeakMB(before));
    }
    state.counters["file_KB"] = double(bytes.size()) / 1024;
    state.counters["extra_peak_MB"] = extraMB;
    state.counters["allowed_MB"] = 8.0 * 4096 * 4096 * 2 / (1 << 20);
}
BENCHMARK(BM_MapRefuseLastLayerLie)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
