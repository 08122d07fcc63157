#include "colour/Kxhsl.h"

#include <gtest/gtest.h>

namespace {

TKxHsl hsl(int h, int s, int l, int a = 0) {
    return {static_cast<std::uint16_t>(h), static_cast<std::uint8_t>(s),
            static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(a)};
}

} // namespace

// Pixels hold blue in byte 0 and red in byte 2.
TEST(KxRgbToHsl, ExtremesNeverReachFullLightnessOrHue360) {
    EXPECT_EQ(KxRgbToHsl(0xFFFFFFu), hsl(0, 0, 99));
    EXPECT_EQ(KxRgbToHsl(0x000000u), hsl(0, 0, 0));
    EXPECT_EQ(KxRgbToHsl(0xFF0000u), hsl(0, 100, 49));
    EXPECT_EQ(KxRgbToHsl(0x00FF00u), hsl(120, 100, 49));
    EXPECT_EQ(KxRgbToHsl(0x0000FFu), hsl(240, 100, 49));
    EXPECT_EQ(KxRgbToHsl(0xFF00FFu), hsl(300, 100, 49));
}

TEST(KxRgbToHsl, CacheTellsPixelsApartByAlphaAndStaysInRange) {
    EXPECT_EQ(KxRgbToHsl(0x80FF0000u), hsl(0, 100, 49, 0x80));
    EXPECT_EQ(KxRgbToHsl(0x00FF0000u), hsl(0, 100, 49, 0));
    EXPECT_EQ(KxRgbToHsl(0x80FF0000u).alpha, 0x80);
    std::uint32_t bad = 0xFFFFFFFFu;
    for (std::uint32_t p = 0; p <= 0xFFFFFFu && bad == 0xFFFFFFFFu; ++p) {
        const TKxHsl t = KxRgbToHsl(p);
        if (t.hue >= 360 || t.saturation > 100 || t.lightness > 99 || t.alpha != 0) bad = p;
    }
    EXPECT_EQ(bad, 0xFFFFFFFFu) << std::hex << bad;
}

TEST(KxHslToRgb, WorkedExamplesAlphaAndHuesFrom360) {
    EXPECT_EQ(KxHslToRgb(hsl(0, 100, 49)), 0x0000F9u);
    EXPECT_EQ(KxHslToRgb(hsl(240, 100, 49)), 0xF90000u);
    EXPECT_EQ(KxHslToRgb(hsl(0, 0, 99, 0x7F)), 0x7FFCFCFCu);
    EXPECT_EQ(KxHslToRgb(hsl(360, 100, 49)), 0u);
    EXPECT_NE(KxHslToRgb(hsl(359, 100, 49)), 0u);
}

TEST(KxHslToRgb, OversizedPercentagesStayWithinTheirBytes) {
    for (const int s : {0, 100, 101, 255})
        for (const int l : {1, 49, 50, 100, 255})
            for (const int h : {0, 60, 180, 359})
                EXPECT_EQ(KxHslToRgb(hsl(h, s, l)) >> 24, 0u) << h << ' ' << s << ' ' << l;
}
