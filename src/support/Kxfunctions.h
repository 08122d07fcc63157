#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

// Small helpers shared by the windows: paths and file names, system error
// texts, single strings in the per-user store, a forgiving hexadecimal reader,
// the font list and flag characters. None of them shows a message; a failure
// gives an empty or unchanged result and the caller decides what to report.

// Paths end in "/", the separator Qt uses on every platform (on Windows a
// path that already ends in "\" counts as ending in a separator too).
QString WithTrailingBackslash(const QString& path);
QString WithoutTrailingBackslash(const QString& path);

// The first of base + extension, base + "(1)" + extension, base + "(2)" +
// extension, ... that names nothing on disk.
QString UniqueFileName(const QString& base, const QString& extension);

// A path cut around the last run of digits in its file name, so that the next
// free name can be made by counting `number` up: stem + number + suffix.
struct TNumberedName {
    QString stem;
    qint64 number = 0;
    QString suffix;
    bool operator==(const TNumberedName&) const = default;
};
TNumberedName SplitNumberedName(const QString& path);

// The file name with the extension appended unless it already ends in it
// (ignoring case); the extension may be given with or without its dot.
QString EnsureExtension(const QString& fileName, const QString& extension);

// The system's message for an error number (errno); at most 999 characters, and
// empty for a number the system has no message for.
QString SystemErrorText(int code);
// SystemErrorText of the calling thread's last error number; empty when it is
// 0. A failed Qt file call says why in its own errorString() (see FileOps).
QString LastErrorText();

// One string value of the per-user store. Reading never creates anything and
// gives empty text for a missing key or value or a value that is not a
// string; writing creates the key when needed and ignores failures.
QString ReadUserRegistryString(const QString& keyPath, const QString& valueName);
void WriteUserRegistryString(const QString& keyPath, const QString& valueName, const QString& text);

// The value of the text's hexadecimal digits, every other character skipped
// ("#00ff80" gives 0x00FF80); more than eight digits wrap around.
quint32 ParseHexLenient(QStringView text);

// Adds a font family, without its foundry tag, to a sorted font list (ignoring
// case, in the user's locale) unless it is not smoothly scalable, is a vertical
// variant (its name starts with "@") or the list has it (ignoring case).
void AddTrueTypeFontName(const QString& family, bool smoothlyScalable, QStringList& list);
// Every installed family that AddTrueTypeFontName keeps, in its order.
QStringList TrueTypeFontNames();

// "1" for on, "0" for off; any character but "0" reads as on.
QChar FlagChar(bool flag);
bool CharFlag(QChar c);
