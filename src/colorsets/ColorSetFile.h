#pragma once

#include "colour/ColorValue.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// The colour set file format: a header line and one line per entry, each
// "key=value". Pure text in, value out; no files are touched here.

inline constexpr int kColorSetSize = 20;

struct TColorSetEntry {
    ColorValue color = kBlack;
    QString name;
    bool operator==(const TColorSetEntry&) const = default;
};

using TColorSetEntries = std::array<TColorSetEntry, kColorSetSize>;

// The two readers decode a key differently; both agree on six hex digits.
enum class TKeyDecoding {
    // Every hex digit shifted in from the left, other characters skipped.
    Slots,
    // Pairs cut from the right end, each one byte.
    Tiles,
};

namespace ColorSetFile {

inline constexpr QLatin1StringView HeaderKey{"Huesplinter ColorSet Data File"};
inline constexpr QLatin1StringView Extension{".Hspl"};
inline constexpr QLatin1StringView SixteenColorsName{"16 Colors Set"};
inline constexpr QLatin1StringView DefaultSetName{"Default Color Set"};

enum class TParseError {
    None,
    // Line 1 is not the header.
    NotAColorSet,
    // The count, a line or a key is wrong; `detail` says which.
    HasErrors,
};

struct TParseResult {
    TParseError error = TParseError::None;
    QString detail;
    TColorSetEntries entries;
    bool ok() const { return error == TParseError::None; }
};

// Reads a whole file's text into 20 entries. At most 20 entries are read;
// entries past the count are black with empty names. A header without "=", a
// count that is not a non-negative integer, or a count other than the number
// of entry lines that follow (blank lines at the end aside) fails. An entry
// line without "=" is all key, with an empty name. Colours keep their low 24
// bits.
TParseResult Parse(const QString& text, TKeyDecoding decoding);

// The stricter check an imported file must pass: every counted line exists
// and its key is exactly six hex digits.
TParseResult ValidateImport(const QString& text);

// The 21 lines of a set file, each ending in CR LF. Names pass through
// CleanName, so a name can never add a line.
QString Format(const TColorSetEntries& entries);

// Six upper-case hex digits of the low 24 bits.
QString KeyOf(ColorValue color);
ColorValue DecodeKey(QStringView key, TKeyDecoding decoding);

// The name with every control character (CR, LF, TAB, ...) turned into a blank.
QString CleanName(const QString& name);

// The standard contents.
TColorSetEntries SixteenColors();
TColorSetEntries DefaultColors();
TColorSetEntries BlankColors();

} // namespace ColorSetFile
