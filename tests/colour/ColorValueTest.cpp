#include "colour/ColorValue.h"

#include "platform/FakePlatform.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

namespace {

using Hls = std::tuple<int, int, int>;

Hls hlsOf(ColorValue c) {
    const HlsTriple t = RgbToHls(c);
    return {t.hue, t.lum, t.sat};
}

} // namespace

TEST(ColourValue, RedIsTheLowByteAndSwapKeepsByte3) {
    EXPECT_EQ(MakeColor(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(MakeColor(0x78, 0x56, 0x34), 0x345678u);
    EXPECT_EQ(SwapRedBlue(0x12345678u), 0x12785634u);
}

TEST(RgbToHls, GreysPrimariesTiesAndWorkedExamples) {
    const std::array<std::pair<ColorValue, Hls>, 12> cases{
        {{0x000000u, {160, 0, 0}},
         {0xFFFFFFu, {160, 240, 0}},
         {0xFF808080u, {160, 120, 0}},
         {MakeColor(255, 0, 0), {0, 120, 240}},
         {MakeColor(0, 255, 0), {80, 120, 240}},
         {MakeColor(0, 0, 255), {160, 120, 240}},
         {MakeColor(255, 255, 0), {40, 120, 240}},
         {MakeColor(0, 255, 255), {120, 120, 240}},
         {MakeColor(255, 0, 255), {200, 120, 240}},
         {MakeColor(255, 26, 184), {212, 132, 240}},
         {MakeColor(119, 170, 255), {145, 176, 240}},
         {MakeColor(255, 0, 10), {238, 120, 240}}}}; // below red wraps to the top, never negative
    for (const auto& [color, expected] : cases)
        EXPECT_EQ(hlsOf(color), expected) << std::hex << color;
}

TEST(RgbToHls, EveryColourStaysInRange) {
    ColorValue bad = kNoColor;
    for (ColorValue c = 0; c <= kColorMask && bad == kNoColor; ++c) {
        const HlsTriple t = RgbToHls(c);
        if (t.hue > 239 || t.lum > 240 || t.sat > 240) bad = c;
    }
    EXPECT_EQ(bad, kNoColor) << std::hex << bad;
}

TEST(HlsToRgb, TwentyFullySaturatedHuesNeedDoublesAndHalfToEven) {
    constexpr std::array<std::array<int, 3>, 20> expected{{
        {255, 0, 0},   {255, 77, 0},  {255, 155, 0}, {255, 231, 0}, {206, 255, 0},
        {128, 255, 0}, {52, 255, 0},  {0, 255, 26},  {0, 255, 102}, {0, 255, 180},
        {0, 255, 255}, {0, 180, 255}, {0, 102, 255}, {0, 26, 255},  {52, 0, 255},
        {128, 0, 255}, {206, 0, 255}, {255, 0, 231}, {255, 0, 155}, {255, 0, 77},
    }};
    for (int i = 0; i < 20; ++i) {
        const auto& [r, g, b] = expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(HlsToRgb(12 * i, 120, 240), MakeColor(r, g, b)) << "entry " << i;
    }
    EXPECT_EQ(HlsToRgb(0, 4, 120), MakeColor(7, 3, 3));  // not 8, 3, 3
    EXPECT_EQ(HlsToRgb(39, 0, 240), MakeColor(0, 2, 0)); // luminance 0, yet not black
    EXPECT_EQ(HlsToRgb(145, 176, 240), MakeColor(120, 172, 255));
    EXPECT_EQ(HlsToRgb(0, 240, 0), kWhite);
    EXPECT_EQ(HlsToRgb(77, 120, 0), MakeColor(128, 128, 128));
}

TEST(HlsToRgb, OutOfRangeArgumentsStayWithinTheirBytes) {
    for (const int l : {INT_MIN, -500, -1, 241, INT_MAX})
        for (const int s : {INT_MIN, -240, 0, 241, INT_MAX})
            for (const int h : {INT_MIN, -300, 0, 100, INT_MAX})
                EXPECT_EQ(HlsToRgb(h, l, s) >> 24, 0u) << h << ' ' << l << ' ' << s;
    EXPECT_EQ(HlsToRgb(0, -10, 0), kBlack);
}

TEST(WebSafe, BoundariesAndIdempotenceOverEveryColour) {
    EXPECT_EQ(WebSafe(MakeColor(24, 25, 228)), MakeColor(0, 51, 204));
    EXPECT_EQ(WebSafe(0xAB000000u | MakeColor(229, 126, 127)),
              0xAB000000u | MakeColor(255, 102, 153));
    ColorValue bad = kNoColor;
    for (ColorValue c = 0; c <= kColorMask && bad == kNoColor; ++c) {
        const ColorValue safe = WebSafe(c);
        if (WebSafe(safe) != safe || RedOf(safe) % 51 || GreenOf(safe) % 51 || BlueOf(safe) % 51)
            bad = c;
    }
    EXPECT_EQ(bad, kNoColor) << std::hex << bad;
}

TEST(TextColorFor, BlackFromLuma111) {
    EXPECT_EQ(TextColorFor(MakeColor(110, 110, 110)), kWhite);
    EXPECT_EQ(TextColorFor(MakeColor(111, 111, 111)), kBlack);
    EXPECT_EQ(ColorLuma(MakeColor(0, 255, 0)), 143);
    EXPECT_EQ(ColorLuma(MakeColor(0, 0, 255)), 31);
    EXPECT_EQ(ColorLuma(MakeColor(255, 0, 0)), 79);
    EXPECT_EQ(TextColorFor(MakeColor(255, 0, 0)), kWhite);
}

TEST(ScaleHlsComponent, TruncatesAndWrapsLike32BitArithmetic) {
    EXPECT_EQ(ScaleHlsComponent(360, 212), 318);
    EXPECT_EQ(ScaleHlsComponent(100, 132), 55);
    EXPECT_EQ(ScaleHlsComponent(0x7FFFFFFF, 240), 0xFFFF); // the product wraps to -240
}

namespace {

// Answers system colours from a table, as a test double of the palette.
class TSystemColours : public TScopedFakePlatform {
public:
    QRgb systemColor(int index) const override {
        return index == 15 ? qRgb(0x11, 0x22, 0x33) : qRgb(0, 0, 0);
    }
};

TEST(ResolveColor, TopBitNamesASystemColourAndEverythingIsMaskedTo24Bits) {
    const TSystemColours platform;
    // Button face: red 0x11, green 0x22, blue 0x33 as 0x00BBGGRR.
    EXPECT_EQ(ResolveColor(0x8000000Fu), 0x332211u);
    EXPECT_EQ(ResolveColor(0xFF00000Fu), 0x332211u);
    EXPECT_EQ(ResolveColor(0x80000063u), 0x000000u) << "an index that names no colour is black";
    EXPECT_EQ(ResolveColor(0x12345678u), 0x345678u);
    EXPECT_EQ(ResolveColor(0x7FFFFFFFu), 0xFFFFFFu);
    EXPECT_EQ(ResolveColor(0x00B81AFFu), 0x00B81AFFu);
}

} // namespace
