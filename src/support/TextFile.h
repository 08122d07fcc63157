#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The one rule for every text file the program reads or writes (string
// holders, templates, colour sets, sample text).
//
// Reading: a byte-order mark selects UTF-8, UTF-16LE or UTF-16BE; without one
// the bytes are UTF-8 when they are valid UTF-8, otherwise the legacy 8-bit
// page (the ANSI code page on Windows, windows-1252 elsewhere). Files above
// the cap are refused before anything is read.
//
// Writing: text that is all ASCII is written byte for byte as given (no mark;
// line ends are the caller's, normally CR LF); any other text is written as
// UTF-8 with a byte-order mark, so no character is lost. Writes replace the
// file only when the whole new one was written (FileOps::writeFile).
namespace TextFile {

inline constexpr qint64 kDefaultCap = 16 * 1024 * 1024;

struct TReadResult {
    bool ok = false;
    QString text;
    // The failing call's own text when !ok ("File too large" style texts for
    // the cap).
    QString error;
};

struct TWriteResult {
    bool ok = false;
    QString error;
};

// Decodes bytes by the rule above (no cap, no file).
QString decode(const QByteArray& bytes);
// The bytes `write` would store for this text.
QByteArray encode(const QString& text);

// Reads a regular file whole; a folder, a device or a file above `cap` bytes
// is refused with a text.
TReadResult read(const QString& path, qint64 cap = kDefaultCap);
TWriteResult write(const QString& path, const QString& text);

// Lines split at CR LF, LF or CR, as files from any system end them; a final line end adds no
// empty line.
QStringList splitLines(const QString& text);

} // namespace TextFile
