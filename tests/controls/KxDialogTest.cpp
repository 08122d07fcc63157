#include "controls/KxDialog.h"
#include "controls/KxButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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

TEST(KxDialogTest, WithoutCancelButtonEscAndCloseDoNothing) {
    for (bool disabledCancel : {false, true}) {
        Dialog d({tmrOK, tmrCancel});
        if (disabledCancel)
            d.buttons[1]->setEnabled(false);
        else
            d.buttons[1]->hide();
        d.run([&] {
            QTest::keyClick(&d.window, Qt::Key_Escape);
            closeFromTitleBar(&d.window);
        });
        EXPECT_TRUE(d.stillOpen) << disabledCancel;
    }
    Dialog ok({tmrOK});
    EXPECT_EQ(ok.run([&] {
        QTest::keyClick(&ok.window, Qt::Key_Escape);
        closeFromTitleBar(&ok.window);
    }),
              -1);
    EXPECT_TRUE(ok.stillOpen);
    // The focused button answers Enter with its own number.
    Dialog again({tmrOK});
    EXPECT_EQ(again.run([&] { QTest::keyClick(&again.window, Qt::Key_Return); }), 1);
}
