// The program as scripts and file managers run it, whole processes timed from start to exit: --export of a
// 1000 x 1000 map with 8 full layers to TMX, its thumbnail with a 2048 x 2048 tileset, and the slowest
// hostile file given to the thumbnailer. Each reports the child's peak resident memory.
#include "MapCorpus.h"
#include "document/MapFileWriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct ChildRun {
    double seconds = 0;
    double peakMB = 0;
    int status = -1;
};

// Runs the program with the arguments, its output thrown away, and waits for it.
ChildRun RunMosaicor(const QStringList& arguments) {
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationDirPath() + "/mosaicor");
    std::vector<QByteArray> bytes{program};
    for (const QString& a : arguments)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.seconds = double(clock.nsecsElapsed()) / 1e9;
        run.peakMB = double(usage.ru_maxrss) / 1024.0;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// A 2048 x 2048 tileset of 4096 tiles of 32 pixels, and a 1000 x 1000 map using them on 8 full layers in
// patches, saved beside it.
QString WriteLargeMap(const QDir& folder) {
    QImage sheet(2048, 2048, QImage::Format_ARGB32);
    for (int y = 0; y < 2048; ++y)
        for (int x = 0; x < 2048; ++x)
            sheet.setPixel(x, y, qRgba(x / 8, y / 8, (x ^ y) & 255, 255));
    const QString image = folder.filePath("tiles.png");
    sheet.save(image);
    QFile file(image);
    file.open(QIODevice::ReadOnly);
    MapSnapshot map;
    map.mapWidth = map.mapHeight = 1000;
    map.layers = 8;
    map.visibleLayers = 0xFF;
    TilesetLoadRecord load;
    load.relativePath = QStringLiteral("tiles.png");
    load.absolutePath = image;
    load.tileWidth = load.tileHeight = 32;
    load.imageWidth = load.imageHeight = 2048;
    load.tileCount = 4096;
    load.contentHash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    map.loads = {load};
    map.templates.resize(4096);
    for (int k = 0; k < 8; ++k) {
        std::vector<std::uint16_t>& tiles = map.layer[std::size_t(k)].tiles;
        tiles.resize(1000 * 1000);
        for (std::uint32_t i = 0; i < tiles.size(); ++i)
            tiles[i] =
                std::uint16_t(1 + ((i % 1000) / 7 * 31 + (i / 1000) / 5 * 17 + std::uint32_t(k) * 3) % 4096);
    }
    const QString path = folder.filePath("large.mqm");
    MapFile::Save(map, path);
    return path;
}

void Report(benchmark::State& state, const ChildRun& run, double* worstPeak) {
    if (run.status < 0)
        state.SkipWithError("the program did not run");
    state.SetIterationTime(run.seconds);
    *worstPeak = std::max(*worstPeak, run.peakMB);
    state.counters["peak_MB"] = *worstPeak;
}

void BM_ProcessExportTmx1000x1000x8(benchmark::State& state) {
    QTemporaryDir temp;
    const QString map = WriteLargeMap(QDir(temp.path()));
    double peak = 0;
    for (auto _ : state)
        Report(state, RunMosaicor({"--export", map, QDir(temp.path()).filePath("large.tmx")}), &peak);
}
BENCHMARK(BM_ProcessExportTmx1000x1000x8)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ProcessThumbnail1000x1000x8(benchmark::State& state) {
    QTemporaryDir temp;
    const QString map = WriteLargeMap(QDir(temp.path()));
    double peak = 0;
    for (auto _ : state)
        Report(state, RunMosaicor({"--thumbnail", map, QDir(temp.path()).filePath("t.png"), "256"}), &peak);
}
BENCHMARK(BM_ProcessThumbnail1000x1000x8)->UseManualTime()->Unit(benchmark::kMillisecond);

// The slowest and the largest of the hostile files: the largest map with lying layer data, each written
// to disk, thumbnailed in turn; the figures are the worst of them.
void BM_ProcessThumbnailHostileWorst(benchmark::State& state) {
    QTemporaryDir temp;
    QStringList files;
    for (const MapCorpus::Entry& entry : MapCorpus::LargestMapLies()) {
        QFile file(QDir(temp.path()).filePath(entry.name + ".mqm"));
        file.open(QIODevice::WriteOnly);
        file.write(entry.bytes);
        files << file.fileName();
    }
    double peak = 0;
    for (auto _ : state) {
        ChildRun worst;
        for (const QString& file : files) {
            const ChildRun run =
                RunMosaicor({"--thumbnail", file, QDir(temp.path()).filePath("t.png"), "256"});
            worst.seconds = std::max(worst.seconds, run.seconds);
            worst.peakMB = std::max(worst.peakMB, run.peakMB);
            worst.status = run.status;
        }
        Report(state, worst, &peak);
    }
}
BENCHMARK(BM_ProcessThumbnailHostileWorst)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
