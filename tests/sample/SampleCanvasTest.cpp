#include "sample/SampleCanvas.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

// A picture at two device pixels per pixel whose every 2x2 block tells which window pixel it
// stands for: red = x, green = y.
Platform::TDesktopPicture denseDesktop(QSize pixels) {
    Platform::TDesktopPicture picture;
    picture.image = QImage(pixels * 2, QImage::Format_ARGB32);
    for (int y = 0; y < picture.image.height(); ++y)
        for (int x = 0; x < picture.image.width(); ++x)
            picture.image.setPixel(x, y, qRgb((x / 2) & 0xFF, (y / 2) & 0xFF, 77));
    picture.image.setDevicePixelRatio(2.0);
    return picture;
}

// The right-most column holding a pixel other than `background`, or -1.
int lastInkColumn(const QImage& image, QRgb background) {
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if ((image.pixel(x, y) & 0xFFFFFFu) != (background & 0xFFFFFFu)) return x;
    return -1;
}

} // namespace

TEST(SampleCanvas, CutTextNeverSplitsASurrogatePair) {
    const QString text = QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600") + "c";
    ASSERT_EQ(text.size(), 5);
    EXPECT_EQ(TSampleCanvas::cutText(text, 3), "ab");
    EXPECT_EQ(TSampleCanvas::cutText(text, 4), text.left(4));
    EXPECT_EQ(TSampleCanvas::cutText(text, 5), text);
    EXPECT_EQ(TSampleCanvas::cutText(text, 99), text);
    EXPECT_EQ(TSampleCanvas::cutText(text, 0), "");
    EXPECT_EQ(TSampleCanvas::cutText(QString::fromUcs4(U"\U0001F600"), 1), "");
}

TEST(SampleCanvas, BackgroundIsTheScreenUnderTheWindowInWindowPixels) {
    TSampleCanvas canvas;
    // No picture yet: black.
    canvas.refillBackground({30, 20}, {10, 5});
    EXPECT_EQ(canvas.background().size(), QSize(30, 20));
    EXPECT_EQ(canvas.background().pixel(3, 3), qRgb(0, 0, 0));

    canvas.setScreen(denseDesktop({100, 60}));
    canvas.refillBackground({30, 20}, {10, 5});
    EXPECT_EQ(canvas.background().pixel(0, 0), qRgb(10, 5, 77));
    EXPECT_EQ(canvas.background().pixel(29, 19), qRgb(39, 24, 77));

    // A failed picture leaves the last good one in place.
    Platform::TDesktopPicture failed;
    failed.failure = QStringLiteral("denied");
    canvas.setScreen(failed);
    canvas.refillBackground({30, 20}, {80, 50});
    EXPECT_EQ(canvas.background().pixel(0, 0), qRgb(80, 50, 77));
    // Past the picture's right and bottom edges.
    EXPECT_EQ(canvas.background().pixel(19, 9), qRgb(99, 59, 77));
    EXPECT_EQ(canvas.background().pixel(20, 9), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.background().pixel(19, 10), qRgb(0, 0, 0));
}

TEST(SampleCanvas, TextIsLaidOutAgainOnlyForANewSizeOrWhenTold) {
    TSampleCanvas canvas;
    TSampleCanvas::TLook look;
    look.font.setPixelSize(12);
    look.textColor = MakeColor(0, 0, 0);
    look.bkgColor = MakeColor(255, 255, 255);
    const QRgb white = qRgb(255, 255, 255);
    const QStringList text{QStringList(40, QStringLiteral("W")).join(' ')};

    canvas.render({120, 200}, look, text);
    ASSERT_EQ(canvas.layoutCount(), 1);
    EXPECT_FALSE(canvas.stale());
    EXPECT_LT(lastInkColumn(canvas.image(), white), 120 - TSampleCanvas::TextMargin);
    canvas.refillBackground({120, 200}, {300, 300});
    canvas.render({120, 200}, look, text);
    EXPECT_EQ(canvas.layoutCount(), 1) << "a move laid the text out again";

    // Wider: the lines break at the new width, not the old one.
    canvas.render({400, 200}, look, text);
    EXPECT_EQ(canvas.layoutCount(), 2);
    EXPECT_GT(lastInkColumn(canvas.image(), white), 200);
    EXPECT_LT(lastInkColumn(canvas.image(), white), 400 - TSampleCanvas::TextMargin);

    // New text shows only once the layout is dropped.
    canvas.invalidateLayout();
    canvas.render({400, 200}, look, {QStringLiteral("W")});
    EXPECT_EQ(canvas.layoutCount(), 3);
    EXPECT_LT(lastInkColumn(canvas.image(), white),
              TSampleCanvas::TextMargin + 2 * QFontMetrics(look.font).horizontalAdvance('W'));
}
