#include "app/AppIcon.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/PickCommand.h"
#include "app/Unit1.h"
#include "app/Version.h"
#include "platform/ClipboardKeeper.h"
#include "platform/Console.h"
#include "platform/FontWarmup.h"
#include "platform/UserStore.h"
#include "platform/WindowSystem.h"
#include "support/Kxglobals.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

#include <exception>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QString(Kxglobals::ProgramName));
    QCoreApplication::setOrganizationName(QStringLiteral("Vextora"));
    QCoreApplication::setApplicationVersion(Version::versionText());

    // Everything that needs no window is decided before the window system is touched, so it
    // works over ssh and in scripts, and prints nothing but its answer.
    if (argc > 1) Console::attachToParent();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    TUserStore store;
    TCommandOutcome outcome;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        outcome = RunCommandLine(arguments, store, out, err);
        if (outcome.exitCode) return *outcome.exitCode;
        if (const QString reason = WindowSystem::unavailableReason(); !reason.isEmpty()) {
            // Over ssh a reset is the whole job; the fresh start waits for the next session.
            if (outcome.settingsReset && !outcome.pick) return kExitOk;
            err << "huesplinter: " << reason << '\n';
            return kExitTrouble;
        }
    }

    TFontWarmup fonts;
    // Reports an exception escaping an event handler and carries on.
    TApplication app(argc, argv);
    fonts.wait();
    QApplication::setDesktopFileName(QStringLiteral("org.vextora.Huesplinter"));

    if (outcome.clipboardText) return ClipboardKeeper::keep(*outcome.clipboardText);
    if (outcome.pick) {
        QApplication::setWindowIcon(AppIcon());
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunPickCommand(*outcome.pick, out, err);
    }

    // Whatever escapes start-up or the event loop is shown rather than lost.
    try {
        TForm1 form;
        form.show();
        SetAppIconAfterFirstFrame(form);
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
