#include "platform/Platform.h"

#include "platform/FakePlatform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(PlatformOverride, InstallsNestsAndRestores) {
    Platform::TPlatform* const original = &Platform::current();
    {
        TScopedFakePlatform outer;
        outer.keys.shift = true;
        EXPECT_EQ(&Platform::current(), &outer);
        EXPECT_TRUE(Platform::shiftDown());
        {
            TScopedFakePlatform inner;
            inner.keys.ctrl = true;
            EXPECT_EQ(&Platform::current(), &inner);
            EXPECT_FALSE(Platform::shiftDown());
            EXPECT_TRUE(Platform::ctrlDown());
        }
        EXPECT_EQ(&Platform::current(), &outer);
    }
    EXPECT_EQ(&Platform::current(), original);
}

TEST(PlatformFake, RecordsWhatTheProgramDid) {
    TScopedFakePlatform platform;
    Platform::setClipboardText(QStringLiteral("#FF1AB8"));
    EXPECT_EQ(Platform::clipboardText(), QStringLiteral("#FF1AB8"));
    EXPECT_EQ(platform.clipboardWrites, 1);

    std::thread worker([] { Platform::setCursorPos({12, 34}); });
    worker.join();
    EXPECT_EQ(Platform::cursorPos(), QPoint(12, 34));
    ASSERT_EQ(platform.cursorMoves().size(), 1u);

    EXPECT_EQ(Platform::formatThousands(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(Platform::formatThousands(-1000), QStringLiteral("-1,000"));
    EXPECT_EQ(Platform::formatThousands(999), QStringLiteral("999"));

    platform.openUrlResult = false;
    EXPECT_FALSE(Platform::openUrl(QStringLiteral("https://example.org/")));
    EXPECT_EQ(platform.openedUrls, QStringList{QStringLiteral("https://example.org/")});
}

TEST(PlatformQt, ClipboardRoundTripsUnicodeText) {
    const QString text = QStringLiteral("rgb( FF, 1A, B8 ); \u00e6\u00f8\u00e5 \u20ac\r\nline two");
    Platform::setClipboardText(text);
    EXPECT_EQ(Platform::clipboardText(), text);
}

TEST(PlatformQt, PointerMovesAndWorkerMovesAreQueuedToTheInterfaceThread) {
    Platform::setCursorPos({40, 50});
    EXPECT_EQ(Platform::cursorPos(), QPoint(40, 50));

    std::thread worker([] { Platform::setCursorPos({70, 80}); });
    worker.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(Platform::cursorPos(), QPoint(70, 80));
}

TEST(PlatformQt, DesktopPictureCoversEveryScreenAndShowsWindows) {
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setStyleSheet(QStringLiteral("background: rgb(255, 26, 184);"));
    window.setAutoFillBackground(true);
    window.setGeometry(100, 120, 60, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const Platform::TDesktopPicture picture = Platform::grabDesktop();
    QRect all;
    for (const QScreen* screen : QGuiApplication::screens())
        all |= screen->geometry();
    EXPECT_EQ(picture.origin, all.topLeft());
    EXPECT_EQ(picture.image.size(), all.size());
    EXPECT_EQ(picture.image.format(), QImage::Format_ARGB32);
    const QPoint inside = window.geometry().center() - picture.origin;
    EXPECT_EQ(picture.image.pixel(inside), qRgb(255, 26, 184));
}

TEST(PlatformQt, ClockAdvancesInMilliseconds) {
    const quint32 start = Platform::milliseconds();
    QTest::qWait(30);
    const quint32 elapsed = Platform::milliseconds() - start;
    EXPECT_GE(elapsed, 25u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(PlatformQt, LocaleComparisonFoldsCaseOnlyWhenAsked) {
    EXPECT_EQ(
        Platform::compareText(QStringLiteral("abc"), QStringLiteral("ABC"), Qt::CaseInsensitive),
        0);
    EXPECT_NE(
        Platform::compareText(QStringLiteral("abc"), QStringLiteral("ABC"), Qt::CaseSensitive), 0);
    EXPECT_LT(Platform::compareText(QStringLiteral("apple"), QStringLiteral("Banana"),
                                    Qt::CaseInsensitive),
              0);
    EXPECT_EQ(Platform::toUpper(QStringLiteral("ff1ab8x")), QStringLiteral("FF1AB8X"));
    EXPECT_EQ(Platform::toLower(QStringLiteral("Default Color Set")),
              QStringLiteral("default color set"));
}

} // namespace
