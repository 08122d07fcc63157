#include "app/PickerOpener.h"

#include "app/Unit1.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/Kxmsgbx.h"
#include "picker/FrozenOverlay.h"
#include "picker/FrozenPick.h"
#include "picker/Pickfrm.h"
#include "platform/FakePlatform.h"
#include "platform/UserStore.h"
#include "support/Kxglobals.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class PickerOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage picture(640, 480, QImage::Format_ARGB32);
        picture.fill(QColor(10, 20, 30));
        picture.setPixel(300, 200, qRgb(0x12, 0xAB, 0xF0));
        platform.desktop.image = picture;
        platform.placeCursor(QPoint(300, 200));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
        QCoreApplication::processEvents();
    }

    // Clicks "Pick on Screen" and lets `drive` act on the picker once it is open.
    void pickWith(const std::function<void(TFrmPick*)>& drive) {
        bool driven = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* picker = qobject_cast<TFrmPick*>(QApplication::activeModalWidget());
            if (!picker || !picker->isVisible()) return;
            poll.stop();
            driven = true;
            drive(picker);
        });
        poll.start();
        QTest::mouseClick(form.ui().ButScreenPicker, Qt::LeftButton);
        poll.stop();
        EXPECT_TRUE(driven);
    }

    TScopedFakePlatform platform;
    TForm1 form;
};

} // namespace

TEST_F(PickerOpenerTest, PickedColourGoesThroughTheValueFieldAndIsPicked) {
    pickWith([](TFrmPick* picker) {
        QTest::keyClick(picker, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
        QTest::keyClick(picker, Qt::Key_Return);
    });
    const ColorValue picked = MakeColor(0x12, 0xAB, 0xF0);
    EXPECT_EQ(form.ui().EdClValue->text(), "12ABF0");
    EXPECT_EQ(form.currentColor(), picked);
    EXPECT_EQ(form.valueFieldColor(), picked);
    EXPECT_EQ(form.history().back(), picked);
    EXPECT_EQ(platform.clipboard, "#12ABF0");

    // The grown size is kept for the next pick.
    TUserStore store;
    TPickerValues values;
    ASSERT_TRUE(ReadPickerValues(store, values));
    EXPECT_EQ(values.windowSize, 169);

    // The same colour again, with the text already in the field, still becomes current.
    form.ApplyCurrentColor(MakeColor(1, 2, 3));
    pickWith([](TFrmPick* picker) {
        EXPECT_EQ(picker->size(), QSize(169, 169));
        QTest::keyClick(picker, Qt::Key_Return);
    });
    EXPECT_EQ(form.currentColor(), picked);
}

TEST_F(PickerOpenerTest, BgrOrderWritesBlueFirst) {
    QTest::mouseClick(form.ui().ButBgr, Qt::LeftButton);
    ASSERT_FALSE(form.rgbOrder());
    pickWith([](TFrmPick* picker) { QTest::keyClick(picker, Qt::Key_Return); });
    EXPECT_EQ(form.ui().EdClValue->text(), "F0AB12");
    EXPECT_EQ(form.currentColor(), MakeColor(0x12, 0xAB, 0xF0));
}

TEST_F(PickerOpenerTest, CtrlOnTheButtonMinimisesTheWindowForThePick) {
    platform.keys.ctrl = true;
    bool minimised = false;
    pickWith([&](TFrmPick* picker) {
        minimised = form.isMinimized();
        platform.keys.ctrl = false;
        QTest::keyClick(picker, Qt::Key_Return);
    });
    EXPECT_TRUE(minimised);
    EXPECT_FALSE(form.isMinimized());
    EXPECT_EQ(form.currentColor(), MakeColor(0x12, 0xAB, 0xF0));
}

TEST_F(PickerOpenerTest, CancelAndRefusalChangeNothing) {
    const ColorValue before = form.currentColor();
    const QString text = form.ui().EdClValue->text();
    pickWith([](TFrmPick* picker) { QTest::keyClick(picker, Qt::Key_Escape); });
    EXPECT_EQ(form.currentColor(), before);
    EXPECT_EQ(form.ui().EdClValue->text(), text);

    platform.desktop.failure = QStringLiteral("No screen grabs here.");
    int boxes = 0;
    TMsgBoxAnswererScope answerer([&boxes](const TMsgBoxSeen&) {
        ++boxes;
        return kMsgOk;
    });
    QTest::mouseClick(form.ui().ButScreenPicker, Qt::LeftButton);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(form.currentColor(), before);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PickerOpenerTest, FrozenSettingPicksOverTheOverlaysWithoutAModalRun) {
    TUserStore store;
    ASSERT_TRUE(store.openKey(QString(Kxglobals::ProgramKey), true));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("PickerFrozen"), 1).ok);
    store.closeKey();

    QTest::mouseClick(form.ui().ButScreenPicker, Qt::LeftButton);
    // The click returned with the overlays up; a second one does nothing.
    TFrozenPick* frozen = form.pickerOpener().screenPick().frozen();
    ASSERT_NE(frozen, nullptr);
    QTest::mouseClick(form.ui().ButScreenPicker, Qt::LeftButton);
    EXPECT_EQ(form.pickerOpener().screenPick().frozen(), frozen);
    TFrozenOverlay* overlay = frozen->overlays().front().get();
    EXPECT_TRUE(overlay->isVisible());
    QTest::keyClick(&frozen->picker(), Qt::Key_Return);
    EXPECT_EQ(form.ui().EdClValue->text(), "12ABF0");
    EXPECT_EQ(form.currentColor(), MakeColor(0x12, 0xAB, 0xF0));
    EXPECT_EQ(platform.clipboard, "#12ABF0");
    QApplication::processEvents();
}
