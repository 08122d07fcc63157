#include "picker/FrozenPick.h"

#include "dialogs/Kxmsgbx.h"
#include "picker/FrozenOverlay.h"
#include "picker/Pickfrm.h"
#include "picker/ScreenPick.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const THslMaxima kMaxima{360, 100, 100};

// Three stripes across the desktop, in device pixels of `ratio` per desktop pixel: red on the
// left third, green in the middle, blue on the right; one odd pixel at desktop (401, 300).
QImage stripes(QSize desktop, int ratio) {
    QImage image(desktop * ratio, QImage::Format_ARGB32);
    const int third = image.width() / 3;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y,
                           x < third       ? qRgb(200, 0, 0)
                           : x < 2 * third ? qRgb(0, 200, 0)
                                           : qRgb(0, 0, 200));
    image.setPixel(401 * ratio, 300 * ratio, qRgb(0x12, 0x34, 0x56));
    image.setDevicePixelRatio(ratio);
    return image;
}

void moveOver(QWidget* w, QPoint local) {
    QMouseEvent event(QEvent::MouseMove, QPointF(local), QPointF(w->mapToGlobal(local)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

class FrozenPickTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        desktop = QGuiApplication::primaryScreen()->geometry();
        platform.desktop.image = stripes(desktop.size(), GetParam());
        platform.desktop.origin = desktop.topLeft();
        platform.placeCursor(desktop.center());
    }

    TFrozenPick* startFrozen() {
        EXPECT_TRUE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Frozen));
        TFrozenPick* frozen = pick.frozen();
        EXPECT_NE(frozen, nullptr);
        return frozen;
    }

    TScopedFakePlatform platform;
    QRect desktop;
    TScreenPick pick;
    QSignalSpy finished{&pick, &TScreenPick::finished};
};

} // namespace

TEST_P(FrozenPickTest, PointerFromTheOverlayPicksTheDevicePixelUnderIt) {
    TFrozenPick* frozen = startFrozen();
    ASSERT_NE(frozen, nullptr);
    ASSERT_EQ(frozen->overlays().size(), size_t(QGuiApplication::screens().size()));
    TFrozenOverlay* overlay = frozen->overlays().front().get();
    TFrmPick& picker = frozen->picker();
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(picker.parentWidget(), overlay);
    EXPECT_TRUE(picker.isVisible());
    // A second request while this one runs does nothing.
    EXPECT_FALSE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Frozen));

    // The overlay's own mouse event places the magnifier, centred on the pointer.
    const QPoint target = desktop.topLeft() + QPoint(401, 300);
    moveOver(overlay, target - desktop.topLeft());
    EXPECT_EQ(picker.View().pointer(), target);
    EXPECT_EQ(picker.geometry().center(), target - desktop.topLeft());
    // Moves over the magnifier itself keep following.
    moveOver(&picker, QPoint(picker.width() / 2, picker.height() / 2));
    EXPECT_EQ(picker.View().pointer(), target);

    QTest::keyClick(&picker, Qt::Key_Return);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished[0][0].value<std::optional<ColorValue>>(), MakeColor(0x12, 0x34, 0x56));
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_FALSE(pick.busy());
    QApplication::processEvents();
}

TEST_P(FrozenPickTest, KeysOfThePickerWorkOverTheOverlay) {
    TFrozenPick* frozen = startFrozen();
    ASSERT_NE(frozen, nullptr);
    TFrozenOverlay* overlay = frozen->overlays().front().get();
    TFrmPick& picker = frozen->picker();
    moveOver(overlay, QPoint(400, 300));
    const int side = picker.width();
    QTest::keyClick(&picker, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_GT(picker.width(), side);
    EXPECT_EQ(picker.geometry().center(), QPoint(400, 300));
    // The arrow key steps the overlay's pointer onto the odd pixel.
    QTest::keyClick(&picker, Qt::Key_Right);
    // The step lands on the picker's next tick, which a busy machine may delay.
    const QPoint stepped = desktop.topLeft() + QPoint(401, 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return picker.View().pointer() == stepped; }, 2000))
        << "the pointer stayed at " << picker.View().pointer().x();
    // The hint lies inside the overlay, beside the magnifier.
    QTest::keyClick(&picker, Qt::Key_C);
    ASSERT_NE(picker.Hint(), nullptr);
    EXPECT_EQ(picker.Hint()->parentWidget(), overlay);
    EXPECT_TRUE(overlay->rect().contains(picker.Hint()->geometry()));
    EXPECT_EQ(picker.Hint()->color(), MakeColor(0x12, 0x34, 0x56));

    QTest::keyClick(&picker, Qt::Key_Escape);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished[0][0].value<std::optional<ColorValue>>().has_value());
    // The grown side is among the values to keep.
    EXPECT_GT(finished[0][1].value<TPickerValues>().windowSize, side);
    QApplication::processEvents();
}

TEST_P(FrozenPickTest, OverlayShowsItsPartOfThePictureUnsmoothed) {
    TFrozenPick* frozen = startFrozen();
    ASSERT_NE(frozen, nullptr);
    const TFrozenOverlay* overlay = frozen->overlays().front().get();
    QImage frame(overlay->size(), QImage::Format_ARGB32);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    overlay->paintPicture(painter, frame.rect());
    painter.end();
    const int third = desktop.width() / 3;
    EXPECT_EQ(frame.pixel(third - 1, 10), qRgb(200, 0, 0));
    EXPECT_EQ(frame.pixel(third + 1, 10), qRgb(0, 200, 0));
    EXPECT_EQ(frame.pixel(desktop.width() - 1, desktop.height() - 1), qRgb(0, 0, 200));
    // A picture of twice the screen's pixels shows every other one; the magnifier shows them all.
    if (GetParam() == 1) {
        EXPECT_EQ(frame.pixel(401, 300), qRgb(0x12, 0x34, 0x56));
    }
    QTest::keyClick(&frozen->picker(), Qt::Key_Escape);
    QApplication::processEvents();
}

INSTANTIATE_TEST_SUITE_P(Scales, FrozenPickTest, ::testing::Values(1, 2));

TEST(FrozenPick, UnreadableDesktopIsSaidOnceAndEndsThePick) {
    TScopedFakePlatform platform;
    platform.desktop.failure = QStringLiteral("No grabs here.");
    TScreenPick pick;
    QSignalSpy finished(&pick, &TScreenPick::finished);
    QStringList texts;
    TMsgBoxAnswererScope answerer([&texts](const TMsgBoxSeen& seen) {
        texts << seen.text;
        return kMsgOk;
    });
    EXPECT_TRUE(pick.start(TPickerValues{}, kMaxima, TScreenPick::TMode::Frozen));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished[0][0].value<std::optional<ColorValue>>().has_value());
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("No grabs here.")));
    EXPECT_EQ(pick.frozen(), nullptr);
}
