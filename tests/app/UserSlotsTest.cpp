#include "app/UserSlots.h"

#include "app/Extra.h"
#include "app/SampleControls.h"
#include "app/Unit1.h"
#include "colorsets/Clpnl.h"
#include "colorsets/ColorSetText.h"
#include "colorsets/Colorsetfrm.h"
#include "colour/CopyFormats.h"
#include "controls/KxButton.h"
#include "dialogs/Hintfrm.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"
#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The window shown and loaded, its colour sets in a folder of the test's own.
class UserSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
        slots_().setDataFolder(dir.path() + "/");
        slots_().OpenStartSet(QString());
    }
    TUserSlots& slots_() const { return form.userSlots(); }
    QString path(const QString& name) const { return slots_().store().pathFor(name); }
    std::array<ColorValue, 20> userColors() const {
        std::array<ColorValue, 20> colors{};
        for (int i = 0; i < 20; ++i)
            colors[i] = slots_().userSlot(i)->color();
        return colors;
    }
    // Answers every box with `answer`, keeping what it showed.
    int answer = kMsgOk;
    std::vector<TMsgBoxSeen> boxes;
    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& seen) {
        boxes.push_back(seen);
        return answer;
    }};

    QTemporaryDir dir;
    TScopedFakePlatform platform;
    TForm1 form;
};

TEST_F(UserSlotsTest, StartShowsTheDefaultSetAndTenVividHistoryColours) {
    EXPECT_EQ(slots_().currentPath(), path("Default Color Set"));
    EXPECT_TRUE(QFile::exists(path("Default Color Set")));
    EXPECT_EQ(slots_().userSlot(0)->color(), 0x0000FFu);
    EXPECT_EQ(slots_().userSlot(19)->color(), 0x4D00FFu);
    EXPECT_FALSE(slots_().changed());
    EXPECT_EQ(slots_().chosenSet(), 1);
    for (int i = 0; i < TUserSlots::HistoryCount; ++i) {
        const ColorValue c = slots_().historySlot(i)->color();
        std::array<int, 3> rgb{RedOf(c), GreenOf(c), BlueOf(c)};
        std::sort(rgb.begin(), rgb.end());
        EXPECT_EQ(rgb[0], 0);
        EXPECT_GE(rgb[1], 30);
        EXPECT_LE(rgb[2], 249);
    }
    EXPECT_EQ(slots_().userSlot(10)->text(), "A");
    EXPECT_EQ(slots_().historySlot(2)->text(), "c");
    EXPECT_EQ(slots_().userSlot(4)->property("Tag").toInt(), 104);
    EXPECT_EQ(slots_().historySlot(4)->property("Tag").toInt(), 106);
    EXPECT_GE(form.minimumWidth(), slots_().historySlot(9)->geometry().right());
}

TEST_F(UserSlotsTest, StoredHistoryIsMadePlainAndOnlyAnUnusableOneIsReplaced) {
    TUserSlots::THistory stored{};
    stored.fill(kNoColor);
    stored[3] = 0x80000005u;
    stored[4] = 0xFF123456u;
    slots_().setHistory(stored);
    for (ColorValue c : slots_().history())
        EXPECT_EQ(c & ~kColorMask, 0u);
    // The top bit names a system colour (by the low byte), which is resolved.
    EXPECT_EQ(slots_().history()[3], ResolveColor(0x80000005u));
    EXPECT_EQ(slots_().history()[4], ResolveColor(0xFF123456u));
    EXPECT_EQ(slots_().history()[0], kBlack);
    const TUserSlots::THistory before = slots_().history();
    slots_().FillRandomHistory();
    EXPECT_EQ(slots_().history(), before);

    stored.fill(kBlack);
    slots_().setHistory(stored);
    slots_().FillRandomHistory();
    EXPECT_NE(slots_().history(), stored);
}

TEST_F(UserSlotsTest, PicksEnterTheHistoryEvenWhenRepeated) {
    form.ZodudIroBoxColorPickLeft(nullptr, 0x112233);
    form.ZodudIroBoxColorPickLeft(nullptr, 0x112233);
    EXPECT_EQ(slots_().historySlot(8)->color(), 0x112233u);
    EXPECT_EQ(slots_().historySlot(9)->color(), 0x112233u);
}

TEST_F(UserSlotsTest, PressingASlotCopiesAndSelectsWithoutTouchingTheHistory) {
    const TUserSlots::THistory history = slots_().history();
    platform.keys.shift = true;
    QTest::mouseClick(slots_().userSlot(5), Qt::LeftButton, Qt::ShiftModifier);
    const ColorValue c = slots_().userSlot(5)->color();
    EXPECT_EQ(form.currentColor(), c);
    EXPECT_EQ(platform.clipboard, FormatRgbValues(c));
    EXPECT_TRUE(slots_().userSlot(5)->selected());
    EXPECT_EQ(slots_().history(), history);

    // A middle press copies too but does not select; a right press does nothing.
    platform.keys.shift = false;
    const int writes = platform.clipboardWrites;
    QTest::mouseClick(slots_().historySlot(0), Qt::MiddleButton);
    EXPECT_EQ(platform.clipboardWrites, writes + 1);
    EXPECT_EQ(form.currentColor(), slots_().historySlot(0)->color());
    EXPECT_TRUE(slots_().userSlot(5)->selected());
    QTest::mouseClick(slots_().userSlot(1), Qt::RightButton);
    EXPECT_EQ(platform.clipboardWrites, writes + 1);
    EXPECT_EQ(form.currentColor(), slots_().historySlot(0)->color());
}

// The hot-track button is the one the user has: the slots follow it as the palette does.
TEST_F(UserSlotsTest, HoveringPreviewsOnlyWithHotTrackOrCtrl) {
    const ColorValue before = form.currentColor();
    QTest::mouseMove(slots_().userSlot(7));
    EXPECT_EQ(form.currentColor(), before);
    platform.keys.ctrl = true;
    QTest::mouseMove(slots_().userSlot(6));
    EXPECT_EQ(form.currentColor(), slots_().userSlot(6)->color());
    platform.keys.ctrl = false;

    QTest::mouseClick(form.sampleControls().ButHotTrack, Qt::LeftButton);
    ASSERT_TRUE(form.ui().ZodudIroBox->HotTrack());
    QTest::mouseMove(slots_().userSlot(8));
    EXPECT_EQ(form.currentColor(), slots_().userSlot(8)->color());

    // Ctrl+H switches it off again for both.
    QTest::keyClick(&form, Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(form.ui().ZodudIroBox->HotTrack());
    const ColorValue shown = form.currentColor();
    QTest::mouseMove(slots_().userSlot(9));
    EXPECT_EQ(form.currentColor(), shown);
}

TEST_F(UserSlotsTest, SelectedSlotIsPerWindow) {
    TForm1 other;
    slots_().SelectUserColor(2);
    other.userSlots().SelectUserColor(3);
    EXPECT_TRUE(slots_().userSlot(2)->selected());
    EXPECT_TRUE(other.userSlots().userSlot(3)->selected());
    slots_().SelectLabel(slots_().userSlot(4));
    EXPECT_FALSE(slots_().userSlot(2)->selected());
    EXPECT_TRUE(other.userSlots().userSlot(3)->selected());
}

TEST_F(UserSlotsTest, StoreColorAsTakesThePopupColourOrTheCurrentOne) {
    QMenu menu;
    slots_().BuildStoreColorMenu(&menu);
    ASSERT_EQ(menu.actions().size(), 20);
    EXPECT_EQ(menu.actions()[0]->text(), "Color 0  [ Alt + 0 ]");
    EXPECT_EQ(menu.actions()[19]->text(), "Color J  [ Alt + J ]");
    slots_().PopupColor = [this] { return std::optional(slots_().historySlot(2)->color()); };
    menu.actions()[11]->trigger();
    EXPECT_EQ(slots_().userSlot(11)->color(), slots_().historySlot(2)->color());
    EXPECT_TRUE(slots_().changed());
    slots_().PopupColor = nullptr;
    form.ApplyCurrentColor(0x010203);
    menu.actions()[12]->trigger();
    EXPECT_EQ(slots_().userSlot(12)->color(), 0x010203u);
    // Whatever the popup hands over, the slot holds a plain colour.
    slots_().MenuColorClick(10 + 13, 0xFFFFFFFFu);
    EXPECT_EQ(slots_().userSlot(13)->color(), kBlack);
    slots_().StoreIntoSlot(14, 0xFF00FF00u);
    EXPECT_EQ(slots_().userSlot(14)->color(), ResolveColor(0xFF00FF00u));
    slots_().StoreIntoSlot(15, 0x7F00FF00u);
    EXPECT_EQ(slots_().userSlot(15)->color(), 0x00FF00u);
}

TEST_F(UserSlotsTest, TheChangedFlagNeedsAFileToSaveTo) {
    TForm1 fresh;
    fresh.userSlots().StoreIntoSlot(0, 0x123456);
    EXPECT_EQ(fresh.userSlots().currentPath(), "");
    EXPECT_FALSE(fresh.userSlots().changed());
    EXPECT_TRUE(fresh.userSlots().AskSaveChangedSet());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(fresh.userSlots().SaveSet());
    ASSERT_EQ(boxes.size(), 1u);
    // Says what to do, not that something fatal happened.
    EXPECT_EQ(boxes[0].caption, "File Error");
    EXPECT_TRUE(boxes[0].text.startsWith("The colors cannot be saved: no color set file is open."));
}

TEST_F(UserSlotsTest, TheNameEditorNamesAUserSlotOnOneLine) {
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<THintForm*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->lbColor()->text(), "6");
        editor->edHint()->setText("Sea\r\nfoam");
        editor->butOk()->Click();
    });
    EXPECT_TRUE(slots_().EditColorName(slots_().userSlot(6)));
    EXPECT_EQ(slots_().userSlot(6)->name(), "Sea  foam");
    EXPECT_EQ(slots_().userSlot(6)->toolTip(), "Sea  foam");
    EXPECT_TRUE(slots_().changed());
    EXPECT_FALSE(slots_().EditColorName(slots_().historySlot(1)));
    ASSERT_TRUE(slots_().SaveSet());
    EXPECT_EQ(FileBytes(path("Default Color Set")).count("\r\n"), 21);
    EXPECT_TRUE(slots_().historySlot(1)->toolTip().isEmpty());
}

TEST_F(UserSlotsTest, AskSaveChangedSetSavesGoesOnOrStops) {
    slots_().StoreIntoSlot(0, 0x010101);
    answer = kMsgCancel;
    EXPECT_FALSE(slots_().AskSaveChangedSet());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Question for You");
    EXPECT_EQ(boxes[0].text, "The Color Set have changed do you want to save the changes ?");
    EXPECT_EQ(boxes[0].buttons, QStringList({"&Yes", "&No", "&Cancel"}));
    answer = kMsgNo;
    EXPECT_TRUE(slots_().AskSaveChangedSet());
    EXPECT_TRUE(slots_().changed());
    EXPECT_FALSE(FileBytes(path("Default Color Set")).contains("010101="));
    answer = kMsgYes;
    EXPECT_TRUE(slots_().AskSaveChangedSet());
    EXPECT_FALSE(slots_().changed());
    EXPECT_TRUE(FileBytes(path("Default Color Set"))
                    .startsWith("Huesplinter ColorSet Data File=20\r\n010101=\r\n"));
}

TEST_F(UserSlotsTest, ASetSavedElsewhereSinceItWasReadIsNotOverwrittenWithoutAsking) {
    const QString set = path("Default Color Set");
    const QByteArray theirs = ColorSetText(20, "ABCDEF", "t");
    const auto secondCopySaves = [&] { PutFile(set, theirs); };

    slots_().StoreIntoSlot(0, 0x010101);
    secondCopySaves();
    answer = kMsgCancel;
    EXPECT_FALSE(slots_().SaveSet());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains("was saved by another program"));
    EXPECT_EQ(boxes[0].buttons, QStringList({"&Overwrite", "&Load Theirs", "&Cancel"}));
    EXPECT_EQ(FileBytes(set), theirs);
    EXPECT_TRUE(slots_().changed());

    // Loading theirs drops the edit here and leaves their file alone.
    answer = kMsgNo;
    EXPECT_TRUE(slots_().SaveSet());
    EXPECT_EQ(FileBytes(set), theirs);
    EXPECT_EQ(slots_().userSlot(0)->color(), 0xABCDEFu);
    EXPECT_FALSE(slots_().changed());

    // Overwriting writes ours over theirs.
    slots_().StoreIntoSlot(0, 0x020202);
    PutFile(set, ColorSetText(20, "FEDCBA", "u"));
    answer = kMsgYes;
    EXPECT_TRUE(slots_().SaveSet());
    EXPECT_TRUE(FileBytes(set).startsWith("Huesplinter ColorSet Data File=20\r\n020202="));

    // Unchanged on disk since, the next save asks nothing; nor does a close.
    boxes.clear();
    slots_().StoreIntoSlot(1, 0x030303);
    EXPECT_TRUE(slots_().SaveSet());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UserSlotsTest, ASaveOnAFullDiskKeepsTheFileAndTheEditsAndSaysSoOnce) {
    const QString set = path("Default Color Set");
    PutFile(set, ColorSetText(20, "ABCDEF", QByteArray(150, 'n')));
    ASSERT_TRUE(slots_().OpenSet(set));
    slots_().StoreIntoSlot(0, 0x010101);
    const QByteArray before = FileBytes(set);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(1024);
        EXPECT_FALSE(slots_().SaveSet());
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "File Error");
    EXPECT_TRUE(boxes[0].text.contains(QDir::toNativeSeparators(set)));
    EXPECT_EQ(FileBytes(set), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
    // The edit is still there to be saved once there is room.
    EXPECT_TRUE(slots_().changed());
    EXPECT_EQ(slots_().userSlot(0)->color(), 0x010101u);
    EXPECT_TRUE(slots_().SaveSet());
    EXPECT_TRUE(FileBytes(set).startsWith("Huesplinter ColorSet Data File=20\r\n010101="));
}

TEST_F(UserSlotsTest, AFileThatDoesNotReadWholeChangesNothing) {
    PutFile(path("short"), ColorSetText(5, "222222", "s"));
    const auto before = userColors();
    EXPECT_FALSE(slots_().OpenSet(path("short")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "File Error!");
    EXPECT_EQ(userColors(), before);
    EXPECT_EQ(slots_().currentPath(), path("Default Color Set"));
    const QByteArray file = FileBytes(path("Default Color Set"));
    ASSERT_TRUE(slots_().SaveSet());
    EXPECT_EQ(FileBytes(path("Default Color Set")), file);

    PutFile(path("c16"), ColorSetText(16, "333333", "x").replace("=20\r\n", "=16\r\n"));
    ASSERT_TRUE(slots_().OpenSet(path("c16")));
    EXPECT_EQ(slots_().userSlot(15)->color(), 0x333333u);
    EXPECT_EQ(slots_().userSlot(16)->color(), kBlack);
    EXPECT_EQ(slots_().userSlot(16)->name(), "");
    EXPECT_EQ(slots_().chosenSet(), -1);
}

TEST_F(UserSlotsTest, NewSetWritesFirstAndChangesNothingWhenThatFails) {
    slots_().StoreIntoSlot(0, 0x010101);
    const auto before = userColors();
    slots_().AskName = [](const QStringList&) { return std::optional<QString>("Web/Print"); };
    answer = kMsgNo;
    EXPECT_FALSE(slots_().NewSet());
    EXPECT_EQ(userColors(), before);
    EXPECT_EQ(slots_().currentPath(), path("Default Color Set"));
    EXPECT_TRUE(slots_().changed());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].text.startsWith("Could not save Color Set file:\r\n"));

    QStringList taken;
    slots_().AskName = [&taken](const QStringList& names) {
        taken = names;
        return std::optional<QString>("Mine");
    };
    ASSERT_TRUE(slots_().NewSet());
    EXPECT_EQ(taken, QStringList({"16 Colors Set", "Default Color Set"}));
    EXPECT_EQ(slots_().currentPath(), path("Mine"));
    EXPECT_EQ(slots_().userSlot(0)->color(), kBlack);
    EXPECT_FALSE(slots_().changed());
    EXPECT_EQ(slots_().sets().back().name, "Mine");
    EXPECT_EQ(slots_().chosenSet(), 2);
}

TEST_F(UserSlotsTest, ABuiltInSetThatCannotBeWrittenLeavesTheSlots) {
    slots_().StoreIntoSlot(0, 0x010101);
    answer = kMsgNo;
    const auto before = userColors();
    slots_().setDataFolder(dir.path() + "/missing/");
    EXPECT_FALSE(slots_().OpenBuiltInSet("16 Colors Set"));
    EXPECT_EQ(userColors(), before);
    EXPECT_EQ(slots_().currentPath(), path("Default Color Set").replace("/missing", ""));
    EXPECT_TRUE(boxes.back().text.startsWith("Could not create Color Set file:\r\n"));

    slots_().setDataFolder(dir.path() + "/");
    ASSERT_TRUE(slots_().OpenBuiltInSet("16 Colors Set"));
    EXPECT_EQ(slots_().userSlot(1)->name(), "White");
    EXPECT_EQ(slots_().currentPath(), path("16 Colors Set"));
    EXPECT_EQ(slots_().chosenSet(), 0);
}

TEST_F(UserSlotsTest, AReadOnlyFolderWithoutTheDefaultSetShowsItsColoursWithoutASecondBox) {
    // The start-up has already said the folder cannot be written.
    QFile::remove(path("Default Color Set"));
    boxes.clear();
    slots_().setDataFolder(dir.path() + "/", false);
    slots_().OpenStartSet(QString());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(QFile::exists(path("Default Color Set")));
    EXPECT_EQ(slots_().userSlot(0)->color(), ColorSetFile::DefaultColors()[0].color);
    EXPECT_EQ(slots_().currentPath(), path("Default Color Set"));
}

TEST_F(UserSlotsTest, TheManagerRenamingTheCurrentSetIsFollowed) {
    slots_().StoreIntoSlot(0, 0x010101);
    slots_().RunManager = [](TColorSetForm& manager) {
        manager.show();
        manager.listBox()->setCurrentRow(1);
        manager.AskName = [](const QStringList&) { return std::optional<QString>("Renamed"); };
        manager.butRename()->Click();
        manager.butOk()->Click();
        return manager.result();
    };
    slots_().ManageSets();
    EXPECT_EQ(slots_().currentPath(), path("Renamed"));
    EXPECT_TRUE(slots_().changed());
    EXPECT_EQ(slots_().userSlot(0)->color(), 0x010101u);
    ASSERT_TRUE(slots_().SaveSet());
    EXPECT_FALSE(QFile::exists(path("Default Color Set")));
    EXPECT_TRUE(FileBytes(path("Renamed")).contains("\r\n010101=\r\n"));
}

TEST_F(UserSlotsTest, DeletingTheCurrentSetWithUnsavedEditsAsksFirst) {
    slots_().StoreIntoSlot(0, 0x010101);
    slots_().RunManager = [](TColorSetForm& manager) {
        manager.show();
        manager.listBox()->setCurrentRow(1);
        manager.butDelete()->Click();
        manager.butOk()->Click();
        return manager.result();
    };
    answer = kMsgNo;
    slots_().ManageSets();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Question for You");
    EXPECT_TRUE(QFile::exists(path("Default Color Set")));
    EXPECT_EQ(slots_().userSlot(0)->color(), 0x010101u);
    EXPECT_TRUE(slots_().changed());

    answer = kMsgYes;
    slots_().ManageSets();
    // Deleted on the user's word; the default set is written anew and shown.
    EXPECT_EQ(slots_().currentPath(), path("Default Color Set"));
    EXPECT_EQ(slots_().userSlot(0)->color(), 0x0000FFu);
    EXPECT_FALSE(slots_().changed());
}

TEST_F(UserSlotsTest, NamesTheManagerSavedIntoTheCurrentSetShowInTheSlots) {
    slots_().RunManager = [](TColorSetForm& manager) {
        manager.show();
        manager.listBox()->setCurrentRow(1);
        manager.tile(2)->edit()->setText("from the manager");
        manager.butOk()->Click();
        return manager.result();
    };
    slots_().ManageSets();
    EXPECT_EQ(slots_().userSlot(2)->name(), "from the manager");
    ASSERT_TRUE(slots_().SaveSet());
    EXPECT_TRUE(FileBytes(path("Default Color Set")).contains("=from the manager\r\n"));
}

TEST_F(UserSlotsTest, CloseQuestionKeepsTheWindowWhenTheSaveFails) {
    slots_().StoreIntoSlot(0, 0x010101);
    answer = kMsgYes;
    QFile::remove(path("Default Color Set"));
    ASSERT_TRUE(QDir().mkdir(path("Default Color Set")));
    EXPECT_FALSE(slots_().AskSaveBeforeClose());
    EXPECT_EQ(boxes[0].caption, "Question for you");
    EXPECT_EQ(boxes[0].text,
              "There have been changes to the user color set. \r\nDo you want to save them ?");
    EXPECT_TRUE(slots_().changed());
    answer = kMsgNo;
    EXPECT_TRUE(slots_().AskSaveBeforeClose());
}

} // namespace
