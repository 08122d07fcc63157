#include "colour/Oklab.h"

#include <gtest/gtest.h>

// Reference values from CSS Color 4 for sRGB red, green and blue.
TEST(Oklab, PublishedExamples) {
    const TOklch red = Oklab::toLch(Oklab::fromColor(MakeColor(255, 0, 0)));
    EXPECT_NEAR(red.L, 0.62796, 1e-4);
    EXPECT_NEAR(red.C, 0.25768, 1e-4);
    EXPECT_NEAR(red.h, 29.2339, 1e-2);
    const TOklch green = Oklab::toLch(Oklab::fromColor(MakeColor(0, 128, 0)));
    EXPECT_NEAR(green.L, 0.51975, 1e-4);
    EXPECT_NEAR(green.C, 0.17686, 1e-4);
    EXPECT_NEAR(green.h, 142.495, 1e-2);
    const TOklab blue = Oklab::fromColor(MakeColor(0, 0, 255));
    EXPECT_NEAR(blue.L, 0.45201, 1e-4);
    EXPECT_NEAR(blue.a, -0.03246, 1e-4);
    EXPECT_NEAR(blue.b, -0.31153, 1e-4);
    const TOklab white = Oklab::fromColor(kWhite);
    EXPECT_NEAR(white.L, 1.0, 1e-6);
    EXPECT_NEAR(white.a, 0.0, 1e-6);
    EXPECT_NEAR(white.b, 0.0, 1e-6);
}

TEST(Oklab, ColoursComeBackThroughLabAndLch) {
    ColorValue bad = kNoColor;
    for (int r = 0; r < 256 && bad == kNoColor; r += 3)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 3) {
                const ColorValue c = MakeColor(r, g, b);
                if (Oklab::toColor(Oklab::fromLch(Oklab::toLch(Oklab::fromColor(c)))) != c) bad = c;
            }
    EXPECT_EQ(bad, kNoColor) << std::hex << bad;
    EXPECT_TRUE(Oklab::inGamut(Oklab::toLinear(Oklab::fromColor(kWhite))));
    EXPECT_FALSE(Oklab::inGamut(Oklab::toLinear(Oklab::fromLch({0.9, 0.3, 29.0}))));
}
