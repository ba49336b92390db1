// Paints the editor's icons, its application icon and the sample tileset into OUTPUT_FOLDER, and the
// application icon and the map files' icon at the sizes desktops look for into
// ICON_THEME_FOLDER/<n>x<n>/apps/ and .../mimetypes/ when that is given. Needs no screen: run it with
// QT_QPA_PLATFORM=offscreen.
#include "artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [ICON_THEME_FOLDER]\n", argv[0]);
        return 2;
    }
    const auto save = [](const QImage& image, const QString& folder, const char* name) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(name));
        if (!QDir().mkpath(folder) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
        return true;
    };
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const struct {
        const char* name;
        QImage image;
    } files[] = {
        {"layericons.png", drawLayerIcons()},
        {"gridicon.png", drawGridIcon()},
        {"toolicons.png", drawToolIcons()},
        {"sample-tiles.png", drawSampleTiles()},
        // The window's own icon: desktops show it at title-bar and task-bar sizes, and a larger one would
        // only lengthen start-up (it is decoded and sent to the display before the window appears).
        {"mosaicor.png", drawAppIcon(64)},
    };
    for (const auto& file : files)
        if (!save(file.image, folder, file.name))
            return 1;

    if (argc == 3) {
        const QString theme = QString::fromLocal8Bit(argv[2]);
        for (int size : {16, 32, 48, 64, 128, 256})
            if (!save(drawAppIcon(size), QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size),
                      "mosaicor.png") ||
                !save(drawMapFileIcon(size), QStringLiteral("%1/%2x%2/mimetypes").arg(theme).arg(size),
                      "application-x-mosaicor-map.png"))
                return 1;
    }
    return 0;
}
