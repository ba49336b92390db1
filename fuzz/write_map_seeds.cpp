// Writes the map file corpus into a folder as the map fuzzer's seeds: map_seeds <folder>. Small valid maps,
// the files a reader must read as their map and every tenth damaged file (the rest are their near twins), all
// up to 64 KB: small inputs keep the fuzzer fast.
#include "MapCorpus.h"
#include "document/MapFileWriter.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: map_seeds <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;
    int written = 0;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        const int side = 1 + int(seed * seed) % 24;
        if (!MapFile::Save(MapCorpus::RandomMap(seed, side, 25 - side),
                           QDir(folder).filePath(QStringLiteral("seed-%1.mqm").arg(written++)))
                 .ok())
            return 1;
    }
    for (const auto* entries : {&MapCorpus::Variants(), &MapCorpus::Damaged()})
        for (std::size_t i = 0; i < entries->size(); i += entries == &MapCorpus::Damaged() ? 10 : 1) {
            const MapCorpus::Entry& entry = (*entries)[i];
            if (entry.bytes.size() > 65536)
                continue;
            QFile file(QDir(folder).filePath(QStringLiteral("seed-%1.mqm").arg(written++)));
            if (!file.open(QIODevice::WriteOnly) || file.write(entry.bytes) != entry.bytes.size())
                return 1;
        }
    std::printf("%d seed files in %s\n", written, argv[1]);
    return 0;
}
