#include "app/FileTypes.h"
#include "app/Mosaicor.h"
#include "app/mnuMain.h"
#include "window/frmMain.h"

int main(int argc, char** argv) {
    InitFileTypes();
    int status = 0;
    {
        Mosaicor app(argc, argv);
        mnuMain::Instance();
        frmMain window;
        window.show();
        status = app.exec();
        // The window owns the menu bar and releases it as it goes.
    }
    ReleaseFileTypes();
    return status;
}
