#pragma once

#include "colour/ColorValue.h"

#include <QString>
#include <optional>

// Reads a colour typed or pasted into the value field: rgb(r,g,b), #RRGGBB, $RRGGBB, $AARRGGBB,
// 0xRRGGBB, 0xAARRGGBB, bare RRGGBB or AARRGGBB, and three decimal numbers separated by single
// blanks or commas. Letters may be in either case and trailing punctuation is ignored. Hexadecimal
// is read in RGB order; an eight-digit form puts its first pair into byte 3. Returns nothing when
// the text is no colour. The caller applies the BGR order, if selected, with SwapRedBlue.
std::optional<ColorValue> ParseColorText(const QString& text);

// Reads the six-character colour fields of the sample row as RRGGBB, skipping every character
// that is not a hexadecimal digit. Meant for texts of exactly six characters.
ColorValue ParseHexSix(const QString& text);

// The value field's tooltip, listing the notations ParseColorText accepts.
QString ValueExamplesHint();
