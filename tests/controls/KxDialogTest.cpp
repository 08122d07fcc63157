#include "controls/KxDialog.h"
#include "controls/KxButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <vector>

namespace {

struct Dialog {
    TKxDialog window;
    explicit Dialog(std::initializer_list<TKxModalResult> results) {
        window.resize(300, 80);
        int x = 10;
        for (TKxModalResult result : results) {
            auto* b = new TKxButton(&window);
            b->setCaption(QString::number(int(result)));
            b->setModalResult(result);
            b->move(x, 10);
            x += 95;
            buttons.push_back(b);
        }
    }
    // Runs the window modally and does `action` once it shows; the window's result, or -1
    // when it was still open afterwards.
    template <typename Action>
    int run(Action action) {
        QTimer::singleShot(0, &window, [this, action] {
            QApplication::setActiveWindow(&window);
            action();
            if (window.isVisible()) {
                stillOpen = true;
                window.done(-1);
            }
        });
        return window.exec();
    }
    std::vector<TKxButton*> buttons;
    bool stillOpen = false;
};

void closeFromTitleBar(QWidget* w) {
    QCloseEvent close;
    QApplication::sendEvent(w, &close);
}

} // namespace

TEST(KxDialogTest, CancelButtonGivesTwoFromClickEscAndClose) {
    {
        Dialog d({tmrOK, tmrCancel});
        EXPECT_EQ(d.run([&] { QTest::mouseClick(d.buttons[1], Qt::LeftButton); }), 2);
    }
    {
        Dialog d({tmrOK, tmrCancel});
        d.buttons[1]->setCancel(true);
        EXPECT_EQ(d.run([&] { QTest::keyClick(&d.window, Qt::Key_Escape); }), 2);
    }
    {
        // A cancel button found by its result alone still answers Esc through the window.
        Dialog d({tmrOK, tmrCancel});
        EXPECT_EQ(d.run([&] { QTest::keyClick(&d.window, Qt::Key_Escape); }), 2);
    }
    {
        Dialog d({tmrYes, tmrNo, tmrCancel});
        EXPECT_EQ(d.run([&] { closeFromTitleBar(&d.window); }), 2);
    }
}

TEST(KxDialogTest, WithoutCancelButtonEscAndCloseDoNothingUnlessOneButtonAnswers) {
    // A disabled cancel button still shows that the window wants an answer of its own.
    for (const auto& results : {std::vector<TKxModalResult>{tmrOK, tmrCancel},
                                std::vector<TKxModalResult>{tmrYes, tmrNo}}) {
        Dialog d({results[0], results[1]});
        if (results[1] == tmrCancel) d.buttons[1]->setEnabled(false);
        d.run([&] {
            QTest::keyClick(&d.window, Qt::Key_Escape);
            closeFromTitleBar(&d.window);
        });
        EXPECT_TRUE(d.stillOpen) << int(results[0]);
    }
    // One answer shown: closing the window gives it, and so does Esc.
    Dialog hidden({tmrOK, tmrCancel});
    hidden.buttons[1]->hide();
    EXPECT_EQ(hidden.run([&] { closeFromTitleBar(&hidden.window); }), 1);
    Dialog ok({tmrRetry});
    EXPECT_EQ(ok.run([&] { closeFromTitleBar(&ok.window); }), int(tmrRetry));
    Dialog esc({tmrOK});
    EXPECT_EQ(esc.run([&] { QTest::keyClick(&esc.window, Qt::Key_Escape); }), 1);
    // The focused button answers Enter with its own number.
    Dialog again({tmrOK});
    EXPECT_EQ(again.run([&] { QTest::keyClick(&again.window, Qt::Key_Return); }), 1);
}

TEST(KxDialogTest, TitleBarHasACloseButtonButNoMinimiseOrMaximise) {
    TKxDialog dialog;
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}
