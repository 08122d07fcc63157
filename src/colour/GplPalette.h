#pragma once

#include "colour/SwatchList.h"

#include <QByteArray>
#include <QByteArrayView>

// The text palette format of image editors: the line "GIMP Palette", then
// optional "Name:" and "Columns:" lines, "#" comments and blank lines, and one
// colour per line as red, green and blue 0 to 255 separated by blanks or
// tabs, followed by an optional name.
namespace GplPalette {

inline constexpr QLatin1StringView Header{"GIMP Palette"};

// Any line ending, with or without a byte-order mark. A colour line that is
// not three numbers 0 to 255 refuses the file and names its line.
TSwatchRead Read(QByteArrayView bytes);

// UTF-8 without a mark, LF line ends, one "R G B<TAB>name" line per colour
// (no tab for an empty name).
QByteArray Write(const TSwatchList& list);

} // namespace GplPalette
