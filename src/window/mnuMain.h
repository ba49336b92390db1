#pragma once

#include <QMenuBar>

class QAction;

// The one menu bar: File and Edit. The editor window attaches the commands it has; the other items are
// always there and always enabled, for commands the editor does not have yet.
class mnuMain : public QMenuBar {
    Q_OBJECT
public:
    // The shared instance, built on first request. The window that shows it owns it; once that window is
    // gone, the next request builds a new one.
    static mnuMain* Instance();

    // The item (or menu's action) with the given name, or null.
    QAction* Item(const QString& name) const;

private:
    mnuMain();
};
