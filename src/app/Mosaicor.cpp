#include "app/Mosaicor.h"

Mosaicor::Mosaicor(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("2D Mosaicor"));
}
