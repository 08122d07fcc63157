#include "picker/ScreenPick.h"

#include "dialogs/Kxmsgbx.h"
#include "picker/FrozenOverlay.h"
#include "picker/FrozenPick.h"
#include "picker/Pickfrm.h"
#include "pixels/KxPngRC.h"
#include "platform/FakePlatform.h"
#include "platform/FakePortal.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const THslMaxima kMaxima{360, 100, 100};

// A pick on Wayland: the picture comes from the fake portal on the test's own bus.
class ScreenPickOnPrivateBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TFakePortal::privateBus()) GTEST_SKIP() << "needs the private bus of its CTest test";
        ASSERT_TRUE(portal.served);
        ASSERT_TRUE(dir.isValid());
        platform.throughPortal = true;
        desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        shot = dir.filePath(QStringLiteral("shot.png"));
        portal.pictureResults = {{QStringLiteral("uri"), QUrl::fromLocalFile(shot).toString()}};
        // The portal writes the file when asked, as a real one does.
        portal.onScreenshot = [this] {
            QFile file(shot);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(shotBytes);
        };
    }

    // A known three-colour picture of the desktop at `ratio` picture pixels per desktop pixel.
    static QByteArray threeColours(QSize desktop, int ratio) {
        QImage image(desktop * ratio, QImage::Format_ARGB32);
        image.fill(qRgb(0xE0, 0x10, 0x10));
        for (int y = 0; y < image.height(); ++y)
            for (int x = image.width() / 2; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(0x10, 0xE0, 0x10));
        image.setPixel(101 * ratio, 50 * ratio, qRgb(0x3A, 0x7B, 0xC8));
        return TKxPngImage::fromImage(image, false).saveToData();
    }

    bool waitForEnd() {
        return QTest::qWaitFor([&] { return finished.size() > 0; }, 10000);
    }

    std::optional<ColorValue> picked(int i = 0) const {
        return finished[i][0].value<std::optional<ColorValue>>();
    }

    TScopedFakePlatform platform;
    TFakePortal portal;
    QTemporaryDir dir;
    QRect desktop;
    QString shot;
    QByteArray shotBytes;
    TScreenPick pick;
    QSignalSpy finished{&pick, &TScreenPick::finished};
    QStringList boxes;
    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& seen) {
        boxes << seen.text;
        return kMsgOk;
    }};
};

} // namespace

TEST_F(ScreenPickOnPrivateBus, PortalPictureIsPickedThroughTheOverlayAtScaleOneAndTwo) {
    for (int ratio : {1, 2}) {
        shotBytes = threeColours(desktop.size(), ratio);
        finished.clear();
        ASSERT_TRUE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Classic));
        EXPECT_TRUE(pick.busy());
        EXPECT_FALSE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Classic));
        ASSERT_TRUE(QTest::qWaitFor([&] { return pick.frozen() != nullptr; }, 10000)) << ratio;
        TFrozenPick* frozen = pick.frozen();
        TFrozenOverlay* overlay = frozen->overlays().front().get();
        const QPoint local =
            desktop.topLeft() + QPoint(101, 50) - overlay->screenGeometry().topLeft();
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(overlay, &move);
        QTest::keyClick(&frozen->picker(), Qt::Key_Return);
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(picked(), MakeColor(0x3A, 0x7B, 0xC8)) << ratio;
        // Written for this request in a temporary folder: removed once read.
        EXPECT_FALSE(QFile::exists(shot));
        QApplication::processEvents();
    }
    EXPECT_EQ(portal.screenshotCalls, 2);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(ScreenPickOnPrivateBus, UnusablePicturesAreSaidAndLeaveNothingBehind) {
    for (const QByteArray& bytes : {QByteArray("\x89PNG\r\n\x1a\n not a picture"), QByteArray()}) {
        shotBytes = bytes;
        finished.clear();
        ASSERT_TRUE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Classic));
        ASSERT_TRUE(waitForEnd());
        EXPECT_FALSE(picked().has_value());
        EXPECT_FALSE(QFile::exists(shot));
        EXPECT_EQ(pick.frozen(), nullptr);
    }
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("cannot be used")));
}

TEST_F(ScreenPickOnPrivateBus, OneColourFallbackIsSaidOnce) {
    portal.pictureCode = 2;
    portal.colorResults = TFakePortal::colorResult(0.0, 1.0, 0.331);
    for (int i = 0; i < 2; ++i) {
        finished.clear();
        ASSERT_TRUE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Classic));
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(picked(), MakeColor(0, 255, 84));
    }
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("one colour")));

    // A refusal of both is said every time, and picks nothing.
    portal.colorCode = 2;
    finished.clear();
    ASSERT_TRUE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Classic));
    ASSERT_TRUE(waitForEnd());
    EXPECT_FALSE(picked().has_value());
    EXPECT_EQ(boxes.size(), 2);
}
