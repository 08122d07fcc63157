#include "colour/Oklab.h"

#include "colour/LinearRgb.h"

#include <cmath>
#include <numbers>

namespace Oklab {

TOklab fromLinear(const TLinearRgb& c) noexcept {
    const double l = std::cbrt(0.4122214708 * c.r + 0.5363325363 * c.g + 0.0514459929 * c.b);
    const double m = std::cbrt(0.2119034982 * c.r + 0.6806995451 * c.g + 0.1073969566 * c.b);
    const double s = std::cbrt(0.0883024619 * c.r + 0.2817188376 * c.g + 0.6299787005 * c.b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

TLinearRgb toLinear(const TOklab& lab) noexcept {
    const double l = lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m = lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s = lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l3 = l * l * l;
    const double m3 = m * m * m;
    const double s3 = s * s * s;
    return {4.0767416621 * l3 - 3.3077115913 * m3 + 0.2309699292 * s3,
            -1.2684380046 * l3 + 2.6097574011 * m3 - 0.3413193965 * s3,
            -0.0041960863 * l3 - 0.7034186147 * m3 + 1.7076147010 * s3};
}

TOklab fromColor(ColorValue color) noexcept {
    return fromLinear({LinearRgb::channel(RedOf(color)), LinearRgb::channel(GreenOf(color)),
                       LinearRgb::channel(BlueOf(color))});
}

ColorValue toColor(const TOklab& lab) noexcept {
    const TLinearRgb c = toLinear(lab);
    return MakeColor(LinearRgb::toByte(c.r), LinearRgb::toByte(c.g), LinearRgb::toByte(c.b));
}

TOklch toLch(const TOklab& lab) noexcept {
    double h = std::atan2(lab.b, lab.a) * 180.0 / std::numbers::pi;
    if (h < 0) h += 360.0;
    return {lab.L, std::hypot(lab.a, lab.b), h};
}

TOklab fromLch(const TOklch& lch) noexcept {
    const double rad = lch.h * std::numbers::pi / 180.0;
    return {lch.L, lch.C * std::cos(rad), lch.C * std::sin(rad)};
}

bool inGamut(const TLinearRgb& c, double tolerance) noexcept {
    const double lo = -tolerance;
    const double hi = 1.0 + tolerance;
    return c.r >= lo && c.r <= hi && c.g >= lo && c.g <= hi && c.b >= lo && c.b <= hi;
}

} // namespace Oklab
