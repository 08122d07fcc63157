#include "app/Application.h"

#include "dialogs/Kxmsgbx.h"
#include "support/Kxglobals.h"

#include <QDebug>
#include <QPointer>
#include <QTimer>

#include <exception>
#include <new>

namespace {

// One report at a time: the box is shown after the failed event has ended
// (never inside a paint), and a handler that keeps failing while the box is
// waiting or open does not stack boxes on top of each other.
bool gReportPending = false;

void report(const QString& what) {
    if (gReportPending) {
        qWarning() << "Further error while one is being reported:" << what;
        return;
    }
    gReportPending = true;
    QTimer::singleShot(0, [what] {
        ShowErrorBox(QString(Kxglobals::ProgramName),
                     QStringLiteral("The action could not be completed:\r\n\r\n%1").arg(what));
        gReportPending = false;
    });
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    return deliverGuarded([&] { return QApplication::notify(receiver, event); });
}

bool TApplication::deliverGuarded(const std::function<bool()>& deliver) {
    try {
        return deliver();
    } catch (const std::bad_alloc&) {
        report(QStringLiteral("Out of memory."));
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("An unknown error occurred."));
    }
    return false;
}
