#include "controls/KxMovers.h"

#include <gtest/gtest.h>

TEST(KxMovers, SizesBelowFiveGrowToFive) {
    QWidget parent;
    TKxMovers m(&parent);
    m.SetBounds(1, 2, 3, 40);
    EXPECT_EQ(m.geometry(), QRect(1, 2, 5, 40));
    m.SetBounds(1, 2, 0, 4);
    EXPECT_EQ(m.size(), QSize(0, 5));
    m.setWidth(-2);
    EXPECT_EQ(m.width(), 5);
    m.setHeight(7);
    EXPECT_EQ(m.size(), QSize(5, 7));
}

TEST(KxMovers, TabStopDecidesWhetherItTakesTheFocus) {
    TKxMovers m;
    EXPECT_TRUE(m.TabStop());
    EXPECT_EQ(m.focusPolicy(), Qt::StrongFocus);
    m.setTabStop(false);
    EXPECT_EQ(m.focusPolicy(), Qt::NoFocus);
}
