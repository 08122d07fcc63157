#include "pixels/KxImages.h"
#include "pixels/KxPngRC.h"

#include <gtest/gtest.h>

namespace {

int opaquePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 240;
    return n;
}

} // namespace

TEST(KxImagesTest, MainListHoldsEveryNamedPictureAtTheAskedSize) {
    const TKxImageList list = KxMainImageList(24);
    ASSERT_EQ(list.count(), kxiMainImageCount);
    for (int i : {kxiBrowse, kxiEditSample, kxiEyeDropHide, kxiEyeDropShow, kxiLock, kxiOk,
                  kxiCancel, kxiTemplates}) {
        EXPECT_EQ(list.image(i).size(), QSize(24, 24));
        EXPECT_GT(opaquePixels(list.image(i)), 24) << i;
        // Transparent corners: the pictures sit on whatever face shows them.
        EXPECT_LT(qAlpha(list.image(i).pixel(0, 23)) + qAlpha(list.image(i).pixel(23, 0)), 510)
            << i;
    }
    EXPECT_EQ(opaquePixels(list.image(0)), 0);
    EXPECT_NE(list.image(kxiEyeDropHide), list.image(kxiEyeDropShow));
}

TEST(KxImagesTest, MessageIconsArePngsForHighDensity) {
    for (int kind = kxmInformation; kind <= kxmError; ++kind) {
        const QByteArray png = KxMessageIconPng(TKxMessageIcon(kind));
        ASSERT_GT(png.size(), 25);
        EXPECT_EQ(quint8(png.at(25)), 6); // RGB with alpha
        TKxPngRC holder;
        ASSERT_TRUE(holder.LoadFromData(png));
        EXPECT_TRUE(holder.hasAlpha());
        EXPECT_EQ(holder.getImage().width(), 48);
        EXPECT_EQ(qAlpha(holder.getImage().pixels().pixel(0, 0)), 0);
        EXPECT_GT(opaquePixels(holder.getImage().pixels()), 48 * 48 / 3);
    }
    EXPECT_NE(KxMessageIconPng(kxmQuestion), KxMessageIconPng(kxmInformation));
}
