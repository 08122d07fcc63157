#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// The program's command line: --help, --version and --reset-settings. The
// options Qt itself understands (-platform, -style) are taken out of the
// arguments by QApplication before they reach here.
//
// Answers the exit code when the run ends here (help or version printed, an
// unknown option, a reset that failed); nothing when the program goes on to
// open its window. `storeFile` is the settings store's file, which
// --reset-settings moves aside.
std::optional<int> RunCommandLine(const QStringList& arguments, const QString& storeFile,
                                  QTextStream& out, QTextStream& err);

// The outcome of moving the settings store aside: `backup` is where the file
// went (empty when there was no store to move), `error` says why it failed.
struct TSettingsReset {
    bool ok = false;
    QString backup;
    QString error;
};

// Renames the store file to a dated backup beside it
// ("Huesplinter.conf.2026-01-31_14-05-09.bak", numbered when that name is
// taken), so the next start finds no settings and the old ones stay at hand.
TSettingsReset MoveSettingsAside(const QString& storeFile, const QDateTime& now);
