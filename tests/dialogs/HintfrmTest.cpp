#include "dialogs/Hintfrm.h"

#include "controls/KxButton.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

namespace {

TEST(HintfrmTest, ShowsTheSlotAndReturnsTheNameOnOneLine) {
    THintForm form;
    form.setColor(0xFF000080u, "7");
    form.setHint("old");
    EXPECT_EQ(form.lbColor()->text(), "7");
    EXPECT_EQ(form.lbColor()->palette().color(QPalette::Window), QColor(128, 0, 0));
    EXPECT_EQ(form.lbColor()->palette().color(QPalette::WindowText), QColor(Qt::white));
    form.edHint()->setText("first\r\nsecond\tthird");
    EXPECT_EQ(form.hint(), "first  second third");
}

TEST(HintfrmTest, EnterConfirmsAndEscCancels) {
    THintForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(form.edHint(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    form.show();
    QTest::keyClick(form.edHint(), Qt::Key_Escape);
    EXPECT_EQ(form.result(), int(tmrCancel));
}

TEST(HintfrmTest, SitsAboveTheSlotOrBelowItAtTheScreensTop) {
    THintForm form;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect low(area.left() + 40, area.top() + 300, 20, 20);
    form.placeOn(low);
    EXPECT_EQ(form.pos(), QPoint(low.left(), low.top() - form.height()));
    const QRect high(area.left() + 40, area.top() + 2, 20, 20);
    form.placeOn(high);
    EXPECT_EQ(form.pos(), QPoint(high.left(), high.bottom() + 1));
    // Near the right edge it stays on the screen.
    const QRect right(area.right() - 10, area.top() + 300, 20, 20);
    form.placeOn(right);
    EXPECT_EQ(form.x() + form.width() - 1, area.right());
}

} // namespace
