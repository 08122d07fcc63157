#include "colour/Kxhsl.h"

#include <algorithm>
#include <array>

namespace {

// One entry per thread; only the user-interface thread converts in practice.
struct HslCache {
    bool filled = false;
    std::uint32_t pixel = 0;
    TKxHsl hsl;
};

thread_local HslCache cache;

std::uint32_t byteScaledPercent(int percent) {
    const int value = percent * 255 / 100;
    return static_cast<std::uint32_t>(std::clamp(value, 0, 255));
}

} // namespace

TKxHsl KxRgbToHsl(std::uint32_t pixel) noexcept {
    if (cache.filled && cache.pixel == pixel) return cache.hsl;

    // Channels scaled by 255 give 0 to 65025, so that the percent scale (a shift by 16) never
    // quite reaches 100 for lightness.
    const std::uint32_t b = (pixel & 0xFFu) * 255u;
    const std::uint32_t g = ((pixel >> 8) & 0xFFu) * 255u;
    const std::uint32_t r = ((pixel >> 16) & 0xFFu) * 255u;
    const std::uint32_t mx = std::max(r, std::max(g, b));
    const std::uint32_t mn = std::min(r, std::min(g, b));
    const std::uint32_t lum = (mx + mn) >> 1;
    const std::uint32_t d = mx - mn;

    std::uint32_t hue = 0;
    std::uint32_t sat = 0;
    if (lum != 0 && d != 0) {
        // d × 65536 stays below 2^32 because d is at most 65025.
        sat = lum < 0x8000u ? (d << 16) / (mx + mn) : (d << 16) / (0x20000u - mx - mn);
        const std::uint32_t hr = (((mx - r) << 16) / d * 60u) >> 16;
        const std::uint32_t hg = (((mx - g) << 16) / d * 60u) >> 16;
        const std::uint32_t hb = (((mx - b) << 16) / d * 60u) >> 16;
        if (r == mx)
            hue = g == mn ? 300u + hb : 60u - hg;
        else if (g == mx)
            hue = b == mn ? 60u + hr : 180u - hb;
        else
            hue = r == mn ? 180u + hg : 300u - hr;
        if (hue == 360u) hue = 0;
    }

    TKxHsl hsl;
    hsl.hue = static_cast<std::uint16_t>(hue);
    hsl.saturation = static_cast<std::uint8_t>((sat * 100u) >> 16);
    hsl.lightness = static_cast<std::uint8_t>((lum * 100u) >> 16);
    hsl.alpha = static_cast<std::uint8_t>(pixel >> 24);
    cache = {true, pixel, hsl};
    return hsl;
}

std::uint32_t KxHslToRgb(const TKxHsl& hsl) noexcept {
    const int h = hsl.hue;
    const int s = hsl.saturation;
    const int l = hsl.lightness;
    const std::uint32_t alpha = static_cast<std::uint32_t>(hsl.alpha) << 24;

    const int top = l < 50 ? (s + 100) * l / 100 : l + s - l * s / 100;
    if (top <= 0) return alpha;
    const int bottom = 2 * l - top;
    const int sv = (top - bottom) * 100 / top;
    const int sextant = h / 60;
    const int f = (h - sextant * 60) * 100 / 60;
    const int v = top * sv * f / 10000;
    const int up = bottom + v;
    const int down = top - v;

    std::array<int, 3> rgb{0, 0, 0};
    switch (sextant) {
    case 0:
        rgb = {top, up, bottom};
        break;
    case 1:
        rgb = {down, top, bottom};
        break;
    case 2:
        rgb = {bottom, top, up};
        break;
    case 3:
        rgb = {bottom, down, top};
        break;
    case 4:
        rgb = {up, bottom, top};
        break;
    case 5:
        rgb = {top, bottom, down};
        break;
    default:
        break; // hue 360 and beyond
    }
    // Saturation or lightness above 100 can drive a channel below 0; it is held at 0 so that it
    // never borrows from the neighbouring byte.
    return byteScaledPercent(rgb[0]) | (byteScaledPercent(rgb[1]) << 8) |
           (byteScaledPercent(rgb[2]) << 16) | alpha;
}
