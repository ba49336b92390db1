// Loading the PNG test corpus (every colour type and the hostile files: lying chunk lengths, text bombs,
// headers that claim more than the file holds) as a tileset, file by file: the worst load time and the worst
// extra peak memory, separately for the files that are refused and for those that load.
#include "PngCorpus.h"
#include "PngCraft.h"
#include "ProcessMemory.h"
#include "tiles/clsVOTileset.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using ProcessMemory::ResetPeak;
using ProcessMemory::ResidentBytes;

struct Worst {
    double ms = 0;
    double extraMB = 0;
    QString slowest;
    QString hungriest;
    void Note(const QString& name, double ms_, double mb) {
        if (ms_ > ms) {
            ms = ms_;
            slowest = name;
        }
        if (mb > extraMB) {
            extraMB = mb;
            hungriest = name;
        }
    }
};

void BM_LoadHostileCorpus(benchmark::State& state) {
    QTemporaryDir temp;
    const auto& corpus = PngCorpus::All();
    for (std::size_t i = 0; i < corpus.size(); ++i)
        PngCraft::Write(QDir(temp.path()).filePath(QStringLiteral("%1.png").arg(i)), corpus[i].bytes);
    Worst refused, loaded;
    for (auto _ : state) {
        for (std::size_t i = 0; i < corpus.size(); ++i) {
            clsVOTileset tileset;
            tileset.SetTileWidth(32);
            tileset.SetTileHeight(32);
            if (!ResetPeak()) {
                state.SkipWithError("cannot reset the peak memory count");
                return;
            }
            const qint64 before = ResidentBytes("VmRSS:");
            QElapsedTimer timer;
            timer.start();
            const TilesetLoadResult result =
                tileset.LoadTileset(FolderItem(QDir(temp.path()).filePath(QStringLiteral("%1.png").arg(i))));
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            const double mb = double(ResidentBytes("VmHWM:") - before) / (1 << 20);
            const bool refusedNow = result.Text.endsWith(QStringLiteral("could not be loaded"));
            if (refusedNow != corpus[i].expected.isNull()) {
                state.SkipWithError(qPrintable(QStringLiteral("unexpected outcome: ") + corpus[i].name));
                return;
            }
            (refusedNow ? refused : loaded).Note(corpus[i].name, ms, mb);
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

} // namespace
