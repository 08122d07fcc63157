#pragma once

#include "colour/ColorValue.h"

// The OKLab perceptual colour space and its polar form OKLCH, from and to sRGB colours. Lightness
// runs 0 (black) to 1 (white); a and b are the green-red and blue-yellow axes; chroma is the
// distance from grey and hue the angle in degrees, 0 to 360.
struct TOklab {
    double L = 0;
    double a = 0;
    double b = 0;
};

struct TOklch {
    double L = 0;
    double C = 0;
    double h = 0;
};

// Linear-light red, green and blue, 0 to 1 inside the sRGB gamut.
struct TLinearRgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

namespace Oklab {

TOklab fromLinear(const TLinearRgb& rgb) noexcept;
TLinearRgb toLinear(const TOklab& lab) noexcept;

TOklab fromColor(ColorValue color) noexcept;
// The nearest 8-bit colour; channels outside the gamut are clamped.
ColorValue toColor(const TOklab& lab) noexcept;

TOklch toLch(const TOklab& lab) noexcept;
TOklab fromLch(const TOklch& lch) noexcept;

// Every channel within 0 to 1, give or take `tolerance`.
bool inGamut(const TLinearRgb& rgb, double tolerance = 1e-7) noexcept;

} // namespace Oklab
