// Loaded into the packaged editor with LD_PRELOAD by check_package.sh, so the program under test is the
// unchanged packaged one. At the first turn of an event loop it prints every visible top-level window and
// ends the program. The editor opens its window, and shows any message about a missing picture, before its
// own event loop starts, and a message box runs an event loop of its own: so the first turn sees either the
// finished window alone or the message box that interrupted start-up.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

void report() {
    std::printf("desktop-file %s\n", qPrintable(QGuiApplication::desktopFileName()));
    bool dialog = false;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        QString line = QStringLiteral("window %1 title=\"%2\" icon=%3")
                           .arg(QLatin1String(w->metaObject()->className()), w->windowTitle(),
                                QLatin1String(w->windowIcon().isNull() ? "none" : "set"));
        if (const auto* box = qobject_cast<const QMessageBox*>(w)) {
            line += QStringLiteral(" text=\"%1\"").arg(box->text());
            dialog = true;
        }
        std::printf("%s\n", qPrintable(line));
    }
    std::fflush(stdout);
    // Quitting from inside a modal box would only return into start-up and open the next box.
    if (dialog)
        std::_Exit(0);
    QCoreApplication::quit();
}

// A timer, not a posted call: timers fire only from an event loop, never from Qt's own event flushes during
// start-up.
void arm() {
    QTimer::singleShot(1, report);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(arm)
