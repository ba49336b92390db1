// The floor for the editor's start-up: a plain Qt Widgets window of the editor's shape (a main window of the
// same size with a File and an Edit menu and a tab widget of two pages) and nothing else. The start-up timer
// runs it by turns with the editor; whatever the editor takes beyond this is its own.

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <initializer_list>
#include <utility>

namespace {

void AddItems(QMenu* menu, std::initializer_list<std::pair<const char*, const char*>> items) {
    for (const auto& [text, shortcut] : items) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        if (*shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    AddItems(window.menuBar()->addMenu(QStringLiteral("&File")), {{"&New Map", "Ctrl+N"},
                                                                  {"&Open Map", "Ctrl+O"},
                                                                  {"Load &Tiles", "Ctrl+T"},
                                                                  {"&Save", "Ctrl+S"},
                                                                  {"&Quit", "Ctrl+Q"}});
    AddItems(window.menuBar()->addMenu(QStringLiteral("&Edit")),
             {{"&Undo", "Ctrl+Z"}, {"Cu&t", "Ctrl+X"}, {"&Copy", "Ctrl+C"}, {"&Paste", "Ctrl+V"}});
    auto* content = new QWidget(&window);
    content->setMinimumSize(876, 580);
    window.setCentralWidget(content);
    auto* tabs = new QTabWidget(content);
    tabs->setTabPosition(QTabWidget::South);
    tabs->addTab(new QWidget(), QStringLiteral("First"));
    tabs->addTab(new QWidget(), QStringLiteral("Second"));
    tabs->setGeometry(10, 10, 301, 540);
    window.resize(876, 580 + window.menuBar()->sizeHint().height());
    window.show();
    return app.exec();
}
