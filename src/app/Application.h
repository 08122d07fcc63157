#pragma once

#include <QApplication>

#include <functional>

// The program's application object. Qt does not let an exception pass
// through its event loop, so one that escapes an event handler (memory
// running out in a paint, a failed bitmap operation) is caught where the
// event is delivered, shown in the program's message box and the program
// carries on: unsaved work is never lost to a single failed event.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs one delivery; an exception it throws is reported as notify()
    // reports it, and the delivery counts as not handled.
    static bool deliverGuarded(const std::function<bool()>& deliver);
};
