#include "controls/KxMousSnap.h"
#include "controls/KxButton.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct SnapForm {
    QWidget window;
    TKxButton* button;
    QLineEdit* edit;
    SnapForm() {
        window.resize(300, 200);
        button = new TKxButton(&window);
        button->setGeometry(40, 50, 90, 32);
        edit = new QLineEdit(&window);
        edit->move(10, 120);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QPoint buttonCentre() const { return button->mapToGlobal(QPoint(45, 16)); }
};

// Restores the desktop's snap setting after a test changed it.
struct SnapSetting {
    explicit SnapSetting(bool on) { KxSetSnapToDefaultButtonOverride(on); }
    ~SnapSetting() { KxSetSnapToDefaultButtonOverride(std::nullopt); }
};

} // namespace

TEST(KxMousSnapTest, ThreadMovesThePointerToTheCentreAfterItsDelay) {
    TScopedFakePlatform platform;
    SnapForm form;
    QElapsedTimer clock;
    clock.start();
    TKxMouseSnapThread::Start(form.button, 20);
    EXPECT_TRUE(platform.cursorMoves().empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform.cursorMoves().empty(); }, 2000));
    EXPECT_GE(clock.elapsed(), 20);
    EXPECT_EQ(platform.cursorMoves().size(), 1u);
    EXPECT_EQ(platform.cursorPos(), form.buttonCentre());
}

TEST(KxMousSnapTest, ThreadDropsTheMoveWhenTheControlIsGone) {
    TScopedFakePlatform platform;
    auto form = std::make_unique<SnapForm>();
    TKxMouseSnapThread::Start(form->button, 20);
    form.reset();
    QTest::qWait(80);
    EXPECT_TRUE(platform.cursorMoves().empty());
}

TEST(KxMousSnapTest, ComponentSnapsOnceToTheFocusedButton) {
    TScopedFakePlatform platform;
    SnapSetting on(true);
    SnapForm form;
    form.button->setFocus();
    TKxMouseSnap snap(&form.window);
    ASSERT_TRUE(snap.isHooked());
    snap.activeFormChange();
    EXPECT_EQ(snap.MouseControl(), form.button);
    EXPECT_EQ(snap.ParentForm(), &form.window);
    ASSERT_EQ(platform.cursorMoves().size(), 1u);
    EXPECT_EQ(platform.cursorPos(), form.buttonCentre());
    EXPECT_FALSE(snap.isHooked());
    snap.activeFormChange();
    EXPECT_EQ(platform.cursorMoves().size(), 1u);
}

TEST(KxMousSnapTest, ComponentWaitsWhileItsFormIsNotActive) {
    TScopedFakePlatform platform;
    SnapSetting on(true);
    SnapForm form;
    QWidget elsewhere;
    TKxMouseSnap snap(&form.window);
    snap.setMouseControl(form.button);
    snap.setParentForm(&elsewhere);
    snap.activeFormChange();
    EXPECT_TRUE(snap.isHooked());
    EXPECT_TRUE(platform.cursorMoves().empty());
}

TEST(KxMousSnapTest, ComponentGivesUpWithoutAButtonOrWithTheSettingOff) {
    TScopedFakePlatform platform;
    {
        SnapSetting on(true);
        SnapForm form;
        form.edit->setFocus();
        TKxMouseSnap snap(&form.window);
        EXPECT_FALSE(snap.findMousControl());
        snap.activeFormChange();
        EXPECT_FALSE(snap.isHooked());
    }
    {
        SnapSetting off(false);
        SnapForm form;
        form.button->setFocus();
        TKxMouseSnap snap(&form.window);
        snap.activeFormChange();
        EXPECT_FALSE(snap.isHooked());
    }
    EXPECT_TRUE(platform.cursorMoves().empty());
    EXPECT_FALSE(KxSnapToDefaultButton());
}
