#pragma once

#include "window/frmMain.h"

#include <QLatin1String>

// A handler of the window's that runs only once the window is open (Qt reports sizes and values while it
// builds and shows it), through the window's guard, as the command what; until then it does nothing and
// answers false where an answer is due.
template <class Handler> auto Routed(frmMain* window, Handler handler, const char* what = "the action") {
    return [window, handler, what](auto... args) {
        using Result = decltype((window->*handler)(args...));
        if (!window->IsOpen())
            return Result();
        return window->Guarded(QLatin1String(what), [&] { return (window->*handler)(args...); });
    };
}
