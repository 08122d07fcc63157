#include "pixels/Kxbmpround.h"

#include <gtest/gtest.h>

namespace {

const TKxColor kLight(255, 241, 170);
const TKxColor kDark(196, 120, 0);
const TKxColor kMarker(1, 2, 3, 4);

int alphaAt(const TKxBmp& b, int x, int y) {
    return b.getPixel(x, y).a;
}

// Channel-wise (x × a + y × (255 − a)) >> 8, the shapes' mixing rule.
TKxColor mixed(TKxColor x, TKxColor y, int a, int alpha) {
    const auto m = [a](int p, int q) { return (p * a + q * (255 - a)) >> 8; };
    return TKxColor(m(x.r, y.r), m(x.g, y.g), m(x.b, y.b), alpha);
}

TKxColor veryDark() {
    return TKxColor::fromPixel(KxPixel::darken(kDark.toPixel(), 220));
}

// A shape on a square bitmap that starts filled with the marker.
struct Ball {
    TRoundBmp bmp;
    explicit Ball(int side, bool hole = false) : bmp(nullptr, side, side) {
        bmp.fill(kMarker);
        const QRect r(0, 0, side, side);
        if (hole)
            bmp.drawHole(160, kLight, kDark, r);
        else
            bmp.drawBall(160, kLight, kDark, r);
    }
};

} // namespace

TEST(Kxbmpround, BallsBelowFourPixelsDrawNothing) {
    TRoundBmp b(nullptr, 10, 10);
    b.fill(kMarker);
    b.drawBall(160, kLight, kDark, QRect(0, 0, 3, 3));
    b.drawBall(160, kLight, kDark, QRect(0, 0, 10, 3));
    b.drawRoundPipe(160, kLight, kDark, QRect(0, 0, 3, 10));
    b.drawRoundGrove(160, kLight, kDark, QRect(0, 0, 10, 3));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(b.getPixel(x, y), kMarker);
}

TEST(Kxbmpround, FourPixelBallIsTheFixedTable) {
    Ball bShape(4);
    const TRoundBmp& b = bShape.bmp;
    EXPECT_EQ(b.getPixel(0, 0), mixed(kLight, kDark, 70, 40));
    EXPECT_EQ(b.getPixel(3, 3), mixed(kDark, veryDark(), 100, 40));
    EXPECT_EQ(b.getPixel(1, 1), mixed(kLight, kDark, 200, 255));
    EXPECT_EQ(b.getPixel(3, 0), mixed(kDark, veryDark(), 140, 40));
    EXPECT_EQ(b.getPixel(2, 1), mixed(kLight, kDark, 130, 255));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(b.getPixel(x, y), b.getPixel(y, x)) << x << "," << y;

    Ball sixShape(6);
    const TRoundBmp& six = sixShape.bmp;
    EXPECT_EQ(six.getPixel(5, 0), mixed(kDark, veryDark(), 160, 0));
    EXPECT_EQ(six.getPixel(4, 2), mixed(kLight, kDark, 0, 255));
    EXPECT_EQ(six.getPixel(2, 3), mixed(kLight, kDark, 80, 255));
    EXPECT_EQ(six.getPixel(5, 5), mixed(kDark, veryDark(), 80, 0));
}

TEST(Kxbmpround, LargeBallIsRoundLitAndClearOutside) {
    Ball bShape(18);
    const TRoundBmp& b = bShape.bmp;
    EXPECT_EQ(b.highlightCentre(), QPoint(6, 6));
    EXPECT_EQ(b.circleCentre(), QPoint(9, 9));
    EXPECT_EQ(b.getPixel(6, 6), TKxColor(kLight.r, kLight.g, kLight.b, 255));
    for (const QPoint corner : {QPoint(0, 0), QPoint(17, 0), QPoint(0, 17), QPoint(17, 17),
                                QPoint(1, 1), QPoint(2, 0), QPoint(16, 16)})
        EXPECT_EQ(alphaAt(b, corner.x(), corner.y()), 0) << corner.x() << "," << corner.y();
    EXPECT_EQ(alphaAt(b, 9, 9), 255);
    EXPECT_EQ(alphaAt(b, 4, 4), 255);
    // The rim is partly covered: neither opaque nor gone.
    EXPECT_GT(alphaAt(b, 0, 9), 50);
    EXPECT_LT(alphaAt(b, 0, 9), 255);
    // Light at the highlight, darkest towards the lower right.
    EXPECT_GT(KxPixel::grey(b.getPixel(6, 6).toPixel()), KxPixel::grey(b.getPixel(9, 9).toPixel()));
    EXPECT_GT(KxPixel::grey(b.getPixel(9, 9).toPixel()),
              KxPixel::grey(b.getPixel(13, 13).toPixel()));
}

TEST(Kxbmpround, BallOutlineIsSymmetricForEverySize) {
    for (int side = 7; side <= 48; ++side) {
        Ball bShape(side);
        const TRoundBmp& b = bShape.bmp;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const int a = alphaAt(b, x, y);
                ASSERT_EQ(a, alphaAt(b, side - 1 - x, y)) << side << ": " << x << "," << y;
                ASSERT_EQ(a, alphaAt(b, x, side - 1 - y)) << side << ": " << x << "," << y;
                ASSERT_EQ(a, alphaAt(b, y, x)) << side << ": " << x << "," << y;
            }
        }
        // Every row keeps some of the ball: corner clearing never eats through a row.
        for (int y = 0; y < side; ++y)
            ASSERT_GT(alphaAt(b, side / 2, y), 50) << side << ": row " << y;
    }
}

TEST(Kxbmpround, HoleIsTheBallTurnedHalfAround) {
    for (int side : {4, 5, 6, 7, 13, 18, 21}) {
        Ball bShape(side);
        const TRoundBmp& b = bShape.bmp;
        Ball hShape(side, true);
        const TRoundBmp& h = hShape.bmp;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                ASSERT_EQ(h.getPixel(x, y), b.getPixel(side - 1 - x, side - 1 - y))
                    << side << ": " << x << "," << y;
    }
}

TEST(Kxbmpround, SquareGroveAndPipeAreTheBall) {
    Ball bShape(14);
    const TRoundBmp& b = bShape.bmp;
    TRoundBmp g(nullptr, 14, 14);
    g.fill(kMarker);
    g.drawRoundGrove(160, kLight, kDark, QRect(0, 0, 14, 14));
    TRoundBmp p(nullptr, 14, 14);
    p.fill(kMarker);
    p.drawRoundPipe(160, kLight, kDark, QRect(0, 0, 14, 14));
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            ASSERT_EQ(g.getPixel(x, y), b.getPixel(x, y));
            ASSERT_EQ(p.getPixel(x, y), b.getPixel(x, y));
        }
    }
}

TEST(Kxbmpround, PipesAndGrovesStayInsideTheirRectangle) {
    // Rectangles away from the origin and hanging over the bitmap's edges.
    const QRect rects[] = {QRect(5, 7, 13, 60),  QRect(3, 4, 50, 18), QRect(20, 50, 20, 40),
                           QRect(-6, 2, 60, 14), QRect(4, 4, 5, 90),  QRect(30, 70, 9, 4)};
    for (const QRect& r : rects) {
        for (int grove = 0; grove < 2; ++grove) {
            TRoundBmp b(nullptr, 40, 80);
            b.fill(kMarker);
            grove ? b.drawRoundGrove(240, kLight, kDark, r)
                  : b.drawRoundPipe(240, kLight, kDark, r);
            const QRect inside = r & QRect(0, 0, 40, 80);
            for (int y = 0; y < 80; ++y) {
                for (int x = 0; x < 40; ++x) {
                    if (!inside.contains(x, y)) {
                        ASSERT_EQ(b.getPixel(x, y), kMarker) << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(Kxbmpround, TallGroveHasRoundTransparentEndsAndAnOpaqueBody) {
    TRoundBmp b(nullptr, 13, 141);
    b.fill(kMarker);
    b.drawRoundGrove(240, TKxColor(0, 255, 255), TKxColor(1, 122, 233), QRect(0, 0, 13, 141));
    for (const QPoint corner : {QPoint(0, 0), QPoint(12, 0), QPoint(0, 140), QPoint(12, 140)})
        EXPECT_EQ(alphaAt(b, corner.x(), corner.y()), 0) << corner.x() << "," << corner.y();
    for (int y = 8; y < 133; ++y) {
        ASSERT_EQ(alphaAt(b, 6, y), 255) << y;
        ASSERT_LT(alphaAt(b, 0, y), 255) << y; // the sides stay soft all along
    }
    // Between its ends the body repeats one row.
    EXPECT_EQ(b.getPixel(3, 70), b.getPixel(3, 71));
}

TEST(Kxbmpround, WideGroveAndPipeFillTheLane) {
    for (int grove = 0; grove < 2; ++grove) {
        TRoundBmp b(nullptr, 100, 18);
        b.fill(kMarker);
        grove ? b.drawRoundGrove(240, kLight, kDark, QRect(0, 0, 100, 18))
              : b.drawRoundPipe(240, kLight, kDark, QRect(0, 0, 100, 18));
        EXPECT_EQ(alphaAt(b, 0, 0), 0);
        EXPECT_EQ(alphaAt(b, 99, 17), 0);
        for (int x = 9; x < 90; ++x)
            ASSERT_EQ(alphaAt(b, x, 9), 255) << x;
        // One colour per row between the ends.
        EXPECT_EQ(b.getPixel(30, 5), b.getPixel(60, 5));
    }
}

TEST(Kxbmpround, ShapesNeedPixels) {
    TRoundBmp empty(nullptr, 0, 10);
    try {
        empty.drawBall(160, kLight, kDark, QRect(0, 0, 10, 10));
        FAIL() << "no error raised";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "No Bitmap Created");
    }
    EXPECT_THROW(empty.drawRoundGrove(1, kLight, kDark, QRect(0, 0, 5, 9)),
                 EInvalidGraphicOperation);
    EXPECT_THROW(empty.drawProgress(5, false, 60, true, true, 0, kLight, kDark, kLight, kDark,
                                    QRect(0, 0, 5, 9)),
                 EInvalidGraphicOperation);
    empty.rotate180(QRect(0, 0, 4, 4));
    empty.fillGaps(QRect(0, 0, 4, 4));
}

TEST(Kxbmpround, ProgressFrontFollowsThePosition) {
    const TKxColor frontSecond(200, 0, 0);
    const TKxColor backSecond(0, 0, 200);
    TRoundBmp b(nullptr, 100, 18);
    b.drawProgress(25, false, 60, false, false, 0, kDark, frontSecond, kDark, backSecond,
                   QRect(0, 0, 100, 18));
    EXPECT_EQ(b.getPixel(24, 9), TKxColor(200, 0, 0, 255));
    EXPECT_EQ(b.getPixel(25, 9), TKxColor(0, 0, 200, 255));

    b.drawProgress(25, true, 60, false, false, 0, kDark, frontSecond, kDark, backSecond,
                   QRect(0, 0, 100, 18));
    EXPECT_EQ(b.getPixel(74, 9), TKxColor(0, 0, 200, 255));
    EXPECT_EQ(b.getPixel(75, 9), TKxColor(200, 0, 0, 255));

    // A standing lane fills from the bottom, its front's top line lightened.
    TRoundBmp tall(nullptr, 18, 100);
    tall.drawProgress(40, false, 60, true, false, 0, kDark, frontSecond, kDark, backSecond,
                      QRect(0, 0, 18, 100));
    EXPECT_EQ(tall.getPixel(9, 59), TKxColor(0, 0, 200, 255));
    EXPECT_EQ(tall.getPixel(9, 61), TKxColor(200, 0, 0, 255));
    EXPECT_EQ(tall.getPixel(9, 60),
              TKxColor::fromPixel(KxPixel::lighten(TKxColor(200, 0, 0, 255).toPixel(), 150)));
}

TEST(Kxbmpround, ProgressOutsideTheLaneDrawsNothing) {
    TRoundBmp b(nullptr, 100, 18);
    b.fill(kMarker);
    b.drawProgress(101, false, 60, true, true, 2, kLight, kDark, kLight, kDark,
                   QRect(0, 0, 100, 18));
    b.drawProgress(-1, false, 60, true, true, 1, kLight, kDark, kLight, kDark,
                   QRect(0, 0, 100, 18));
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(b.getPixel(x, 9), kMarker);
    // An empty front with a soft leading edge shades nothing outside it.
    for (bool reversed : {false, true}) {
        b.drawProgress(0, reversed, 60, true, false, 0, kLight, kDark, kLight, TKxColor(9, 9, 9),
                       QRect(0, 0, 100, 18));
        EXPECT_EQ(b.getPixel(0, 9), TKxColor(9, 9, 9, 255));
        EXPECT_EQ(b.getPixel(99, 9), TKxColor(9, 9, 9, 255));
    }
}

TEST(Kxbmpround, FillGapsTakesColoursFromNeighbours) {
    TRoundBmp b(nullptr, 5, 3);
    b.clearRect(QRect(0, 0, 5, 3));
    const TKxPixel c = 0xFF204060;
    b.pixelRow(0)[3] = c;
    b.pixelRow(1)[2] = 0xFF000000; // not all zero: kept
    b.pixelRow(2)[1] = c;
    b.fillGaps(QRect(0, 0, 5, 3));
    // The first row copies its first colour leftwards and its last column from the left.
    EXPECT_EQ(b.pixelRow(0)[0], c);
    EXPECT_EQ(b.pixelRow(0)[2], c);
    EXPECT_EQ(b.pixelRow(0)[4], c);
    EXPECT_EQ(b.pixelRow(1)[2], 0xFF000000u);
    // A side pixel takes the rows above and below as they are at that moment.
    EXPECT_EQ(b.pixelRow(1)[0], KxPixel::average(c, 0));
}

TEST(Kxbmpround, TallGroveRunsIntoItsLitEndWithoutASeam) {
    // The main window's lane: the body must brighten steadily into the lit lower end, with no
    // darker band where the two meet.
    TRoundBmp b(nullptr, 20, 212);
    b.drawRoundGrove(240, TKxColor(0, 255, 255), TKxColor(1, 122, 233), QRect(0, 0, 20, 212));
    const int lit = 212 - 20 + 13; // the hole's highlight row
    for (int x = 8; x <= 13; ++x) {
        for (int y = 150; y < lit; ++y)
            ASSERT_LE(KxPixel::grey(b.getPixel(x, y).toPixel()),
                      KxPixel::grey(b.getPixel(x, y + 1).toPixel()))
                << x << "," << y;
    }
}
