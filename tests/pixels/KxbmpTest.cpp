#include "pixels/Kxbmp.h"
#include "pixels/KxImageList.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

using KxPixel::average;

TKxPixel px(const TKxBmp& b, int x, int y) {
    return b.pixelRow(y)[x];
}

TKxPixel argb(int a, int r, int g, int b) {
    return (TKxPixel(a) << 24) | (TKxPixel(r) << 16) | (TKxPixel(g) << 8) | TKxPixel(b);
}

// Runs f and returns the message of the EInvalidGraphicOperation it raised ("" for none).
template <typename F>
std::string messageOf(F f) {
    try {
        f();
    } catch (const EInvalidGraphicOperation& e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(KxbmpLifeCycle, NewBitmapIsOpaqueWhiteOrHasNothingToDrawOn) {
    TKxBmp white(3, 2);
    EXPECT_EQ(white.stride(), 12);
    EXPECT_EQ(px(white, 0, 0) & px(white, 2, 1), 0xFFFFFFFFu);
    TKxBmp bmp(0, 5);
    EXPECT_FALSE(bmp.hasPixels());
    EXPECT_EQ(bmp.dc(), nullptr);
    bmp.fill(TKxColor(1, 2, 3));
    bmp.greyScale();
    EXPECT_EQ(messageOf([&] { bmp.fillRect(TKxColor(), QRect(0, 0, 1, 1)); }), "No Bitmap Created");
    EXPECT_EQ(messageOf([&] { bmp.clearRect(QRect(0, 0, 1, 1)); }), "No Bitmap Created");
    EXPECT_EQ(messageOf([&] { bmp.scanLine(0); }), "No DibSection");
}

TEST(KxbmpLifeCycle, RangeErrorsCarryTheirMessages) {
    TKxBmp bmp(4, 3);
    EXPECT_EQ(messageOf([&] { bmp.scanLine(-1); }), "Scanlines Out of Range");
    EXPECT_EQ(messageOf([&] { bmp.scanLine(3); }), "Scanlines Out of Range");
    EXPECT_EQ(messageOf([&] { bmp.getPixel(-1, 0); }), "Pixel X Value out of Range");
    EXPECT_EQ(messageOf([&] { bmp.getPixel(0, 3); }), "Pixel Y Value out of Range");
    // The row is checked first.
    EXPECT_EQ(messageOf([&] { bmp.getPixel(-1, -1); }), "Pixel Y Value out of Range");
    EXPECT_EQ(messageOf([&] { bmp.getPixel(3, 2); }), "");
}

TEST(KxbmpLifeCycle, FreedPixelsWithContextPassNothingOn) {
    TKxBmp bmp(4, 4);
    TKxBmp target(8, 8);
    bmp.freeBitmap(false);
    ASSERT_NE(bmp.dc(), nullptr);
    EXPECT_EQ(messageOf([&] { bmp.getPixel(0, 0); }), "No DibSection");
    QRect r(0, 0, 2, 2);
    EXPECT_FALSE(bmp.clipRect(r));
    bmp.drawToBmp(&target, 0, 0, 3);
    target.drawToBmp(&bmp, 0, 0, 3);
    EXPECT_EQ(px(target, 0, 0), 0xFFFFFFFFu);
    // Operations that only need the context quietly find nothing to draw on.
    bmp.clearRect(QRect(0, 0, 2, 2));
    bmp.pipeRect(true, 10, false, TKxColor(), TKxColor(), QRect(0, 0, 4, 4));
    EXPECT_TRUE(bmp.setFont(QStringLiteral("Arial"), 9, 1, 96, 0));
    EXPECT_FALSE(bmp.drawText(QStringLiteral("x"), 0, QRect(0, 0, 4, 4)));
    EXPECT_EQ(messageOf([&] { bmp.fillRect(TKxColor(), QRect(0, 0, 1, 1)); }), "No Bitmap Created");
}

TEST(KxbmpLifeCycle, BitmapSizeTakesAbsoluteValuesAndIgnoresSameSize) {
    TKxBmp bmp(5, 5);
    bmp.setBitmapSize(-30, 20, false);
    EXPECT_EQ(bmp.width(), 30);
    EXPECT_EQ(bmp.height(), 20);
    bmp.fill(TKxColor(10, 20, 30));
    const std::uint8_t* before = bmp.bits();
    bmp.setBitmapSize(30, -20, false);
    EXPECT_EQ(bmp.bits(), before);
    EXPECT_EQ(bmp.getPixel(29, 19), TKxColor(10, 20, 30));
}

TEST(KxbmpLifeCycle, ResizeKeepsPictureTopLeftOrStretched) {
    TKxBmp bmp(2, 2);
    bmp.fill(TKxColor(10, 20, 30));
    bmp.setSize(4, 3, true, false, false);
    EXPECT_EQ(bmp.getPixel(1, 1), TKxColor(10, 20, 30));
    EXPECT_EQ(bmp.getPixel(2, 0), TKxColor(255, 255, 255));
    EXPECT_EQ(bmp.getPixel(0, 2), TKxColor(255, 255, 255));

    bmp.setWidth(3);
    EXPECT_EQ(bmp.width(), 3);
    EXPECT_EQ(bmp.getPixel(0, 0), TKxColor(10, 20, 30));
    bmp.setHeight(1);
    EXPECT_EQ(bmp.height(), 1);

    TKxBmp blocks(2, 1);
    blocks.fillRect(TKxColor(255, 0, 0), QRect(0, 0, 1, 1));
    blocks.fillRect(TKxColor(0, 0, 255), QRect(1, 0, 1, 1));
    blocks.setSize(4, 2, true, false, true);
    EXPECT_EQ(blocks.getPixel(1, 1), TKxColor(255, 0, 0));
    EXPECT_EQ(blocks.getPixel(2, 0), TKxColor(0, 0, 255));

    bmp.setSize(5, 5, false, false, false);
    EXPECT_EQ(bmp.getPixel(0, 0), TKxColor(255, 255, 255));
}

TEST(KxbmpLifeCycle, StretchKeepsColourAndAlphaApart) {
    for (const bool halftone : {false, true}) {
        // A colour value makes pixels of alpha 0, which must keep their colour when stretched.
        TKxBmp bmp(4, 4);
        bmp.fill(TKxColor(0x00336699u));
        bmp.setSize(9, 7, true, halftone, true);
        EXPECT_EQ(bmp.getPixel(4, 3), TKxColor(0x00336699u)) << halftone;
        EXPECT_EQ(bmp.getPixel(8, 6), TKxColor(0x00336699u)) << halftone;

        TKxBmp halves(2, 2);
        halves.fillRect(TKxColor(200, 10, 20, 7), QRect(0, 0, 1, 2));
        halves.fillRect(TKxColor(30, 40, 250, 200), QRect(1, 0, 1, 2));
        halves.setSize(8, 3, true, halftone, true);
        EXPECT_EQ(halves.getPixel(0, 1), TKxColor(200, 10, 20, 7)) << halftone;
        EXPECT_EQ(halves.getPixel(7, 2), TKxColor(30, 40, 250, 200)) << halftone;
    }
}

TEST(KxbmpLifeCycle, FontSurvivesResizeButTextColourDoesNot) {
    TKxBmp bmp(10, 10);
    ASSERT_TRUE(bmp.setFont(QStringLiteral("Arial"), 12, 0x0000FF, 96, fsBold | fsItalic));
    EXPECT_EQ(bmp.font().pixelSize(), 16);
    EXPECT_TRUE(bmp.font().bold());
    EXPECT_TRUE(bmp.font().italic());
    EXPECT_EQ(bmp.dc()->textColor, 0x0000FFu);
    bmp.setSize(20, 20, false, false, false);
    EXPECT_EQ(bmp.font().pixelSize(), 16);
    EXPECT_EQ(bmp.dc()->textColor, 0u);
}

TEST(KxbmpLifeCycle, AssignCopiesSizeAndPixels) {
    TKxBmp source(3, 2);
    source.fill(TKxColor(1, 2, 3, 4));
    TKxBmp copy(7, 7);
    copy.assign(&source);
    EXPECT_EQ(copy.width(), 3);
    EXPECT_EQ(copy.height(), 2);
    EXPECT_EQ(copy.getPixel(2, 1), TKxColor(1, 2, 3, 4));
    copy.assign(nullptr);
    copy.assign(&copy);
    EXPECT_EQ(copy.getPixel(2, 1), TKxColor(1, 2, 3, 4));
}

TEST(KxbmpColour, BytesAndPixelOrder) {
    EXPECT_EQ(TKxColor().value(), 0xFFFFFFFFu);
    const TKxColor c(0x00332211u);
    TKxBmp bmp(2, 1);
    bmp.fill(c);
    // Blue first in memory, alpha kept from the colour.
    EXPECT_EQ(bmp.bits()[0], 0x33);
    EXPECT_EQ(bmp.bits()[2], 0x11);
    EXPECT_EQ(bmp.bits()[3], 0);
    EXPECT_EQ(bmp.getPixel(1, 0), c);
}

TEST(KxbmpBuffers, ByteRampsHitBothEndsAndSurviveOneEntry) {
    TKxByteBuf bytes(5);
    bytes.fillRamp(18, 10);
    EXPECT_EQ(std::vector<int>(bytes.data(), bytes.end()), (std::vector<int>{18, 16, 14, 12, 10}));
    TKxByteBuf one(1);
    one.fillRamp(20, 1);
    EXPECT_EQ(one[0], 20);
}

TEST(KxbmpFill, RectanglesAreClippedAndRunsComplete) {
    TKxBmp bmp(1000, 3);
    bmp.fill(TKxColor(1, 2, 3));
    for (int x = 0; x < 1000; ++x)
        ASSERT_EQ(px(bmp, x, 2), argb(255, 1, 2, 3)) << x;
    bmp.fillRect(TKxColor(9, 9, 9, 9), QRect(-5, 1, 105, 100));
    EXPECT_EQ(px(bmp, 0, 1), argb(9, 9, 9, 9));
    EXPECT_EQ(px(bmp, 99, 2), argb(9, 9, 9, 9));
    EXPECT_EQ(px(bmp, 100, 2), argb(255, 1, 2, 3));
    EXPECT_EQ(px(bmp, 0, 0), argb(255, 1, 2, 3));
    bmp.clearRect(QRect(998, -1, 10, 2));
    EXPECT_EQ(px(bmp, 999, 0), 0u);
    EXPECT_EQ(px(bmp, 997, 0), argb(255, 1, 2, 3));
}

TEST(KxbmpFill, GradientsRunFromStartToEnd) {
    TKxBmp bmp(4, 2);
    bmp.gradientRect(true, TKxColor(10, 20, 30, 0), TKxColor(200, 100, 0, 0), bmp.bounds());
    EXPECT_EQ(px(bmp, 3, 0), argb(255, 10, 20, 30));
    EXPECT_EQ(px(bmp, 3, 1), argb(255, 200, 100, 0));
    bmp.gradientRect(false, TKxColor(0, 0, 0), TKxColor(90, 0, 0), bmp.bounds());
    EXPECT_EQ(px(bmp, 1, 1), argb(255, 30, 0, 0));
    EXPECT_EQ(px(bmp, 3, 0), argb(255, 90, 0, 0));
    // One row or one column writes the start colour.
    TKxBmp line(3, 1);
    line.gradientRect(true, TKxColor(5, 5, 5), TKxColor(0, 0, 0), line.bounds());
    EXPECT_EQ(px(line, 2, 0), argb(255, 5, 5, 5));
}

TEST(KxbmpFill, PipeRisesToHighlightAndFallsToShade) {
    const TKxColor base(100, 100, 100);
    const TKxColor light(250, 250, 250);
    const TKxPixel dark = KxPixel::darken(base.toPixel() | 0xFF000000u, 50);
    TKxBmp bmp(3, 10);
    bmp.pipeRect(true, 50, false, base, light, bmp.bounds());
    EXPECT_EQ(px(bmp, 2, 0), base.toPixel());
    EXPECT_EQ(px(bmp, 0, 3), light.toPixel());
    EXPECT_EQ(px(bmp, 0, 4), light.toPixel());
    EXPECT_EQ(px(bmp, 1, 9), dark);
    bmp.pipeRect(true, 50, true, base, light, bmp.bounds());
    EXPECT_EQ(px(bmp, 0, 0), dark);
    EXPECT_EQ(px(bmp, 0, 9), base.toPixel());

    // Lying columns: up to the highlight at split, then down from the pixel before it, cut off at
    // the edge.
    TKxBmp wide(10, 2);
    wide.pipeRect(false, 50, false, base, light, wide.bounds());
    EXPECT_EQ(px(wide, 0, 1), base.toPixel());
    EXPECT_EQ(px(wide, 4, 1), light.toPixel());
    EXPECT_EQ(px(wide, 5, 0), px(wide, 3, 0));
    EXPECT_NE(px(wide, 9, 0), dark);

    for (int length = 1; length <= 4; ++length) {
        for (const bool vertical : {false, true}) {
            TKxBmp tiny(vertical ? 1 : length, vertical ? length : 1);
            tiny.pipeRect(vertical, 50, false, base, light, tiny.bounds());
            // Standing pipes of one or two rows have no rising part: they start at the highlight.
            const TKxPixel first = vertical && length <= 2 ? light.toPixel() : base.toPixel();
            EXPECT_EQ(px(tiny, 0, 0), first) << length;
        }
    }
    TKxBmp two(2, 1);
    two.pipeRect(false, 50, false, base, light, two.bounds());
    EXPECT_EQ(px(two, 1, 0), base.toPixel());
}

TEST(KxbmpCopy, PositionIsPushedInsideTarget) {
    TKxBmp target(100, 100);
    TKxBmp source(10, 10);
    source.fill(TKxColor(1, 2, 3));
    source.drawToBmp(&target, 95, -3, 3);
    EXPECT_EQ(px(target, 90, 0), argb(255, 1, 2, 3));
    EXPECT_EQ(px(target, 99, 9), argb(255, 1, 2, 3));
    EXPECT_EQ(px(target, 89, 0), 0xFFFFFFFFu);
    EXPECT_EQ(px(target, 90, 10), 0xFFFFFFFFu);

    TKxBmp big(120, 10);
    big.fill(TKxColor(0, 0, 0));
    big.drawToBmp(&target, 0, 50, 3);
    EXPECT_EQ(px(target, 0, 50), 0xFFFFFFFFu);

    // Far-off positions are pushed in like near ones; a bitmap may be drawn onto itself.
    source.fill(TKxColor(4, 5, 6));
    source.drawToBmp(&target, std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 3);
    EXPECT_EQ(px(target, 90, 90), argb(255, 4, 5, 6));
    EXPECT_EQ(px(target, 99, 99), argb(255, 4, 5, 6));
    target.drawToBmp(&target, 0, 0, 3);
    EXPECT_EQ(px(target, 99, 99), argb(255, 4, 5, 6));
}

TEST(KxbmpCopy, BlendModes) {
    const TKxPixel under = argb(77, 200, 100, 0);
    const auto blendOne = [&](TKxPixel over, int mode) {
        TKxBmp target(1, 1);
        target.pixelRow(0)[0] = under;
        TKxBmp source(1, 1);
        source.pixelRow(0)[0] = over;
        source.drawToBmp(&target, 0, 0, mode);
        return px(target, 0, 0);
    };
    const TKxPixel red = 0x00FF0000u;
    EXPECT_EQ(blendOne(red | argb(7, 0, 0, 0), 0), under);
    EXPECT_EQ(blendOne(red | argb(241, 0, 0, 0), 0), argb(77, 255, 0, 0));
    EXPECT_EQ(blendOne(red | argb(128, 0, 0, 0), 0),
              argb(77, (200 * 127 + 255 * 128) >> 8, 100 * 127 >> 8, 0));
    const TKxPixel half = red | argb(128, 0, 0, 0);
    const TKxPixel mixed = argb(77, (200 * 127 + 255 * 128) >> 8, 100 * 127 >> 8, 0);
    EXPECT_EQ(blendOne(red | argb(14, 0, 0, 0), 1), under);
    EXPECT_EQ(blendOne(half, 1), average(average(under, mixed), mixed));
    EXPECT_EQ(blendOne(half, 2), average(under, mixed));
    EXPECT_EQ(blendOne(half, 3), half);
    EXPECT_EQ(blendOne(half, 42), half);

    const int g = KxPixel::grey(red); // 79
    const int gm = (g * 128) >> 8;
    const TKxPixel greyMixed = argb(77, (g * 128 + 200 * 127) >> 8, (g * 128 + 100 * 127) >> 8, gm);
    EXPECT_EQ(blendOne(red | argb(14, 0, 0, 0), 4), under);
    EXPECT_EQ(blendOne(half, 4), greyMixed);
    EXPECT_EQ(blendOne(red | argb(255, 0, 0, 0), 4), argb(77, g, g, g));
    EXPECT_EQ(blendOne(half, 5), average(average(under, greyMixed), greyMixed));
    EXPECT_EQ(blendOne(half, 6), average(under, greyMixed));
}

// A bitmap drawn onto itself blends each pixel with itself.
TEST(KxbmpCopy, DrawnOntoItselfBlendsEachPixelWithItself) {
    std::mt19937 random(7);
    TKxBmp self(21, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 21; ++x)
            self.pixelRow(y)[x] = TKxPixel(random());
    std::vector<TKxPixel> expected(self.pixelRow(0), self.pixelRow(0) + 63);
    KxPixel::blendRowPlain(expected.data(), std::vector<TKxPixel>(expected).data(), 63);
    self.drawToBmp(&self, 0, 0, 0);
    EXPECT_EQ(std::vector<TKxPixel>(self.pixelRow(0), self.pixelRow(0) + 63), expected);
}

TEST(KxbmpCopy, ScreenCopyIgnoresAlpha) {
    TKxBmp bmp(4, 4);
    bmp.fill(TKxColor(0x00123456u)); // alpha 0
    QImage screen(6, 6, QImage::Format_RGB32);
    screen.fill(Qt::black);
    QPainter painter(&screen);
    bmp.drawTo(painter, 1, 2, QRect(0, 0, 2, 2));
    painter.end();
    EXPECT_EQ(screen.pixel(1, 2), 0xFF563412u);
    EXPECT_EQ(screen.pixel(2, 3), 0xFF563412u);
    EXPECT_EQ(screen.pixel(3, 3), 0xFF000000u);

    // A source rectangle reaching above and left of the bitmap keeps every pixel's place.
    bmp.fillRect(TKxColor(0x00FF0000u), QRect(0, 0, 1, 1));
    screen.fill(Qt::black);
    painter.begin(&screen);
    bmp.drawTo(painter, 0, 0, QRect(-2, -1, 4, 4));
    painter.end();
    EXPECT_EQ(screen.pixel(2, 1), 0xFF0000FFu);
    EXPECT_EQ(screen.pixel(3, 2), 0xFF563412u);
    EXPECT_EQ(screen.pixel(1, 1), 0xFF000000u);
    EXPECT_EQ(screen.pixel(2, 0), 0xFF000000u);
}

TEST(KxbmpConvert, GreyAndPremultiply) {
    TKxBmp bmp(3, 1);
    bmp.pixelRow(0)[0] = argb(3, 100, 150, 200);
    bmp.pixelRow(0)[1] = argb(250, 100, 200, 255);
    bmp.pixelRow(0)[2] = argb(251, 100, 200, 255);
    bmp.premultiplyAlpha();
    EXPECT_EQ(px(bmp, 0, 0), argb(3, 1, 1, 2));
    EXPECT_EQ(px(bmp, 1, 0), argb(250, 97, 195, 249));
    EXPECT_EQ(px(bmp, 2, 0), argb(251, 100, 200, 255));
    bmp.pixelRow(0)[0] = argb(3, 100, 150, 200);
    bmp.greyScale();
    EXPECT_EQ(px(bmp, 0, 0), argb(3, 140, 140, 140));
}

TEST(KxbmpConvert, CopyFromImageList) {
    QString reported;
    TKxBmp::setMessageReporter([&](const QString& m) { reported = m; });
    TKxImageList list(2, 2);
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30, 40));
    ASSERT_EQ(list.add(image), 0);
    EXPECT_EQ(list.add(QImage(3, 2, QImage::Format_ARGB32)), -1);

    TKxBmp wrongSize(3, 2);
    EXPECT_FALSE(wrongSize.copyFromImageList(list, 0));
    EXPECT_TRUE(reported.isEmpty());
    TKxBmp bmp(2, 2);
    EXPECT_FALSE(bmp.copyFromImageList(list, 5));
    EXPECT_EQ(reported, QStringLiteral("CopyImageFromImageList\r\nERROR_INVALID_PARAMETER"));
    EXPECT_TRUE(bmp.copyFromImageList(list, 0));
    EXPECT_EQ(bmp.getPixel(1, 1), TKxColor(10, 20, 30, 40));
    TKxBmp::setMessageReporter(nullptr);
}

TEST(KxbmpText, DrawsInsideItsRectangleAndMeasures) {
    TKxBmp bmp(120, 40);
    EXPECT_FALSE(TKxBmp(0, 0).setFont(QStringLiteral("Arial"), 9, 1, 96, 0));
    ASSERT_TRUE(bmp.setFont(QStringLiteral("Arial"), 14, 0x000000, 96, fsBold));
    bmp.setTextTransparent(true);
    const QRect box(10, 5, 60, 25);
    EXPECT_TRUE(bmp.drawTextColoured(QStringLiteral("WWWWWWWWWWWW"), Qt::AlignLeft, 0x0000FF, box));
    EXPECT_EQ(bmp.dc()->textColor, 0u);
    int inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (px(bmp, x, y) != 0xFFFFFFFFu) inked += box.contains(x, y) ? 1 : 1000;
    EXPECT_GT(inked, 20);
    EXPECT_LT(inked, 1000);

    QRect measured(3, 4, 1000, 1000);
    ASSERT_TRUE(bmp.calcTextRect(measured, QStringLiteral("Hello"), true));
    EXPECT_EQ(measured.topLeft(), QPoint(3, 4));
    EXPECT_GT(measured.width(), 20);
    EXPECT_LT(measured.width(), 200);
    TKxBmp noContext(0, 0);
    EXPECT_EQ(messageOf([&] {
                  noContext.setTextColor(0);
              }).rfind("SetFontColor returned CLR_INVALID\r\nGetLastErrer says: ", 0),
              0u);
}

TEST(KxbmpText, FocusRectangleDrawnTwiceVanishes) {
    TKxBmp bmp(6, 5);
    bmp.fill(TKxColor(10, 200, 30));
    bmp.drawFocusRect(QRect(-1, 0, 7, 5));
    EXPECT_NE(px(bmp, 0, 0), argb(255, 10, 200, 30));
    EXPECT_EQ(px(bmp, 2, 2), argb(255, 10, 200, 30));
    bmp.drawFocusRect(QRect(-1, 0, 7, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(px(bmp, x, y), argb(255, 10, 200, 30));
}
