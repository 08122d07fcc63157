#pragma once

#include <cstdint>

// Hue in degrees, saturation and lightness in percent, as the buttons use them to derive their
// hover shades. This scale is not interchangeable with the 0 to 240 HLS of the colour core.
struct TKxHsl {
    std::uint16_t hue = 0;       // 0 to 359
    std::uint8_t saturation = 0; // 0 to 100
    std::uint8_t lightness = 0;  // 0 to 100; a converted colour never exceeds 99
    std::uint8_t alpha = 0;      // carried through unchanged

    friend constexpr bool operator==(const TKxHsl&, const TKxHsl&) = default;
};

// Converts a pixel (byte 0 blue, byte 1 green, byte 2 red, byte 3 alpha). Remembers the last pixel
// and its result, because a button converts the same colours each time its colours are set.
TKxHsl KxRgbToHsl(std::uint32_t pixel) noexcept;

// Converts back to a colour laid out 0xAABBGGRR (red in the low byte) with the record's alpha in
// byte 3. Hues of 360 and more give black.
std::uint32_t KxHslToRgb(const TKxHsl& hsl) noexcept;
