#include "colour/ColorContrast.h"

#include <gtest/gtest.h>

using namespace ColorContrast;

namespace {

constexpr ColorValue kGrey77 = MakeColor(0x77, 0x77, 0x77);
constexpr ColorValue kGrey76 = MakeColor(0x76, 0x76, 0x76);

} // namespace

// The guidelines' own examples: the grey that just misses AA on white and the one that makes it.
TEST(ColorContrast, PublishedPairsAndTheirDisplay) {
    EXPECT_NEAR(Ratio(kGrey77, kWhite), 4.478, 0.001);
    EXPECT_EQ(FormatRatio(Ratio(kGrey77, kWhite)), QStringLiteral("4.47:1"));
    EXPECT_FALSE(Judge(kGrey77, kWhite, false).passes(TLevel::AA));
    EXPECT_TRUE(Judge(kGrey77, kWhite, true).passes(TLevel::AA));

    EXPECT_EQ(FormatRatio(Ratio(kGrey76, kWhite)), QStringLiteral("4.54:1"));
    EXPECT_TRUE(Judge(kGrey76, kWhite, false).passes(TLevel::AA));
    EXPECT_FALSE(Judge(kGrey76, kWhite, false).passes(TLevel::AAA));
    EXPECT_TRUE(Judge(kGrey76, kWhite, true).passes(TLevel::AAA));

    EXPECT_EQ(FormatRatio(Ratio(kBlack, kWhite)), QStringLiteral("21.00:1"));
    EXPECT_TRUE(Judge(kWhite, kBlack, false).passes(TLevel::AAA));
    EXPECT_EQ(FormatRatio(Ratio(0x123456u, 0x123456u)), QStringLiteral("1.00:1"));
    EXPECT_FALSE(Judge(0x123456u, 0x123456u, true).passesNonText());
    EXPECT_EQ(Summary(Judge(kGrey77, kWhite, false)),
              QStringLiteral("4.47:1  AA \u2717  AAA \u2717"));
    EXPECT_EQ(Summary(Judge(kGrey77, kWhite, true)),
              QStringLiteral("4.47:1  AA \u2713  AAA \u2717  large text"));
}

// Truncation, never rounding: a figure shown at a threshold always passes it.
TEST(ColorContrast, DisplayNeverReachesAThresholdTheRatioMisses) {
    EXPECT_EQ(FormatRatio(4.4999), QStringLiteral("4.49:1"));
    EXPECT_EQ(FormatRatio(6.9999999), QStringLiteral("6.99:1"));
    EXPECT_EQ(FormatRatio(2.999), QStringLiteral("2.99:1"));
    EXPECT_FALSE((TVerdict{Hundredths(4.4999), false}.passes(TLevel::AA)));
    EXPECT_FALSE((TVerdict{Hundredths(2.9999), true}.passes(TLevel::AA)));
    EXPECT_TRUE((TVerdict{Hundredths(4.5), false}.passes(TLevel::AA)));
    EXPECT_EQ(Hundredths(0.5), 100);
    EXPECT_EQ(Hundredths(std::numeric_limits<double>::quiet_NaN()), 100);
}

TEST(ColorContrast, LargeTextIsEighteenPointsOrFourteenBold) {
    EXPECT_TRUE(IsLargeText(18, false));
    EXPECT_FALSE(IsLargeText(17.9, false));
    EXPECT_TRUE(IsLargeText(14, true));
    EXPECT_FALSE(IsLargeText(13.9, true));
    EXPECT_FALSE(IsLargeText(14, false));
}

// Every colour against white and black: within 1 to 21 and judged as its exact ratio is; every
// sixteenth also the same either way round and rising with luminance against black, falling
// against white (one step brighter in any channel never reads worse on black or better on white).
TEST(ColorContrast, EveryColourAgainstWhiteAndBlack) {
    ColorValue bad = kNoColor;
    for (ColorValue c = 0; c <= kColorMask && bad == kNoColor; ++c) {
        const double onWhite = Ratio(c, kWhite);
        const double onBlack = Ratio(kBlack, c);
        if (onWhite < 1.0 || onWhite > 21.0 + 1e-9 || onBlack < 1.0 || onBlack > 21.0 + 1e-9)
            bad = c;
        if ((TVerdict{Hundredths(onWhite), false}.passes(TLevel::AA)) != (onWhite >= 4.5 - 1e-9))
            bad = c;
        if (c % 16 != 0) continue;
        if (onWhite != Ratio(kWhite, c) || onBlack != Ratio(c, kBlack)) bad = c;
        for (const ColorValue step : {0x000001u, 0x000100u, 0x010000u}) {
            if ((c & (step * 0xFF)) == step * 0xFF) continue;
            if (Ratio(c + step, kBlack) <= onBlack || Ratio(c + step, kWhite) >= onWhite) bad = c;
        }
    }
    EXPECT_EQ(bad, kNoColor) << std::hex << bad;
}
