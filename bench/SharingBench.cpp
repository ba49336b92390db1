// What placed cells cost: memory per cell of whole layers filled by the fill tool (grid slots, records and
// the history together), the resident memory of the largest map filled, and Apply that changes only the tile
// size of a full map. The same file builds against the tree before cells shared their records, so the two
// can be run by turns.
#include "BenchEditor.h"
#include "tiles/CellPool.h"

#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

std::size_t ResidentNow() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toULongLong() * 4096 : 0;
}

// Every layer in use filled from empty with tile k % 8 by the fill tool, each fill one step of the history.
void FillEveryLayer(Editor& editor) {
    frmMain& w = *editor.window;
    w.UseTool(Tool::Fill);
    for (int k = 0; k < w.Layers(); ++k) {
        w.Controls().cboEditLayer->setCurrentIndex(k);
        editor.Pick(k % 8);
        w.canMain_MouseEnter();
        w.canMain_MouseMove(5, 5);
        w.canMain_MouseDown(5, 5);
        w.canMain_MouseUp(5, 5);
    }
}

void MemoryOfFilledLayers(benchmark::State& state, int side) {
    for (auto _ : state) {
        auto editor = std::make_unique<Editor>(536, 508, 16, 8, side, side);
        frmMain& w = *editor->window;
        const std::size_t slabs = CellPool::SlabCount();
        const std::size_t resident = ResidentNow();
        const std::size_t history = w.Document().Steps().Bytes();
        FillEveryLayer(*editor);
        if (!w.Layer(7).Get(side - 1, side - 1) || w.Document().Steps().Count() < 8)
            state.SkipWithError("the layers were not filled");
        const double cells = 8.0 * side * side;
        const double slotBytes = cells * sizeof(CellRef);
        const double records = double(CellPool::SlabCount() - slabs) * double(CellPool::kSlabSize);
        const double kept = double(w.Document().Steps().Bytes() - history);
        state.counters["bytes_per_cell"] = (slotBytes + records + kept) / cells;
        state.counters["history_bytes_per_cell"] = kept / cells;
        // The grids were made before the fills, so the rise is what the fills added.
        state.counters["resident_rise_per_cell"] = (double(ResidentNow()) - double(resident)) / cells;
        state.counters["resident_gb"] = double(ResidentNow()) / 1e9;
    }
}

void BM_MemoryPerCellFilled2048x8(benchmark::State& state) {
    MemoryOfFilledLayers(state, 2048);
}
BENCHMARK(BM_MemoryPerCellFilled2048x8)->Unit(benchmark::kMillisecond)->Iterations(1);

// The largest map, every layer filled: the process's resident memory.
void BM_LargestMapFilled(benchmark::State& state) {
    MemoryOfFilledLayers(state, 4096);
}
BENCHMARK(BM_LargestMapFilled)->Unit(benchmark::kMillisecond)->Iterations(1);

// Apply that changes only the tile size of a full 8 x 2048 x 2048 map.
void BM_ApplyTileSizeOnly2048x8(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(536, 508, 16, 8, 2048, 2048);
        editor->FillLayers(2048, 2048);
        frmMain& w = *editor->window;
        w.Controls().txtWidth->setText(QStringLiteral("24"));
        w.Controls().txtHeight->setText(QStringLiteral("20"));
        state.ResumeTiming();
        w.btnApply_Action();
        state.PauseTiming();
        if (w.Document().TileWidth() != 24 || w.Layer(7).Get(2047, 2047)->X() != 2047 * 24)
            state.SkipWithError("Apply did not take the tile size");
        editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ApplyTileSizeOnly2048x8)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
