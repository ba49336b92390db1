// Writes the importer's seed files into a folder: import_seeds tmx|tmj <folder>. The maps the importer's
// tests write, in every encoding, with tilesets embedded and named, groups, object and image layers.
#include "ForeignMaps.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>

using namespace ForeignMaps;

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "tmx") != 0 && std::strcmp(argv[1], "tmj") != 0)) {
        std::fprintf(stderr, "usage: import_seeds tmx|tmj <folder>\n");
        return 2;
    }
    const bool json = std::strcmp(argv[1], "tmj") == 0;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder))
        return 1;
    int written = 0;
    for (int e = 0; e <= int(Encoding::TileElements) - json; ++e)
        for (int variant = 0; variant < 4; ++variant) {
            Map map;
            map.width = 3 + variant, map.height = 2 + variant;
            const int cells = map.width * map.height;
            map.name = variant == 1 ? QString() : QStringLiteral("seed %1").arg(variant);
            map.tilesets = {{1, "a.png", 16, 64, 64, 0, {}, {}}, {20, "b.png", 16, 64, 32, 0, {}, {}}};
            if (variant == 2)
                map.tilesets[1].external = json ? "b.tsj" : "b.tsx";
            map.tilesets[0].tiles =
                json
                    ? R"({"id":1,"properties":[{"name":"passable","type":"bool","value":true}]})"
                    : R"(<tile id="1"><properties><property name="passable" type="bool" value="true"/></properties></tile>)";
            for (int k = 0; k <= variant; ++k) {
                Layer layer;
                for (int i = 0; i < cells; ++i)
                    layer.gids.push_back(std::uint32_t((i * 7 + k) % 30) | (i % 5 == 4 ? 0x80000000u : 0));
                layer.visible = k % 2 == 0;
                map.layers.push_back(layer);
            }
            if (variant == 3)
                map.after =
                    json ? R"({"type":"objectgroup","objects":[{"id":1,"x":8,"y":8,"point":true,)"
                           R"("properties":[{"name":"column","type":"int","value":0},)"
                           R"({"name":"row","type":"int","value":0},{"name":"custom1","value":"c"}]}]},)"
                           R"({"type":"group","opacity":0.5,"layers":[{"type":"imagelayer"}]})"
                         : R"(<objectgroup><object id="1" x="8" y="8"><point/><properties>)"
                           R"(<property name="column" type="int" value="0"/><property name="row" type="int" )"
                           R"(value="0"/><property name="custom1" value="c"/></properties></object>)"
                           R"(</objectgroup><group opacity="0.5"><imagelayer/></group>)";
            QFile file(QDir(folder).filePath(QStringLiteral("seed-%1.%2").arg(written++).arg(argv[1])));
            const QByteArray bytes = json ? Tmj(map, Encoding(e)) : Tmx(map, Encoding(e));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return 1;
        }
    std::printf("%d seed files in %s\n", written, argv[2]);
    return 0;
}
