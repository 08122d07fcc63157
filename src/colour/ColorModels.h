#pragma once

#include "colour/ColorValue.h"

// Colours given in other colour models, brought to sRGB by their published
// formulas. Every input is clamped to its model's range first, and a value
// that is not a number counts as 0, so the result is always a plain colour.
namespace ColorModels {

// Fractions 0 to 1 of each channel.
ColorValue FromRgb(double red, double green, double blue);

// The naive conversion without a colour profile:
// channel = 255 x (1 - ink) x (1 - black), for fractions 0 to 1.
ColorValue FromCmyk(double cyan, double magenta, double yellow, double black);

// 0 black, 1 white.
ColorValue FromGray(double gray);

// CIE L*a*b* under the D50 white (the printing industry's white): L* 0 to
// 100, a* and b* -128 to 127; through XYZ and the Bradford-adapted sRGB
// matrix, with colours outside sRGB clipped.
ColorValue FromLab(double lightness, double a, double b);

} // namespace ColorModels
