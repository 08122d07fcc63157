#include "pixels/KxPixel.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TKxPixel argb(int a, int r, int g, int b) {
    return (TKxPixel(a) << 24) | (TKxPixel(r) << 16) | (TKxPixel(g) << 8) | TKxPixel(b);
}

} // namespace

TEST(KxPixelArithmetic, ChannelFormulas) {
    using namespace KxPixel;
    EXPECT_EQ(darken(argb(7, 200, 255, 0), 100), argb(7, 121, 155, 0));
    EXPECT_EQ(lighten(argb(7, 0, 255, 100), 0), argb(7, 0, 254, 99));
    EXPECT_EQ(lighten(argb(7, 0, 0, 0), 255), argb(7, 254, 254, 254));
    EXPECT_EQ(average(0x00FFFFFFu, 0x00FFFFFFu), 0xFFFEFEFEu);
    EXPECT_EQ(grey(argb(0, 100, 150, 200)), 140);
    const TKxPixel target = argb(9, 0, 100, 255);
    const TKxPixel colour = argb(0, 255, 0, 255);
    EXPECT_EQ(blendColour(target, colour, 7), target);
    EXPECT_EQ(blendColour(target, colour, 8), argb(9, 7, 96, 254));
    EXPECT_EQ(blendColour(target, colour, 240), argb(9, 239, 5, 254));
    EXPECT_EQ(blendColour(target, colour, 241), argb(9, 255, 0, 255));
}

TEST(KxPixelArithmetic, RampsHitBothEndsAndSurviveOneEntry) {
    TKxPixel out[256];
    KxPixel::ramp(out, 256, TKxColor(0, 255, 7), TKxColor(255, 0, 7));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(out[i], argb(255, i, 255 - i, 7)) << i;
    // Halfway values truncate in both directions.
    KxPixel::ramp(out, 3, TKxColor(0, 255, 0), TKxColor(255, 0, 0));
    EXPECT_EQ(out[1], argb(255, 127, 127, 0));
    KxPixel::ramp(out, 1, TKxColor(5, 6, 7, 0), TKxColor(0, 0, 0));
    EXPECT_EQ(out[0], argb(255, 5, 6, 7));
}

// The grouped blend against the pixel-by-pixel one: every width up to 17 and a few longer ones,
// every start offset within a 16-byte line, alphas at and around the thresholds, and rows that are
// all clear, all opaque or runs of either broken by single pixels.
TEST(KxPixelBlend, GroupedBlendEqualsThePlainOneOnEveryRow) {
    std::mt19937 random(7);
    const int edges[] = {0, 7, 8, 9, 128, 239, 240, 241, 254, 255};
    auto alpha = [&](int kind) -> TKxPixel {
        switch (kind) {
        case 0:
            return TKxPixel(edges[random() % 10]);
        case 1:
            return random() % 16 == 0 ? TKxPixel(128) : TKxPixel(255);
        case 2:
            return random() % 16 == 0 ? TKxPixel(200) : TKxPixel(random() % 8);
        default:
            return TKxPixel(random() & 0xFF);
        }
    };
    std::vector<TKxPixel> source(160), target(160), plain(160);
    for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 31, 64, 129})
        for (int offset = 0; offset < 4; ++offset)
            for (int kind = 0; kind < 4; ++kind)
                for (int round = 0; round < 8; ++round) {
                    for (std::size_t i = 0; i < source.size(); ++i) {
                        source[i] = (random() & 0x00FFFFFFu) | alpha(kind) << 24;
                        target[i] = plain[i] = TKxPixel(random());
                    }
                    KxPixel::blendRowPlain(plain.data() + offset, source.data() + offset, width);
                    for (KxPixel::TBlendPath path : KxPixel::blendPaths()) {
                        std::vector<TKxPixel> fast(target);
                        KxPixel::blendRowWith(path, fast.data() + offset, source.data() + offset,
                                              width);
                        ASSERT_EQ(fast, plain) << width << " from " << offset << " kind " << kind
                                               << " path " << int(path);
                    }
                }
}
