#include "colour/ColorModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Published conversions are given to two decimals, so one step of 255 is
// as close as they can be checked.
void expectNear(ColorValue got, int red, int green, int blue) {
    EXPECT_LE(std::abs(RedOf(got) - red), 1) << std::hex << got;
    EXPECT_LE(std::abs(GreenOf(got) - green), 1) << std::hex << got;
    EXPECT_LE(std::abs(BlueOf(got) - blue), 1) << std::hex << got;
}

TEST(ColorModels, LabUnderD50GivesThePublishedSrgbColours) {
    EXPECT_EQ(ColorModels::FromLab(100, 0, 0), kWhite);
    EXPECT_EQ(ColorModels::FromLab(0, 0, 0), kBlack);
    // L* 50 is the middle grey of sRGB, 119.
    EXPECT_EQ(ColorModels::FromLab(50, 0, 0), MakeColor(119, 119, 119));
    // sRGB's primaries as L*a*b* under D50 (Bradford-adapted).
    expectNear(ColorModels::FromLab(54.29, 80.81, 69.89), 255, 0, 0);
    expectNear(ColorModels::FromLab(87.82, -79.29, 80.99), 0, 255, 0);
    // Outside sRGB: clipped, never wrapped.
    EXPECT_EQ(ColorModels::FromLab(100, 127, -128) & ~kColorMask, 0u);
    EXPECT_EQ(ColorModels::FromLab(std::nan(""), 0, 0), kBlack);
}

TEST(ColorModels, CmykAndGrayAreTheNaiveFormulas) {
    EXPECT_EQ(ColorModels::FromCmyk(0, 1, 1, 0), MakeColor(255, 0, 0));
    EXPECT_EQ(ColorModels::FromCmyk(0, 0, 0, 1), kBlack);
    EXPECT_EQ(ColorModels::FromCmyk(0, 0, 0, 0), kWhite);
    // 255 x 0.5 x 0.5 = 63.75; 255 x 0.5 = 127.5, rounded up.
    EXPECT_EQ(ColorModels::FromCmyk(0.5, 0, 0, 0.5), MakeColor(64, 128, 128));
    EXPECT_EQ(ColorModels::FromGray(0.5), MakeColor(128, 128, 128));
    EXPECT_EQ(ColorModels::FromGray(1), kWhite);
    // Values out of range are clamped; not-a-number counts as 0.
    EXPECT_EQ(ColorModels::FromCmyk(-3, 7, std::numeric_limits<double>::infinity(), 0),
              MakeColor(255, 0, 0));
    EXPECT_EQ(ColorModels::FromRgb(std::nan(""), 2, -1), MakeColor(0, 255, 0));
}

} // namespace
