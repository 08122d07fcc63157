#pragma once

#include <QByteArrayView>
#include <QString>

// File operations whose failure carries the failing call's own text. After a
// refusal of Qt's (a rename or copy onto an existing file, a missing source)
// errno is untouched, so the system's "last error" would describe something
// else; these take the text from the call itself.
namespace FileOps {

struct TResult {
    bool ok = false;
    // Empty when ok.
    QString error;
    explicit operator bool() const { return ok; }
};

// Replaces the file with the bytes, or leaves it exactly as it was: the bytes
// go to a temporary file beside it that takes the file's place only when all
// of them reached the disk. A path naming a folder, a device or a pipe is
// refused, never replaced.
TResult writeFile(const QString& path, QByteArrayView bytes);

// Like writeFile, for a file that must not exist yet: an existing file of
// that name is never touched, and the call fails instead.
TResult writeNewFile(const QString& path, QByteArrayView bytes);

// Both refuse an existing target, as the system's own file calls do.
TResult renameFile(const QString& from, const QString& to);
TResult copyFile(const QString& from, const QString& to);

TResult removeFile(const QString& path);

} // namespace FileOps
