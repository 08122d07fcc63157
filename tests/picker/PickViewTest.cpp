#include "picker/PickView.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// A picture whose every pixel differs from its neighbours, so a block drawn from the wrong source
// pixel or left over from an earlier frame shows.
QImage noisePicture(int w, int h, unsigned seed = 7) {
    QImage image(w, h, QImage::Format_ARGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | (random() & 0xFFFFFFu) | 0x010101u; // never black
    }
    return image;
}

QImage plainPicture(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

ColorValue pictureColor(const QImage& image, int x, int y) {
    return SwapRedBlue(image.pixel(x, y) & 0xFFFFFFu);
}

ColorValue bufferColor(const TPickView& view, int x, int y) {
    return SwapRedBlue(view.buffer().pixel(x, y) & 0xFFFFFFu);
}

// Every pixel of the square shows the block colour the layout puts there.
int wrongPixels(const TPickView& view) {
    int wrong = 0;
    for (int y = 0; y < view.side(); ++y)
        for (int x = 0; x < view.side(); ++x)
            if (bufferColor(view, x, y) != view.colorAt(QPoint(x, y))) ++wrong;
    return wrong;
}

std::vector<int> zoomPath(TPickView& view, bool in) {
    std::vector<int> path;
    while (in ? view.zoomIn() : view.zoomOut())
        path.push_back(view.zoom());
    return path;
}

} // namespace

TEST(PickViewTest, WorkedExampleAtDefaultSize) {
    TPickView view;
    const QImage picture = noisePicture(400, 300);
    view.setPicture(picture, QPoint(0, 0));
    view.setSide(153);
    view.setPointer(QPoint(200, 150));
    const TPickView::TLayout l = view.layout();
    EXPECT_EQ(view.half(), 76);
    EXPECT_EQ(l.d, 26);
    EXPECT_EQ(l.e, 78);
    EXPECT_EQ(l.o, -3);
    view.render(false);
    const ColorValue under = pictureColor(picture, 200, 150);
    for (int i = 75; i <= 77; ++i) {
        EXPECT_EQ(bufferColor(view, i, 76), under);
        EXPECT_EQ(bufferColor(view, 76, i), under);
    }
    EXPECT_NE(bufferColor(view, 74, 76), under);
    EXPECT_NE(bufferColor(view, 78, 76), under);
    EXPECT_EQ(bufferColor(view, 72, 76), pictureColor(picture, 199, 150));
}

TEST(PickViewTest, CentreIsThePixelUnderThePointerAtEveryZoom) {
    TPickView view;
    const QImage picture = noisePicture(300, 200);
    view.setPicture(picture, QPoint(0, 0));
    view.setPointer(QPoint(123, 77));
    const ColorValue under = pictureColor(picture, 123, 77);
    for (const int side : {31, 153, 191, 301}) {
        view.setSide(side);
        view.setZoom(2);
        std::vector<int> zooms{2};
        for (int z : zoomPath(view, true))
            zooms.push_back(z);
        view.setZoom(11);
        for (int z : zoomPath(view, true))
            zooms.push_back(z);
        for (int z : zooms) {
            view.setZoom(z);
            view.render(false);
            EXPECT_EQ(view.centerColor(), under) << side << " zoom " << z;
            EXPECT_EQ(bufferColor(view, view.half(), view.half()), under) << side << " zoom " << z;
        }
    }
}

TEST(PickViewTest, EveryClientPixelIsDrawnAndNothingStaleRemains) {
    TPickView view;
    const QImage picture = noisePicture(500, 400);
    view.setPicture(picture, QPoint(0, 0));
    const std::pair<int, int> cases[] = {{185, 3}, {191, 2},  {191, 3},
                                         {203, 2}, {153, 48}, {37, 50}};
    for (const auto& [side, zoom] : cases) {
        view.setSide(side);
        view.setZoom(zoom);
        view.setPointer(QPoint(250, 200));
        view.render(false);
        // A second frame elsewhere: any pixel the stretch misses keeps the first frame's colour.
        view.setPointer(QPoint(251, 190));
        view.render(false);
        EXPECT_EQ(wrongPixels(view), 0) << side << " zoom " << zoom;
    }
    // At the picture's corner part of the square has no source; it shows the outside colour, not
    // the previous frame.
    view.setSide(153);
    view.setZoom(2);
    view.setPointer(QPoint(0, 0));
    view.render(false);
    EXPECT_EQ(wrongPixels(view), 0);
    EXPECT_EQ(bufferColor(view, 0, 0), TPickView::kOutsideColor);
    EXPECT_EQ(bufferColor(view, 76, 76), pictureColor(picture, 0, 0));
}

// The blocks are written several source pixels at a time; every side up to 17 and a few larger,
// the zooms with a path of their own and past them, with the pointer in the middle and at each
// edge of the picture, must still show exactly the block the layout puts under each pixel.
TEST(PickViewTest, BlocksWrittenInGroupsMatchTheLayoutEverywhere) {
    TPickView view;
    const QImage picture = noisePicture(61, 47, 3);
    view.setPicture(picture, QPoint(0, 0));
    for (int side = 1; side <= 41; side += side < 17 ? 2 : 12)
        for (int zoom : {2, 3, 4, 5, 6, 7, 9, 13})
            for (QPoint pointer :
                 {QPoint(30, 20), QPoint(0, 0), QPoint(60, 46), QPoint(2, 45), QPoint(58, 1)}) {
                view.setSide(side);
                view.setZoom(zoom);
                view.setPointer(pointer);
                view.render(false);
                ASSERT_EQ(wrongPixels(view), 0)
                    << side << " zoom " << zoom << " at " << pointer.x() << "," << pointer.y();
            }
}

TEST(PickViewTest, PictureWithNegativeOrigin) {
    // A monitor left of and above the primary one.
    TPickView view;
    const QPoint origin(-1920, -200);
    const QImage picture = noisePicture(2420, 500, 11);
    view.setPicture(picture, origin);
    view.setPointer(QPoint(-1, -150));
    view.render(true);
    EXPECT_EQ(view.centerColor(), pictureColor(picture, 1919, 50));
    // Every corner of the picture at the smallest and largest zoom and a large side: no read
    // outside the picture (the sanitizer watches), the outside shown in one colour.
    view.setSide(1001);
    for (const QPoint corner : {QPoint(-1920, -200), QPoint(499, -200), QPoint(-1920, 299),
                                QPoint(499, 299), QPoint(-5000, 9000)}) {
        for (const int zoom : {2, 50}) {
            view.setPointer(corner);
            view.setZoom(zoom);
            view.render(true);
            const QPoint local = corner - origin;
            const bool inside = QRect(QPoint(), picture.size()).contains(local);
            EXPECT_EQ(view.centerColor(), inside ? pictureColor(picture, local.x(), local.y())
                                                 : TPickView::kOutsideColor);
        }
    }
}

TEST(PickViewTest, ZoomPaths) {
    TPickView view;
    EXPECT_EQ(view.zoom(), 3);
    EXPECT_EQ(zoomPath(view, true),
              (std::vector<int>{4, 5, 6, 8, 10, 12, 15, 18, 21, 24, 28, 32, 36, 40, 44, 48}));
    EXPECT_EQ(zoomPath(view, false),
              (std::vector<int>{44, 40, 36, 32, 28, 24, 20, 17, 14, 11, 9, 7, 5, 4, 3, 2}));
    EXPECT_FALSE(view.zoomOut());
    view.setZoom(11);
    EXPECT_EQ(zoomPath(view, true), (std::vector<int>{13, 16, 19, 22, 25, 29, 33, 37, 41, 45, 49}));
    view.setZoom(46);
    EXPECT_TRUE(view.zoomIn());
    EXPECT_EQ(view.zoom(), 50);
    EXPECT_FALSE(view.zoomIn());
}

TEST(PickViewTest, GridLinePositions) {
    TPickView view;
    view.setPicture(noisePicture(400, 400), QPoint(0, 0));
    view.setPointer(QPoint(200, 200));
    view.setSide(153);
    view.setGridLines(true);
    auto lineColumns = [&view] {
        std::vector<int> columns;
        for (int x = 0; x < view.side(); ++x) {
            bool black = true;
            for (int y = 0; y < view.side() && black; ++y)
                black = bufferColor(view, x, y) == kBlack;
            if (black) columns.push_back(x);
        }
        return columns;
    };
    view.render(false);
    // Spacing 12 below zoom 12.
    EXPECT_EQ(lineColumns(),
              (std::vector<int>{10, 22, 34, 46, 58, 70, 82, 94, 106, 118, 130, 142}));
    EXPECT_EQ(bufferColor(view, 50, 10), kBlack); // and the rows
    view.setZoom(20);
    view.render(false);
    EXPECT_EQ(lineColumns(), (std::vector<int>{6, 26, 46, 66, 86, 106, 126, 146}));
    // On block edges: the centre block begins at the line left of the centre.
    EXPECT_EQ(bufferColor(view, 67, 70), view.centerColor());
    EXPECT_EQ(bufferColor(view, 85, 70), view.centerColor());
    // A small side at a large zoom puts the first line left of the square: nothing drawn.
    view.setSide(37);
    view.setZoom(48);
    view.render(false);
    EXPECT_TRUE(lineColumns().empty());
}

TEST(PickViewTest, PickLinesPointAtTheCentre) {
    TPickView view;
    view.setPicture(plainPicture(400, 400, 0xFFFFFFFF), QPoint(0, 0));
    view.setPointer(QPoint(200, 200));
    view.setSide(153);
    view.render(true);
    // g = 3 at zoom 3: the lines start at 76 ± 3 and run to the corners.
    for (int k = 0; k <= 73; ++k) {
        EXPECT_EQ(bufferColor(view, 73 - k, 73 - k), kBlack);
        EXPECT_EQ(bufferColor(view, 79 + k, 73 - k), kBlack);
        EXPECT_EQ(bufferColor(view, 79 + k, 79 + k), kBlack);
        EXPECT_EQ(bufferColor(view, 73 - k, 79 + k), kBlack);
    }
    EXPECT_EQ(bufferColor(view, 74, 74), kWhite);
    EXPECT_EQ(bufferColor(view, 76, 76), kWhite);
    // At an even zoom the square around the centre is lopsided, as the block is.
    view.setZoom(4);
    view.render(true);
    EXPECT_EQ(bufferColor(view, 72, 72), kBlack);
    EXPECT_EQ(bufferColor(view, 80, 80), kBlack);
    // The corners of the square lie outside a small window at a large zoom: nothing drawn there.
    view.setSide(31);
    view.setZoom(28);
    view.render(true);
    int black = 0;
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 31; ++x)
            black += bufferColor(view, x, y) == kBlack;
    EXPECT_EQ(black, 0);
}

TEST(PickViewTest, AverageWeighsTheVisibleView) {
    TPickView view;
    view.setPicture(plainPicture(400, 400, 0xFFFF0000), QPoint(0, 0));
    view.setPointer(QPoint(200, 200));
    view.setSide(153);
    EXPECT_EQ(view.averageColor(), MakeColor(255, 0, 0));
    // 12 lines each way darken 12 × 153 × 2 − 144 of 23409 pixels.
    view.setGridLines(true);
    EXPECT_EQ(view.averageColor(), MakeColor(255 * (23409 - 3528) / 23409, 0, 0));

    // At the edge the outside colour counts, never a stale frame: the average is the mean of
    // what the square shows.
    view.setGridLines(false);
    const QImage noise = noisePicture(400, 400, 3);
    view.setPicture(noise, QPoint(0, 0));
    view.setPointer(QPoint(2, 3));
    const ColorValue average = view.averageColor();
    std::uint64_t sums[3] = {0, 0, 0};
    for (int y = 0; y < 153; ++y)
        for (int x = 0; x < 153; ++x) {
            const ColorValue c = view.colorAt(QPoint(x, y));
            sums[0] += RedOf(c);
            sums[1] += GreenOf(c);
            sums[2] += BlueOf(c);
        }
    EXPECT_EQ(average, MakeColor(int(sums[0] / 23409), int(sums[1] / 23409), int(sums[2] / 23409)));
}

TEST(PickViewTest, DevicePixelPictureIsIndexedInDevicePixels) {
    TPickView view;
    QImage picture = noisePicture(400, 300);
    picture.setDevicePixelRatio(2.0);
    view.setPicture(picture, QPoint(-100, 0));
    view.setPointer(QPoint(-50, 40));
    EXPECT_EQ(view.centerColor(), pictureColor(picture, 100, 80));
}
