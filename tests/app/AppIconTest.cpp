#include "app/AppIcon.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// Window managers and task bars ask for different sizes; every one must come
// from a picture drawn for it, not an empty icon or a blurred scale.
TEST(AppIcon, EverySizeIsItsOwnOpaquePicture) {
    const QIcon icon = AppIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        // The middle of the tile is painted, not transparent.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}

// The icon waits for the main window's first frame, and then comes whole, for every window.
TEST(AppIcon, ComesForEveryWindowOnceTheFirstFrameIsDrawn) {
    QApplication::setWindowIcon(QIcon());
    QWidget window;
    window.resize(120, 80);
    window.show();
    SetAppIconAfterFirstFrame(window);
    EXPECT_TRUE(QApplication::windowIcon().isNull());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!QApplication::windowIcon().isNull());
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(256, 256)));
    QApplication::setWindowIcon(QIcon());
}
