#include "colour/ColorValue.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cmath>

namespace {

// A round trip through a 64-bit integer replaces the library's floor and trunc, which are calls on
// baseline x86-64. Magnitudes from 2^52 up are whole numbers already (and may not fit).
double truncate(double x) noexcept {
    constexpr double whole = 4503599627370496.0;
    if (x >= whole || x <= -whole) return x;
    return static_cast<double>(static_cast<std::int64_t>(x));
}

double floorOf(double x) noexcept {
    const double t = truncate(x);
    return t > x ? t - 1.0 : t;
}

// Nearest integer, an exact half going to the even neighbour. Written out rather than relying on
// the floating-point environment's rounding mode, which other code could change.
double roundHalfEven(double x) noexcept {
    const double lower = floorOf(x);
    const double fraction = x - lower;
    if (fraction < 0.5) return lower;
    if (fraction > 0.5) return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

// Channels above 255 saturate; below 0 they cannot arise from hue, luminance and saturation within
// 0 to 240, but out-of-range arguments must not spill into the neighbouring byte.
int clampChannel(double x) noexcept {
    if (x > 255.0) return 255;
    const double r = roundHalfEven(x);
    return r < 0.0 ? 0 : static_cast<int>(r);
}

double hueToChannel(double m1, double m2, double h) noexcept {
    if (h < 0.0) h += 240.0;
    if (h > 240.0) h -= 240.0;
    double value;
    if (h < 40.0)
        value = m1 + ((m2 - m1) * h + 20.0) / 40.0;
    else if (h < 120.0)
        value = m2;
    else if (h < 160.0)
        value = m1 + ((m2 - m1) * (160.0 - h) + 20.0) / 40.0;
    else
        value = m1;
    return roundHalfEven(value);
}

} // namespace

HlsTriple RgbToHls(ColorValue color) noexcept {
    // Channel values keep every quotient non-negative and small, so a cast truncates it; the
    // quotients themselves stay in double precision.
    const int r = RedOf(color);
    const int g = GreenOf(color);
    const int b = BlueOf(color);
    const int mx = std::max(r, std::max(g, b));
    const int mn = std::min(r, std::min(g, b));
    const double sum = mx + mn;

    HlsTriple hls;
    const int lum = static_cast<int>((sum * 240.0 + 255.0) / 510.0);
    hls.lum = static_cast<std::uint16_t>(lum);
    if (mx == mn) {
        hls.hue = 160;
        return hls;
    }

    const double d = mx - mn;
    const double rest = 510.0 - sum;
    const int sat = lum <= 120 ? static_cast<int>((d * 240.0 + sum / 2.0) / sum)
                               : static_cast<int>((d * 240.0 + rest / 2.0) / rest);
    hls.sat = static_cast<std::uint16_t>(sat);

    const int dr = static_cast<int>(((mx - r) * 40.0 + d / 2.0) / d);
    const int dg = static_cast<int>(((mx - g) * 40.0 + d / 2.0) / d);
    const int db = static_cast<int>(((mx - b) * 40.0 + d / 2.0) / d);
    // The order of the tests decides ties: red before green before blue. The differences are whole
    // numbers, so no rounding is left to do.
    int hue;
    if (r == mx)
        hue = db - dg;
    else if (g == mx)
        hue = 80 + dr - db;
    else
        hue = 160 + dg - dr;
    if (hue < 0) hue += 240;
    if (hue > 240) hue -= 240;
    hls.hue = static_cast<std::uint16_t>(hue);
    return hls;
}

ColorValue HlsToRgb(int hue, int lum, int sat) noexcept {
    const double l = lum;
    if (sat == 0) {
        const int v = clampChannel(l * 255.0 / 240.0);
        return MakeColor(v, v, v);
    }
    const double s = sat;
    const double h = hue;
    const double m2 =
        lum <= 120 ? (l * (s + 240.0) + 120.0) / 240.0 : l + s - (l * s + 120.0) / 240.0;
    const double m1 = 2.0 * l - m2;
    const int red = clampChannel((hueToChannel(m1, m2, h + 80.0) * 255.0 + 120.0) / 240.0);
    const int green = clampChannel((hueToChannel(m1, m2, h) * 255.0 + 120.0) / 240.0);
    const int blue = clampChannel((hueToChannel(m1, m2, h - 80.0) * 255.0 + 120.0) / 240.0);
    return MakeColor(red, green, blue);
}

ColorValue WebSafe(ColorValue color) noexcept {
    const auto snap = [](int channel) { return (channel + 26) / 51 * 51; };
    return (color & 0xFF000000u) |
           MakeColor(snap(RedOf(color)), snap(GreenOf(color)), snap(BlueOf(color)));
}

int ColorLuma(ColorValue color) noexcept {
    return (320 * RedOf(color) + 576 * GreenOf(color) + 128 * BlueOf(color)) >> 10;
}

ColorValue TextColorFor(ColorValue color) noexcept {
    return ColorLuma(color) >= 111 ? kBlack : kWhite;
}

std::uint16_t ScaleHlsComponent(int maximum, int value) noexcept {
    // Multiply modulo 2^32 so that a huge maximum wraps instead of overflowing.
    const auto product = static_cast<std::int32_t>(static_cast<std::uint32_t>(maximum) *
                                                   static_cast<std::uint32_t>(value));
    return static_cast<std::uint16_t>(product / kHlsMax);
}

ColorValue ResolveColor(ColorValue value) {
    if ((value & 0x80000000u) == 0) return value & kColorMask;
    const QRgb rgb = Platform::systemColor(static_cast<int>(value & 0xFFu));
    return MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
