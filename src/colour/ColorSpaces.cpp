#include "colour/ColorSpaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Matrix = std::array<ColorTriple, 3>;

constexpr ColorTriple multiply(const Matrix& m, const ColorTriple& v) noexcept {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
            m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

constexpr Matrix product(const Matrix& a, const Matrix& b) noexcept {
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            r[i][k] = a[i][0] * b[0][k] + a[i][1] * b[1][k] + a[i][2] * b[2][k];
    return r;
}

constexpr Matrix inverse(const Matrix& m) noexcept {
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    return {{{c00 / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det,
              (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det},
             {c01 / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det,
              (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det},
             {c02 / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det,
              (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det}}};
}

// White points from their chromaticities, as the colour module of the style sheets defines them.
constexpr ColorTriple whiteFromXy(double x, double y) noexcept {
    return {x / y, 1.0, (1.0 - x - y) / y};
}
constexpr ColorTriple kD50 = whiteFromXy(0.3457, 0.3585);
constexpr ColorTriple kD65 = whiteFromXy(0.3127, 0.3290);

// The exact rational forms, so the matrices and their inverses agree to double precision.
constexpr Matrix kLinearSrgbToXyz{{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr Matrix kXyzToLinearSrgb = inverse(kLinearSrgbToXyz);

constexpr Matrix kLinearP3ToXyz{{
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0, 32229.0 / 714400, 5220557.0 / 5000800},
}};

// Bradford: adapt in its cone space by the ratio of the two whites.
constexpr Matrix kBradford{{
    {0.8951, 0.2664, -0.1614},
    {-0.7502, 1.7135, 0.0367},
    {0.0389, -0.0685, 1.0296},
}};
constexpr Matrix adaptation(const ColorTriple& from, const ColorTriple& to) noexcept {
    const ColorTriple coneFrom = multiply(kBradford, from);
    const ColorTriple coneTo = multiply(kBradford, to);
    const Matrix scale{{{coneTo[0] / coneFrom[0], 0, 0},
                        {0, coneTo[1] / coneFrom[1], 0},
                        {0, 0, coneTo[2] / coneFrom[2]}}};
    return product(inverse(kBradford), product(scale, kBradford));
}
constexpr Matrix kD50ToD65 = adaptation(kD50, kD65);
constexpr Matrix kD65ToD50 = adaptation(kD65, kD50);

// OKLab as its author published it: XYZ to cone responses, a cube root, then to Lab.
constexpr Matrix kXyzToLms{{
    {0.8189330101, 0.3618667424, -0.1288597137},
    {0.0329845436, 0.9293118715, 0.0361456387},
    {0.0482003018, 0.2643662691, 0.6338517070},
}};
constexpr Matrix kLmsToLab{{
    {0.2104542553, 0.7936177850, -0.0040720468},
    {1.9779984951, -2.4285922050, 0.4505937099},
    {0.0259040371, 0.7827717662, -0.8086757660},
}};
constexpr Matrix kLmsToXyz = inverse(kXyzToLms);
constexpr Matrix kLabToLms = inverse(kLmsToLab);
// The author's direct sRGB matrix: made for sRGB's own white, it takes white to exactly L 1 and
// no chroma, where the XYZ matrix above, made for a slightly different white, is 1e-4 off.
constexpr Matrix kLinearSrgbToLms{{
    {0.4122214708, 0.5363325363, 0.0514459929},
    {0.2119034982, 0.6806995451, 0.1073969566},
    {0.0883024619, 0.2817188376, 0.6299787005},
}};
constexpr Matrix kLmsToLinearSrgb = inverse(kLinearSrgbToLms);

ColorTriple lmsToOkLab(const ColorTriple& lms) noexcept {
    return multiply(kLmsToLab, {std::cbrt(lms[0]), std::cbrt(lms[1]), std::cbrt(lms[2])});
}

ColorTriple okLabToLms(const ColorTriple& lab) noexcept {
    const ColorTriple root = multiply(kLabToLms, lab);
    return {root[0] * root[0] * root[0], root[1] * root[1] * root[1], root[2] * root[2] * root[2]};
}

constexpr double kLabEpsilon = 216.0 / 24389;
constexpr double kLabKappa = 24389.0 / 27;

double hueToRgb(double hue, double sat, double light, double n) noexcept {
    double k = std::fmod(n + hue / 30.0, 12.0);
    if (k < 0) k += 12.0;
    const double a = sat * std::min(light, 1.0 - light);
    return light - a * std::max(-1.0, std::min({k - 3.0, 9.0 - k, 1.0}));
}

} // namespace

double SrgbToLinear(double channel) noexcept {
    const double magnitude = std::abs(channel);
    const double linear =
        magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
    return std::copysign(linear, channel);
}

double LinearToSrgb(double channel) noexcept {
    const double magnitude = std::abs(channel);
    const double encoded =
        magnitude <= 0.0031308 ? magnitude * 12.92 : 1.055 * std::pow(magnitude, 1.0 / 2.4) - 0.055;
    return std::copysign(encoded, channel);
}

ColorTriple LinearSrgbToXyz(const ColorTriple& rgb) noexcept {
    return multiply(kLinearSrgbToXyz, rgb);
}

ColorTriple XyzToLinearSrgb(const ColorTriple& xyz) noexcept {
    return multiply(kXyzToLinearSrgb, xyz);
}

ColorTriple LinearDisplayP3ToXyz(const ColorTriple& rgb) noexcept {
    return multiply(kLinearP3ToXyz, rgb);
}

ColorTriple XyzD50ToD65(const ColorTriple& xyz) noexcept {
    return multiply(kD50ToD65, xyz);
}

ColorTriple XyzD65ToD50(const ColorTriple& xyz) noexcept {
    return multiply(kD65ToD50, xyz);
}

ColorTriple LabToXyzD50(const ColorTriple& lab) noexcept {
    const double f1 = (lab[0] + 16.0) / 116.0;
    const double f0 = lab[1] / 500.0 + f1;
    const double f2 = f1 - lab[2] / 200.0;
    const auto inverseF = [](double f) {
        const double cube = f * f * f;
        return cube > kLabEpsilon ? cube : (116.0 * f - 16.0) / kLabKappa;
    };
    const double y = lab[0] > kLabKappa * kLabEpsilon ? f1 * f1 * f1 : lab[0] / kLabKappa;
    return {inverseF(f0) * kD50[0], y * kD50[1], inverseF(f2) * kD50[2]};
}

ColorTriple XyzD50ToLab(const ColorTriple& xyz) noexcept {
    const auto f = [](double t) {
        return t > kLabEpsilon ? std::cbrt(t) : (kLabKappa * t + 16.0) / 116.0;
    };
    const double fx = f(xyz[0] / kD50[0]);
    const double fy = f(xyz[1] / kD50[1]);
    const double fz = f(xyz[2] / kD50[2]);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

ColorTriple XyzToOkLab(const ColorTriple& xyz) noexcept {
    return lmsToOkLab(multiply(kXyzToLms, xyz));
}

ColorTriple OkLabToXyz(const ColorTriple& lab) noexcept {
    return multiply(kLmsToXyz, okLabToLms(lab));
}

ColorTriple LinearSrgbToOkLab(const ColorTriple& rgb) noexcept {
    return lmsToOkLab(multiply(kLinearSrgbToLms, rgb));
}

ColorTriple OkLabToLinearSrgb(const ColorTriple& lab) noexcept {
    return multiply(kLmsToLinearSrgb, okLabToLms(lab));
}

ColorTriple LabToLch(const ColorTriple& lab) noexcept {
    double hue = std::atan2(lab[2], lab[1]) * 180.0 / std::numbers::pi;
    if (hue < 0) hue += 360.0;
    return {lab[0], std::hypot(lab[1], lab[2]), hue};
}

ColorTriple LchToLab(const ColorTriple& lch) noexcept {
    const double radians = lch[2] * std::numbers::pi / 180.0;
    return {lch[0], lch[1] * std::cos(radians), lch[1] * std::sin(radians)};
}

ColorTriple HslToSrgb(double hue, double sat, double light) noexcept {
    return {hueToRgb(hue, sat, light, 0), hueToRgb(hue, sat, light, 8),
            hueToRgb(hue, sat, light, 4)};
}

ColorTriple HwbToSrgb(double hue, double white, double black) noexcept {
    if (white + black >= 1.0) {
        const double grey = white / (white + black);
        return {grey, grey, grey};
    }
    ColorTriple rgb = HslToSrgb(hue, 1.0, 0.5);
    for (double& c : rgb)
        c = c * (1.0 - white - black) + white;
    return rgb;
}

ColorTriple SrgbToHsl(const ColorTriple& rgb) noexcept {
    const double max = std::max({rgb[0], rgb[1], rgb[2]});
    const double min = std::min({rgb[0], rgb[1], rgb[2]});
    const double light = (max + min) / 2.0;
    const double delta = max - min;
    if (delta == 0.0) return {0.0, 0.0, light};
    const double sat =
        (light == 0.0 || light == 1.0) ? 0.0 : (max - light) / std::min(light, 1.0 - light);
    double hue = 0;
    if (max == rgb[0])
        hue = (rgb[1] - rgb[2]) / delta + (rgb[1] < rgb[2] ? 6.0 : 0.0);
    else if (max == rgb[1])
        hue = (rgb[2] - rgb[0]) / delta + 2.0;
    else
        hue = (rgb[0] - rgb[1]) / delta + 4.0;
    return {hue * 60.0, sat, light};
}
