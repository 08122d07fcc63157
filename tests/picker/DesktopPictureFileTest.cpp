#include "picker/DesktopPictureFile.h"

#include "pixels/KxPngRC.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

class DesktopPictureFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    const QRect desktop{-100, 0, 300, 200};
};

} // namespace

TEST_F(DesktopPictureFileTest, PictureIsPlacedOnTheDesktopAtItsPixelRatioAndOpaque) {
    QImage image(600, 400, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 40));
    image.setPixel(599, 399, qRgb(1, 2, 3));
    const QString path =
        write(QStringLiteral("a.png"), TKxPngImage::fromImage(image, true).saveToData());

    const Platform::TDesktopPicture picture = ReadDesktopPictureFile(path, false, desktop);
    ASSERT_TRUE(picture.ok()) << picture.failure.toStdString();
    EXPECT_EQ(picture.origin, QPoint(-100, 0));
    EXPECT_EQ(picture.image.devicePixelRatio(), 2.0);
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(picture.pixelOf(QPoint(199, 199)), QPoint(598, 398));
    EXPECT_EQ(picture.image.pixel(599, 399), qRgb(1, 2, 3));
    // Not asked to remove it: it stays.
    EXPECT_TRUE(QFile::exists(path));

    ASSERT_TRUE(ReadDesktopPictureFile(path, true, desktop).ok());
    EXPECT_FALSE(QFile::exists(path));

    // Most desktops write pictures without alpha: those need no pass of their own to be opaque.
    const QString rgb =
        write(QStringLiteral("b.png"), TKxPngImage::fromImage(image, false).saveToData());
    const Platform::TDesktopPicture solid = ReadDesktopPictureFile(rgb, false, desktop);
    ASSERT_TRUE(solid.ok());
    EXPECT_EQ(solid.image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(solid.image.pixel(599, 399), qRgb(1, 2, 3));
}

TEST_F(DesktopPictureFileTest, BadFilesAreSaidAndLeaveNothingBehind) {
    // A header that claims 40000 x 40000 pixels, beyond the PNG reader's limit.
    QByteArray huge =
        TKxPngImage::fromImage(QImage(1, 1, QImage::Format_ARGB32), false).saveToData();
    huge.replace(16, 8, QByteArray::fromHex("00009c4000009c40"));
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(huge.constData() + 12), 17));
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = char(crc >> (24 - 8 * i));
    const QString cases[] = {
        write(QStringLiteral("corrupt.png"), "\x89PNG\r\n\x1a\n garbage"),
        write(QStringLiteral("empty.png"), QByteArray()),
        write(QStringLiteral("huge.png"), huge),
    };
    for (const QString& path : cases) {
        const Platform::TDesktopPicture picture = ReadDesktopPictureFile(path, true, desktop);
        EXPECT_FALSE(picture.ok()) << path.toStdString();
        EXPECT_TRUE(picture.image.isNull());
        EXPECT_TRUE(picture.failure.contains(path)) << picture.failure.toStdString();
        if (path.endsWith(QStringLiteral("huge.png"))) {
            EXPECT_TRUE(picture.failure.contains(QStringLiteral("pixels")))
                << picture.failure.toStdString();
        }
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    }
    // A folder in the file's place is reported, never removed.
    const Platform::TDesktopPicture folder = ReadDesktopPictureFile(dir.path(), true, desktop);
    EXPECT_FALSE(folder.ok());
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}
