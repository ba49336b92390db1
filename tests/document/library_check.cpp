// Built against the document library alone, which sees Qt Core and Gui and no widgets: a map is made,
// edited, undone and redone, refused settings beyond its limits, saved and opened again. That this links at
// all is the check that the document needs no widget; the exit status says whether it worked.
#include "document/DocumentBuilder.h"
#include "document/MapDocument.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/SnapshotGatherer.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <tuple>

namespace {
struct WithoutImages : TilesetImageResolver {
    Answer Resolve(const TilesetLoadRecord&, Problem, QString*) override { return Answer::GoOn; }
};

bool Check(bool ok, const char* what) {
    if (!ok)
        std::fprintf(stderr, "document library: %s\n", what);
    return ok;
}

// Each limit of the settings on both of its sides, and the cell count at its edge: what the document takes
// matches where the limits are.
bool LimitsHold() {
    using S = MapSettingsValues;
    const std::tuple<int S::*, int, int> sides[] = {{&S::mapWidth, 1, 8192},
                                                    {&S::mapHeight, 1, 8192},
                                                    {&S::tileWidth, 1, 1024},
                                                    {&S::tileHeight, 1, 1024},
                                                    {&S::layers, 1, 8}};
    const auto takes = [](int S::*field, int value, int height = 100) {
        S wanted;
        wanted.*field = value, wanted.mapHeight = field == &S::mapHeight ? value : height;
        return MapDocument::Refusal(wanted).isEmpty();
    };
    bool ok = takes(&S::mapWidth, 8192, 2048) && !takes(&S::mapWidth, 8192, 2049);
    for (const auto& [field, low, high] : sides)
        ok = ok && !takes(field, low - 1) && takes(field, low) && takes(field, high) &&
             !takes(field, high + 1);
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    MapDocument document;
    if (!Check(document.SizeGrids(), "the grids"))
        return 1;
    const CellRef record = CellRef::Make(CellValues{3, {}});
    {
        MapDocument::CellEdit edit(document, QStringLiteral("Put"));
        edit.PutRun(1, 4, 2, 6, [&record](int) -> const CellRef& { return record; });
        edit.Commit();
    }
    document.Undo();
    const bool undone = !document.Layer(1).Get(2, 4);
    document.Redo();
    MapSettingsValues wanted = document.Settings();
    wanted.mapWidth = 9000;
    const MapDocument::ApplyResult refused = document.Apply(wanted);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("map.mqm"));
    MapSnapshot read;
    WithoutImages images;
    const bool saved =
        MapFile::Save(TakeSnapshot(document, path), path).ok() && MapFile::Open(path, &read).ok();
    const std::unique_ptr<MapDocument> opened = saved ? BuildDocument(read, path, images) : nullptr;
    const bool ok = Check(undone, "undo") && Check(document.Layer(1).Get(6, 4)->X() == 6 * 32, "redo") &&
                    Check(refused.kind == MapDocument::ApplyResult::Refused && document.MapWidth() == 100,
                          "a refused Apply") &&
                    Check(LimitsHold(), "the limits of the settings") &&
                    Check(opened && opened->Layer(1).Get(4, 4)->ImageIndex() == 3 &&
                              opened->Layer(1).Record(4, 4) == opened->Layer(1).Record(5, 4),
                          "save and open");
    return ok ? 0 : 1;
}
