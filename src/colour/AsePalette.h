#pragma once

#include "colour/SwatchList.h"

#include <QByteArray>
#include <QByteArrayView>

// The binary swatch exchange format of design tools. Big-endian throughout:
// "ASEF", version 1.0, a block count, then blocks of a 16-bit type and a
// 32-bit length. A colour block (type 0x0001) holds its name (a 16-bit count
// of UTF-16 units that includes the closing NUL, then the units), a
// four-letter model ("RGB ", "CMYK", "Gray", "LAB "), one 32-bit float per
// component and a 16-bit colour type (0 global, 1 spot, 2 normal). Groups are
// framed by a start block (0xC001, with a name like a colour's) and an end
// block (0xC002). Blocks of other types are skipped by their length.
namespace AsePalette {

inline constexpr quint16 kColorBlock = 0x0001;
inline constexpr quint16 kGroupStart = 0xC001;
inline constexpr quint16 kGroupEnd = 0xC002;

// Every colour of every group, in file order; the palette takes the name of
// the first group. CMYK, Gray and LAB colours are converted to sRGB
// (ColorModels; LAB's L* is stored as a fraction 0 to 1). A length or count
// that runs past the end of the file refuses it with the byte offset of the
// field, so no claimed size is ever trusted further than the bytes there are.
TSwatchRead Read(QByteArrayView bytes);

// One group named after the palette holding every colour as an RGB colour of
// the normal type.
QByteArray Write(const TSwatchList& list);

} // namespace AsePalette
