#include "window/mnuMain.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace {

struct ItemDesign {
    const char* name;
    const char* text;
    const char* shortcut;
};

constexpr ItemDesign kFileItems[] = {
    {"FileNewMap", "&New Map", "Ctrl+N"},
    {"FileNewTilesetMap", "New Tileset Map", "Ctrl+Shift+N"},
    {"UntitledSeparator1", "-", ""},
    {"FileOpenMap", "&Open Map", "Ctrl+O"},
    {"FileOpenTilesetMap", "Open Tileset Map", "Ctrl+Shift+O"},
    {"UntitledSeparator2", "-", ""},
    {"FileLoadTiles", "Load &Tiles", "Ctrl+T"},
    {"FileRemoveTiles", "Remove Tiles", "Ctrl+Shift+T"},
    {"UntitledSeparator3", "-", ""},
    {"FileSave", "&Save", "Ctrl+S"},
    {"FileSaveAs", "Save &As\u2026", "Ctrl+Shift+S"},
    {"FileExport", "&Export\u2026", "Ctrl+E"},
    {"UntitledSeparator0", "-", ""},
    {"FileClose", "Close", "Ctrl+W"},
    {"UntitledSeparator", "-", ""},
    {"FileQuit", "&Quit", "Ctrl+Q"},
};

constexpr ItemDesign kEditItems[] = {
    {"EditUndo", "&Undo", "Ctrl+Z"},
    {"EditRedo", "&Redo", "Ctrl+Shift+Z"},
    {"UntitledMenu1", "-", ""},
    {"EditCut", "Cu&t", "Ctrl+X"},
    {"EditCopy", "&Copy", "Ctrl+C"},
    {"EditPaste", "&Paste", "Ctrl+V"},
    {"EditClear", "&Delete", ""},
    {"UntitledMenu0", "-", ""},
    {"EditSelectAll", "Select &All", "Ctrl+A"},
};

void AddItems(QMenu* menu, const ItemDesign* items, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        auto* action = new QAction(menu);
        action->setObjectName(QString::fromLatin1(items[i].name));
        // A separator keeps no text: some styles draw a separator's text as a heading.
        if (QLatin1String(items[i].text) == QLatin1String("-")) {
            action->setSeparator(true);
        } else {
            action->setText(QString::fromUtf8(items[i].text));
            action->setShortcut(QKeySequence(QString::fromLatin1(items[i].shortcut)));
        }
        menu->addAction(action);
    }
}

} // namespace

mnuMain::mnuMain() {
    setObjectName(QStringLiteral("mnuMain"));
    QMenu* file = addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->menuAction()->setObjectName(QStringLiteral("FileMenu"));
    QMenu* edit = addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->menuAction()->setObjectName(QStringLiteral("EditMenu"));
    AddItems(file, kFileItems, std::size(kFileItems));
    AddItems(edit, kEditItems, std::size(kEditItems));
    // Redo answers both of the keys users know for it.
    QAction* redo = Item(QStringLiteral("EditRedo"));
    redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
}

mnuMain* mnuMain::Instance() {
    static QPointer<mnuMain> instance;
    if (!instance)
        instance = new mnuMain();
    return instance;
}

QAction* mnuMain::Item(const QString& name) const {
    for (QMenu* menu : findChildren<QMenu*>()) {
        if (menu->menuAction()->objectName() == name)
            return menu->menuAction();
        for (QAction* action : menu->actions())
            if (action->objectName() == name)
                return action;
    }
    return nullptr;
}
