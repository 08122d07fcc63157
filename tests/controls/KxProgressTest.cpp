#include "controls/KxProgress.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct Bar {
    QWidget host;
    TKxProgress* bar;
    explicit Bar(QSize size = {100, 18}) : bar(new TKxProgress(&host)) {
        host.resize(300, 200);
        bar->setGeometry(10, 10, size.width(), size.height());
        // Solid and without shading, so that every pixel is either front or lane.
        bar->setPaternType(tptSolid);
        bar->setSoftEdge(false);
        bar->setSoftEdgeFront(false);
        host.show();
    }
    QImage picture() { return bar->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QRgb rgbOf(std::uint32_t colour) {
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(KxProgressTest, FrontGrowsFromTheLeftOrFromTheBottom) {
    Bar lying;
    lying.bar->setPosition(25);
    EXPECT_EQ(lying.bar->posInPix(), 25);
    QImage p = lying.picture();
    const QRgb front = rgbOf(lying.bar->ClFrontLight());
    const QRgb lane = rgbOf(lying.bar->ClBkgLight());
    EXPECT_EQ(p.pixel(0, 9), front);
    EXPECT_EQ(p.pixel(24, 9), front);
    EXPECT_EQ(p.pixel(25, 9), lane);
    EXPECT_EQ(p.pixel(99, 17), lane);
    lying.bar->setPosition(100);
    p = lying.picture();
    EXPECT_EQ(p.pixel(99, 9), front);

    lying.bar->setMax(150);
    lying.bar->setMin(50);
    lying.bar->setPosition(100);
    EXPECT_EQ(lying.bar->posInPix(), 50);

    Bar standing(QSize(18, 100));
    standing.bar->setPosition(25);
    EXPECT_EQ(standing.bar->getLaneLengthInPix(), 100);
    p = standing.picture();
    EXPECT_EQ(p.pixel(9, 99), front);
    EXPECT_EQ(p.pixel(9, 75), front);
    EXPECT_EQ(p.pixel(9, 74), lane);
    EXPECT_EQ(p.pixel(9, 0), lane);
}

TEST(KxProgressTest, RangeEndsCorrectEachOtherAndThePosition) {
    TKxProgress bar;
    bar.setMax(-5);
    EXPECT_EQ(bar.Max(), 1);
    bar.setMax(100);
    bar.setPosition(50);
    bar.setMin(200);
    EXPECT_EQ(bar.Min(), 99);
    EXPECT_EQ(bar.Position(), 99);
    bar.setPosition(1000);
    EXPECT_EQ(bar.Position(), 100);
    bar.setPosition(kNaN);
    EXPECT_EQ(bar.Position(), 100);
}

TEST(KxProgressTest, ClickSetsThePositionAndReportsOnlyAChange) {
    Bar lying;
    QSignalSpy changes(lying.bar, &TKxProgress::posChange);
    QTest::mouseClick(lying.bar, Qt::LeftButton, {}, QPoint(40, 9));
    EXPECT_EQ(lying.bar->Position(), 0) << "clicks are off by default";
    lying.bar->setAcceptClick(true);
    QTest::mouseClick(lying.bar, Qt::LeftButton, {}, QPoint(40, 9));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].toDouble(), 40);
    EXPECT_EQ(lying.bar->Position(), 40);
    QTest::mouseClick(lying.bar, Qt::LeftButton, {}, QPoint(40, 9));
    QTest::mouseClick(lying.bar, Qt::RightButton, {}, QPoint(70, 9));
    EXPECT_EQ(changes.count(), 1);
    // Setting the position in code reports nothing.
    lying.bar->setPosition(10);
    EXPECT_EQ(changes.count(), 1);

    // The standing bar takes the pointer's distance from its top as the front's length.
    Bar standing(QSize(18, 100));
    standing.bar->setAcceptClick(true);
    QSignalSpy standingChanges(standing.bar, &TKxProgress::posChange);
    QTest::mouseClick(standing.bar, Qt::LeftButton, {}, QPoint(9, 30));
    EXPECT_EQ(standing.bar->Position(), 30);
    EXPECT_EQ(standingChanges.count(), 1);
}

TEST(KxProgressTest, DegenerateRangesKeepTheFrontInsideTheLane) {
    Bar b;
    TKxProgress* bar = b.bar;
    bar->setAcceptClick(true);
    const auto inLane = [&] { return bar->posInPix() >= 0 && bar->posInPix() <= 100; };

    // Beyond 2^53 adding 1 changes nothing: the range must still not close.
    const double huge = std::ldexp(1.0, 60);
    bar->setMax(huge + 4096);
    bar->setMin(huge);
    bar->setMax(huge);
    EXPECT_GT(bar->Max(), bar->Min());
    bar->setPosition(bar->Max());
    EXPECT_EQ(bar->posInPix(), 100);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(50, 9));
    EXPECT_GE(bar->Position(), bar->Min());
    EXPECT_LE(bar->Position(), bar->Max());

    for (double min : {-kInf, -1e308, 0.0}) {
        for (double max : {kInf, 1e308, 1.0}) {
            TKxProgress fresh(&b.host);
            fresh.setGeometry(10, 40, 100, 18);
            fresh.setMax(max);
            fresh.setMin(min);
            for (double pos : {-kInf, min, 0.5, 1e300, max, kInf, kNaN}) {
                fresh.setPosition(pos);
                EXPECT_GE(fresh.posInPix(), 0) << min << " " << max << " " << pos;
                EXPECT_LE(fresh.posInPix(), 100) << min << " " << max << " " << pos;
                EXPECT_FALSE(std::isnan(fresh.Position()));
            }
            fresh.setAcceptClick(true);
            fresh.show();
            for (int x : {1, 50, 99}) {
                QTest::mouseClick(&fresh, Qt::LeftButton, {}, QPoint(x, 9));
                EXPECT_FALSE(std::isnan(fresh.Position())) << min << " " << max << " " << x;
                EXPECT_GE(fresh.Position(), fresh.Min());
                EXPECT_LE(fresh.Position(), fresh.Max());
            }
        }
    }
    EXPECT_TRUE(inLane());

    // A bar with no length takes clicks without dividing by zero.
    TKxProgress empty(&b.host);
    empty.setGeometry(0, 0, 0, 0);
    empty.setAcceptClick(true);
    empty.setPosition(50);
    EXPECT_EQ(empty.posInPix(), 0);
}
