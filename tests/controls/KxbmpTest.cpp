#include "controls/Kxbmp.h"

#include <gtest/gtest.h>

TEST(KxbmpLifeCycle, NewBitmapIsOpaqueWhite) {
    TKxBmp bmp(3, 2);
    ASSERT_TRUE(bmp.hasPixels());
    EXPECT_EQ(bmp.stride(), 12);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bmp.pixelRow(y)[x], 0xFFFFFFFFu);
}
