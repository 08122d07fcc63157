#pragma once

#include "colour/ColorValue.h"

#include <QString>
#include <optional>

// A colour text as read, and what to tell the user about it: alpha dropped, a colour mapped into
// sRGB, or a keyword that names no colour value (the colour is empty then). The note is empty
// when there is nothing to say.
struct ColorTextReading {
    std::optional<ColorValue> color;
    QString note;
};

// Reads every notation ParseColorText reads, the program's "R:rrr G:ggg B:bbb" copy format, then
// every colour of the style sheets (see ReadCssColor), in that order: a text the older notations
// read keeps its meaning. Style-sheet colours are read in RGB order like the rest.
ColorTextReading ReadColorText(const QString& text);

// Reads a colour typed or pasted into the value field: rgb(r,g,b), #RRGGBB, $RRGGBB, $AARRGGBB,
// 0xRRGGBB, 0xAARRGGBB, bare RRGGBB or AARRGGBB, and three decimal numbers separated by single
// blanks or commas. Letters may be in either case and trailing punctuation is ignored. Hexadecimal
// is read in RGB order; an eight-digit form puts its first pair into byte 3. Returns nothing when
// the text is no colour. Beyond these it reads whatever ReadColorText reads. The caller applies the
// BGR order, if selected, with SwapRedBlue.
std::optional<ColorValue> ParseColorText(const QString& text);

// Reads the six-character colour fields of the sample row as RRGGBB, skipping every character
// that is not a hexadecimal digit. Meant for texts of exactly six characters.
ColorValue ParseHexSix(const QString& text);

// The value field's tooltip, listing the notations ParseColorText accepts.
QString ValueExamplesHint();
