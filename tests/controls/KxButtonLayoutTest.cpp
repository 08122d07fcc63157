#include "controls/KxButtonLayout.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    QSize face;
    QSize image;
    TKxImageAlignment alignment;
    TKxLayoutStyle style;
    QRect placedImage;
    QRect placedCaption;
};

// A 20 x 16 image box and a 30 x 10 caption, worked by hand.
TEST(KxButtonLayout, ImageAndCaptionGoWhereAlignmentAndStyleSay) {
    const QSize caption(30, 10);
    const Case cases[] = {
        {{100, 40},
         {20, 16},
         tiaLeft,
         tlsCenterTextAndImageClose,
         {25, 12, 20, 16},
         {45, 15, 30, 10}},
        {{100, 40}, {20, 16}, tiaLeft, tlsTextFolowImage, {0, 12, 20, 16}, {20, 15, 30, 10}},
        {{100, 40}, {20, 16}, tiaLeft, tlsCenterTextInRest, {0, 12, 20, 16}, {45, 15, 30, 10}},
        {{100, 40},
         {20, 16},
         tiaRight,
         tlsCenterTextAndImageClose,
         {55, 12, 20, 16},
         {25, 15, 30, 10}},
        {{100, 60},
         {20, 16},
         tiaTop,
         tlsCenterTextAndImageClose,
         {40, 17, 20, 16},
         {35, 33, 30, 10}},
        {{100, 40},
         {20, 16},
         tiaCenter,
         tlsCenterTextAndImageClose,
         {40, 12, 20, 16},
         {35, 28, 30, 10}},
        // Without an image the caption alone sits in the middle; the empty image stays put.
        {{100, 40},
         {0, 0},
         tiaCenter,
         tlsCenterTextAndImageClose,
         {0, 0, 0, 0},
         {35, 15, 30, 10}},
    };
    for (const Case& c : cases) {
        const TKxButtonPlacement placed =
            PlaceButtonFace(c.face, c.image, caption, c.alignment, c.style);
        EXPECT_EQ(placed.image, c.placedImage)
            << "alignment " << c.alignment << " style " << c.style;
        EXPECT_EQ(placed.caption, c.placedCaption)
            << "alignment " << c.alignment << " style " << c.style;
    }
}

} // namespace
