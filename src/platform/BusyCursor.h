#pragma once

#include <QApplication>
#include <QCursor>

// The wait cursor over the whole application while work that may take a while runs on the user-interface
// thread; the cursor before it comes back when the work ends, however it ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The ordinary pointer back for the time of a question asked in the middle of busy work.
class PlainCursor {
public:
    PlainCursor() { QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~PlainCursor() { QApplication::restoreOverrideCursor(); }
    PlainCursor(const PlainCursor&) = delete;
    PlainCursor& operator=(const PlainCursor&) = delete;
};
