#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const QString ResetOption = QStringLiteral("reset-settings");

// Several resets within one second each keep their backup.
constexpr int MaxBackupNumber = 999;

} // namespace

TSettingsReset MoveSettingsAside(const QString& storeFile, const QDateTime& now) {
    TSettingsReset result;
    if (!QFileInfo::exists(storeFile)) {
        result.ok = true;
        return result;
    }
    const QString stem =
        storeFile + QLatin1Char('.') + now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    for (int n = 1; n <= MaxBackupNumber; ++n) {
        const QString backup =
            n == 1 ? stem + QStringLiteral(".bak") : stem + QStringLiteral("-%1.bak").arg(n);
        if (QFileInfo::exists(backup)) continue;
        // QFile::rename refuses an existing target, so no earlier backup is
        // ever overwritten, even one made between the check and the rename.
        QFile file(storeFile);
        if (file.rename(backup)) {
            result.ok = true;
            result.backup = backup;
            return result;
        }
        result.error = file.errorString();
        if (QFileInfo::exists(backup)) continue;
        return result;
    }
    result.error = QStringLiteral("every backup name for this second is taken.");
    return result;
}

std::optional<int> RunCommandLine(const QStringList& arguments, const QString& storeFile,
                                  QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A colour picker: choose a colour and copy it in the notation you need."));
    // Our own help and version options: the stock help adds --help-all,
    // whose Qt options only the exiting process() can print.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and quit."));
    parser.addOption(help);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and quit."));
    parser.addOption(version);
    parser.addOption(QCommandLineOption(
        ResetOption, QStringLiteral("Move the settings aside as a dated backup and start as on the "
                                    "first run.")));

    parser.addOption(
        QCommandLineOption(QStringLiteral("frozen"),
                           QStringLiteral("Pick on Screen over a frozen picture of the "
                                          "desktop in full-screen windows, as on Wayland.")));

    if (!parser.parse(arguments)) {
        err << QCoreApplication::applicationName() << ": " << parser.errorText() << '\n'
            << "Try '--help' for the options.\n";
        err.flush();
        return 1;
    }
    if (parser.isSet(help)) {
        out << parser.helpText();
        out.flush();
        return 0;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        out.flush();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << QCoreApplication::applicationName() << ": unexpected argument '"
            << parser.positionalArguments().constFirst() << "'.\n"
            << "Try '--help' for the options.\n";
        err.flush();
        return 1;
    }
    if (parser.isSet(ResetOption)) {
        const TSettingsReset reset = MoveSettingsAside(storeFile, QDateTime::currentDateTime());
        if (!reset.ok) {
            err << QCoreApplication::applicationName() << ": the settings in " << storeFile
                << " could not be moved aside: " << reset.error << '\n';
            err.flush();
            return 1;
        }
        if (!reset.backup.isEmpty()) {
            out << "The previous settings are kept in " << reset.backup << '\n';
            out.flush();
        }
    }
    return std::nullopt;
}
