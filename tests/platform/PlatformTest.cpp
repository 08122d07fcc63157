#include "platform/Platform.h"

#include "platform/FakePlatform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
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

// Run a second time by ctest with QT_SCALE_FACTOR=2, where every screen has
// two device pixels per device-independent pixel.
TEST(PlatformQt, DesktopPictureCoversEveryScreenAndShowsWindows) {
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setStyleSheet(QStringLiteral("background: rgb(255, 26, 184);"));
    window.setAutoFillBackground(true);
    window.setGeometry(100, 120, 60, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const Platform::TDesktopPicture picture = Platform::grabDesktop();
    ASSERT_TRUE(picture.ok()) << picture.failure.toStdString();
    QRect all;
    qreal ratio = 1;
    for (const QScreen* screen : QGuiApplication::screens()) {
        all |= screen->geometry();
        ratio = std::max(ratio, screen->devicePixelRatio());
    }
    EXPECT_EQ(picture.origin, all.topLeft());
    EXPECT_EQ(picture.image.devicePixelRatio(), ratio);
    EXPECT_EQ(picture.image.size(), all.size() * ratio);
    EXPECT_EQ(picture.image.format(), QImage::Format_ARGB32);
    const QRect frame = window.geometry();
    for (const QPoint global : {frame.center(), frame.topLeft(), frame.bottomRight()})
        EXPECT_EQ(picture.image.pixel(picture.pixelOf(global)), qRgb(255, 26, 184));
    EXPECT_NE(picture.image.pixel(picture.pixelOf(frame.bottomRight() + QPoint(1, 1))),
              qRgb(255, 26, 184));
}

// The screens a test describes, put together by the real composition.
class TScreensDouble : public Platform::TPlatform {
public:
    QList<Platform::TScreenShot> screens;
    QList<Platform::TScreenShot> grabScreens() const override { return screens; }
};

// Columns alternating red and white, `ratio` device pixels per pixel of `area`.
Platform::TScreenShot stripedScreen(const char* name, QRect area, int ratio) {
    QImage image(area.size() * ratio, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(255, 0, 0));
    return {QString::fromLatin1(name), area, qreal(ratio), image};
}

TEST(DesktopPicture, KeepsDevicePixelsAsTheyArePlacedByGeometryWithItsOrigin) {
    TScreensDouble screens;
    // A high-density primary and a plain screen left of and below its top.
    screens.screens = {stripedScreen("primary", QRect(0, 0, 4, 3), 2),
                       stripedScreen("left", QRect(-3, 1, 3, 2), 1)};
    const Platform::TDesktopPicture picture = screens.grabDesktop();
    ASSERT_TRUE(picture.ok()) << picture.failure.toStdString();
    EXPECT_EQ(picture.origin, QPoint(-3, 0));
    EXPECT_EQ(picture.image.size(), QSize(14, 6));
    EXPECT_EQ(picture.image.devicePixelRatio(), 2.0);
    // The primary's device pixels, column for column: no smoothing.
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(picture.image.pixel(6 + x, 3), x % 2 ? qRgb(255, 255, 255) : qRgb(255, 0, 0))
            << x;
    // The plain screen is enlarged by repeating each pixel.
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(picture.image.pixel(x, 2), (x / 2) % 2 ? qRgb(255, 255, 255) : qRgb(255, 0, 0))
            << x;
    // Above the left screen no screen is.
    EXPECT_EQ(picture.image.pixel(0, 0), Platform::DesktopOutside);
    EXPECT_EQ(picture.image.pixel(5, 1), Platform::DesktopOutside);
    // The pixel under a global position.
    EXPECT_EQ(picture.pixelOf(QPoint(0, 0)), QPoint(6, 0));
    EXPECT_EQ(picture.pixelOf(QPoint(-3, 1)), QPoint(0, 2));
    EXPECT_EQ(picture.pixelOf(QPoint(3, 2)), QPoint(12, 4));
}

TEST(DesktopPicture, AScreenThatCannotBeReadIsReportedNotLeftBlackAsIfRead) {
    TScreensDouble screens;
    screens.screens = {stripedScreen("primary", QRect(0, 0, 4, 3), 1),
                       {QStringLiteral("HDMI-2"), QRect(4, 0, 4, 3), 1.0, QImage()}};
    const Platform::TDesktopPicture picture = screens.grabDesktop();
    EXPECT_FALSE(picture.ok());
    EXPECT_TRUE(picture.failure.contains(QStringLiteral("HDMI-2")));
    ASSERT_EQ(picture.image.size(), QSize(8, 3));
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(picture.image.pixel(5, 1), Platform::DesktopOutside);

    // Every grab refused, as on Wayland.
    screens.screens[0].image = QImage();
    EXPECT_FALSE(screens.grabDesktop().ok());
    screens.screens.clear();
    const Platform::TDesktopPicture none = screens.grabDesktop();
    EXPECT_FALSE(none.ok());
    EXPECT_FALSE(none.failure.isEmpty());
}

TEST(DesktopPicture, PicturesAreOpaqueWhateverTheScreenDelivers) {
    TScreensDouble screens;
    QImage see(2, 1, QImage::Format_ARGB32);
    see.fill(qRgba(10, 20, 30, 0));
    screens.screens = {{QStringLiteral("a"), QRect(0, 0, 2, 1), 1.0, see}};
    const Platform::TDesktopPicture picture = screens.grabDesktop();
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(qAlpha(picture.image.pixel(1, 0)), 255);
}

TEST(DesktopPicture, AWholeDesktopScreenIsMadeOpaqueWithoutChangingTheCallersPicture) {
    TScreensDouble screens;
    QImage shot(7, 3, QImage::Format_ARGB32);
    quint32 seed = 12345;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            shot.setPixel(x, y, seed);
        }
    shot.setPixel(6, 2, qRgba(1, 2, 3, 0));
    const QImage before = shot.copy();
    screens.screens = {{QStringLiteral("a"), QRect(-7, 5, 7, 3), 1.0, shot}};
    const Platform::TDesktopPicture picture = screens.grabDesktop();
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.origin, QPoint(-7, 5));
    EXPECT_EQ(picture.image.format(), QImage::Format_ARGB32);
    ASSERT_EQ(picture.image.size(), shot.size());
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            EXPECT_EQ(picture.image.pixel(x, y), before.pixel(x, y) | 0xFF000000u) << x << "," << y;
    EXPECT_EQ(shot, before) << "the caller's picture is shared, not written";

    // An opaque 24-bit screen gives the same pixels as the general composition of two screens.
    QImage plain = before.convertToFormat(QImage::Format_RGB32);
    screens.screens = {{QStringLiteral("a"), QRect(0, 0, 7, 3), 1.0, plain}};
    const QImage whole = screens.grabDesktop().image;
    screens.screens = {{QStringLiteral("a"), QRect(0, 0, 4, 3), 1.0, plain.copy(0, 0, 4, 3)},
                       {QStringLiteral("b"), QRect(4, 0, 3, 3), 1.0, plain.copy(4, 0, 3, 3)}};
    EXPECT_EQ(whole, screens.grabDesktop().image);
}

TEST(PlatformQt, SystemColoursFollowTheApplicationPalette) {
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::All, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::All, QPalette::Base, QColor(4, 5, 6));
    palette.setColor(QPalette::All, QPalette::Text, QColor(7, 8, 9));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 11, 12));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(13, 14, 15));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(16, 17, 18));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(Platform::systemColor(15), qRgb(1, 2, 3));
    EXPECT_EQ(Platform::systemColor(5), qRgb(4, 5, 6));
    EXPECT_EQ(Platform::systemColor(8), qRgb(7, 8, 9));
    EXPECT_EQ(Platform::systemColor(13), qRgb(10, 11, 12));
    EXPECT_EQ(Platform::systemColor(3), qRgb(13, 14, 15));
    EXPECT_EQ(Platform::systemColor(17), qRgb(16, 17, 18));
    palette.setColor(QPalette::All, QPalette::Button, QColor(200, 100, 50));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(Platform::systemColor(15), qRgb(200, 100, 50)) << "the current palette, not a copy";
    QGuiApplication::setPalette(saved);
    for (const int unknown : {-1, 25, 31, 255})
        EXPECT_EQ(Platform::systemColor(unknown), qRgb(0, 0, 0)) << unknown;
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

// Keys made once sort as the comparison does, one name at a time: mixed case, accents, digits,
// and names that compare equal keep the order they were given in.
TEST(PlatformQt, SortedOrderIsTheComparisonOrder) {
    const QStringList texts{
        QStringLiteral("zeta"),     QStringLiteral("Éclair"),  QStringLiteral("eclair"),
        QStringLiteral("set 10"),   QStringLiteral("Set 2"),   QStringLiteral("set 2"),
        QStringLiteral("Ångström"), QStringLiteral("apple"),   QStringLiteral("Banana"),
        QStringLiteral("10 greys"), QStringLiteral("2 greys"), QStringLiteral("éclair"),
        QStringLiteral("zeta"),     QStringLiteral("")};
    std::vector<qsizetype> expected(std::size_t(texts.size()));
    std::iota(expected.begin(), expected.end(), qsizetype(0));
    std::stable_sort(expected.begin(), expected.end(), [&texts](qsizetype a, qsizetype b) {
        return Platform::compareText(texts[a], texts[b], Qt::CaseSensitive) < 0;
    });
    EXPECT_EQ(Platform::sortedOrder(texts), expected);
    // The two equal names keep their places relative to each other.
    const std::vector<qsizetype> order = Platform::sortedOrder(texts);
    EXPECT_LT(std::find(order.begin(), order.end(), 0), std::find(order.begin(), order.end(), 12));
    EXPECT_TRUE(Platform::sortedOrder({}).empty());
}

} // namespace
