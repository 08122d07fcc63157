#include "platform/FontWarmup.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

// Text is measured while the font system may still be starting on the other thread, and again
// once it has: the same width both times, and waiting or ending more than once is harmless.
TEST(FontWarmup, TextMeasuredWhileItRunsAndAfterIsTheSame) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(18);
    int during = 0;
    {
        TFontWarmup warmup;
        during = QFontMetrics(font).horizontalAdvance(QStringLiteral("Show Sample"));
        warmup.wait();
        warmup.wait();
    }
    { TFontWarmup endsWithoutWaiting; }
    EXPECT_GT(during, 0);
    EXPECT_EQ(QFontMetrics(font).horizontalAdvance(QStringLiteral("Show Sample")), during);
}
