// Loading hostile files as a tileset. The PNG test corpus (every colour type and the hostile files: lying
// chunk lengths, text bombs, headers that claim more than the file holds), file by file: the worst load time
// and the worst extra peak memory, separately for the files that are refused and for those that load. Then
// each large hostile file on its own: a file of 260,000,000 zeros, a PNG padded with a chunk that large,
// images of 1 x 2^26 and 2^26 x 1 pixels, and a FIFO.
#include "LoadCost.h"
#include "PngCorpus.h"
#include "PngCraft.h"
#include "ProcessMemory.h"
#include "tiles/clsVOTileset.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

struct Worst {
    double ms = 0;
    double extraMB = 0;
    QString slowest;
    QString hungriest;
    void Note(const QString& name, const LoadCost& cost) {
        if (cost.ms > ms) {
            ms = cost.ms;
            slowest = name;
        }
        if (cost.extraMB > extraMB) {
            extraMB = cost.extraMB;
            hungriest = name;
        }
    }
};

TilesetLoadResult Load(const QString& path, int tileWidth, int tileHeight, LoadCost* cost) {
    clsVOTileset tileset;
    tileset.SetTileWidth(tileWidth);
    tileset.SetTileHeight(tileHeight);
    TilesetLoadResult result;
    *cost = MeasureCost([&] { result = tileset.LoadTileset(FolderItem(path)); });
    return result;
}

void BM_LoadHostileCorpus(benchmark::State& state) {
    QTemporaryDir temp;
    const auto& corpus = PngCorpus::All();
    for (std::size_t i = 0; i < corpus.size(); ++i)
        PngCraft::Write(QDir(temp.path()).filePath(QStringLiteral("%1.png").arg(i)), corpus[i].bytes);
    Worst refused, loaded;
    for (auto _ : state) {
        for (std::size_t i = 0; i < corpus.size(); ++i) {
            // Images that load are cut into tiles of up to 32 x 32 pixels, so even the smallest yields one;
            // refused ones into 4 x 4 tiles, so each is refused for what its file holds, not for its size.
            const QImage& expected = corpus[i].expected;
            const bool refusedExpected = expected.isNull();
            LoadCost cost;
            const TilesetLoadResult result =
                Load(QDir(temp.path()).filePath(QStringLiteral("%1.png").arg(i)),
                     refusedExpected ? 4 : std::min(32, expected.width()),
                     refusedExpected ? 4 : std::min(32, expected.height()), &cost);
            if (!cost.measured) {
                state.SkipWithError("cannot measure the peak memory");
                return;
            }
            const bool refusedNow = result.TileCount == 0;
            if (refusedNow != refusedExpected) {
                state.SkipWithError(qPrintable(QStringLiteral("unexpected outcome: ") + corpus[i].name));
                return;
            }
            (refusedNow ? refused : loaded).Note(corpus[i].name, cost);
        }
    }
    state.counters["refused_worst_ms"] = refused.ms;
    state.counters["refused_worst_extra_MB"] = refused.extraMB;
    state.counters["loaded_worst_ms"] = loaded.ms;
    state.counters["loaded_worst_extra_MB"] = loaded.extraMB;
    state.SetLabel(
        QStringLiteral("refused: slowest '%1', most memory '%2'; loaded: slowest '%3', most memory '%4'")
            .arg(refused.slowest, refused.hungriest, loaded.slowest, loaded.hungriest)
            .toStdString());
}
BENCHMARK(BM_LoadHostileCorpus)->Unit(benchmark::kMillisecond)->Iterations(3);

// One large hostile file per argument, loaded as a tileset of 32 x 32 tiles: the worst of the runs.
void BM_LoadLargeHostileFile(benchmark::State& state) {
    QTemporaryDir temp;
    const std::vector<PngCorpus::LargeFile> files = PngCorpus::WriteLargeFiles(temp.path());
    const auto index = std::size_t(state.range(0));
    if (index >= files.size()) {
        state.SkipWithError("cannot write the large hostile files");
        return;
    }
    const PngCorpus::LargeFile& file = files[index];
    Worst worst;
    for (auto _ : state) {
        LoadCost cost;
        const TilesetLoadResult result = Load(file.path, 32, 32, &cost);
        if (!cost.measured || result.Text != file.status) {
            state.SkipWithError(qPrintable(QStringLiteral("unexpected outcome: ") + result.Text));
            return;
        }
        state.SetIterationTime(cost.ms / 1000);
        worst.Note(file.name, cost);
    }
    state.counters["worst_ms"] = worst.ms;
    state.counters["worst_extra_MB"] = worst.extraMB;
    state.SetLabel(file.name.toStdString());
}
BENCHMARK(BM_LoadLargeHostileFile)
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
