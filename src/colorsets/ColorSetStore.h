#pragma once

#include "colorsets/ColorSetFile.h"
#include "colorsets/PaletteFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Which operation failed; each has its own message.
enum class TColorSetFailure {
    // The file could not be read (read, import).
    CannotRead,
    // Line 1 is not the header (read, import).
    NotAColorSet,
    // The count, a line or a key is wrong (read, import).
    HasErrors,
    // Writing a set, a new set or an imported set failed.
    CannotSave,
    // Writing a built-in set's standard content failed.
    CannotCreate,
    CannotRename,
    // Copy and export.
    CannotCopy,
    CannotDelete,
};

// A failed store operation as a value: what failed, on which path, and the
// text of the call that failed. The windows show it in the message box.
struct TColorSetError {
    TColorSetFailure failure = TColorSetFailure::CannotRead;
    QString path;
    QString systemText;

    QString caption() const;
    QString text() const;
};

// Empty on success.
using TColorSetStatus = std::optional<TColorSetError>;

struct TColorSetRead {
    TColorSetStatus error;
    TColorSetEntries entries;
    bool ok() const { return !error; }
};

// A file chosen for import, read whole and converted, or why not.
struct TPaletteRead {
    TColorSetStatus error;
    TSwatchList palette;
    bool ok() const { return !error; }
};

// A set an import is about to write.
struct TNamedSet {
    QString name;
    TColorSetEntries entries;
};

// One entry of the set list.
struct TColorSetRef {
    QString name;
    QString path;
    bool operator==(const TColorSetRef&) const = default;
};
using TColorSetList = std::vector<TColorSetRef>;

// The colour set files of one data folder. Keeps no state but the folder:
// every operation works on the files and reports a failure as a value;
// nothing is changed on disk unless the operation succeeded as a whole.
class TColorSetStore {
public:
    // `folder` ends in "/".
    explicit TColorSetStore(QString folder);

    const QString& folder() const { return m_folder; }
    // folder + name + ".Hspl"
    QString pathFor(const QString& name) const;

    // Whether a name can name a set file in the folder and nowhere else: not
    // empty, no separator, no control character (and on Windows none of the
    // characters or device names the system refuses).
    static bool IsSafeName(const QString& name);
    // Why a name is not safe, in words for the user; empty when it is.
    static QString NameProblem(const QString& name);
    // Whether the path names a file right inside the data folder.
    bool isInFolder(const QString& path) const;
    // Whether the path's file name is a built-in set's file name (exact case).
    static bool IsBuiltInPath(const QString& path);
    // The set name of a set file name: the name less its last five characters.
    static QString NameOf(const QString& path);

    // Reads and checks a whole file; nothing of it is used unless it all read.
    TColorSetRead ReadColorSet(const QString& path, TKeyDecoding decoding) const;
    // What tells one content of the file from another: a digest of its bytes,
    // empty when there is no file or it cannot be read.
    QByteArray fingerprint(const QString& path) const;
    // Writes 21 lines at once, replacing the old file only once all is written.
    TColorSetStatus WriteColorSet(const QString& path, const TColorSetEntries& entries) const;
    // Writes a built-in set's standard content; the path must be a built-in's.
    TColorSetStatus WriteBuiltInColorSet(const QString& path) const;

    // The two built-ins first, then every other set file (hidden ones too),
    // sorted ignoring case.
    TColorSetList ListColorSets() const;

    // Creates a black set; never replaces an existing file.
    TColorSetStatus NewColorSet(const QString& name) const;
    // Never replaces an existing file.
    TColorSetStatus RenameColorSet(const QString& path, const QString& newName) const;
    TColorSetStatus CopyColorSet(const QString& path, const QString& newName) const;
    TColorSetStatus DeleteColorSet(const QString& path) const;
    // Reads and checks a whole file to import, in any format that can be
    // imported (PaletteFile::FormatToImport); a refusal names the line or
    // byte where the file went wrong.
    TPaletteRead ReadPalette(const QString& chosenPath) const;
    // Writes each set as a new file in the folder, converted to the set
    // format; never replaces an existing file. All or none: when one cannot
    // be written, the ones written before it are removed again.
    TColorSetStatus ImportColorSets(const std::vector<TNamedSet>& sets) const;
    // The chosen file's first 20 colours as the set `name`.
    TColorSetStatus ImportColorSet(const QString& chosenPath, const QString& name) const;
    // Writes the set to the chosen path in the format, replacing a file
    // there atomically: a colour set as its file's own bytes, any other
    // format converted from its 20 entries under the set's name.
    TColorSetStatus ExportColorSet(const QString& path, const QString& chosenPath,
                                   TPaletteFormat format = TPaletteFormat::ColorSet) const;

    // Where a new entry goes in a list: after the built-ins, before the first
    // other entry whose name sorts after it ignoring case.
    static std::size_t SortedPlace(const TColorSetList& list, const QString& name);

private:
    QString m_folder;
};

// Files above this size are not colour sets (21 short lines).
inline constexpr qint64 kColorSetFileCap = 1024 * 1024;
// Palettes of other programs may hold thousands of colours, and swatch
// files carry long names; beyond this none is a palette.
inline constexpr qint64 kPaletteFileCap = 16 * 1024 * 1024;
