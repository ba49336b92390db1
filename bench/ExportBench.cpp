// Exporting a 1000 x 1000 map with 8 full layers as a TMX and as a JSON map, from a snapshot, to a file on
// disk.
#include "document/MapExport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// 256 tiles from one 512 x 512 image, some with game properties; every cell of every layer holds a tile, in
// patches of like tiles as painted maps have them, and one cell in a thousand differs from its tile.
MapSnapshot FullMap(const QString& imagePath) {
    MapSnapshot map;
    map.mapWidth = map.mapHeight = 1000;
    map.layers = 8;
    map.visibleLayers = 0xFF;
    map.name = QStringLiteral("bench");
    TilesetLoadRecord load;
    load.absolutePath = imagePath;
    load.tileWidth = load.tileHeight = 32;
    load.imageWidth = load.imageHeight = 512;
    load.tileCount = 256;
    map.loads = {load};
    map.templates.resize(256);
    for (int t = 0; t < 256; t += 4) {
        map.templates[t].passable = true;
        map.templates[t].custom1 = QStringLiteral("tile %1").arg(t);
    }
    for (int k = 0; k < 8; ++k) {
        LayerSnapshot& layer = map.layer[std::size_t(k)];
        layer.tiles.resize(1000 * 1000);
        for (std::uint32_t i = 0; i < layer.tiles.size(); ++i) {
            const std::uint32_t column = i % 1000, row = i / 1000;
            layer.tiles[i] = std::uint16_t(1 + (column / 7 * 31 + row / 5 * 17 + std::uint32_t(k) * 3) % 256);
            if (i % 1000 == 500) {
                CellRecord record = map.templates[layer.tiles[i] - 1];
                record.destroyable = true;
                record.custom2 = QStringLiteral("cell %1").arg(i);
                layer.exceptions.push_back({i, record});
            }
        }
    }
    return map;
}

void ExportFullMap(benchmark::State& state, ExportFormat format) {
    QTemporaryDir temp;
    const MapSnapshot map = FullMap(QDir(temp.path()).filePath(QStringLiteral("tiles.png")));
    const QString path = QDir(temp.path()).filePath(format == ExportFormat::Tmx ? "map.tmx" : "map.tmj");
    for (auto _ : state) {
        const ExportOutcome outcome = ExportMap(map, path, format);
        if (!outcome.written())
            state.SkipWithError(qPrintable(outcome.failure));
    }
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

void BM_ExportTmx1000x1000x8(benchmark::State& state) {
    ExportFullMap(state, ExportFormat::Tmx);
}
BENCHMARK(BM_ExportTmx1000x1000x8)->Unit(benchmark::kMillisecond);

void BM_ExportTmj1000x1000x8(benchmark::State& state) {
    ExportFullMap(state, ExportFormat::Tmj);
}
BENCHMARK(BM_ExportTmj1000x1000x8)->Unit(benchmark::kMillisecond);

} // namespace
