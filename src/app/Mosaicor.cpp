#include "app/Mosaicor.h"

#include "platform/FolderItem.h"

#include <QIcon>
#include <QPixmap>

Mosaicor::Mosaicor(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("2D Mosaicor"));
    // Ties the windows to the installed desktop entry, so desktops show its name and icon for them.
    setDesktopFileName(QStringLiteral(MOSAICOR_APP_ID));
    // The application icon is a nicety, not one of the pictures the editor needs: without it the windows
    // simply show the desktop's default icon, and nobody is told.
    const QPixmap icon(GetFolderItem(QStringLiteral("mosaicor.png")).Path());
    if (!icon.isNull())
        setWindowIcon(QIcon(icon));
}
