#include "colour/Oklab.h"

#include "colour/ColorSpaces.h"
#include "colour/LinearRgb.h"

#include <cmath>
#include <numbers>

namespace Oklab {

TOklab fromLinear(const TLinearRgb& c) noexcept {
    const ColorTriple lab = LinearSrgbToOkLab({c.r, c.g, c.b});
    return {lab[0], lab[1], lab[2]};
}

TLinearRgb toLinear(const TOklab& lab) noexcept {
    const ColorTriple c = OkLabToLinearSrgb({lab.L, lab.a, lab.b});
    return {c[0], c[1], c[2]};
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
