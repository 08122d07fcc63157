#include "dialogs/Kxmsgbx.h"

#include "controls/KxButton.h"
#include "controls/KxMousSnap.h"
#include "pixels/KxPngRC.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `action` on the box once it is open, from inside its modal loop; a box still open after
// the action is closed with -1 so that no test can hang.
void whenOpen(std::function<void(TKxMsgBox*)> action) {
    QTimer::singleShot(0, [action] {
        auto* box = qobject_cast<TKxMsgBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QApplication::setActiveWindow(box);
        action(box);
        if (box->isVisible()) box->done(-1);
    });
}

void closeFromTitleBar(QWidget* w) {
    QCloseEvent close;
    QApplication::sendEvent(w, &close);
}

// Sets the pixel density the box scales to for the length of a test.
class TPpiScope {
public:
    explicit TPpiScope(int ppi) : previous_(TKxPngRC::screenPixelsPerInch()) {
        TKxPngRC::setScreenPixelsPerInch(ppi);
    }
    ~TPpiScope() { TKxPngRC::setScreenPixelsPerInch(previous_); }

private:
    int previous_;
};

QRect workArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

int design(int pixels, int ppi) {
    return (pixels * ppi + 72) / 144;
}

int textWidth(const QString& text, int ppi) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(design(18, ppi));
    return QFontMetrics(font).horizontalAdvance(text);
}

// Every shown box starts a pointer snap; a test ends only after its snaps have run and gone.
class KxmsgbxTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(QTest::qWaitFor([] { return TKxMouseSnapThread::Alive() == 0; }, 5000));
    }
};

} // namespace

TEST_F(KxmsgbxTest, YesNoCancelShowsItsButtonsWithYesReadyUnderThePointer) {
    TScopedFakePlatform platform;
    whenOpen([&](TKxMsgBox* box) {
        EXPECT_EQ(box->windowTitle(), "Close");
        EXPECT_EQ(box->Message(), "Save the changes?");
        EXPECT_EQ(box->IconKind(), kMsgIconQuestion);
        EXPECT_EQ(box->shownCaptions(), QStringList({"&Yes", "&No", "&Cancel"}));
        TKxButton* yes = box->button(mbYes);
        TKxButton* no = box->button(mbNo);
        TKxButton* cancel = box->button(mbCancel);
        EXPECT_LT(yes->x(), no->x());
        EXPECT_LT(no->x(), cancel->x());
        EXPECT_EQ(box->defaultButton(), yes);
        EXPECT_TRUE(yes->Default());
        EXPECT_EQ(box->focusWidget(), yes);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !platform.cursorMoves().empty(); }, 2000));
        EXPECT_EQ(platform.cursorMoves().back(),
                  yes->mapToGlobal(QPoint(yes->width() / 2, yes->height() / 2)));
        QTest::keyClick(yes, Qt::Key_Return);
    });
    EXPECT_EQ(AskYesNoCancel("Close", "Save the changes?"), kMsgYes);
}

TEST_F(KxmsgbxTest, YesNoCancelAnswersNoAndCancelByButtonEscAndClose) {
    TScopedFakePlatform platform;
    whenOpen([](TKxMsgBox* box) { QTest::mouseClick(box->button(mbNo), Qt::LeftButton); });
    EXPECT_EQ(AskYesNoCancel("c", "t"), kMsgNo);
    whenOpen([](TKxMsgBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_N); });
    EXPECT_EQ(AskYesNoCancel("c", "t"), kMsgNo);
    whenOpen([](TKxMsgBox* box) { QTest::mouseClick(box->button(mbCancel), Qt::LeftButton); });
    EXPECT_EQ(AskYesNoCancel("c", "t"), kMsgCancel);
    // Esc is Cancel, never No, although both are cancel buttons of the box.
    whenOpen([](TKxMsgBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Escape); });
    EXPECT_EQ(AskYesNoCancel("c", "t"), kMsgCancel);
    whenOpen([](TKxMsgBox* box) { closeFromTitleBar(box); });
    EXPECT_EQ(AskYesNoCancel("c", "t"), kMsgCancel);
    // A box closed some other way is not mistaken for an answer.
    whenOpen([](TKxMsgBox* box) { box->done(0); });
    EXPECT_EQ(AskYesNoCancel("c", "t"), kMsgCancel);
}

TEST_F(KxmsgbxTest, OkBoxClosesWithOkFromItsButtonEscAndTheCloseButton) {
    TScopedFakePlatform platform;
    std::vector<int> results;
    const std::vector<std::function<void(TKxMsgBox*)>> ways{
        [](TKxMsgBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Return); },
        [](TKxMsgBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Escape); },
        [](TKxMsgBox* box) { closeFromTitleBar(box); },
    };
    for (const auto& way : ways) {
        whenOpen([&](TKxMsgBox* box) {
            EXPECT_EQ(box->shownCaptions(), QStringList({"&Ok"}));
            EXPECT_EQ(box->IconKind(), kMsgIconError);
            EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
            way(box);
            results.push_back(box->isVisible() ? -1 : box->result());
        });
        ShowErrorBox("Error", "Could not write /tmp/R&D/file.txt");
    }
    EXPECT_EQ(results, (std::vector<int>{kMsgOk, kMsgOk, kMsgOk}));

    // Without any button a box would have no way to close: it gets OK.
    TKxMsgBox bare;
    whenOpen([](TKxMsgBox* box) {
        EXPECT_EQ(box->shownCaptions(), QStringList({"&Ok"}));
        QTest::keyClick(box->focusWidget(), Qt::Key_Space);
        QTest::keyClick(box->focusWidget(), Qt::Key_O);
    });
    EXPECT_EQ(bare.exec(), kMsgOk);
}

TEST_F(KxmsgbxTest, DanishCountryCodeGivesDanishCaptions) {
    TScopedFakePlatform platform;
    platform.country = 45;
    TKxMsgBox box;
    box.AddButton(mbYes);
    box.AddButton(mbNo);
    box.AddButton(mbCancel);
    EXPECT_EQ(box.shownCaptions(), QStringList({"&Ja", "&Nej", "An&uller"}));
    platform.country = 46;
    TKxMsgBox other;
    other.AddButton(mbAbort);
    other.AddButton(mbRetry);
    EXPECT_EQ(other.shownCaptions(), QStringList({"&Retry", "A&bort"}));
}

TEST_F(KxmsgbxTest, BoxGrowsToItsTextFromTheDesignSize) {
    TScopedFakePlatform platform;
    for (int ppi : {96, 144}) {
        TPpiScope density(ppi);
        const QSize designSize(design(391, ppi), design(184, ppi));
        const int available = designSize.width() - design(15, ppi) - design(70, ppi);
        const int room = 24 * ppi / 144;

        TKxMsgBox small;
        small.SetMessage("Short.");
        small.show();
        EXPECT_EQ(small.size(), designSize) << ppi;

        // Just wide enough to fit, then one character more.
        QString line;
        while (textWidth(line + u'x', ppi) <= available - room)
            line += u'x';
        TKxMsgBox fits;
        fits.SetMessage(line);
        fits.show();
        EXPECT_EQ(fits.width(), designSize.width()) << ppi;
        line += QStringLiteral("xxxx");
        TKxMsgBox wide;
        wide.SetMessage(line);
        wide.show();
        EXPECT_EQ(wide.width(), designSize.width() + textWidth(line, ppi) + room - available)
            << ppi;
        EXPECT_EQ(wide.height(), designSize.height()) << ppi;
        EXPECT_FALSE(wide.wrapped());

        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(design(18, ppi));
        const int lineHeight = QFontMetrics(font).height();
        const int roomHeight =
            designSize.height() - design(53, ppi) - 60 * ppi / 144; // lines that fit
        TKxMsgBox tall;
        tall.SetMessage(QStringLiteral("line\r\n").repeated(12) + "end");
        tall.show();
        EXPECT_EQ(tall.width(), designSize.width()) << ppi;
        EXPECT_EQ(tall.height(), designSize.height() + 13 * lineHeight - roomHeight) << ppi;
        // The buttons stay at the bottom.
        TKxButton* ok = tall.button(mbOk);
        EXPECT_EQ(tall.height() - ok->mapTo(&tall, QPoint(0, ok->height())).y(), design(10, ppi));
        EXPECT_GE(tall.messageRect().height(), 13 * lineHeight);

        // Setting a longer text while shown refits; a shorter one never shrinks the box.
        tall.SetMessage(QStringLiteral("line\n").repeated(20) + "end");
        EXPECT_EQ(tall.height(), designSize.height() + 21 * lineHeight - roomHeight) << ppi;
        tall.SetMessage("short");
        EXPECT_EQ(tall.height(), designSize.height() + 21 * lineHeight - roomHeight) << ppi;
    }
}

TEST_F(KxmsgbxTest, FiveOrMoreButtonsWidenTheBox) {
    TScopedFakePlatform platform;
    TPpiScope density(144);
    TKxMsgBox box;
    for (TKxMsgButton b : {mbYes, mbAll, mbNo, mbNone, mbCancel, mbAbort})
        box.AddButton(b);
    box.show();
    EXPECT_EQ(box.width(), 391 + 2 * 96);
    EXPECT_EQ(box.defaultButton(), box.button(mbYes));
    // Every button fits on the box, right-aligned, none overlapping the next.
    int previousRight = 0;
    for (TKxMsgButton b : {mbYes, mbAll, mbNo, mbNone, mbAbort, mbCancel}) {
        const QRect r(box.button(b)->mapTo(&box, QPoint(0, 0)), box.button(b)->size());
        EXPECT_GT(r.left(), previousRight);
        previousRight = r.right();
    }
    EXPECT_EQ(previousRight + 1 + 10, box.width());
    // Only Cancel answers Esc.
    EXPECT_TRUE(box.button(mbCancel)->Cancel());
    EXPECT_FALSE(box.button(mbNo)->Cancel());
}

TEST_F(KxmsgbxTest, BoxIsCentredOverItsWindowAndKeptInTheWorkArea) {
    const QRect work = workArea();
    const QSize frame(300, 150);
    EXPECT_EQ(TKxMsgBox::placeOver(QRect(work.x() + 100, work.y() + 100, 401, 301), frame),
              QPoint(work.x() + 100 + 50, work.y() + 100 + 75));
    // Near the right edge: the right edges meet.
    EXPECT_EQ(TKxMsgBox::placeOver(QRect(work.right() - 200, work.y() + 100, 300, 300), frame).x(),
              work.x() + work.width() - frame.width());
    // Near the bottom-left corner.
    const QPoint corner =
        TKxMsgBox::placeOver(QRect(work.x() - 250, work.bottom() - 50, 300, 200), frame);
    EXPECT_EQ(corner, QPoint(work.x(), work.y() + work.height() - frame.height()));
    // Without a window, on the screen's middle.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(
        TKxMsgBox::placeOver(QRect(), frame),
        QPoint(screen.x() + (screen.width() - 300) / 2, screen.y() + (screen.height() - 150) / 2));
    // A window parked far off every screen (where minimised windows go) has no screen at the
    // box's corner: the nearest screen takes it.
    const QPoint far = TKxMsgBox::placeOver(QRect(-32000, -32000, 160, 28), frame);
    EXPECT_TRUE(work.contains(QRect(far, frame))) << far.x() << "," << far.y();
}

TEST_F(KxmsgbxTest, BoxAskedByAWindowOffEveryScreenOpensOnAScreen) {
    TScopedFakePlatform platform;
    QWidget parked;
    parked.setGeometry(-32000, -32000, 160, 28);
    parked.show();
    whenOpen([](TKxMsgBox* box) {
        EXPECT_TRUE(workArea().contains(box->frameGeometry()));
        QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(AskYesNoCancel("c", "t", &parked), kMsgCancel);
}

TEST_F(KxmsgbxTest, HugeTextKeepsTheBoxAndItsButtonsOnTheWorkArea) {
    TScopedFakePlatform platform;
    const QString path = QStringLiteral("/home/user/") +
                         QStringLiteral("very-long-folder-name/").repeated(18) +
                         QStringLiteral("file.Hspl");
    TKxMsgBox wide;
    wide.SetMessage("Could not save the colour set\r\n" + path + "\r\nSystem Say:\r\nNo space");
    wide.AddButton(mbOk);
    wide.show();
    EXPECT_TRUE(wide.wrapped());
    EXPECT_TRUE(workArea().contains(wide.frameGeometry()));
    const QRect ok(wide.button(mbOk)->mapToGlobal(QPoint(0, 0)), wide.button(mbOk)->size());
    EXPECT_TRUE(workArea().contains(ok));

    TKxMsgBox tall;
    tall.SetMessage(QStringLiteral("line\n").repeated(200));
    tall.AddButton(mbOk);
    tall.show();
    EXPECT_TRUE(workArea().contains(tall.frameGeometry()));
    const QRect ok2(tall.button(mbOk)->mapToGlobal(QPoint(0, 0)), tall.button(mbOk)->size());
    EXPECT_TRUE(workArea().contains(ok2));
}

TEST_F(KxmsgbxTest, AnswererSeesWhatTheBoxWouldShow) {
    std::vector<TMsgBoxSeen> seen;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& box) {
        seen.push_back(box);
        return 0;
    });
    ShowMessageBox("Note", "Saved to C:\\R&D", kMsgIconExclamation);
    // An answer that is neither Yes nor No counts as Cancel.
    EXPECT_EQ(AskYesNoCancel("Close", "Save?"), kMsgCancel);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Note");
    EXPECT_EQ(seen[0].text, "Saved to C:\\R&D");
    EXPECT_EQ(seen[0].iconKind, kMsgIconExclamation);
    EXPECT_EQ(seen[0].buttons, QStringList({"&Ok"}));
    EXPECT_EQ(seen[1].iconKind, kMsgIconQuestion);
    EXPECT_EQ(seen[1].buttons, QStringList({"&Yes", "&No", "&Cancel"}));
}
