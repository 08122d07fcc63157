#include "app/HelpCommands.h"

#include "app/Unit1.h"
#include "app/Version.h"
#include "controls/KxButton.h"
#include "dialogs/Kxmsgbx.h"
#include "platform/FakePlatform.h"
#include "support/HelpPage.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class HelpCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
    }

    // Runs `trigger` and reports whether it opened the about window modally; closes it with Esc.
    bool opensAbout(std::function<void()> trigger) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
            if (!box) return;
            opened = box->isModal() && box->lines().value(0) == Version::programName();
            QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
            if (box->isVisible()) box->done(-1);
        });
        QApplication::setActiveWindow(&form);
        trigger();
        QCoreApplication::processEvents();
        return opened;
    }

    TScopedFakePlatform platform;
    TForm1 form;
};

} // namespace

TEST_F(HelpCommandsTest, InfoButtonAndF3OpenTheAboutWindow) {
    EXPECT_TRUE(opensAbout([&] { QTest::mouseClick(form.ui().ButInfo, Qt::LeftButton); }));
    EXPECT_TRUE(opensAbout([&] { QTest::keyClick(&form, Qt::Key_F3); }));
}

TEST_F(HelpCommandsTest, HelpButtonAndF1OpenTheHelpPage) {
    std::vector<TMsgBoxSeen> boxes;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& s) {
        boxes.push_back(s);
        return kMsgOk;
    });
    QTest::mouseClick(form.ui().ButHelp, Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_F1);
    const QUrl help = HelpPageUrl();
    if (help.isEmpty()) {
        // Built without the page: the user is told, nothing is opened.
        EXPECT_TRUE(platform.openedUrls.isEmpty());
        EXPECT_EQ(boxes.size(), 2u);
    } else {
        EXPECT_EQ(platform.openedUrls, QStringList({help.toString(), help.toString()}));
        EXPECT_TRUE(boxes.empty());
    }
}

TEST(HelpCommands, AboutShowsThisProgram) {
    const TAboutInfo info = ProgramAboutInfo();
    EXPECT_EQ(info.name, Version::programName());
    EXPECT_EQ(info.version, Version::versionText());
    EXPECT_FALSE(info.buildTime.isEmpty());
    EXPECT_TRUE(info.homePage.isValid());
    EXPECT_FALSE(info.icon.isNull());
}
