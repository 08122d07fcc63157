#pragma once

#include "app/SettingsCodec.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;
class TUserStore;

// Exit codes of every run: a cancelled pick is no failure of the program, so it gets a code of
// its own, apart from trouble a script must look at.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCancelled = 1;
inline constexpr int kExitTrouble = 2;

// A screen pick asked for on the command line, with what it needs to print its answer.
struct TPickRequest {
    // Format names as given (checked); empty means the click action's format.
    QStringList formats;
    bool average = false;
    bool copy = false;
    // Over a frozen picture in full-screen windows (also when the settings ask for it).
    bool frozen = false;
    TStoredSettings settings;
};

// What the program does after its command line: quit with a code, open the screen picker alone,
// keep a text on the clipboard, or (none of them) open the main window.
struct TCommandOutcome {
    std::optional<int> exitCode;
    std::optional<TPickRequest> pick;
    std::optional<QString> clipboardText;
    // --reset-settings moved the settings aside (or found none to move).
    bool settingsReset = false;
};

// The program's command line, read before any window system is touched, so every option that
// needs no window works without a display. Qt's own options for the window system (-platform,
// -style, ...) are passed over here; the application object takes them later.
//
// Runs --help, --version, --convert and --reset-settings (which moves the store's file aside and
// lets the program go on). Nothing but the answer is printed on `out`; `err` gets every complaint.
TCommandOutcome RunCommandLine(const QStringList& arguments, TUserStore& store, QTextStream& out,
                               QTextStream& err);

// The lines printed for a colour: one per format name, each name's text and a newline; "all"
// gives every format, each after its name. No names: the click action's format.
QString FormatLines(ColorValue color, const QStringList& formats, const TStoredSettings& settings);

// The arguments without the options Qt reads for the window system.
QStringList WithoutQtOptions(const QStringList& arguments);

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

// The same for settings in the registry: the program's key is renamed to a
// dated key beside it ("Software\Vextora\Huesplinter.2026-01-31_14-05-09.bak",
// numbered likewise); `backup` is the key's full name.
TSettingsReset MoveRegistrySettingsAside(TUserStore& store, const QDateTime& now);
