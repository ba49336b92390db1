#pragma once

#include <QApplication>

// The application object. It adds nothing of its own: all behaviour lives in the editor window.
class Mosaicor : public QApplication {
    Q_OBJECT
public:
    Mosaicor(int& argc, char** argv);
};
