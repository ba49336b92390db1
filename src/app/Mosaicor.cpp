#include "app/Mosaicor.h"

#include "platform/CommandGuard.h"
#include "platform/FileSizeSignal.h"
#include "platform/FolderItem.h"
#include "platform/PNGu.h"

#include <QIcon>
#include <QPixmap>

Mosaicor::Mosaicor(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("2D Mosaicor"));
    IgnoreFileSizeSignal();
    // Ties the windows to the installed desktop entry, so desktops show its name and icon for them.
    setDesktopFileName(QStringLiteral(MOSAICOR_APP_ID));
    // The application icon is a nicety, not one of the pictures the editor needs: without it the windows
    // simply show the desktop's default icon, and nobody is told. It is read like every other file the
    // editor opens, so whatever lies at its name cannot stall the start; memory running out costs the icon.
    UnlessOutOfMemory(
        [this] {
            const PicturePtr icon =
                PNGu::OpenAsPictureWithMask(GetFolderItem(QStringLiteral("mosaicor.png")).Path());
            if (icon)
                setWindowIcon(QIcon(QPixmap::fromImage(icon->Image())));
        },
        [] {});
}
