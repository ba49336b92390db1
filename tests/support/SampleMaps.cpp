#include "SampleMaps.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"

#include <random>

void PaintSample(MapDocument& document, std::uint32_t seed) {
    MapSettingsValues settings = document.Settings();
    settings.mapWidth = 50, settings.mapHeight = 40, settings.layers = 5;
    settings.name = QStringLiteral("sample %1").arg(seed);
    settings.visibleLayers = 0x1b;
    document.Apply(settings);
    std::mt19937 rng(seed);
    MapDocument::CellEdit edit(document, QStringLiteral("Paint"));
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < 600; ++i) {
            const int column = int(rng() % 50), row = int(rng() % 40);
            CellRecord record;
            record.imageIndex = std::int16_t(rng() % 10);
            record.x = column * settings.tileWidth, record.y = row * settings.tileHeight;
            record.zOrder = std::uint8_t(k);
            if (rng() % 20 == 0) {
                record.passable = true;
                record.imageValue = std::int16_t(rng() % 500 - 250);
                record.custom1 = QStringLiteral("note %1 \u00e9").arg(i);
            }
            edit.Put(k, column, row, rng() % 9 ? CellRef::Make(ValuesOf(record)) : CellRef());
        }
    edit.Commit();
}
