// The document's work at scale, through the same calls the window makes: saving a map (its cells gathered
// into a snapshot, then written) and opening it (read, then built into cells) with the file's size and the
// peak memory beside the times; undo and redo of the largest steps and the history's memory; and the
// user-interface thread's longest pause while a recovery copy is made.
#include "BenchEditor.h"
#include "ProcessMemory.h"
#include "document/DocumentBuilder.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/RecoveryCopies.h"
#include "document/SnapshotGatherer.h"
#include "tiles/CellPool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <random>

namespace {

// Full layers of side x side cells: random tiles over 256, or patches as the tools paint them.
std::unique_ptr<MapDocument> FullDocument(int side, bool patchy) {
    auto document = std::make_unique<MapDocument>();
    MapSettingsValues settings = document->Settings();
    settings.mapWidth = settings.mapHeight = side;
    settings.layers = 8;
    settings.tileWidth = settings.tileHeight = 16;
    document->Apply(settings);
    std::mt19937 rng(side);
    std::vector<std::uint16_t> tiles(std::size_t(side) * side);
    {
        MapDocument::CellEdit edit(*document, QStringLiteral("Fill"));
        for (int k = 0; k < 8; ++k) {
            if (patchy) {
                std::fill(tiles.begin(), tiles.end(), std::uint16_t(k));
                for (int shape = 0; shape < side * 3 / 5; ++shape) {
                    const auto tile = std::uint16_t(rng() % 256);
                    const int x = int(rng() % side), y = int(rng() % side);
                    const int w = shape % 3 == 2 ? 1 : 2 + int(rng() % 80),
                              h = shape % 3 == 1 ? 1 : 2 + int(rng() % 80);
                    for (int r = y; r < std::min(side, y + h); ++r)
                        std::fill_n(tiles.begin() + std::ptrdiff_t(r) * side + x, std::min(w, side - x),
                                    tile);
                }
            } else {
                for (std::uint16_t& tile : tiles)
                    tile = std::uint16_t(rng() % 256);
            }
            // One record per tile number, shared by every cell showing it, as placing tiles makes them.
            std::vector<CellRef> records(256);
            for (int r = 0; r < side; ++r)
                for (int c = 0; c < side; ++c) {
                    const std::uint16_t tile = tiles[std::size_t(r) * side + c];
                    if (!records[tile])
                        records[tile] = CellRef::Make(CellValues{std::int16_t(tile), {}});
                    edit.Put(k, c, r, records[tile]);
                }
        }
        edit.Commit();
    }
    document->Steps().Clear();
    return document;
}

struct NoImages : TilesetImageResolver {
    Answer Resolve(const TilesetLoadRecord&, Problem, QString*) override { return Answer::GoOn; }
};

QString TempMapPath(const char* name) {
    static QTemporaryDir folder;
    return QDir(folder.path()).filePath(QLatin1String(name));
}

bool SaveDocument(const MapDocument& document, const QString& path) {
    return MapFile::Save(TakeSnapshot(document, path), path).ok();
}

std::unique_ptr<MapDocument> OpenDocument(const QString& path) {
    MapSnapshot snapshot;
    if (!MapFile::Open(path, &snapshot).ok())
        return nullptr;
    NoImages images;
    return BuildDocument(snapshot, path, images);
}

void Save(benchmark::State& state, int side, bool patchy, const char* file) {
    const std::unique_ptr<MapDocument> document = FullDocument(side, patchy);
    const QString path = TempMapPath(file);
    for (auto _ : state)
        if (!SaveDocument(*document, path))
            state.SkipWithError("the save failed");
    state.counters["file_bytes_per_cell"] = double(QFileInfo(path).size()) / (8.0 * side * side);
}

// Opening: the extra peak memory against the map's own (its cells and their places in the grids).
void Open(benchmark::State& state, const char* file) {
    const QString path = TempMapPath(file);
    for (auto _ : state) {
        state.PauseTiming();
        ProcessMemory::ResetPeak();
        const qint64 before = ProcessMemory::ResidentBytes("VmRSS:");
        const std::size_t slabs = CellPool::SlabCount();
        state.ResumeTiming();
        std::unique_ptr<MapDocument> document = OpenDocument(path);
        state.PauseTiming();
        if (!document) {
            state.SkipWithError("run the save first: no map to open");
            break;
        }
        const double own = double(CellPool::SlabCount() - slabs) * double(CellPool::kSlabSize) +
                           8.0 * sizeof(CellRef) * document->MapWidth() * document->MapHeight();
        const double peak = ProcessMemory::ExtraPeakMB(before) * (1 << 20);
        state.counters["peak_over_map"] = peak / own;
        state.counters["map_MB"] = own / (1 << 20);
        document.reset();
        state.ResumeTiming();
    }
}

void BM_DocumentSave1000(benchmark::State& state) {
    Save(state, 1000, false, "random1000.mqm");
}
void BM_DocumentSavePatchy1000(benchmark::State& state) {
    Save(state, 1000, true, "patchy1000.mqm");
}
void BM_DocumentOpen1000(benchmark::State& state) {
    Open(state, "random1000.mqm");
}
void BM_DocumentSaveLargest(benchmark::State& state) {
    Save(state, 4096, false, "largest.mqm");
}
void BM_DocumentOpenLargest(benchmark::State& state) {
    Open(state, "largest.mqm");
}
BENCHMARK(BM_DocumentSave1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentSavePatchy1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentOpen1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentSaveLargest)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DocumentOpenLargest)->Unit(benchmark::kMillisecond)->Iterations(1);

double Milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// A fill of an empty 4096 x 4096 layer through the mouse, then Undo and Redo from the menu; the history's
// memory after the fill per cell the fill changed.
void BM_UndoRedoFill4096(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = std::make_unique<Editor>(536, 508, 16, 1, 4096, 4096);
        frmMain& w = *editor->window;
        w.UseTool(Tool::Fill);
        w.canMain_MouseEnter();
        w.canMain_MouseMove(5, 5);
        w.canMain_MouseDown(5, 5);
        w.canMain_MouseUp(5, 5);
        state.counters["history_bytes_per_cell"] = double(w.Document().Steps().Bytes()) / (4096.0 * 4096.0);
        state.counters["undo_ms"] = Milliseconds([&] { w.EditUndo_Action(); });
        const bool undone = !w.Layer(0).Get(4095, 4095);
        state.counters["redo_ms"] = Milliseconds([&] { w.EditRedo_Action(); });
        if (!undone || !w.Layer(0).Get(4095, 4095))
            state.SkipWithError("undo or redo did not take the fill back and forth");
    }
}
BENCHMARK(BM_UndoRedoFill4096)->Unit(benchmark::kMillisecond)->Iterations(1);

// Undo of Apply that shrank eight full 2048 x 2048 layers to 100 x 100.
void BM_UndoApplyShrink2048(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = std::make_unique<Editor>(536, 508, 16, 8, 2048, 2048);
        editor->FillLayers(2048, 2048);
        frmMain& w = *editor->window;
        w.Controls().txtMapWidth->setText(QStringLiteral("100"));
        w.Controls().txtMapHeight->setText(QStringLiteral("100"));
        state.counters["apply_ms"] = Milliseconds([&] { w.btnApply_Action(); });
        state.counters["undo_ms"] = Milliseconds([&] { w.EditUndo_Action(); });
        if (w.Layer(7).Width() != 2048 || !w.Layer(7).Get(2047, 2047))
            state.SkipWithError("undo did not bring the cells back");
    }
}
BENCHMARK(BM_UndoApplyShrink2048)->Unit(benchmark::kMillisecond)->Iterations(1);

// The longest the user-interface thread is away from its events while a recovery copy of a 1000 x 1000 map
// of 8 full layers is made: a timer every millisecond notes the gaps between its turns.
void BM_RecoveryCopyPause1000(benchmark::State& state) {
    const std::unique_ptr<MapDocument> document = FullDocument(1000, false);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    for (auto _ : state) {
        RecoveryKeeper keeper;
        keeper.SetTiming({0, 0, 200000});
        QEventLoop loop;
        QObject::connect(&keeper, &RecoveryKeeper::copyWritten, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        tick.start(1);
        clock.start();
        document->Steps().MarkUnsaved();
        keeper.Watch(document.get());
        loop.exec();
        state.counters["longest_pause_ms"] = double(longest) / 1e6;
        state.counters["copy_ms"] = double(clock.nsecsElapsed()) / 1e6;
        keeper.Remove();
    }
}
BENCHMARK(BM_RecoveryCopyPause1000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
