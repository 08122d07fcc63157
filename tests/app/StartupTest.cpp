#include "app/Startup.h"
#include "app/Extra.h"

#include "app/PickerOpener.h"
#include "app/SampleControls.h"
#include "app/Unit1.h"
#include "app/UserSlots.h"
#include "colorsets/ColorSetFile.h"
#include "colorsets/ColorSetText.h"
#include "controls/KxButton.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"
#include "platform/UserStore.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Key = QStringLiteral("Software\\Vextora\\Huesplinter");

// Points the settings store and the data folder into a folder of the test's own, so every
// start begins with what the test wrote and nothing else.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

class StartupTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"HUESPLINTER_CONFIG_DIR", (dir.path() + "/config").toUtf8()};
    ScopedEnv data{"XDG_DATA_HOME", (dir.path() + "/data").toUtf8()};
    ScopedEnv windowsData{"APPDATA", (dir.path() + "/data").toUtf8()};
    TScopedFakePlatform platform;
    QStringList boxes;
    int answer = kMsgOk;
    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& seen) {
        boxes << seen.caption + QStringLiteral(" | ") + seen.text;
        return answer;
    }};

    QString dataFolder() const { return dir.path() + "/data/Vextora/Huesplinter/"; }

    std::unique_ptr<TForm1> start() {
        auto form = std::make_unique<TForm1>();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->loaded(); }));
        QCoreApplication::processEvents();
        return form;
    }

    TStoredSettings stored() {
        TUserStore store;
        return TSettingsCodec::load(store, [](const QString&) {});
    }
    void storeSettings(const TStoredSettings& s) {
        TUserStore store;
        TSettingsCodec::save(store, s, [](const QString&) {});
    }
};

TEST_F(StartupTest, AFirstRunIsCentredAtItsNarrowestAndStartsTheDefaultSet) {
    auto form = start();
    EXPECT_TRUE(form->startup().firstRun());
    EXPECT_EQ(form->width(), form->minimumWidth());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(form->geometry().center().x(), area.center().x(), 2);
    EXPECT_NEAR(form->geometry().center().y(), area.center().y(), 2);
    const QString defaultSet = form->userSlots().store().pathFor(ColorSetFile::DefaultSetName);
    EXPECT_TRUE(QFile::exists(defaultSet));
    EXPECT_EQ(form->userSlots().currentPath(), defaultSet);
    EXPECT_EQ(form->currentColor(), MakeColor(0, 116, 0));
    EXPECT_EQ(form->options().clickAction(), CopyStyle::Html);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
    // Random history: not all ten alike.
    const auto history = form->history();
    EXPECT_NE(std::count(history.begin(), history.end(), history[0]), 10);
}

// What the user changed in one run is what the next run shows.
TEST_F(StartupTest, TheStateAtCloseIsTheStateOfTheNextStart) {
    QRect placed;
    TUserSlots::THistory history{};
    {
        auto form = start();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        placed = QRect(area.x() + 30, area.y() + 20, form->minimumWidth() + 41,
                       form->minimumHeight() + 17);
        form->setGeometry(placed);
        form->ui().EdClValue->setText(QStringLiteral("#123456"));
        QTest::mouseClick(form->ui().ButBgr, Qt::LeftButton);
        TWindowOptions& options = form->options();
        options.setClickAction(CopyStyle::Custom);
        FormatSettings formats = options.formats();
        formats.customTemplate = QStringLiteral("R=RR");
        formats.hslHex = false;
        formats.hueMax = 240;
        options.setFormats(formats);
        options.setHideOnPicking(true);
        options.setPickerHintHidden(false);
        options.setPickerShowsHsl(true);
        TSampleControls& sample = form->sampleControls();
        QTest::mouseClick(sample.ButHotTrack, Qt::LeftButton);
        QTest::mouseClick(sample.ButBold, Qt::LeftButton);
        QTest::mouseClick(sample.ButEyeDropPanel, Qt::LeftButton);
        ASSERT_FALSE(sample.tunePanelShown());
        ASSERT_TRUE(sample.settings().bold());
        form->PushHistory(MakeColor(1, 2, 3));
        form->PushHistory(MakeColor(4, 5, 6));
        history = form->history();
        form->ui().ScrollBar1->setValue(255 - 140);
        ASSERT_TRUE(form->close());
    }
    auto form = start();
    EXPECT_FALSE(form->startup().firstRun());
    // The offscreen screen is narrower than the window may be: only the width is clamped.
    EXPECT_EQ(form->geometry().topLeft(), placed.topLeft());
    EXPECT_EQ(form->height(), placed.height());
    // Read back; the palette then moves to the level that shows the start colour.
    EXPECT_EQ(form->startup().settings().pastel, 140);
    EXPECT_EQ(form->currentColor(), MakeColor(0, 116, 0));
    EXPECT_EQ(form->pastel(), 0) << "a full colour shows on the level without pastel";
    EXPECT_EQ(form->ui().EdClValue->text(), QStringLiteral("#123456"));
    EXPECT_EQ(form->pasteColor(), QStringLiteral("#123456"));
    EXPECT_FALSE(form->rgbOrder());
    const TWindowOptions& options = form->options();
    EXPECT_EQ(options.clickAction(), CopyStyle::Custom);
    EXPECT_EQ(options.formats().customTemplate, QStringLiteral("R=RR"));
    EXPECT_FALSE(options.formats().hslHex);
    EXPECT_EQ(options.formats().hueMax, 240);
    EXPECT_TRUE(options.hideOnPicking());
    EXPECT_FALSE(options.pickerHintHidden());
    EXPECT_TRUE(options.pickerShowsHsl());
    EXPECT_TRUE(form->ui().ZodudIroBox->HotTrack());
    EXPECT_TRUE(form->sampleControls().ButHotTrack->Down());
    EXPECT_TRUE(form->sampleControls().settings().bold());
    EXPECT_TRUE(form->sampleControls().ButBold->Down());
    EXPECT_FALSE(form->sampleControls().tunePanelShown());
    EXPECT_EQ(form->history(), history);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
}

// A close writes back what it did not change: values of windows this run never opened, and
// the records' fields no part of the window owns yet.
TEST_F(StartupTest, AClosePreservesValuesItDidNotTouch) {
    TStoredSettings s;
    s.hasPlacement = true;
    s.mainWindow = {40, 40, 1000, 600};
    s.sampleWindow = {300, 200, 254, 239};
    s.fontName = QStringLiteral("DejaVu Serif");
    s.fontSize = 14;
    s.bold = true;
    s.showText = false;
    s.textColorLocked = false;
    s.bkgColorLocked = true;
    s.sampleTextColor = 0x102030;
    s.tunePanelShown = false;
    s.saveSampleAfterPaste = true;
    storeSettings(s);
    {
        TUserStore store;
        ASSERT_TRUE(store.openKey(Key, true));
        ASSERT_TRUE(store.writeInteger(QStringLiteral("PickerWindowSize"), 321).ok);
        ASSERT_TRUE(
            store.writeString(QStringLiteral("SamplePngFile"), QStringLiteral("/x.png")).ok);
    }
    {
        auto form = start();
        // With the text colour unlocked, the sample text colour is the one the window starts on.
        EXPECT_EQ(form->currentColor(), 0x102030u);
        ASSERT_TRUE(form->close());
    }
    const TStoredSettings after = stored();
    EXPECT_EQ(after.sampleWindow, s.sampleWindow);
    EXPECT_EQ(after.fontName, s.fontName);
    EXPECT_EQ(after.fontSize, 14);
    EXPECT_TRUE(after.bold);
    EXPECT_FALSE(after.showText);
    EXPECT_TRUE(after.bkgColorLocked);
    EXPECT_EQ(after.sampleTextColor, 0x102030u);
    EXPECT_FALSE(after.tunePanelShown);
    EXPECT_TRUE(after.saveSampleAfterPaste);
    TUserStore store;
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readInteger(QStringLiteral("PickerWindowSize")).value, 321);
    EXPECT_EQ(store.readString(QStringLiteral("SamplePngFile")).value, QStringLiteral("/x.png"));
}

TEST_F(StartupTest, ADamagedStoredSetIsLeftAloneAndTheDefaultSetIsCurrent) {
    QDir().mkpath(dataFolder());
    const QString broken = dataFolder() + QStringLiteral("Broken.Hspl");
    const QByteArray damage("\x01\x02 not a colour set \xff\xfe");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damage);
    }
    TStoredSettings s;
    s.colorSetFile = broken;
    storeSettings(s);
    {
        auto form = start();
        const QString defaultSet = form->userSlots().store().pathFor(ColorSetFile::DefaultSetName);
        EXPECT_EQ(form->userSlots().currentPath(), defaultSet);
        form->userSlots().StoreIntoSlot(0, MakeColor(9, 9, 9));
        answer = kMsgYes;
        ASSERT_TRUE(form->close());
    }
    EXPECT_EQ(FileBytes(broken), damage);
    EXPECT_NE(stored().colorSetFile, broken);
}

TEST_F(StartupTest, TheCloseQuestionDecidesWhatIsSaved) {
    auto changedForm = [&] {
        auto form = start();
        form->userSlots().StoreIntoSlot(3, MakeColor(1, 2, 3));
        form->ui().ScrollBar1->setValue(255 - 17);
        return form;
    };
    const QString question = QStringLiteral(
        "Question for you | There have been changes to the user color set. \r\nDo you want "
        "to save them ?");
    {
        // Nothing changed: no question.
        auto form = start();
        ASSERT_TRUE(form->close());
        EXPECT_TRUE(boxes.isEmpty());
    }
    const QString set = stored().colorSetFile;
    ASSERT_FALSE(set.isEmpty());
    const QByteArray before = FileBytes(set);
    {
        answer = kMsgCancel;
        auto form = changedForm();
        EXPECT_FALSE(form->close());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(boxes, QStringList{question});
        EXPECT_EQ(stored().pastel, 0) << "a cancelled close writes no settings";
        answer = kMsgNo;
        boxes.clear();
        EXPECT_TRUE(form->close());
        EXPECT_EQ(boxes, QStringList{question});
        EXPECT_EQ(FileBytes(set), before);
        EXPECT_EQ(stored().pastel, 17);
    }
    {
        // The set file cannot be replaced: the close is refused and the edits stay.
        answer = kMsgYes;
        auto form = changedForm();
        ASSERT_TRUE(QFile::remove(set));
        ASSERT_TRUE(QDir().mkpath(set));
        boxes.clear();
        EXPECT_FALSE(form->close());
        EXPECT_GE(boxes.size(), 2);
        EXPECT_TRUE(form->userSlots().changed());
        ASSERT_TRUE(QDir(set).removeRecursively());
        boxes.clear();
        EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->userSlots().changed());
        EXPECT_NE(FileBytes(set), before);
    }
}

TEST_F(StartupTest, PlacementIsKeptOnAScreenAndTheNormalRectangleIsStored) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    TStoredSettings s;
    s.hasPlacement = true;
    s.mainWindow = {2'147'483'000, -2'147'483'000, 2'000'000'000, -5};
    storeSettings(s);
    {
        auto form = start();
        EXPECT_TRUE(area.intersects(form->geometry())) << "off every screen: centred";
        EXPECT_GE(form->height(), form->minimumHeight());
        EXPECT_LE(form->width(), area.width());
        EXPECT_NEAR(form->geometry().center().x(), area.center().x(), 2);
        const QRect normal = form->geometry();
        form->showMaximized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form->close());
        const TStoredSettings after = stored();
        EXPECT_EQ(after.windowState, 2);
        EXPECT_EQ(after.mainWindow.width, normal.width());
        EXPECT_EQ(after.mainWindow.left, normal.left());
    }
    {
        auto form = start();
        EXPECT_TRUE(form->isMaximized());
        const QRect normal = form->normalGeometry();
        form->showNormal();
        QCoreApplication::processEvents();
        EXPECT_EQ(form->geometry(), normal);
        form->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form->close());
        const TStoredSettings after = stored();
        EXPECT_EQ(after.windowState, 1);
        EXPECT_EQ(after.mainWindow.width, normal.width());
        EXPECT_EQ(after.mainWindow.height, normal.height());
    }
    // Minimised is never how the window comes back.
    auto form = start();
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(StartupTest, WithoutADataFolderNothingIsWrittenBesideTheProgram) {
    const QString here = QDir::currentPath();
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    {
        TForm1 form;
        form.startup().FindDataFolder = [] { return QString(); };
        form.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
        EXPECT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes.value(0).startsWith(QStringLiteral(
            "Vextora's Color Picker | No folder for the program's data could be found.")));
        EXPECT_TRUE(form.userSlots().currentPath().isEmpty());
        form.userSlots().StoreIntoSlot(0, MakeColor(1, 1, 1));
        boxes.clear();
        EXPECT_TRUE(form.close()) << "nothing to save to, so nothing to ask";
        EXPECT_TRUE(boxes.isEmpty());
    }
    QDir::setCurrent(here);
    EXPECT_TRUE(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(StartupTest, AnUnusableDataFolderIsNamedOnceWithWhatToDoAndSavingSaysWhy) {
    // A file where the data folder belongs.
    QDir().mkpath(dir.path() + "/data/Vextora");
    PutFile(dir.path() + "/data/Vextora/Huesplinter", "in the way");
    {
        auto form = start();
        ASSERT_EQ(boxes.size(), 1) << boxes.join('\n').toStdString();
        EXPECT_TRUE(boxes[0].contains(
            QDir::toNativeSeparators(dir.path() + "/data/Vextora/Huesplinter") + "\" is a file"));
        EXPECT_TRUE(boxes[0].contains("Move or rename that file"));
        boxes.clear();
        // Ctrl+S then says what to do, not that something fatal happened.
        EXPECT_FALSE(form->userSlots().SaveSet());
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_FALSE(boxes[0].contains("Fatal"));
        EXPECT_TRUE(boxes[0].contains("no color set file is open"));
        boxes.clear();
    }
    QFile::remove(dir.path() + "/data/Vextora/Huesplinter");

    // A read-only one is used for reading, and the start says nothing can be saved in it.
    ASSERT_TRUE(QDir().mkpath(dataFolder()));
    PutFile(dataFolder() + "Default Color Set.Hspl", ColorSetText(20, "123456", "d"));
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores the read-only mark on folders (only an access list keeps a "
                    "folder from being written there); a native test run by any user but the "
                    "superuser proves this message";
#endif
    QFile::setPermissions(dataFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(dataFolder()).isWritable()) GTEST_SKIP() << "running as root";
    auto form = start();
    QFile::setPermissions(dataFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_TRUE(boxes[0].contains("is read-only")) << boxes.join('\n').toStdString();
    EXPECT_EQ(form->userSlots().userSlot(0)->color(), 0x123456u);
}

TEST_F(StartupTest, StoredPathsThatCannotBeUsedAreKeptButNotUsed) {
    TStoredSettings s;
    s.mumbleFile = QStringLiteral("/dev/zero");
    s.colorSetFile = QStringLiteral("/dev/null");
    storeSettings(s);
    auto form = start();
    // The sample text file is the user's choice: kept until the user picks another.
    EXPECT_EQ(form->startup().settings().mumbleFile, QStringLiteral("/dev/zero"));
    EXPECT_NE(form->userSlots().currentPath(), QStringLiteral("/dev/null"));
}

TEST_F(StartupTest, AColorSetOutsideTheDataFolderIsReplacedByTheDefaultAndNeverBlocksTheClose) {
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath("Mine.Hspl");
    {
        QFile file(outside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ColorSetText(20, "123456", "m"));
    }
    TStoredSettings s;
    s.colorSetFile = outside;
    storeSettings(s);
    auto form = start();
    ASSERT_EQ(boxes.size(), 1) << boxes.join('\n').toStdString();
    EXPECT_TRUE(boxes[0].contains(QDir::toNativeSeparators(outside)));
    EXPECT_TRUE(boxes[0].contains("the default set is used"));
    EXPECT_TRUE(form->userSlots().currentPath().endsWith("/Default Color Set.Hspl"));
    form->userSlots().StoreIntoSlot(0, MakeColor(1, 2, 3));
    boxes.clear();
    // Saving goes to the default set in the data folder; the other file stays as it was.
    TMsgBoxAnswererScope yes([&](const TMsgBoxSeen& seen) {
        boxes << seen.text;
        return kMsgYes;
    });
    EXPECT_TRUE(form->close());
    EXPECT_EQ(boxes.size(), 1);
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ColorSetText(20, "123456", "m"));
}

TEST_F(StartupTest, ApplicationDeactivationIsFollowed) {
    auto form = start();
    QSignalSpy lost(&form->startup(), &TStartup::applicationDeactivated);
    QSignalSpy back(&form->startup(), &TStartup::applicationActivated);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationHidden);
    EXPECT_TRUE(form->startup().isApplicationDeactivated());
    EXPECT_EQ(lost.count(), 1);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_FALSE(form->startup().isApplicationDeactivated());
    EXPECT_EQ(back.count(), 1);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(back.count(), 1);
    // The application's display name is never set: window managers would append it to every
    // caption.
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("ZodudIro Created in:")) ||
                form->windowTitle().startsWith(QStringLiteral("Vextora's Huesplinter  ")));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
}

} // namespace
