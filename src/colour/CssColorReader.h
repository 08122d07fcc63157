#pragma once

#include "colour/ColorValue.h"

#include <QStringView>
#include <optional>

// What reading a style-sheet colour gave: the sRGB colour, and what the user should hear about
// it. The program's colours are opaque and sRGB, so an alpha below 1 is read and dropped, and a
// colour beyond sRGB is mapped into it.
struct CssColorReading {
    std::optional<ColorValue> color;
    // An alpha below 1 was given and dropped.
    bool alphaIgnored = false;
    // The colour lay outside sRGB and was mapped into it.
    bool outOfGamut = false;
    // The text is transparent, currentcolor or a system colour: valid in a style sheet, but it
    // names no colour value of its own. `color` is empty then.
    bool keywordWithoutColor = false;

    friend bool operator==(const CssColorReading&, const CssColorReading&) = default;
};

// Reads one colour as written in a style sheet: #rgb, #rgba, #rrggbb, #rrggbbaa, the named
// colours, rgb(), rgba(), hsl(), hsla(), hwb(), lab(), lch(), oklab(), oklch() and color() in the
// spaces srgb, srgb-linear, display-p3, xyz, xyz-d65 and xyz-d50. Letter case is free; the
// functions take the comma syntax (rgb and hsl) or the blank-and-slash syntax, and `none` for any
// component of the latter. Blanks around the colour and one trailing ";" are allowed. Takes time
// linear in the length of the text and allocates nothing.
CssColorReading ReadCssColor(QStringView text) noexcept;
