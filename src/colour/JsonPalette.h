#pragma once

#include "colour/SwatchList.h"

#include <QByteArray>
#include <QByteArrayView>

// The program's own JSON layout for a palette:
//   {"name": "...", "colors": [{"name": "...", "hex": "#rrggbb"}, ...]}
// "name" may be missing anywhere (empty), other members are ignored.
namespace JsonPalette {

// "hex" is "#rrggbb" or "#rgb", either case. A syntax error names its byte
// offset, a wrong member names the colour by its place in "colors".
TSwatchRead Read(QByteArrayView bytes);

// UTF-8, two-blank indent, one colour per line, lower-case hex.
QByteArray Write(const TSwatchList& list);

} // namespace JsonPalette
