#include "sample/SampleExport.h"

#include "pixels/KxPngRC.h"
#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <random>

using namespace SampleExport;

namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The bounding box of every pixel that is not white, found the obvious way.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(SampleExportNames, NumberedNamesCountUpAndSkipTakenOnes) {
    QTemporaryDir dir;
    const QString sample = dir.filePath("sample.png");
    EXPECT_EQ(NextFreeName(sample), dir.filePath("sample1.png"));
    touch(dir.filePath("sample1.png"));
    EXPECT_EQ(NextFreeName(sample), dir.filePath("sample2.png"));
    EXPECT_EQ(NextFreeName(dir.filePath("sample12.png")), dir.filePath("sample13.png"));
    EXPECT_EQ(NextFreeName(dir.filePath("img007.png")), dir.filePath("img8.png"));
    EXPECT_TRUE(NextFreeName(QString()).isEmpty());

    // Digits in a folder name are not the file's number.
    ASSERT_TRUE(QDir(dir.path()).mkdir("2014"));
    EXPECT_EQ(NextFreeName(dir.filePath("2014/shot.png")), dir.filePath("2014/shot1.png"));
}

TEST(SampleExportNames, ExtensionIsForcedBeforeTheNameIsTested) {
    QTemporaryDir dir;
    // "shot1" is free but "shot1.png", the file that would be written, is not.
    touch(dir.filePath("shot1.png"), "keep");
    EXPECT_EQ(NextFreeName(dir.filePath("shot")), dir.filePath("shot2.png"));
    EXPECT_EQ(NextFreeName(dir.filePath("a.jpg")), dir.filePath("a1.jpg.png"));

    EXPECT_EQ(ForcePng("banner"), "banner.png");
    EXPECT_EQ(ForcePng("Sample.PNG"), "Sample.PNG");
    EXPECT_EQ(ForcePng("sample.jpg"), "sample.jpg.png");
    EXPECT_EQ(ForcePng("banner."), "banner..png");
}

TEST(SampleExportCrop, SmallestRectangleAroundEveryDifferentPixel) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(0, 116, 0));
    const ColorValue key = MakeColor(0, 116, 0);
    EXPECT_TRUE(CropRect(image, key).isEmpty());

    image.setPixel(7, 5, qRgb(0, 0, 0));
    EXPECT_EQ(CropRect(image, key), QRect(7, 5, 1, 1));

    // The widest pixels sit on rows between the top and bottom ones.
    image.setPixel(20, 25, qRgb(0, 117, 0));
    image.setPixel(2, 12, qRgb(1, 116, 0));
    image.setPixel(39, 13, qRgb(0, 116, 1));
    EXPECT_EQ(CropRect(image, key), QRect(QPoint(2, 5), QPoint(39, 25)));
}

TEST(SampleExportTextAlone, ImageHoldsExactlyTheGlyphsWithCoverageAlpha) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    const QSize size(300, 120);
    const ColorValue text = MakeColor(200, 30, 90);
    const QImage image = TextAloneImage(QStringLiteral("Hx"), font, text, size);
    ASSERT_FALSE(image.isNull());

    // The same text in black on white, no margin: its ink box is the image's size.
    QImage probe(size, QImage::Format_RGB32);
    probe.fill(Qt::white);
    {
        QPainter painter(&probe);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, QFontMetrics(font, &probe).ascent()), QStringLiteral("Hx"));
    }
    EXPECT_EQ(image.size(), inkBox(probe).size());

    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0) continue;
            EXPECT_EQ(p & 0xFFFFFFu, qRgb(200, 30, 90) & 0xFFFFFFu);
            EXPECT_GE(qAlpha(p), 64);
            opaque += qAlpha(p) == 255;
        }
    EXPECT_GT(opaque, 50);

    EXPECT_TRUE(TextAloneImage(QString(), font, text, size).isNull());
    EXPECT_TRUE(TextAloneImage(QStringLiteral("   "), font, text, size).isNull());
}

TEST(SampleExportWrite, WritesRgbOrRgbaPngAndNeverOverwritesInNewOnlyMode) {
    QTemporaryDir dir;
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 128));
    const QString opaque = dir.filePath("o.png");
    ASSERT_TRUE(WritePng(image, false, opaque, TWriteMode::Replace).ok);
    TKxPngImage read;
    ASSERT_TRUE(read.loadFromFile(opaque));
    EXPECT_FALSE(read.hasAlpha());
    EXPECT_EQ(read.pixels().pixel(2, 1), qRgba(10, 20, 30, 255));

    const QString alpha = dir.filePath("a.png");
    ASSERT_TRUE(WritePng(image, true, alpha, TWriteMode::NewOnly).ok);
    ASSERT_TRUE(read.loadFromFile(alpha));
    EXPECT_TRUE(read.hasAlpha());
    EXPECT_EQ(read.pixels().pixel(0, 0), qRgba(10, 20, 30, 128));

    touch(dir.filePath("taken.png"), "old");
    const TWriteResult refused =
        WritePng(image, false, dir.filePath("taken.png"), TWriteMode::NewOnly);
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(FileBytes(dir.filePath("taken.png")), "old");

    const TWriteResult noFolder =
        WritePng(image, false, dir.filePath("missing/x.png"), TWriteMode::Replace);
    EXPECT_FALSE(noFolder.ok);
    EXPECT_FALSE(noFolder.error.isEmpty());
    EXPECT_FALSE(WritePng(QImage(), false, dir.filePath("n.png"), TWriteMode::Replace).ok);
    EXPECT_FALSE(QFile::exists(dir.filePath("n.png")));
}

namespace {

TEST(SampleExportWrite, AFullDiskLeavesTheOldPictureWholeAndSaysSo) {
    QTemporaryDir dir;
    // Noise does not compress: the PNG is larger than the room left on the disk.
    QImage image(128, 128, QImage::Format_ARGB32);
    std::minstd_rand noise(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, 0xFF000000u | (noise() & 0xFFFFFFu));
    const QString path = dir.filePath("old.png");
    touch(path, "the picture saved last time");
    SKIP_WITHOUT_DISK_FULL();
    for (const TWriteMode mode : {TWriteMode::Replace, TWriteMode::NewOnly}) {
        const QString target = mode == TWriteMode::Replace ? path : dir.filePath("new.png");
        TWriteResult result;
        {
            const TDiskFullScope full(4096);
            result = WritePng(image, false, target, mode);
        }
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_EQ(FileBytes(path), "the picture saved last time");
    EXPECT_FALSE(QFile::exists(dir.filePath("new.png")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.png"});
}

} // namespace
