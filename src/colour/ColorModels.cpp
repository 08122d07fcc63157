#include "colour/ColorModels.h"

#include "colour/ColorSpaces.h"

#include <algorithm>
#include <cmath>

namespace ColorModels {

namespace {

double clamped(double value, double low, double high) {
    if (std::isnan(value)) return 0.0;
    return std::clamp(value, low, high);
}

int channel(double fraction) {
    return static_cast<int>(std::lround(clamped(fraction, 0.0, 1.0) * 255.0));
}

// The inverse of the CIE L*a*b* companding function.
double labInverse(double t) {
    constexpr double delta = 6.0 / 29.0;
    if (t > delta) return t * t * t;
    return 3.0 * delta * delta * (t - 4.0 / 29.0);
}

} // namespace

ColorValue FromRgb(double red, double green, double blue) {
    return MakeColor(channel(red), channel(green), channel(blue));
}

ColorValue FromCmyk(double cyan, double magenta, double yellow, double black) {
    const double keep = 1.0 - clamped(black, 0.0, 1.0);
    return FromRgb((1.0 - clamped(cyan, 0.0, 1.0)) * keep,
                   (1.0 - clamped(magenta, 0.0, 1.0)) * keep,
                   (1.0 - clamped(yellow, 0.0, 1.0)) * keep);
}

ColorValue FromGray(double gray) {
    return FromRgb(gray, gray, gray);
}

ColorValue FromLab(double lightness, double a, double b) {
    // The D50 white of the ICC profile connection space.
    constexpr double whiteX = 0.96422;
    constexpr double whiteZ = 0.82521;
    const double fy = (clamped(lightness, 0.0, 100.0) + 16.0) / 116.0;
    const double fx = fy + clamped(a, -128.0, 127.0) / 500.0;
    const double fz = fy - clamped(b, -128.0, 127.0) / 200.0;
    const double x = whiteX * labInverse(fx);
    const double y = labInverse(fy);
    const double z = whiteZ * labInverse(fz);
    // XYZ (D50) to linear sRGB, Bradford-adapted from sRGB's D65 white.
    const double red = 3.1338561 * x - 1.6168667 * y - 0.4906146 * z;
    const double green = -0.9787684 * x + 1.9161415 * y + 0.0334540 * z;
    const double blue = 0.0719453 * x - 0.2289914 * y + 1.4052427 * z;
    return FromRgb(LinearToSrgb(clamped(red, 0.0, 1.0)), LinearToSrgb(clamped(green, 0.0, 1.0)),
                   LinearToSrgb(clamped(blue, 0.0, 1.0)));
}

} // namespace ColorModels
