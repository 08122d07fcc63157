#include "pixels/Kxbmp.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

using KxPixel::average;
using KxPixel::darken;
using KxPixel::lighten;

constexpr TKxPixel kGrey = 0xFF808080u;
constexpr TKxColor kGreyColour(128, 128, 128);

TKxPixel px(const TKxBmp& b, int x, int y) {
    return b.pixelRow(y)[x];
}

// Counts the runs of pixels darker than grey along a row (dx = 1) or a column (dy = 1).
int darkRuns(const TKxBmp& b, int x, int y, int dx, int dy) {
    int runs = 0;
    bool inRun = false;
    for (; x < b.width() && y < b.height(); x += dx, y += dy) {
        const bool dark = (px(b, x, y) & 0xFF) < 0x80;
        runs += dark && !inRun;
        inRun = dark;
    }
    return runs;
}

} // namespace

TEST(KxbmpShade, OneRaisedRingTouchesTwoCornersTwice) {
    TKxBmp bmp(4, 4);
    bmp.fill(kGreyColour);
    bmp.edge3D(false, true, QRect(1, 1, 2, 2));
    EXPECT_EQ(px(bmp, 1, 1), lighten(lighten(kGrey, 120), 150));
    EXPECT_EQ(px(bmp, 2, 1), darken(kGrey, 60));
    EXPECT_EQ(px(bmp, 1, 2), darken(kGrey, 90));
    EXPECT_EQ(px(bmp, 2, 2), darken(darken(kGrey, 60), 90));
    EXPECT_EQ(px(bmp, 0, 0), kGrey);
    EXPECT_EQ(px(bmp, 3, 3), kGrey);
}

TEST(KxbmpShade, TwoSunkenRingsShadeTheInnerRingToo) {
    TKxBmp bmp(6, 6);
    bmp.fill(kGreyColour);
    bmp.edge3D(true, false, bmp.bounds());
    EXPECT_EQ(px(bmp, 0, 0), darken(darken(kGrey, 90), 120));
    EXPECT_EQ(px(bmp, 5, 5), lighten(lighten(kGrey, 120), 160));
    EXPECT_EQ(px(bmp, 1, 1), darken(darken(kGrey, 60), 90));
    EXPECT_EQ(px(bmp, 1, 3), darken(kGrey, 60));
    EXPECT_EQ(px(bmp, 4, 4), kGrey);
}

TEST(KxbmpShade, SoftEdgeShadesEndsThenFadesCorners) {
    TKxBmp bmp(10, 6);
    bmp.fill(kGreyColour);
    bmp.softEdge(true, bmp.bounds());
    EXPECT_EQ(px(bmp, 0, 2), lighten(kGrey, 120));
    EXPECT_EQ(px(bmp, 9, 2), darken(kGrey, 60));
    EXPECT_EQ(px(bmp, 4, 0), kGrey);
    EXPECT_EQ(px(bmp, 0, 0) >> 24, 50u);
    EXPECT_EQ(px(bmp, 1, 0) >> 24, 180u);
    EXPECT_EQ(px(bmp, 9, 4) >> 24, 180u);
}

TEST(KxbmpShade, FadeCornersChangesOnlyAlpha) {
    TKxBmp bmp(5, 4);
    bmp.fill(TKxColor(10, 20, 30));
    bmp.fadeCorners(bmp.bounds());
    for (const auto& [x, y, alpha] : {std::tuple{0, 0, 50},
                                      {1, 0, 180},
                                      {0, 1, 180},
                                      {4, 3, 50},
                                      {3, 3, 180},
                                      {4, 2, 180},
                                      {2, 0, 255},
                                      {2, 2, 255}}) {
        EXPECT_EQ(px(bmp, x, y), (TKxPixel(alpha) << 24) | 0x0A141Eu) << x << "," << y;
    }
}

TEST(KxbmpShade, SoftCornersMeltIntoTheSurroundings) {
    TKxBmp bmp(12, 12);
    bmp.fill(TKxColor(100, 150, 200));
    bmp.fillRect(TKxColor(0, 0, 0), QRect(2, 2, 8, 8));
    bmp.softCorners(QRect(2, 2, 8, 8));
    const TKxPixel around = TKxColor(100, 150, 200).toPixel();
    EXPECT_EQ(px(bmp, 2, 2), around);
    EXPECT_EQ(px(bmp, 3, 2), around);
    EXPECT_EQ(px(bmp, 9, 3), around);
    EXPECT_EQ(px(bmp, 4, 9), KxPixel::blendColour(0xFF000000u, around, 168));
    EXPECT_EQ(px(bmp, 8, 8), KxPixel::blendColour(0xFF000000u, around, 120));
    EXPECT_EQ(px(bmp, 5, 5), 0xFF000000u);
    EXPECT_EQ(px(bmp, 1, 1), around);

    // White around white: the average drops each channel's low bit.
    TKxBmp white(10, 10);
    white.softCorners(QRect(2, 2, 6, 6));
    EXPECT_EQ(px(white, 2, 2), 0xFFFEFEFEu);

    // A rectangle on the bitmap's edge reads only what exists beside it.
    TKxBmp edge(6, 10);
    edge.fill(TKxColor(0, 0, 0));
    edge.fillRect(TKxColor(200, 200, 200), QRect(0, 8, 6, 2));
    edge.softCorners(QRect(0, 0, 6, 8));
    EXPECT_EQ(px(edge, 0, 0), 0xFF000000u);
    EXPECT_EQ(px(edge, 0, 7), 0xFFC8C8C8u);
    EXPECT_EQ(px(edge, 0, 6), KxPixel::blendColour(0xFF000000u, 0xFFC8C8C8u, 255));
}

TEST(KxbmpShade, FocusFrameSkipsTheCorners) {
    TKxBmp bmp(6, 5);
    bmp.fill(kGreyColour);
    const TKxColor red(255, 0, 0);
    bmp.focusFrame(red, bmp.bounds());
    EXPECT_EQ(px(bmp, 0, 0), kGrey);
    EXPECT_EQ(px(bmp, 5, 4), kGrey);
    EXPECT_EQ(px(bmp, 1, 0), red.toPixel());
    EXPECT_EQ(px(bmp, 5, 3), red.toPixel());
    EXPECT_EQ(px(bmp, 4, 3), average(kGrey, red.toPixel()));
    EXPECT_EQ(px(bmp, 2, 2), kGrey);
}

TEST(KxbmpShade, RoundedRingLeavesOutermostCornersAlone) {
    TKxBmp bmp(10, 8);
    bmp.fill(kGreyColour);
    const TKxPixel black = 0xFF000000u;
    bmp.roundedBorder(TKxColor(0, 0, 0), bmp.bounds());
    for (const auto& [x, y] : {std::pair{0, 0}, {9, 0}, {0, 7}, {9, 7}})
        EXPECT_EQ(px(bmp, x, y), kGrey);
    const TKxPixel half = average(kGrey, black);
    EXPECT_EQ(px(bmp, 1, 0), half);
    EXPECT_EQ(px(bmp, 2, 0), average(half, black));
    EXPECT_EQ(px(bmp, 2, 1), average(kGrey, half));
    EXPECT_EQ(px(bmp, 8, 6), average(half, black)); // mirrored (1, 1)
    EXPECT_EQ(px(bmp, 3, 0), black);
    EXPECT_EQ(px(bmp, 6, 7), black);
    EXPECT_EQ(px(bmp, 0, 4), black);
    EXPECT_EQ(px(bmp, 2, 2), kGrey);

    TKxBmp shadow(10, 8);
    shadow.fill(kGreyColour);
    shadow.roundedShadow(90, shadow.bounds());
    EXPECT_EQ(px(shadow, 2, 0), darken(kGrey, 77));
    EXPECT_EQ(px(shadow, 8, 5), darken(kGrey, 22));
}

TEST(KxbmpShade, FrameRectDrawsAtMostHalfTheShortSide) {
    TKxBmp bmp(8, 8);
    const TKxColor blue(0, 0, 255, 9);
    bmp.frameRect(5, blue, QRect(1, 1, 6, 4));
    EXPECT_EQ(px(bmp, 1, 1), blue.toPixel());
    EXPECT_EQ(px(bmp, 2, 2), blue.toPixel());
    EXPECT_EQ(px(bmp, 6, 4), blue.toPixel());
    EXPECT_EQ(px(bmp, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(px(bmp, 1, 5), 0xFFFFFFFFu);
    // Rings that reach past the bitmap are drawn where they are inside it.
    bmp.frameRect(1, blue, QRect(-2, -2, 20, 6));
    EXPECT_EQ(px(bmp, 7, 3), blue.toPixel());
    EXPECT_EQ(px(bmp, 3, 0), 0xFFFFFFFFu);
}

TEST(KxbmpShade, ButtonFaceHasBorderHighlightAndFill) {
    TKxBmp bmp(20, 12);
    bmp.fill(kGreyColour);
    const TKxColor dark(40, 80, 120);
    const TKxColor light(200, 220, 240);
    bmp.buttonFace(30, false, dark, light, bmp.bounds());
    EXPECT_EQ(px(bmp, 0, 0), kGrey);
    EXPECT_EQ(px(bmp, 5, 0), darken(dark.toPixel(), 80));
    EXPECT_EQ(px(bmp, 5, 1), lighten(light.toPixel(), 130));
    TKxPixel column[10];
    KxPixel::ramp(column, 10, light, dark);
    EXPECT_EQ(px(bmp, 5, 5), column[4]);
    EXPECT_EQ(px(bmp, 5, 9), column[8]);
    EXPECT_EQ(px(bmp, 5, 10), lighten(column[9], 130));

    bmp.buttonFace(30, true, dark, light, bmp.bounds());
    EXPECT_EQ(px(bmp, 5, 5), light.toPixel()); // two fifths of the 10 inner rows
}

TEST(KxbmpShade, FlatPressedRowsAndColumns) {
    TKxBmp bmp(20, 30);
    bmp.fill(kGreyColour);
    bmp.flatPressed(bmp.bounds());
    EXPECT_EQ(px(bmp, 10, 1), darken(kGrey, 76));
    EXPECT_EQ(px(bmp, 10, 11), darken(kGrey, 18));
    EXPECT_EQ(px(bmp, 10, 12), darken(kGrey, 18));
    EXPECT_EQ(px(bmp, 10, 26), darken(kGrey, 10));
    EXPECT_EQ(px(bmp, 10, 27), darken(kGrey, 25));
    EXPECT_EQ(px(bmp, 10, 28), darken(kGrey, 56));
    EXPECT_EQ(px(bmp, 10, 29), darken(kGrey, 170));
    EXPECT_EQ(px(bmp, 10, 20), darken(kGrey, 14)); // halfway down the ramp
    EXPECT_EQ(px(bmp, 1, 20), darken(darken(kGrey, 14), 39));
    EXPECT_EQ(px(bmp, 17, 20), darken(darken(kGrey, 14), 17));
    EXPECT_EQ(px(bmp, 0, 20), darken(kGrey, 170));

    // Short bitmaps keep as many of the bottom entries as the ramp has.
    TKxBmp shortOne(20, 14);
    shortOne.fill(kGreyColour);
    shortOne.flatPressed(shortOne.bounds());
    EXPECT_EQ(px(shortOne, 10, 12), darken(kGrey, 56));
}

TEST(KxbmpShade, FlatHotRampWithOneEntryWritesItsStart) {
    TKxBmp bmp(20, 15);
    bmp.fill(kGreyColour);
    bmp.flatHot(bmp.bounds());
    EXPECT_EQ(px(bmp, 10, 2), lighten(kGrey, 120));
    EXPECT_EQ(px(bmp, 10, 12), darken(kGrey, 20));
    EXPECT_EQ(px(bmp, 10, 13), lighten(kGrey, 130));
}

TEST(KxbmpShade, GripGrooveCounts) {
    const auto grooves = [](bool vertical, int w, int h) {
        TKxBmp bmp(w, h);
        bmp.fill(kGreyColour);
        bmp.grip(vertical, bmp.bounds());
        return vertical ? darkRuns(bmp, 0, h / 2, 1, 0) : darkRuns(bmp, w / 2, 0, 0, 1);
    };
    // Rectangles whose inset areas are 12 × 9, 8 × 9 and 6 × 9.
    EXPECT_EQ(grooves(true, 18, 13), 3);
    EXPECT_EQ(grooves(true, 12, 13), 2);
    EXPECT_EQ(grooves(true, 10, 13), 0);
    EXPECT_EQ(grooves(false, 13, 18), 3);
    EXPECT_EQ(grooves(false, 13, 12), 2);

    TKxBmp bmp(18, 13);
    bmp.fill(kGreyColour);
    bmp.grip(true, bmp.bounds());
    // Small pattern in the inset area (3, 2, 12, 9): block at (4, 2), rows 2 … 10.
    EXPECT_EQ(px(bmp, 4, 2), lighten(kGrey, 80));
    EXPECT_EQ(px(bmp, 3, 2), kGrey);
    EXPECT_EQ(px(bmp, 5, 3), darken(kGrey, 125));
    EXPECT_EQ(px(bmp, 8, 3), darken(kGrey, 125));  // the copy one period on
    EXPECT_EQ(px(bmp, 11, 3), darken(kGrey, 125)); // and the second
    EXPECT_EQ(px(bmp, 14, 3), kGrey);
    EXPECT_EQ(px(bmp, 5, 7), darken(kGrey, 85)); // the repeated middle row
    EXPECT_EQ(px(bmp, 5, 10), lighten(kGrey, 15));
    EXPECT_EQ(px(bmp, 5, 11), kGrey);
}

TEST(KxbmpShade, MarksBlendTheirMasks) {
    TKxBmp bmp(20, 20);
    const TKxPixel black = 0xFF000000u;
    const auto over = [&](int coverage) {
        return KxPixel::blendColour(0xFFFFFFFFu, black, coverage);
    };
    bmp.drawMark(TKxMarkShape::Circle, TKxMarkSize::Small, 2, 3, TKxColor(0, 0, 0));
    const int row0[] = {0, 91, 219, 255, 215, 91, 0};
    const int row6[] = {0, 91, 219, 255, 219, 91, 0};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(px(bmp, 2 + i, 3), over(row0[i])) << i;
        EXPECT_EQ(px(bmp, 2 + i, 9), over(row6[i])) << i;
    }
    EXPECT_EQ(px(bmp, 5, 6), black);

    TKxBmp star(9, 9);
    star.drawMark(TKxMarkShape::Star, TKxMarkSize::Small, 0, 0, TKxColor(0, 0, 0));
    const int middle[] = {121, 176, 255, 255, 255, 255, 255, 176, 121};
    const int second[] = {0, 255, 19, 0, 176, 0, 19, 255, 0};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(px(star, i, 4), over(middle[i])) << i;
        EXPECT_EQ(px(star, i, 1), over(second[i])) << i;
    }
    TKxBmp diamond(9, 9);
    diamond.drawMark(TKxMarkShape::Diamond, TKxMarkSize::Small, 0, 0, TKxColor(0, 0, 0));
    EXPECT_EQ(px(diamond, 4, 0), over(243));
    EXPECT_EQ(px(diamond, 3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(px(diamond, 0, 4), over(243));
    EXPECT_EQ(px(diamond, 1, 4), black);

    TKxBmp square(4, 3);
    square.squareMark(TKxColor(0, 0, 0), square.bounds());
    EXPECT_EQ(px(square, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(px(square, 3, 2), 0xFFFFFFFFu);
    EXPECT_EQ(px(square, 1, 0), black);
    EXPECT_EQ(px(square, 0, 1), black);
}

// Every ornament on every small rectangle at every position around the edges of tiny bitmaps:
// the sanitizers report any pixel touched outside.
TEST(KxbmpShade, NothingIsTouchedOutsideTheBitmap) {
    const TKxColor c(10, 20, 30);
    const std::vector<std::function<void(TKxBmp&, QRect)>> ops = {
        [](TKxBmp& b, QRect r) { b.edge3D(true, true, r); },
        [](TKxBmp& b, QRect r) { b.edge3D(true, false, r); },
        [](TKxBmp& b, QRect r) { b.softEdge(false, r); },
        [](TKxBmp& b, QRect r) { b.softEdge(true, r); },
        [](TKxBmp& b, QRect r) { b.fadeCorners(r); },
        [&](TKxBmp& b, QRect r) { b.frameRect(3, c, r); },
        [](TKxBmp& b, QRect r) { b.softCorners(r); },
        [&](TKxBmp& b, QRect r) { b.focusFrame(c, r); },
        [&](TKxBmp& b, QRect r) { b.roundedBorder(c, r); },
        [](TKxBmp& b, QRect r) { b.roundedShadow(100, r); },
        [](TKxBmp& b, QRect r) { b.innerHighlight(100, r); },
        [&](TKxBmp& b, QRect r) { b.buttonFace(40, true, c, c, r); },
        [&](TKxBmp& b, QRect r) { b.buttonFace(40, false, c, c, r); },
        [&](TKxBmp& b, QRect r) { b.buttonFacePressed(40, true, c, c, r); },
        [](TKxBmp& b, QRect r) { b.flatHot(r); },
        [](TKxBmp& b, QRect r) { b.flatPressed(r); },
        [&](TKxBmp& b, QRect r) {
            b.drawMark(TKxMarkShape::Star, TKxMarkSize::Large, r.x(), r.y(), c);
        },
        [&](TKxBmp& b, QRect r) { b.squareMark(c, r); },
        [](TKxBmp& b, QRect r) { b.grip(true, r); },
        [](TKxBmp& b, QRect r) { b.grip(false, r); },
        [&](TKxBmp& b, QRect r) { b.pipeRect(false, 30, false, c, c, r); },
        [&](TKxBmp& b, QRect r) { b.pipeRect(true, 30, true, c, c, r); },
        [&](TKxBmp& b, QRect r) { b.gradientRect(true, c, c, r); },
        [](TKxBmp& b, QRect r) { b.drawFocusRect(r); },
    };
    for (const int size : {1, 2, 3, 17}) {
        TKxBmp bmp(size, size);
        for (const auto& op : ops)
            for (int x = -3; x <= size; ++x)
                for (int w = 0; w <= 5; ++w)
                    for (int h = 0; h <= 5; ++h) {
                        op(bmp, QRect(x, x, w, h));
                        op(bmp, QRect(x, size - h + 1, w, h));
                    }
    }
    TKxBmp big(40, 20);
    for (const auto& op : ops)
        op(big, QRect(-10, -10, 60, 60));
    SUCCEED();
}

namespace {

// frameRect as the rings it is made of, one pixel at a time.
void referenceFrame(TKxBmp& b, int thickness, TKxColor colour, QRect r) {
    const int rings = std::min(thickness, std::min(r.width(), r.height()) / 2);
    const auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < b.width() && y < b.height())
            b.pixelRow(y)[x] = colour.toPixel();
    };
    for (int i = 0; i < rings; ++i) {
        const int left = r.x() + i, top = r.y() + i;
        const int right = r.right() - i, bottom = r.bottom() - i;
        for (int x = left; x <= right; ++x) {
            put(x, top);
            put(x, bottom);
        }
        for (int y = top; y <= bottom; ++y) {
            put(left, y);
            put(right, y);
        }
    }
}

bool samePixels(const TKxBmp& a, const TKxBmp& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (px(a, x, y) != px(b, x, y)) return false;
    return true;
}

} // namespace

TEST(KxbmpShade, FrameRectPaintsExactlyItsRingsWhereverTheyLie) {
    const TKxColor c(10, 20, 30);
    for (int thickness = -1; thickness <= 4; ++thickness)
        for (int x = -4; x <= 9; ++x)
            for (int w = 0; w <= 11; ++w)
                for (int h = 0; h <= 9; h += 3) {
                    const QRect r(x, x / 2 - 2, w, h);
                    TKxBmp got(9, 7), want(9, 7);
                    got.fill(kGreyColour);
                    want.fill(kGreyColour);
                    got.frameRect(thickness, c, r);
                    if (QRect(0, 0, 9, 7).intersects(r)) referenceFrame(want, thickness, c, r);
                    ASSERT_TRUE(samePixels(got, want))
                        << thickness << " " << x << "," << r.y() << " " << w << "x" << h;
                }
}

// A rectangle reaching far past a small bitmap, up to the ends of the int range, draws what the
// same shape with its far edges just off the bitmap draws, without overflowing on the way and
// in the time its visible pixels take (each of these walked billions of off-bitmap pixels).
TEST(KxbmpShade, HugeRectanglesDrawWhatTheirVisiblePartShows) {
    const TKxColor c(10, 20, 30);
    const std::vector<std::function<void(TKxBmp&, QRect)>> ops = {
        [&](TKxBmp& b, QRect r) { b.frameRect(3, c, r); },
        [&](TKxBmp& b, QRect r) { b.roundedBorder(c, r); },
        [](TKxBmp& b, QRect r) { b.roundedShadow(100, r); },
        [](TKxBmp& b, QRect r) { b.innerHighlight(100, r); },
        [](TKxBmp& b, QRect r) { b.flatHot(r); },
        [](TKxBmp& b, QRect r) { b.flatPressed(r); },
        [](TKxBmp& b, QRect r) { b.softCorners(r); },
        [&](TKxBmp& b, QRect r) { b.buttonFace(40, true, c, c, r); },
        [&](TKxBmp& b, QRect r) { b.focusFrame(c, r); },
    };
    constexpr int kFar = 1 << 30;
    for (std::size_t k = 0; k < ops.size(); ++k) {
        const auto& op = ops[k];
        // Top-left on the bitmap, far edges off it.
        TKxBmp huge(16, 16), near(16, 16);
        huge.fill(kGreyColour);
        near.fill(kGreyColour);
        op(huge, QRect(QPoint(2, 3), QPoint(INT_MAX, INT_MAX)));
        op(near, QRect(2, 3, 40, 40));
        EXPECT_TRUE(samePixels(huge, near)) << "operation " << k;
        // All four edges off the bitmap.
        TKxBmp around(16, 16), aroundNear(16, 16);
        around.fill(kGreyColour);
        aroundNear.fill(kGreyColour);
        op(around, QRect(QPoint(-kFar, -kFar), QPoint(kFar, kFar)));
        op(aroundNear, QRect(-20, -20, 60, 60));
        EXPECT_TRUE(samePixels(around, aroundNear)) << "operation " << k;
        // The widest rectangle an int can hold, and rectangles at the far ends.
        TKxBmp any(16, 16);
        op(any, QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)));
        op(any, QRect(QPoint(INT_MAX - 1, INT_MAX - 1), QPoint(INT_MAX, INT_MAX)));
        op(any, QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MIN + 1, INT_MIN + 1)));
    }
    // As many rings as the rectangle holds: everything of it on the bitmap is frame.
    TKxBmp solid(16, 16);
    solid.frameRect(INT_MAX, c, QRect(QPoint(2, 3), QPoint(INT_MAX, INT_MAX)));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(px(solid, x, y) == c.toPixel(), x >= 2 && y >= 3) << x << "," << y;

    TKxBmp marks(16, 16);
    for (const int at : {INT_MIN, -13, INT_MAX - 12, INT_MAX})
        for (const auto size : {TKxMarkSize::Small, TKxMarkSize::Large})
            marks.drawMark(TKxMarkShape::Star, size, at, at, c);
    EXPECT_EQ(px(marks, 0, 0), 0xFFFFFFFFu);
}
