#pragma once

#include <QString>
#include <QStringView>

// How the system names files: which paths are the same file, what separates folders, and which
// names it refuses beyond the separators and control characters every system refuses.
namespace FileNames {

// Exactly on Linux; ignoring case on Windows, whose file systems do.
bool samePath(const QString& a, const QString& b);

// '/' everywhere; '\' as well on Windows.
bool isSeparator(QChar c);

// Characters a file name cannot hold here, besides the separators and control characters;
// empty where there are none.
QStringView reservedCharacters();

// The part of `name` before its first dot, blanks trimmed, when the system keeps that name for a
// device (CON, NUL, COM1, ...) and refuses it as a file with any extension; empty otherwise.
QString deviceName(const QString& name);

// True where a name ending in a blank or a dot does not survive as typed (Windows drops them).
bool dropsTrailingBlankOrDot();

} // namespace FileNames
