#pragma once

#include <QByteArrayView>
#include <QString>

// The program's only code that writes files. Higher layers reach it through
// FileOps; the settings store, which sits below them, uses it directly.
// Every failure carries the failing call's own text.
namespace FileWriter {

struct TResult {
    bool ok = false;
    // Empty when ok.
    QString error;
    explicit operator bool() const { return ok; }
};

// Replaces the file with the bytes, or leaves it exactly as it was: the bytes
// go to a temporary file beside it, reach the disk, take the file's place by a
// rename, and the folder is synced so that the rename survives a power cut.
// A path naming a folder, a device or a pipe is refused, never replaced.
TResult replace(const QString& path, QByteArrayView bytes);

// Like replace, for a file that must not exist yet: an existing file of that
// name is never touched, and the call fails instead.
TResult createNew(const QString& path, QByteArrayView bytes);

// Copies a file's bytes to a name that must not exist yet.
TResult copyNew(const QString& from, const QString& to);

} // namespace FileWriter
