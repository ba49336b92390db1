// Regions of the map: a whole layer copied, a large piece placed and moved, a large stamp dragged, and a
// piece encoded for the clipboard and read back.
#include "BenchEditor.h"
#include "document/Piece.h"
#include "document/PieceCodec.h"

#include <benchmark/benchmark.h>

namespace {

Editor& FilledMap(int side) {
    return Kept("regions " + std::to_string(side), [side] {
        auto e = std::make_unique<Editor>(536, 508, 16, 1, side, side);
        e->FillLayers(side, side);
        return e;
    });
}

// A whole 4096 x 4096 layer copied; the clipboard's forms are made only when a program asks for them.
void BM_CopyWholeLayer4096(benchmark::State& state) {
    frmMain& w = *FilledMap(4096).window;
    w.SetSelection(QRect(0, 0, 4096, 4096));
    for (auto _ : state)
        w.EditCopy_Action();
    w.SetSelection(QRect());
}
BENCHMARK(BM_CopyWholeLayer4096)->Unit(benchmark::kMillisecond)->Iterations(3);

// A 1000 x 1000 piece placed by a click with Plot, undo recorded; the undo between runs is not timed.
// The piece shows another tile than the cells it lands on: a paste of the very records a place already holds
// changes nothing and leaves no step to undo.
void BM_PastePiece1000(benchmark::State& state) {
    frmMain& w = *Kept("paste 2000", [] {
                      auto e = std::make_unique<Editor>(536, 508, 16, 1, 2000, 2000);
                      e->FillLayers(2000, 2000);
                      MapDocument::CellEdit edit(e->window->Document(), QStringLiteral("Other tile"));
                      for (int r = 1000; r < 2000; ++r)
                          edit.PlaceRun(0, r, 1000, 1999, 1);
                      edit.Commit();
                      return e;
                  }).window;
    w.SetSelection(QRect(1000, 1000, 1000, 1000));
    w.EditCopy_Action();
    w.EditPaste_Action();
    w.canMain_MouseEnter();
    w.canMain_MouseMove(16, 16);
    for (auto _ : state) {
        w.canMain_MouseDown(16, 16);
        w.canMain_MouseUp(16, 16);
        state.PauseTiming();
        w.EditUndo_Action();
        state.ResumeTiming();
    }
    w.SetSelection(QRect());
}
BENCHMARK(BM_PastePiece1000)->Unit(benchmark::kMillisecond)->Iterations(5);

// A 1000 x 1000 selection moved by a drag of the select tool: lift, drop, one step.
void BM_Move1000(benchmark::State& state) {
    frmMain& w = *FilledMap(2000).window;
    w.UseTool(Tool::Select);
    w.canMain_MouseEnter();
    for (auto _ : state) {
        state.PauseTiming();
        w.SetSelection(QRect(0, 0, 1000, 1000));
        state.ResumeTiming();
        w.canMain_MouseDown(8, 8);
        w.canMain_MouseDrag(8 + 16 * 5, 8 + 16 * 3);
        w.canMain_MouseUp(8 + 16 * 5, 8 + 16 * 3);
        state.PauseTiming();
        w.EditUndo_Action();
        state.ResumeTiming();
    }
    w.SetSelection(QRect());
}
BENCHMARK(BM_Move1000)->Unit(benchmark::kMillisecond)->Iterations(5);

// One plot drag event moving one cell with a 16 x 16 stamp over a full-HD canvas of 8 full layers.
void BM_PlotDragStamp16(benchmark::State& state) {
    Editor& editor = Kept("stamp 16", [] {
        auto e = std::make_unique<Editor>(1920, 1080, 16, 8, 1000, 1000);
        e->FillLayers(1000, 1000);
        return e;
    });
    frmMain& w = *editor.window;
    w.SetSelection(QRect(0, 0, 16, 16));
    w.EditCopy_Action();
    w.EditPaste_Action();
    w.SetSelection(QRect());
    w.canMain_MouseEnter();
    w.canMain_MouseMove(300, 300);
    w.canMain_MouseDown(300, 300);
    int i = 0;
    for (auto _ : state) {
        w.canMain_MouseDrag(300 + (i % 50) * 16, 300);
        ++i;
    }
    w.canMain_MouseUp(300, 300);
}
BENCHMARK(BM_PlotDragStamp16)->Unit(benchmark::kMillisecond);

PieceSnapshot Snapshot1000() {
    frmMain& w = *FilledMap(2000).window;
    return SnapshotOfPiece(TakePiece(w.Document(), QRect(0, 0, 1000, 1000), 0, false));
}

// A 1000 x 1000 piece encoded for the clipboard (from the window's piece) and decoded back into one.
void BM_PieceEncode1000(benchmark::State& state) {
    frmMain& w = *FilledMap(2000).window;
    const Piece piece = TakePiece(w.Document(), QRect(0, 0, 1000, 1000), 0, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(PieceCodec::Encode(SnapshotOfPiece(piece)));
}
BENCHMARK(BM_PieceEncode1000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PieceDecode1000(benchmark::State& state) {
    const QByteArray bytes = PieceCodec::Encode(Snapshot1000());
    for (auto _ : state) {
        PieceSnapshot read;
        PieceCodec::Decode(bytes, &read);
        benchmark::DoNotOptimize(PieceFromSnapshot(read));
    }
}
BENCHMARK(BM_PieceDecode1000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
