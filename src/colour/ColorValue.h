#pragma once

#include <cstdint>

// A colour travels through the program as one 32-bit value laid out 0x00BBGGRR: red in the low
// byte, then green, then blue. Only the low 24 bits name the colour; byte 3 is zero for a plain
// colour. The same byte exchange that swaps red and blue converts between this layout and the
// blue-green-red-alpha pixel order of the off-screen bitmaps.
using ColorValue = std::uint32_t;

// Marks "no colour" where a colour is optional (an empty slot, an unset setting).
inline constexpr ColorValue kNoColor = 0xFFFFFFFFu;
inline constexpr ColorValue kColorMask = 0x00FFFFFFu;
inline constexpr ColorValue kBlack = 0x000000u;
inline constexpr ColorValue kWhite = 0xFFFFFFu;

constexpr int RedOf(ColorValue c) noexcept {
    return static_cast<int>(c & 0xFFu);
}
constexpr int GreenOf(ColorValue c) noexcept {
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int BlueOf(ColorValue c) noexcept {
    return static_cast<int>((c >> 16) & 0xFFu);
}

// Builds a plain colour from three channels 0 to 255 (higher bits of each argument are dropped).
constexpr ColorValue MakeColor(int red, int green, int blue) noexcept {
    return (static_cast<ColorValue>(red) & 0xFFu) |
           ((static_cast<ColorValue>(green) & 0xFFu) << 8) |
           ((static_cast<ColorValue>(blue) & 0xFFu) << 16);
}

// The colour a stored or given value stands for, as the low 24 bits: a value
// with the top bit set names a system colour by its low byte, whose current
// value it becomes (black for an index that names none); any other value
// keeps its colour bits. kNoColor has the top bit set too: callers tell it
// apart before resolving.
ColorValue ResolveColor(ColorValue value);

// Hue, luminance and saturation, each on the 0 to 240 scale: hue 0 red, 80 green, 160 blue
// (160 is also the hue of every grey, whose saturation is 0).
struct HlsTriple {
    std::uint16_t hue = 0;
    std::uint16_t lum = 0;
    std::uint16_t sat = 0;

    friend constexpr bool operator==(const HlsTriple&, const HlsTriple&) = default;
};

inline constexpr int kHlsMax = 240;

// Converts the low 24 bits of a colour to hue 0-239, luminance 0-240, saturation 0-240.
HlsTriple RgbToHls(ColorValue color) noexcept;

// Converts hue, luminance, saturation (0 to 240 each; note the argument order) back to a colour
// with byte 3 zero. The round trip through RgbToHls is close but not always exact.
ColorValue HlsToRgb(int hue, int lum, int sat) noexcept;

// Moves each channel to the nearest of 0, 51, 102, 153, 204, 255; byte 3 is kept.
ColorValue WebSafe(ColorValue color) noexcept;

// The luma 0-255 that decides between black and white text; also the automatic grey of buttons.
int ColorLuma(ColorValue color) noexcept;

// Black text on light colours (luma 111 and above), white text on dark ones.
ColorValue TextColorFor(ColorValue color) noexcept;

// Exchanges bytes 0 and 2 (red and blue); bytes 1 and 3 stay. This also converts between the
// colour layout and pixel order.
constexpr ColorValue SwapRedBlue(ColorValue color) noexcept {
    return (color & 0xFF00FF00u) | ((color & 0xFFu) << 16) | ((color >> 16) & 0xFFu);
}

// Shows a 0-240 HLS component on a user scale (degrees, percent): maximum × value ÷ 240,
// truncated, wrapped the way 32-bit signed arithmetic reduced to 16 bits wraps for absurd maxima.
std::uint16_t ScaleHlsComponent(int maximum, int value) noexcept;
