// A map being edited in a program with no window: it paints the sample map of the seed it is given, keeps a
// recovery copy of it, says "written" once the copy is complete, and waits to be killed.
#include "SampleMaps.h"
#include "document/MapDocument.h"
#include "document/RecoveryCopies.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    MapDocument document;
    document.SizeGrids();
    RecoveryKeeper keeper;
    keeper.SetTiming({50, 0, 20000});
    keeper.Watch(&document);
    QObject::connect(&keeper, &RecoveryKeeper::copyWritten,
                     [] { std::puts("written"), std::fflush(stdout); });
    PaintSample(document, argc > 1 ? std::uint32_t(std::atoi(argv[1])) : 1u);
    return app.exec();
}
