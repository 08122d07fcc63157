#pragma once

#include "colour/ColorValue.h"

#include <QString>

// The copy formats of the style sheets' colour notations. Each reads back through ReadCssColor
// to exactly the colour it was made from; numbers carry no trailing zeros and no exponent.

// "rgb(255 26 184)".
QString FormatCssRgb(ColorValue color);

// "hsl(318.2 100% 55.1%)": hue in degrees 0-360, saturation and lightness in percent, each with
// the fewest decimals that still read back to the colour. Greys have hue 0.
QString FormatCssHsl(ColorValue color);

// "oklch(0.6552 0.2519 350.2)": lightness 0-1, chroma and hue in degrees, each with at least
// four significant digits and more where reading back needs them. Greys have chroma and hue 0.
QString FormatOkLch(ColorValue color);

// "#F1B" where the three-digit form is exact, else "#FF11BB" as FormatHtml writes it.
QString FormatShortHex(ColorValue color);
