#include "app/Application.h"

#include "dialogs/Kxmsgbx.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

// A window whose paint fails the way a bitmap operation or memory can.
class TFailingWidget : public QWidget {
public:
    int events = 0;
    bool fail = true;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++events;
            if (fail) throw std::runtime_error("Scanline index out of range");
            return true;
        }
        return QWidget::event(e);
    }
};

class ApplicationTest : public ::testing::Test {
protected:
    std::vector<TMsgBoxSeen> boxes;
    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& seen) {
        boxes.push_back(seen);
        return kMsgOk;
    }};

    // Delivers one event as the application object would.
    bool deliver(QObject* receiver, QEvent& event) {
        return TApplication::deliverGuarded(
            [&] { return QCoreApplication::instance()->notify(receiver, &event); });
    }
};

TEST_F(ApplicationTest, AnExceptionFromAnEventHandlerIsShownAndTheProgramCarriesOn) {
    TFailingWidget widget;
    QEvent event(QEvent::User);
    EXPECT_FALSE(deliver(&widget, event));
    // The box comes once the failed event has ended.
    EXPECT_TRUE(boxes.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("Huesplinter"));
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("Scanline index out of range")));
    EXPECT_EQ(boxes[0].iconKind, kMsgIconError);

    // The next event reaches the same handler as usual.
    widget.fail = false;
    EXPECT_TRUE(deliver(&widget, event));
    EXPECT_EQ(widget.events, 2);
}

TEST_F(ApplicationTest, AHandlerThatKeepsFailingGetsOneBoxAtATime) {
    TFailingWidget widget;
    QEvent event(QEvent::User);
    for (int i = 0; i < 5; ++i)
        deliver(&widget, event);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 1u);
    // Once that box is closed, a new failure is reported again.
    deliver(&widget, event);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(ApplicationTest, MemoryAndUnknownExceptionsHaveTextsOfTheirOwn) {
    EXPECT_FALSE(TApplication::deliverGuarded([]() -> bool { throw std::bad_alloc(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(TApplication::deliverGuarded([]() -> bool { throw 42; }));
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("Out of memory")));
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("unknown error")));
    EXPECT_TRUE(TApplication::deliverGuarded([] { return true; }));
}

} // namespace
