#include "controls/Kxhsl.h"

#include <gtest/gtest.h>

namespace {

TKxHsl hsl(int h, int s, int l, int a = 0) {
    return {static_cast<std::uint16_t>(h), static_cast<std::uint8_t>(s),
            static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(a)};
}

// Pixels hold blue in byte 0 and red in byte 2.
constexpr std::uint32_t pixel(int r, int g, int b, int a = 0) {
    return static_cast<std::uint32_t>(b) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(a) << 24;
}

} // namespace

TEST(KxRgbToHsl, ExtremesNeverReachFullLightnessOrHue360) {
    EXPECT_EQ(KxRgbToHsl(pixel(255, 255, 255)), hsl(0, 0, 99));
    EXPECT_EQ(KxRgbToHsl(pixel(0, 0, 0)), hsl(0, 0, 0));
    EXPECT_EQ(KxRgbToHsl(pixel(255, 0, 0)), hsl(0, 100, 49));
    EXPECT_EQ(KxRgbToHsl(pixel(0, 255, 0)), hsl(120, 100, 49));
    EXPECT_EQ(KxRgbToHsl(pixel(0, 0, 255)), hsl(240, 100, 49));
    EXPECT_EQ(KxRgbToHsl(pixel(255, 0, 255)), hsl(300, 100, 49));
    EXPECT_EQ(KxRgbToHsl(pixel(255, 255, 0)), hsl(60, 100, 49));
    EXPECT_EQ(KxRgbToHsl(pixel(128, 128, 128)).saturation, 0);
}

TEST(KxRgbToHsl, CacheNeverReturnsAnotherPixelsResult) {
    // Pixels that differ only in alpha must not share a result.
    EXPECT_EQ(KxRgbToHsl(pixel(255, 0, 0, 0x80)), hsl(0, 100, 49, 0x80));
    EXPECT_EQ(KxRgbToHsl(pixel(255, 0, 0, 0x80)), hsl(0, 100, 49, 0x80));
    EXPECT_EQ(KxRgbToHsl(pixel(255, 0, 0, 0x00)), hsl(0, 100, 49, 0x00));
    EXPECT_EQ(KxRgbToHsl(pixel(0, 0, 0)), hsl(0, 0, 0));
    EXPECT_EQ(KxRgbToHsl(pixel(255, 0, 0, 0x80)).alpha, 0x80);
}

TEST(KxRgbToHsl, EveryPixelStaysInRange) {
    bool inRange = true;
    for (std::uint32_t p = 0; p <= 0xFFFFFFu && inRange; ++p) {
        const TKxHsl t = KxRgbToHsl(p);
        inRange = t.hue < 360 && t.saturation <= 100 && t.lightness <= 99 && t.alpha == 0;
        if (!inRange) ADD_FAILURE() << "pixel " << std::hex << p;
    }
    EXPECT_TRUE(inRange);
}

TEST(KxHslToRgb, WorkedExamplesAndAlpha) {
    EXPECT_EQ(KxHslToRgb(hsl(0, 100, 49)), 0x0000F9u);
    EXPECT_EQ(KxHslToRgb(hsl(0, 0, 99)), 0xFCFCFCu);
    EXPECT_EQ(KxHslToRgb(hsl(120, 100, 49)), 0x00F900u);
    EXPECT_EQ(KxHslToRgb(hsl(240, 100, 49)), 0xF90000u);
    EXPECT_EQ(KxHslToRgb(hsl(0, 0, 99, 0x7F)), 0x7FFCFCFCu);
    EXPECT_EQ(KxHslToRgb(hsl(0, 0, 0, 0x7F)), 0x7F000000u);
}

TEST(KxHslToRgb, HueOf360AndBeyondIsBlack) {
    EXPECT_EQ(KxHslToRgb(hsl(360, 100, 49)), 0u);
    EXPECT_EQ(KxHslToRgb(hsl(65535, 50, 50)), 0u);
    EXPECT_NE(KxHslToRgb(hsl(359, 100, 49)), 0u);
}

TEST(KxHslToRgb, OversizedPercentagesStayWithinTheirBytes) {
    for (const int s : {0, 100, 101, 255})
        for (const int l : {1, 49, 50, 100, 101, 255})
            for (const int h : {0, 59, 60, 180, 359})
                EXPECT_EQ(KxHslToRgb(hsl(h, s, l)) & 0xFF000000u, 0u) << h << ' ' << s << ' ' << l;
}
