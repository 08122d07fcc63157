#include "colorsets/Clsetnamefrm.h"

#include "controls/KxButton.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class ClsetnamefrmTest : public ::testing::Test {
protected:
    TClSetNameForm form;
    void SetUp() override {
        form.addName("16 Colors Set");
        form.addName("Default Color Set");
        form.addName("Mine");
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    bool okFor(const QString& text) {
        form.edName()->setText(text);
        return form.butOk()->isEnabled();
    }
};

TEST_F(ClsetnamefrmTest, OkOnlyForNewNamesAFileCanHold) {
    EXPECT_EQ(form.windowTitle(), "Color Set Name");
    EXPECT_FALSE(form.butOk()->isEnabled());
    EXPECT_FALSE(okFor(""));
    EXPECT_FALSE(okFor("default color set"));
    EXPECT_FALSE(okFor("MINE"));
    EXPECT_FALSE(okFor("../../Desktop/x"));
    EXPECT_FALSE(okFor("Web/Print"));
    EXPECT_FALSE(okFor("a\\b"));
    EXPECT_FALSE(okFor(QString("a") + QChar(0x7F)));
    EXPECT_TRUE(okFor("Mine2"));
    EXPECT_TRUE(okFor(".dotted"));
}

TEST_F(ClsetnamefrmTest, ARefusedNameSaysWhyUnderTheFieldAndTheDialogGrowsForIt) {
    const int plainHeight = form.height();
    QTest::keyClicks(form.edName(), "../evil");
    EXPECT_FALSE(form.butOk()->isEnabled());
    ASSERT_TRUE(form.reason()->isVisible());
    EXPECT_TRUE(form.reason()->text().contains("\"/\""));
    EXPECT_GT(form.height(), plainHeight);

    form.edName()->setText("x\\y");
    EXPECT_TRUE(form.reason()->text().contains("outside the color set folder"));
    form.edName()->setText("a\tb");
    EXPECT_TRUE(form.reason()->text().contains("control characters"));
    form.edName()->setText("mine");
    EXPECT_EQ(form.reason()->text(), "A color set of this name exists already.");

    // A name that can be taken, or none at all, needs no words.
    form.edName()->setText("Mine2");
    EXPECT_FALSE(form.reason()->isVisible());
    EXPECT_EQ(form.height(), plainHeight);
    form.edName()->clear();
    EXPECT_FALSE(form.reason()->isVisible());
}

TEST_F(ClsetnamefrmTest, EnterAcceptsOnlyWhileOkIsEnabledAndKeepsCapitals) {
    form.edName()->setFocus();
    QTest::keyClicks(form.edName(), "mine");
    QTest::keyClick(form.edName(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClicks(form.edName(), " Too");
    QTest::keyClick(form.edName(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.name(), "mine Too");
}

TEST_F(ClsetnamefrmTest, EscCancels) {
    QTest::keyClicks(form.edName(), "Fresh");
    QTest::keyClick(form.edName(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), int(tmrCancel));
}

} // namespace
