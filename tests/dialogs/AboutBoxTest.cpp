#include "dialogs/AboutBox.h"

#include "controls/KxButton.h"
#include "dialogs/Kxmsgbx.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TAboutInfo sampleInfo() {
    TAboutInfo info;
    info.name = "Huesplinter";
    info.version = "1.2.3";
    info.buildTime = "2026-12-09 12:00";
    info.copyright = "Copyright 2026 Vextora";
    info.licence = "All rights reserved.";
    info.helpPage = QUrl::fromLocalFile("/usr/share/huesplinter/help.html");
    info.homePage = QUrl("https://vextora.org/huesplinter");
    return info;
}

} // namespace

TEST(AboutBoxTest, ShowsNameVersionBuildAndTerms) {
    TAboutBox box(sampleInfo());
    EXPECT_EQ(box.windowTitle(), "About Huesplinter");
    EXPECT_EQ(box.lines(), QStringList({"Huesplinter", "Version 1.2.3", "Built 2026-12-09 12:00",
                                        "Copyright 2026 Vextora", "All rights reserved."}));
}

TEST(AboutBoxTest, LinksOpenInTheBrowserAndFailuresAreReported) {
    TScopedFakePlatform platform;
    TAboutBox box(sampleInfo());
    box.show();
    QTest::mouseClick(box.ButHelpPage(), Qt::LeftButton);
    QTest::mouseClick(box.ButHomePage(), Qt::LeftButton);
    EXPECT_EQ(platform.openedUrls, QStringList({"file:///usr/share/huesplinter/help.html",
                                                "https://vextora.org/huesplinter"}));
    EXPECT_TRUE(box.isVisible());

    std::vector<TMsgBoxSeen> seen;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& s) {
        seen.push_back(s);
        return kMsgOk;
    });
    platform.openUrlResult = false;
    QTest::mouseClick(box.ButHomePage(), Qt::LeftButton);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].iconKind, kMsgIconError);
    EXPECT_EQ(seen[0].text, "Could not open the home page in the web browser:\r\n"
                            "https://vextora.org/huesplinter");

    // A program installed without its help page says so instead of opening nothing.
    OpenWebPage(QUrl(), "the help page");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].text.contains("the help page"));
}

TEST(AboutBoxTest, ClosesWithItsButtonEscAndTheWindowsClose) {
    const auto runAnd = [](std::function<void(TAboutBox*)> action) {
        QTimer::singleShot(0, [action] {
            auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            action(box);
            if (box->isVisible()) {
                ADD_FAILURE() << "still open";
                box->done(-1);
            }
        });
        ShowAboutBox(sampleInfo());
    };
    runAnd([](TAboutBox* box) { QTest::mouseClick(box->ButClose(), Qt::LeftButton); });
    runAnd([](TAboutBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Escape); });
    runAnd([](TAboutBox* box) {
        QCloseEvent close;
        QApplication::sendEvent(box, &close);
    });
}
