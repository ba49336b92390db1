// Paints the editor's icons and sample tileset into the folder given as the only argument.
// Needs no screen: run it with QT_QPA_PLATFORM=offscreen.
#include "artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create folder %s\n", argv[1]);
        return 1;
    }

    const struct {
        const char* name;
        QImage image;
    } files[] = {
        {"layericons.png", drawLayerIcons()},
        {"gridicon.png", drawGridIcon()},
        {"toolicons.png", drawToolIcons()},
        {"sample-tiles.png", drawSampleTiles()},
    };
    for (const auto& file : files) {
        const QString path = folder.filePath(QString::fromLatin1(file.name));
        if (!file.image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
