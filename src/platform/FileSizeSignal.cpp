#include "platform/FileSizeSignal.h"

#include <csignal>

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
#endif
}
