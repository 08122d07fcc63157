#include "pixels/KxPngRC.h"
#include "pixels/KxImageList.h"
#include "support/DiskFull.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The colour type byte of a PNG's header chunk.
int colourType(const QByteArray& png) {
    return png.size() > 25 ? quint8(png.at(25)) : -1;
}

// A PNG written by libpng directly: RGB (colour type 2) or RGBA (type 6) bytes.
QByteArray makePng(int width, int height, const std::vector<quint8>& bytes, bool alpha) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, bytes.data(), 0, nullptr);
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    png_image_write_to_memory(&image, out.data(), &size, 0, bytes.data(), 0, nullptr);
    out.resize(qsizetype(size));
    return out;
}

// A holder at a known screen density; the previous density comes back after the test.
class KxPngRCTest : public ::testing::Test {
protected:
    void SetUp() override { previous_ = TKxPngRC::screenPixelsPerInch(); }
    void TearDown() override { TKxPngRC::setScreenPixelsPerInch(previous_); }
    int previous_ = 96;
};

TKxPngImage solid(int w, int h, quint32 argb, bool alpha) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(argb);
    return TKxPngImage::fromImage(image, alpha);
}

} // namespace

TEST_F(KxPngRCTest, DecodesRgbAndRgbaFiles) {
    const QByteArray rgb = makePng(2, 1, {255, 0, 0, 0, 0, 255}, false);
    ASSERT_EQ(colourType(rgb), 2);
    TKxPngImage image;
    ASSERT_TRUE(image.loadFromData(rgb));
    EXPECT_FALSE(image.hasAlpha());
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.pixels().pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.pixels().pixel(1, 0), 0xFF0000FFu);

    const QByteArray rgba = makePng(2, 1, {10, 20, 30, 0, 40, 50, 60, 128}, true);
    ASSERT_EQ(colourType(rgba), 6);
    ASSERT_TRUE(image.loadFromData(rgba));
    EXPECT_TRUE(image.hasAlpha());
    // Straight alpha: the colour under a transparent pixel survives.
    EXPECT_EQ(image.pixels().pixel(0, 0), 0x000A141Eu);
    EXPECT_EQ(image.pixels().pixel(1, 0), 0x8028323Cu);
}

TEST_F(KxPngRCTest, EncodesWithTheMatchingColourTypeAndReadsBack) {
    QImage source(3, 2, QImage::Format_ARGB32);
    source.fill(0x40112233u);
    source.setPixel(2, 1, 0xFFABCDEFu);
    for (bool alpha : {false, true}) {
        const TKxPngImage image = TKxPngImage::fromImage(source, alpha);
        const QByteArray data = image.saveToData();
        EXPECT_EQ(colourType(data), alpha ? 6 : 2);
        TKxPngImage back;
        ASSERT_TRUE(back.loadFromData(data));
        EXPECT_TRUE(back == image);
    }
}

TEST_F(KxPngRCTest, RejectsDataThatIsNoPng) {
    TKxPngRC holder;
    EXPECT_FALSE(holder.LoadFromData("not a png at all"));
    EXPECT_FALSE(holder.LoadFromData(QByteArray()));
    EXPECT_TRUE(holder.getImage().isNull());
    EXPECT_FALSE(holder.LoadFromFile("/nonexistent/x.png"));
}

TEST_F(KxPngRCTest, ResizePngScalesDownOnlyAndOnce) {
    TKxPngRC holder;
    holder.setImage(solid(64, 64, 0xFF336699u, false));
    ASSERT_EQ(holder.SourceDPI(), 144);

    for (int ppi : {144, 192}) {
        TKxPngRC::setScreenPixelsPerInch(ppi);
        holder.resizePng();
        EXPECT_EQ(holder.getImage().width(), 64);
        EXPECT_EQ(holder.SourceDPI(), 144);
    }
    TKxPngRC::setScreenPixelsPerInch(96);
    holder.resizePng();
    EXPECT_EQ(holder.getImage().width(), 42);
    EXPECT_EQ(holder.getImage().height(), 42);
    EXPECT_EQ(holder.SourceDPI(), 96);
    EXPECT_EQ(holder.getImage().pixels().pixel(20, 20), 0xFF336699u);
    holder.resizePng();
    EXPECT_EQ(holder.getImage().width(), 42);

    TKxPngRC tiny;
    tiny.setImage(solid(1, 2, 0xFF000000u, false));
    tiny.resizePng();
    EXPECT_EQ(tiny.getImage().pixels().size(), QSize(1, 1));
}

TEST_F(KxPngRCTest, ResizePngScalesAlphaApartFromColour) {
    // Left half transparent red, right half opaque blue.
    QImage source(72, 72, QImage::Format_ARGB32);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 72; ++x)
            source.setPixel(x, y, x < 36 ? 0x00FF0000u : 0xFF0000FFu);
    TKxPngRC holder;
    holder.setImage(TKxPngImage::fromImage(source, true));
    TKxPngRC::setScreenPixelsPerInch(96);
    holder.resizePng();
    const QImage& out = holder.getImage().pixels();
    ASSERT_EQ(out.width(), 48);
    EXPECT_TRUE(holder.hasAlpha());
    EXPECT_EQ(qAlpha(out.pixel(2, 10)), 0);
    EXPECT_EQ(qRed(out.pixel(2, 10)), 255);
    EXPECT_EQ(out.pixel(45, 10), 0xFF0000FFu);
}

TEST_F(KxPngRCTest, AutoSizeScalesWhenAssigned) {
    TKxPngRC::setScreenPixelsPerInch(96);
    TKxPngRC holder;
    holder.setAutoSize(true);
    holder.setImage(solid(30, 15, 0xFF000000u, false));
    EXPECT_EQ(holder.getImage().width(), 20);
    EXPECT_EQ(holder.getImage().height(), 10);
}

TEST_F(KxPngRCTest, DrawBlendsByAlphaWithThresholds) {
    TKxPngRC::setScreenPixelsPerInch(144);
    const quint32 alphas[] = {0, 7, 8, 128, 240, 241, 255};
    QImage source(7, 1, QImage::Format_ARGB32);
    for (int i = 0; i < 7; ++i)
        source.setPixel(i, 0, (alphas[i] << 24) | 0xC8C8C8u);
    TKxPngRC holder;
    holder.setImage(TKxPngImage::fromImage(source, true));

    QImage canvas(10, 3, QImage::Format_ARGB32);
    canvas.fill(0xFF646464u);
    holder.Draw(canvas, 2, 1, false);
    auto channel = [&](int i) { return qRed(canvas.pixel(2 + i, 1)); };
    EXPECT_EQ(channel(0), 100);
    EXPECT_EQ(channel(1), 100);
    EXPECT_EQ(channel(2), (100 * 247 + 200 * 8) >> 8);
    EXPECT_EQ(channel(3), (100 * 127 + 200 * 128) >> 8);
    EXPECT_EQ(channel(4), (100 * 15 + 200 * 240) >> 8);
    EXPECT_EQ(channel(5), 200);
    EXPECT_EQ(channel(6), 200);
    EXPECT_EQ(canvas.pixel(0, 0), 0xFF646464u);
}

TEST_F(KxPngRCTest, DrawKeepsItsBlendUntilAskedToRefresh) {
    QImage source(1, 1, QImage::Format_ARGB32);
    source.fill(0x80FFFFFFu);
    TKxPngRC holder;
    holder.setImage(TKxPngImage::fromImage(source, true));

    QImage canvas(1, 1, QImage::Format_ARGB32);
    canvas.fill(0xFF000000u);
    holder.Draw(canvas, 0, 0, false);
    const QRgb first = canvas.pixel(0, 0);
    canvas.fill(0xFFFF0000u);
    holder.Draw(canvas, 0, 0, false);
    EXPECT_EQ(canvas.pixel(0, 0), first);
    canvas.fill(0xFFFF0000u);
    holder.Draw(canvas, 0, 0, true);
    EXPECT_EQ(qRed(canvas.pixel(0, 0)), (255 * 127 + 255 * 128) >> 8);
    EXPECT_EQ(qGreen(canvas.pixel(0, 0)), (255 * 128) >> 8);
}

TEST_F(KxPngRCTest, DrawThroughAPainterReadsTheImageBeneath) {
    QImage source(1, 1, QImage::Format_ARGB32);
    source.fill(0x800000FFu);
    TKxPngRC holder;
    holder.setImage(TKxPngImage::fromImage(source, true));
    QImage canvas(4, 4, QImage::Format_ARGB32);
    canvas.fill(0xFFFF0000u);
    {
        QPainter p(&canvas);
        p.translate(1, 1);
        holder.Draw(p, 1, 1, true);
    }
    EXPECT_EQ(canvas.pixel(2, 2), qRgb((255 * 127) >> 8, 0, (255 * 128) >> 8));
    EXPECT_EQ(canvas.pixel(1, 1), 0xFFFF0000u);
}

TEST_F(KxPngRCTest, AddToImageListDropsAlpha) {
    TKxImageList list(4, 4);
    TKxPngRC holder;
    holder.setImage(solid(4, 4, 0x20102030u, true));
    EXPECT_EQ(holder.AddToImageList(list), 0);
    EXPECT_EQ(holder.AddToImageList(list), 1);
    EXPECT_EQ(list.image(1).pixel(3, 3), 0xFF102030u);

    TKxPngRC wrongSize;
    wrongSize.setImage(solid(5, 4, 0xFF000000u, false));
    EXPECT_EQ(wrongSize.AddToImageList(list), -1);
}

TEST_F(KxPngRCTest, RefusesAHeaderClaimingMorePixelsThanTheCapBeforeAllocating) {
    // 40000 x 40000 pixels would ask for 6.4 GB; the data holds a few bytes.
    QByteArray png = makePng(1, 1, {1, 2, 3}, false);
    const auto setSize = [&png](quint32 w, quint32 h) {
        for (int i = 0; i < 4; ++i) {
            png[16 + i] = static_cast<char>(w >> (24 - 8 * i));
            png[20 + i] = static_cast<char>(h >> (24 - 8 * i));
        }
        const QByteArray chunk = png.mid(12, 17);
        const quint32 crc =
            static_cast<quint32>(::crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()), 17));
        for (int i = 0; i < 4; ++i)
            png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    };
    setSize(40000, 40000);
    TKxPngImage image;
    EXPECT_FALSE(image.loadFromData(png));
    EXPECT_TRUE(image.errorString().contains(QStringLiteral("40000 x 40000")));
    EXPECT_TRUE(image.isNull());
    // One row over the cap is refused; a size within it is read until the
    // missing data fails it.
    setSize(8192, 8193);
    EXPECT_FALSE(image.loadFromData(png));
    EXPECT_TRUE(image.errorString().contains(QStringLiteral("too large")));
    setSize(300, 300);
    EXPECT_FALSE(image.loadFromData(png));
    EXPECT_FALSE(image.errorString().contains(QStringLiteral("too large")));
}

TEST_F(KxPngRCTest, ASaveTheDiskCutsShortFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.png");
    TKxPngImage small = solid(1, 1, 0xFF000000u, false);
    ASSERT_TRUE(small.saveToFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QImage noise(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            noise.setPixel(x, y,
                           0xFF000000u |
                               static_cast<quint32>((x * 7919 + y * 104729) * 2654435761u >> 8));
    TKxPngImage big = TKxPngImage::fromImage(noise, false);
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(1024);
        EXPECT_FALSE(big.saveToFile(path));
    }
    EXPECT_FALSE(big.errorString().isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(KxPngRCTest, LoadsFromAFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.png");
    ASSERT_TRUE(solid(3, 3, 0xFF445566u, false).saveToFile(path));
    TKxPngRC holder;
    ASSERT_TRUE(holder.LoadFromFile(path));
    EXPECT_EQ(holder.getImage().pixels().pixel(1, 1), 0xFF445566u);
    EXPECT_FALSE(holder.hasAlpha());
}
