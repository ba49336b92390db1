// The zoomed map view: Draw on a mouse move and after a one-cell scroll at every zoom level, and composing
// the whole view anew at 25 %, on a 4096 x 4096 map of 16-pixel tiles with 8 layers and a 1920 x 1080 canvas.
#include "BenchEditor.h"
#include "map/MapZoom.h"
#include "platform/BevelButton.h"
#include "platform/ScrollBar.h"

#include <benchmark/benchmark.h>

namespace {

// Every cell the canvas can show at 25 % (480 x 270 cells) and the scroll below is filled on all 8 layers;
// the rest of the 4096 x 4096 map is empty, which the view never visits.
Editor& ZoomedMap() {
    return Kept("zoom 4096", [] {
        auto e = std::make_unique<Editor>(1920, 1080, 16, 8, 4096, 4096);
        e->FillLayers(520, 300);
        return e;
    });
}

// The editor at percent, scrolled to the map's corner, the pointer over the map with the plot tool.
frmMain& At(int percent) {
    frmMain& w = *ZoomedMap().window;
    w.UseTool(Tool::Plot);
    w.ZoomTo(percent, QPoint(0, 0));
    w.Controls().scbMainHorizontal->setValue(0);
    w.Controls().scbMainVertical->setValue(0);
    w.canMain_MouseEnter();
    w.canMain_MouseMove(300, 300);
    return w;
}

// Every zoom level the view offers.
void EachZoomLevel(benchmark::internal::Benchmark* b) {
    for (const int percent : kZoomLevels)
        b->Arg(percent);
    b->Unit(benchmark::kMillisecond);
}

void BM_ZoomDrawOnMouseMove(benchmark::State& state) {
    frmMain& w = At(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        w.canMain_MouseMove(100 + (i % 40) * 16, 200);
        ++i;
    }
}
BENCHMARK(BM_ZoomDrawOnMouseMove)->Apply(EachZoomLevel);

void BM_ZoomDrawAfterScrollOneCell(benchmark::State& state) {
    frmMain& w = At(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        w.Controls().scbMainHorizontal->setValue(10 + (i % 2));
        ++i;
    }
}
BENCHMARK(BM_ZoomDrawAfterScrollOneCell)->Apply(EachZoomLevel);

// The grid shown or hidden composes the whole view anew: at 25 % about 480 x 270 cells on 8 layers, a
// million tile pictures drawn.
void BM_ZoomComposeWhole25(benchmark::State& state) {
    frmMain& w = At(25);
    for (auto _ : state)
        w.Controls().btnViewGrid->click();
}
BENCHMARK(BM_ZoomComposeWhole25)->Unit(benchmark::kMillisecond);

} // namespace
