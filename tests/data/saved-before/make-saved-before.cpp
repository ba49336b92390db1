// Writes maps with the tree as it was, and a dump of every stored cell as that tree reads it.
#include "SampleMaps.h"
#include "document/MapDocument.h"
#include "document/MapFileWriter.h"
#include "document/SnapshotGatherer.h"
#include "document/CellRecords.h"
#include "tiles/CellGameValues.h"
#include <QTextStream>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <random>

static void Dump(const MapDocument& d, const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream out(&f);
    for (int k = 0; k < 8; ++k)
        for (std::uint32_t i = 0; i < d.Layer(k).Count(); ++i)
            if (const CellRef& c = d.Layer(k).AtIndex(i))
                out << k << ' ' << i << ' ' << c->X() << ' ' << c->Y() << ' ' << c->ZOrder() << ' '
                    << c->ImageIndex() << ' ' << c->Width() << ' ' << c->Height() << ' ' << c->ListIndex() << ' '
                    << c->ImageValue() << ' ' << int(c->Passable()) << ' ' << int(c->Destroyable()) << " ["
                    << c->Custom1().toUtf8().toHex() << "] [" << c->Custom2().toUtf8().toHex() << "]\n";
}

static void Save(MapDocument& d, const QString& dir, const QString& name) {
    const QString path = dir + "/" + name + ".mqm";
    const MapFileResult r = MapFile::Save(TakeSnapshot(d, path), path);
    if (!r.ok())
        qFatal("save failed: %s", qPrintable(r.reason));
    Dump(d, dir + "/" + name + ".cells");
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argv[1];
    {
        MapDocument d;
        PaintSample(d, 7);
        Save(d, dir, "sample");
    }
    {
        // Templates of twelve tiles with no image, placed cells from them, cells of their own, a tile given
        // new properties with its placed cells, and a new tile size after painting.
        MapDocument d;
        auto tileset = std::make_shared<clsVOTileset>();
        std::vector<TileRef> tiles;
        for (int i = 0; i < 12; ++i) {
            auto t = std::make_shared<clsVOTile>(nullptr);
            t->SetImageIndex(std::int16_t(i));
            if (i % 3 == 1) {
                t->SetPassable(true);
                t->SetCustom1(QStringLiteral("tile %1 ü \"q\"").arg(i));
            }
            if (i == 4)
                t->SetImageValue(-300);
            tiles.push_back(t);
        }
        tileset->Append(tiles);
        MapSettingsValues s;
        s.mapWidth = 37;
        s.mapHeight = 23;
        s.layers = 4;
        s.tileWidth = 24;
        s.tileHeight = 16;
        s.name = QStringLiteral("old shared");
        s.visibleLayers = 0b1011;
        std::array<LayerGrid, 8> grids;
        // A load whose image is nowhere: its tiles are placeholders, as after Open Without It.
        TilesetLoadRecord load;
        load.tileWidth = 24;
        load.tileHeight = 16;
        load.imageWidth = 96;
        load.imageHeight = 48;
        load.contentHash = QByteArray(32, 'h');
        load.firstTile = 0;
        load.tileCount = 12;
        load.imageMissing = true;
        d.Replace(s, std::move(grids), tileset, {load});
        d.SizeGrids();
        std::mt19937 rng(11);
        {
            MapDocument::CellEdit e(d, "paint");
            for (int k = 0; k < 4; ++k)
                for (int n = 0; n < 500; ++n) {
                    const int c = int(rng() % 37), r = int(rng() % 23), t = int(rng() % 12);
                    CellRef cell = tiles[t]->Cell();
                    cell->SetX(c * 24);
                    cell->SetY(r * 16);
                    cell->SetZOrder(std::uint8_t(k));
                    const unsigned kind = rng() % 10;
                    if (kind == 0)
                        cell->SetCustom2(QStringLiteral("own %1").arg(n));
                    if (kind == 1)
                        cell->SetDestroyable(true);
                    if (kind == 2)
                        cell->SetImageIndex(-5);
                    if (kind == 3)
                        cell->SetImageIndex(std::int16_t(20 + t));
                    e.Set(k, c, r, rng() % 11 ? cell : CellRef());
                }
            e.Commit();
        }
        GameValues v = GameValuesOf(tiles[1]->Template());
        v.listIndex = 9;
        d.SetTileProperties(1, v, true);
        GameValues w = GameValuesOf(tiles[2]->Template());
        w.width = 3;
        d.SetTileProperties(2, w, false);
        MapSettingsValues bigger = d.Settings();
        bigger.tileWidth = 32;
        bigger.tileHeight = 20;
        d.Apply(bigger);
        Save(d, dir, "templates");
    }
    return 0;
}
