#include "colour/ReadableColor.h"

#include "colour/ColorContrast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using ColorContrast::Hundredths;
using ColorContrast::Ratio;

TEST(ReadableColor, GreyJustMissingAaOnWhiteMovesOneStepDarker) {
    const auto result = ReadableColor::Nearest(MakeColor(0x77, 0x77, 0x77), kWhite, 450);
    EXPECT_TRUE(result.reached);
    EXPECT_EQ(result.color, MakeColor(0x76, 0x76, 0x76));
}

TEST(ReadableColor, ReadableTextStaysAndUnreachableLevelChangesNothing) {
    const auto stays = ReadableColor::Nearest(0x123456u, kWhite, 450);
    EXPECT_TRUE(stays.reached);
    EXPECT_EQ(stays.color, 0x123456u);
    // A middle grey background: neither black nor white text reaches 7:1 on it.
    const ColorValue red = MakeColor(200, 30, 30);
    const auto none = ReadableColor::Nearest(red, MakeColor(0x77, 0x77, 0x77), 700);
    EXPECT_FALSE(none.reached);
    EXPECT_EQ(none.color, red);
}

// Random pairs: the result reaches the level with the hue kept, and every lightness on the search
// grid closer to the text's own misses it.
TEST(ReadableColor, RandomPairsReachTheLevelWithTheSmallestLightnessMove) {
    std::mt19937 random(29);
    std::uniform_int_distribution<ColorValue> colour(0, kColorMask);
    int reached = 0;
    for (int i = 0; i < 10000; ++i) {
        const ColorValue text = colour(random);
        const ColorValue background = colour(random);
        const int required = (i % 2) ? 450 : 700;
        const auto result = ReadableColor::Nearest(text, background, required);
        SCOPED_TRACE(::testing::Message() << std::hex << text << " on " << background);
        if (!result.reached) {
            ASSERT_EQ(result.color, text);
            ASSERT_LT(std::max(Hundredths(Ratio(kWhite, background)),
                               Hundredths(Ratio(kBlack, background))),
                      required);
            continue;
        }
        ++reached;
        ASSERT_GE(Hundredths(Ratio(result.color, background)), required);

        const TOklch start = Oklab::toLch(Oklab::fromColor(text));
        const TOklab from = Oklab::fromColor(text);
        const TOklab to = Oklab::fromColor(result.color);
        // The result lies on the text's hue line, off it by no more than 8-bit rounding.
        if (start.C > 0.03 && std::hypot(to.a, to.b) > 0.03) {
            ASSERT_LT(std::abs(from.a * to.b - from.b * to.a) / start.C, 0.006);
            ASSERT_GT(from.a * to.a + from.b * to.b, 0.0);
        }
        const double move = std::abs(result.lightness - start.L);
        for (int k = 1; k * ReadableColor::kLightnessStep < move - 1e-12; ++k)
            for (const double l : {start.L + k * ReadableColor::kLightnessStep,
                                   start.L - k * ReadableColor::kLightnessStep}) {
                if (l < 0.0 || l > 1.0) continue;
                ASSERT_LT(Hundredths(Ratio(ReadableColor::AtLightness(start, l), background)),
                          required)
                    << "lightness " << l;
            }
    }
    EXPECT_GT(reached, 5000);
}
