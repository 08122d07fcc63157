#pragma once

#include "colour/ColorValue.h"

#include <cstdint>

// One pixel as it sits in a bitmap, read as a 32-bit word: 0xAARRGGBB.
using TKxPixel = std::uint32_t;

// Four bytes red, green, blue, alpha in memory, so value() reads like a colour value 0x00BBGGRR
// with alpha in the top byte. A colour value converted with the one-argument constructor has alpha
// 0 (its byte 3); the default colour is all four bytes 255.
struct TKxColor {
    std::uint8_t r = 255;
    std::uint8_t g = 255;
    std::uint8_t b = 255;
    std::uint8_t a = 255;

    constexpr TKxColor() = default;
    constexpr explicit TKxColor(ColorValue value) noexcept
        : r(static_cast<std::uint8_t>(value)), g(static_cast<std::uint8_t>(value >> 8)),
          b(static_cast<std::uint8_t>(value >> 16)), a(static_cast<std::uint8_t>(value >> 24)) {}
    constexpr TKxColor(int red, int green, int blue, int alpha = 255) noexcept
        : r(static_cast<std::uint8_t>(red)), g(static_cast<std::uint8_t>(green)),
          b(static_cast<std::uint8_t>(blue)), a(static_cast<std::uint8_t>(alpha)) {}

    // 0xAABBGGRR.
    constexpr std::uint32_t value() const noexcept {
        return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16) |
               (std::uint32_t(a) << 24);
    }
    // The pixel word with red and blue exchanged: 0xAARRGGBB.
    constexpr TKxPixel toPixel() const noexcept {
        return std::uint32_t(b) | (std::uint32_t(g) << 8) | (std::uint32_t(r) << 16) |
               (std::uint32_t(a) << 24);
    }
    static constexpr TKxColor fromPixel(TKxPixel p) noexcept {
        return TKxColor(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF), int(p >> 24));
    }
    friend constexpr bool operator==(const TKxColor&, const TKxColor&) = default;
};
static_assert(sizeof(TKxColor) == 4);
