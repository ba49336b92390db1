// Writes the PNG test corpus into a folder as the fuzzer's seeds: png_seeds <folder>. Files above 64 KB are
// left out, so the fuzzer's inputs stay small and quick.
#include "PngCorpus.h"
#include "PngCraft.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: png_seeds <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;
    int written = 0;
    for (const PngCorpus::Entry& entry : PngCorpus::All()) {
        if (entry.bytes.size() > 65536)
            continue;
        if (!PngCraft::Write(QDir(folder).filePath(QStringLiteral("seed-%1.png").arg(written++)),
                             entry.bytes))
            return 1;
    }
    std::printf("%d seed files in %s\n", written, argv[1]);
    return 0;
}
