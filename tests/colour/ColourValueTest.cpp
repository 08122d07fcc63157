#include "colour/ColourValue.h"

#include <gtest/gtest.h>

#include <array>

namespace {

HlsTriple hls(int h, int l, int s) {
    return {static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(l),
            static_cast<std::uint16_t>(s)};
}

} // namespace

TEST(ColourValue, ChannelLayoutIsRedInTheLowByte) {
    EXPECT_EQ(MakeColor(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(MakeColor(0, 0, 255), 0xFF0000u);
    EXPECT_EQ(RedOf(0x12345678u), 0x78);
    EXPECT_EQ(GreenOf(0x12345678u), 0x56);
    EXPECT_EQ(BlueOf(0x12345678u), 0x34);
    EXPECT_EQ(SwapRedBlue(0x12345678u), 0x12785634u);
    EXPECT_EQ(SwapRedBlue(SwapRedBlue(0xA1B2C3D4u)), 0xA1B2C3D4u);
}

TEST(RgbToHls, GreysHaveHue160AndNoSaturation) {
    EXPECT_EQ(RgbToHls(0x000000u), hls(160, 0, 0));
    EXPECT_EQ(RgbToHls(0xFFFFFFu), hls(160, 240, 0));
    EXPECT_EQ(RgbToHls(0x808080u), hls(160, 120, 0));
    // Byte 3 is ignored.
    EXPECT_EQ(RgbToHls(0xFF808080u), hls(160, 120, 0));
}

TEST(RgbToHls, PrimariesAndTiesBetweenChannels) {
    EXPECT_EQ(RgbToHls(MakeColor(255, 0, 0)), hls(0, 120, 240));
    EXPECT_EQ(RgbToHls(MakeColor(0, 255, 0)), hls(80, 120, 240));
    EXPECT_EQ(RgbToHls(MakeColor(0, 0, 255)), hls(160, 120, 240));
    EXPECT_EQ(RgbToHls(MakeColor(255, 255, 0)), hls(40, 120, 240));
    EXPECT_EQ(RgbToHls(MakeColor(0, 255, 255)), hls(120, 120, 240));
    EXPECT_EQ(RgbToHls(MakeColor(255, 0, 255)), hls(200, 120, 240));
}

TEST(RgbToHls, WorkedExamples) {
    EXPECT_EQ(RgbToHls(MakeColor(255, 26, 184)), hls(212, 132, 240));
    EXPECT_EQ(RgbToHls(MakeColor(119, 170, 255)), hls(145, 176, 240));
    // Hue just below red wraps to the top of the scale rather than going negative.
    EXPECT_EQ(RgbToHls(MakeColor(255, 0, 10)).hue, 238);
}

TEST(RgbToHls, EveryColourStaysInRange) {
    // Covers the divisions by max + min and by 510 - max - min for every colour.
    bool allInRange = true;
    for (ColorValue c = 0; c <= kColorMask && allInRange; ++c) {
        const HlsTriple t = RgbToHls(c);
        allInRange = t.hue <= 239 && t.lum <= 240 && t.sat <= 240;
        if (!allInRange) ADD_FAILURE() << "colour " << std::hex << c;
    }
    EXPECT_TRUE(allInRange);
}

TEST(HlsToRgb, ReproducesTheTwentyFullySaturatedHues) {
    constexpr std::array<std::array<int, 3>, 20> expected{{
        {255, 0, 0},   {255, 77, 0},  {255, 155, 0}, {255, 231, 0}, {206, 255, 0},
        {128, 255, 0}, {52, 255, 0},  {0, 255, 26},  {0, 255, 102}, {0, 255, 180},
        {0, 255, 255}, {0, 180, 255}, {0, 102, 255}, {0, 26, 255},  {52, 0, 255},
        {128, 0, 255}, {206, 0, 255}, {255, 0, 231}, {255, 0, 155}, {255, 0, 77},
    }};
    for (int i = 0; i < 20; ++i) {
        const auto& rgb = expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(HlsToRgb(12 * i, 120, 240), MakeColor(rgb[0], rgb[1], rgb[2])) << "entry " << i;
    }
}

TEST(HlsToRgb, HalvesRoundToEven) {
    // Rounding halves away from zero would give 8, 3, 3 here.
    EXPECT_EQ(HlsToRgb(0, 4, 120), MakeColor(7, 3, 3));
    // Luminance 0 is not black for every hue: the ramp below hue 40 rounds up to one step.
    EXPECT_EQ(HlsToRgb(39, 0, 240), MakeColor(0, 2, 0));
}

TEST(HlsToRgb, GreysAndRoundTrips) {
    EXPECT_EQ(HlsToRgb(0, 240, 0), kWhite);
    EXPECT_EQ(HlsToRgb(77, 120, 0), MakeColor(128, 128, 128));
    EXPECT_EQ(HlsToRgb(160, 0, 0), kBlack);
    EXPECT_EQ(HlsToRgb(145, 176, 240), MakeColor(120, 172, 255));
    for (const ColorValue c : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0xFFFFFFu, 0x000000u, 0x808080u}) {
        const HlsTriple t = RgbToHls(c);
        EXPECT_EQ(HlsToRgb(t.hue, t.lum, t.sat), c) << std::hex << c;
    }
}

TEST(HlsToRgb, OutOfRangeArgumentsStayWithinTheirBytes) {
    for (const int l : {-500, -1, 241, 1000})
        for (const int s : {-240, 0, 241, 1000})
            for (const int h : {-300, 0, 100, 500})
                EXPECT_EQ(HlsToRgb(h, l, s) & 0xFF000000u, 0u) << h << ' ' << l << ' ' << s;
    EXPECT_EQ(HlsToRgb(0, -10, 0), kBlack);
    EXPECT_EQ(HlsToRgb(0, 1000, 0), kWhite);
}

TEST(WebSafe, BoundariesAndIdempotence) {
    EXPECT_EQ(WebSafe(MakeColor(24, 25, 228)), MakeColor(0, 51, 204));
    EXPECT_EQ(WebSafe(MakeColor(229, 75, 76)), MakeColor(255, 51, 102));
    EXPECT_EQ(WebSafe(0xAB000000u | MakeColor(126, 127, 255)),
              0xAB000000u | MakeColor(102, 153, 255));
    bool idempotent = true;
    for (ColorValue c = 0; c <= kColorMask && idempotent; ++c) {
        const ColorValue safe = WebSafe(c);
        idempotent = WebSafe(safe) == safe && RedOf(safe) % 51 == 0 && GreenOf(safe) % 51 == 0 &&
                     BlueOf(safe) % 51 == 0;
        if (!idempotent) ADD_FAILURE() << "colour " << std::hex << c;
    }
    EXPECT_TRUE(idempotent);
}

TEST(TextColorFor, SwitchesBetweenLuma110And111) {
    EXPECT_EQ(TextColorFor(MakeColor(110, 110, 110)), kWhite);
    EXPECT_EQ(TextColorFor(MakeColor(111, 111, 111)), kBlack);
    EXPECT_EQ(ColorLuma(MakeColor(0, 255, 0)), 143);
    EXPECT_EQ(TextColorFor(MakeColor(0, 255, 0)), kBlack);
    EXPECT_EQ(TextColorFor(kWhite), kBlack);
    EXPECT_EQ(ColorLuma(MakeColor(0, 0, 255)), 31);
    EXPECT_EQ(ColorLuma(MakeColor(255, 0, 0)), 79);
    EXPECT_EQ(TextColorFor(MakeColor(0, 0, 255)), kWhite);
    EXPECT_EQ(TextColorFor(MakeColor(255, 0, 0)), kWhite);
    EXPECT_EQ(TextColorFor(kBlack), kWhite);
}

TEST(ScaleHlsComponent, TruncatesAndWrapsLikeSixteenBits) {
    EXPECT_EQ(ScaleHlsComponent(360, 212), 318);
    EXPECT_EQ(ScaleHlsComponent(100, 132), 55);
    EXPECT_EQ(ScaleHlsComponent(100, 240), 100);
    EXPECT_EQ(ScaleHlsComponent(240, 212), 212);
    EXPECT_EQ(ScaleHlsComponent(100000, 240), static_cast<std::uint16_t>(100000));
    // A product beyond 32 bits wraps (here to -240) instead of being undefined.
    EXPECT_EQ(ScaleHlsComponent(0x7FFFFFFF, 240), static_cast<std::uint16_t>(-1));
}
