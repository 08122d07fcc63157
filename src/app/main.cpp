#include "app/AppIcon.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "app/Version.h"
#include "platform/Console.h"
#include "platform/UserStore.h"
#include "support/Kxglobals.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

#include <exception>

int main(int argc, char** argv) {
    // Reports an exception escaping an event handler and carries on.
    TApplication app(argc, argv);
    QApplication::setApplicationName(QString(Kxglobals::ProgramName));
    QApplication::setOrganizationName(QStringLiteral("Vextora"));
    QApplication::setApplicationVersion(Version::versionText());
    QApplication::setDesktopFileName(QStringLiteral("org.vextora.Huesplinter"));
    QApplication::setWindowIcon(AppIcon());

    if (argc > 1) Console::attachToParent();
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (const std::optional<int> exitCode =
                RunCommandLine(QApplication::arguments(), TUserStore().fileName(), out, err))
            return *exitCode;
    }

    // Whatever escapes start-up or the event loop is shown rather than lost.
    try {
        TForm1 form;
        form.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QString(Kxglobals::ProgramName),
                              QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QString(Kxglobals::ProgramName),
                              QStringLiteral("An unexpected error ended the program."));
    }
    return 1;
}
