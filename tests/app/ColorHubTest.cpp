// Each collaborator of the main window made on a stand-in window: what it asks of the window goes
// through the hub's interface only.
#include "app/ColorHub.h"

#include "FakeColorHub.h"
#include "app/Commands.h"
#include "app/Extra.h"
#include "app/PickerOpener.h"
#include "app/SampleControls.h"
#include "app/Startup.h"
#include "app/UserSlots.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"
#include "sample/Samplefrm.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ColorHubTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.desktop.image = QImage(800, 600, QImage::Format_ARGB32);
        platform.desktop.image.fill(Qt::gray);
        hub.resize(hub.ui.designClientSize());
        hub.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&hub));
    }

    TScopedFakePlatform platform;
    TFakeColorHub hub;
};

} // namespace

TEST_F(ColorHubTest, UserSlotsApplyAndCopyThroughTheHubAndFollowItsHotTrack) {
    TUserSlots userSlots(hub, hub.ui);
    hub.ui.layoutRows();
    userSlots.StoreIntoSlot(3, MakeColor(10, 20, 30));
    userSlots.StoreIntoSlot(4, MakeColor(40, 50, 60));

    QTest::mouseClick(userSlots.userSlot(3), Qt::LeftButton);
    EXPECT_EQ(hub.applied, std::vector<ColorValue>{MakeColor(10, 20, 30)});
    EXPECT_EQ(hub.copies, std::vector<ColorValue>{MakeColor(10, 20, 30)});
    EXPECT_TRUE(userSlots.userSlot(3)->selected());

    QTest::mouseMove(userSlots.userSlot(4));
    EXPECT_EQ(hub.currentColor(), MakeColor(10, 20, 30));
    hub.options().setHotTrack(true);
    QTest::mouseMove(userSlots.userSlot(4), QPoint(2, 2));
    EXPECT_EQ(hub.currentColor(), MakeColor(40, 50, 60));

    // Selecting by key copies in the hub's click action, in the hub's formats.
    hub.options().setClickAction(CopyStyle::RgbValues);
    userSlots.SelectUserColor(4);
    EXPECT_EQ(platform.clipboard, QStringLiteral("R:040 G:050 B:060"));
}

TEST_F(ColorHubTest, SampleRowShowsTheHubsHotTrackAndSendsItsColourToTheSampleWindow) {
    TSampleControls sample(hub, hub.ui);
    hub.options().setHotTrack(true);
    EXPECT_TRUE(sample.ButHotTrack->Down());
    QTest::mouseClick(sample.ButHotTrack, Qt::LeftButton);
    EXPECT_FALSE(hub.options().hotTrack());
    EXPECT_FALSE(sample.ButHotTrack->Down());

    // Over a see-through background every new current colour becomes the sample's text colour.
    sample.createSampleWindow = [](TSampleOwner* owner, QWidget* parent) {
        auto* window = new TSampleForm(owner, parent);
        window->setCaptureSettleMs(0);
        return window;
    };
    sample.ButShowSampleClick();
    ASSERT_NE(sample.sampleWindow(), nullptr);
    hub.setCurrent(MakeColor(1, 2, 3));
    EXPECT_EQ(sample.sampleWindow()->textColor(), MakeColor(1, 2, 3));
}

TEST_F(ColorHubTest, CommandsReachTheSlotsPickerAndSampleRowTheyWereGivenNotTheHub) {
    TUserSlots userSlots(hub, hub.ui);
    TSampleControls sample(hub, hub.ui);
    TPickerOpener picker(hub, hub.ui, sample);
    TCommands commands(hub, hub.ui, userSlots, picker, sample);

    // Enter picks the current colour; Ctrl+H toggles hot track; both are the hub's.
    hub.ui.PnlColor->setColor(MakeColor(7, 8, 9));
    hub.ui.ZodudIroBox->setFocus();
    QTest::keyClick(hub.ui.ZodudIroBox, Qt::Key_Return);
    EXPECT_EQ(hub.picks, std::vector<ColorValue>{MakeColor(7, 8, 9)});
    QTest::keyClick(hub.ui.ZodudIroBox, Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(hub.options().hotTrack());

    // The menu's switches are the hub's options, both ways.
    hub.options().setHideOnPicking(true);
    commands.PopupMenuPopup(hub.ui.ZodudIroBox);
    QAction* hide = nullptr;
    for (QAction* action : commands.popupMenu()->actions())
        if (action->text() == QStringLiteral("Hide Mainform on Picking")) hide = action;
    ASSERT_NE(hide, nullptr);
    EXPECT_TRUE(hide->isChecked());
    hide->trigger();
    EXPECT_FALSE(hub.options().hideOnPicking());

    // Pasting a colour goes to the value field through the hub.
    platform.clipboard = QStringLiteral("#102030");
    commands.PasteCommand();
    EXPECT_EQ(hub.valueTexts, QStringList{QStringLiteral("#102030")});
}
