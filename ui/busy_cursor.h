#pragma once

#include <QCursor>
#include <QGuiApplication>

// The busy cursor for as long as a statement the user started may wait for another
// workstation's lock. It ends when the guard goes out of scope, also when a failure leaves
// the scope, or earlier by end(): a message box is never shown under it.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { end(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void end() {
        if (active_) {
            active_ = false;
            QGuiApplication::restoreOverrideCursor();
        }
    }

private:
    bool active_ = true;
};
