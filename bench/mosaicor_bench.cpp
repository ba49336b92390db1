// Benchmarks of the real window operations, off screen. Run: build/bin/mosaicor-bench
// (QT_QPA_PLATFORM=offscreen is set by the program itself when no platform is chosen).
#include "BenchEditor.h"
#include "ScriptedDialogs.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/Dialogs.h"
#include "platform/ScrollBar.h"
#include "tiles/CellPool.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <string>

namespace {

Editor& FullHd() {
    return Kept("full hd", [] {
        auto e = std::make_unique<Editor>(1920, 1080, 16, 8, 1000, 1000);
        e->FillLayers(1000, 1000);
        return e;
    });
}

void BM_DrawOnMouseMove(benchmark::State& state) {
    frmMain& w = *FullHd().window;
    w.UseTool(Tool::Plot);
    w.canMain_MouseEnter();
    int i = 0;
    for (auto _ : state) {
        w.canMain_MouseMove(100 + (i % 40) * 16, 200);
        ++i;
    }
}
BENCHMARK(BM_DrawOnMouseMove)->Unit(benchmark::kMillisecond);

void BM_DrawAfterScrollOneCell(benchmark::State& state) {
    frmMain& w = *FullHd().window;
    w.canMain_MouseEnter();
    w.canMain_MouseMove(300, 300);
    int i = 0;
    for (auto _ : state) {
        w.Controls().scbMainHorizontal->setValue(10 + (i % 2));
        ++i;
    }
}
BENCHMARK(BM_DrawAfterScrollOneCell)->Unit(benchmark::kMillisecond);

void BM_PlotDragEvent(benchmark::State& state) {
    frmMain& w = *FullHd().window;
    w.UseTool(Tool::Plot);
    w.canMain_MouseEnter();
    w.canMain_MouseMove(300, 300);
    w.canMain_MouseDown(300, 300);
    int i = 0;
    for (auto _ : state) {
        w.canMain_MouseDrag(300 + (i % 50) * 16, 300 + (i % 7) * 16);
        ++i;
    }
    w.canMain_MouseUp(300, 300);
}
BENCHMARK(BM_PlotDragEvent)->Unit(benchmark::kMillisecond);

void DrawOnMap(benchmark::State& state, int mapSide) {
    Editor& editor = Kept("map " + std::to_string(mapSide), [mapSide] {
        auto e = std::make_unique<Editor>(1920, 1080, 16, 8, mapSide, mapSide);
        // The same cells on both maps, so only the map's size differs.
        e->FillLayers(100, 68);
        return e;
    });
    frmMain& w = *editor.window;
    w.UseTool(Tool::Plot);
    w.canMain_MouseEnter();
    int i = 0;
    for (auto _ : state) {
        // Scrolling one cell and back makes every Draw compose the view anew.
        w.Controls().scbMainVertical->setValue(i % 2);
        ++i;
    }
}
void BM_DrawMap100(benchmark::State& state) {
    DrawOnMap(state, 100);
}
void BM_DrawMap4096(benchmark::State& state) {
    DrawOnMap(state, 4096);
}
BENCHMARK(BM_DrawMap100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMap4096)->Unit(benchmark::kMillisecond);

void BM_FilledEllipsePreview4096(benchmark::State& state) {
    Editor& editor =
        Kept("ellipse 4096", [] { return std::make_unique<Editor>(1920, 1080, 16, 1, 4096, 4096); });
    frmMain& w = *editor.window;
    w.UseTool(Tool::FilledEllipse);
    w.canMain_MouseEnter();
    w.canMain_MouseMove(400, 300);
    w.canMain_MouseDown(400, 300);
    int i = 0;
    for (auto _ : state) {
        w.canMain_MouseDrag(800 + (i % 2) * 16, 600);
        ++i;
    }
    w.canMain_MouseUp(400, 300);
}
BENCHMARK(BM_FilledEllipsePreview4096)->Unit(benchmark::kMillisecond);

void FillEmptyLayer(benchmark::State& state, int side) {
    for (auto _ : state) {
        // A new editor for every fill, so each fill starts on an empty layer as a user's first fill does.
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(536, 508, 16, 1, side, side);
        frmMain& w = *editor->window;
        w.UseTool(Tool::Fill);
        w.canMain_MouseEnter();
        w.canMain_MouseMove(5, 5);
        w.canMain_MouseDown(5, 5);
        state.ResumeTiming();
        w.canMain_MouseUp(5, 5);
        state.PauseTiming();
        if (!w.Layer(0).Get(side - 1, side - 1))
            state.SkipWithError("the fill did not reach the far corner");
        editor.reset();
        state.ResumeTiming();
    }
}
void BM_FillEmpty1000(benchmark::State& state) {
    FillEmptyLayer(state, 1000);
}
void BM_FillEmpty4096(benchmark::State& state) {
    FillEmptyLayer(state, 4096);
}
BENCHMARK(BM_FillEmpty1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillEmpty4096)->Unit(benchmark::kMillisecond)->Iterations(3);

// Bytes of the process in memory, from the kernel's own count of its resident pages.
std::size_t ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toULongLong() * 4096 : 0;
}

// Memory per placed cell: the cell pool's slabs taken by the fill plus the grid slot of each cell. The
// kernel's count of resident pages is reported beside it as a check (it also sees memory the C library
// reuses, so it can come out lower).
void BM_MemoryPerPlacedCell(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = std::make_unique<Editor>(536, 508, 16, 8, 1000, 1000);
        const std::size_t slabs = CellPool::SlabCount();
        const std::size_t resident = ResidentBytes();
        editor->FillLayers(1000, 1000);
        const double cellCount = 8.0 * 1000 * 1000;
        if (!editor->window->Layer(0).Get(999, 999) || !editor->window->Layer(7).Get(999, 999))
            state.SkipWithError("the layers were not filled");
        const double slotBytes = cellCount * sizeof(CellRef);
        state.counters["bytes_per_cell"] =
            (double(CellPool::SlabCount() - slabs) * double(CellPool::kSlabSize) + slotBytes) / cellCount;
        state.counters["resident_bytes_per_cell"] =
            (double(ResidentBytes()) - double(resident) + slotBytes) / cellCount;
    }
}
BENCHMARK(BM_MemoryPerPlacedCell)->Unit(benchmark::kMillisecond)->Iterations(1);

// Apply that shrinks eight full 2048 x 2048 layers to 100 x 100: 33.5 million cells are released at once.
void BM_ApplyShrinkFullLayers(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(536, 508, 16, 8, 2048, 2048);
        editor->FillLayers(2048, 2048);
        frmMain& w = *editor->window;
        w.Controls().txtMapWidth->setText(QStringLiteral("100"));
        w.Controls().txtMapHeight->setText(QStringLiteral("100"));
        state.ResumeTiming();
        w.btnApply_Action();
        state.PauseTiming();
        if (w.Layer(7).Width() != 100 || !w.Layer(7).Get(99, 99))
            state.SkipWithError("Apply did not keep the cells inside the new size");
        editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ApplyShrinkFullLayers)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CutTileset2048(benchmark::State& state) {
    QTemporaryDir temp;
    const QString path = QDir(temp.path()).filePath("big.png");
    QImage image(2048, 2048, QImage::Format_ARGB32);
    for (int y = 0; y < 2048; ++y)
        for (int x = 0; x < 2048; ++x)
            image.setPixel(x, y, qRgba(x & 255, y & 255, (x ^ y) & 255, 255));
    image.save(path);
    for (auto _ : state) {
        clsVOTileset tileset;
        tileset.SetTileWidth(16);
        tileset.SetTileHeight(16);
        tileset.LoadTileset(FolderItem(path));
        if (tileset.Count() != 16384)
            state.SkipWithError("wrong tile count");
    }
}
BENCHMARK(BM_CutTileset2048)->Unit(benchmark::kMillisecond);

void BM_DrawTilesOnMouseMove(benchmark::State& state) {
    Editor& editor = Kept("palette 2048", [] {
        auto e = std::make_unique<Editor>(536, 508, 16, 1, 100, 100);
        QImage big(2048, 2048, QImage::Format_ARGB32);
        big.fill(Qt::darkCyan);
        const QString path = QDir(e->temp.path()).filePath("big.png");
        big.save(path);
        e->dialogs->answers.push_back(FolderItem(path));
        e->window->FileLoadTiles_Action();
        return e;
    });
    frmMain& w = *editor.window;
    w.canTiles_MouseEnter();
    int i = 0;
    for (auto _ : state) {
        w.canTiles_MouseMove(20 + (i % 200), 30);
        ++i;
    }
}
BENCHMARK(BM_DrawTilesOnMouseMove)->Unit(benchmark::kMillisecond);

// The editor's own share of start-up: building the window and opening it (defaults, icons, layers, first
// Draw), without the process and platform start that the start-up timer also counts.
void BM_OpenEditor(benchmark::State& state) {
    auto dialogs = std::make_shared<ScriptedDialogs>();
    for (auto _ : state) {
        frmMain window(dialogs);
        window.show();
        benchmark::DoNotOptimize(window.IsOpen());
    }
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    KeptEditors().clear();
    return 0;
}
