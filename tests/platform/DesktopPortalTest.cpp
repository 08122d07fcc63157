#include "platform/DesktopPortal.h"

#include <gtest/gtest.h>

#include <limits>

using Platform::TDesktopPortal;

TEST(DesktopPortal, ColourCallRoundsEachChannelAndRefusesNonNumbers) {
    QRgb c = 0;
    ASSERT_TRUE(TDesktopPortal::colorFromUnit(0.0, 1.0, 0.331, c));
    EXPECT_EQ(c, qRgb(0, 255, 84));
    // 0.5 * 255 = 127.5 rounds up; 0.998 * 255 = 254.49 rounds down, never truncates to 254
    // where 254.6 is meant.
    ASSERT_TRUE(TDesktopPortal::colorFromUnit(0.5, 0.998, 0.9984, c));
    EXPECT_EQ(c, qRgb(128, 254, 255));
    ASSERT_TRUE(TDesktopPortal::colorFromUnit(-0.2, 1.7, 0.0, c));
    EXPECT_EQ(c, qRgb(0, 255, 0));
    EXPECT_FALSE(TDesktopPortal::colorFromUnit(std::numeric_limits<double>::quiet_NaN(), 0, 0, c));
    EXPECT_FALSE(TDesktopPortal::colorFromUnit(0, std::numeric_limits<double>::infinity(), 0, c));
}

TEST(DesktopPortal, RequestPathDropsTheColonAndReplacesDots) {
    EXPECT_EQ(TDesktopPortal::requestPath(QStringLiteral(":1.42"), QStringLiteral("t7")),
              QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/t7"));
}
