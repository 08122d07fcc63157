#include "picker/Pickfrm.h"

#include "colour/ColorContrast.h"
#include "dialogs/Kxmsgbx.h"
#include "platform/FakePlatform.h"
#include "platform/UserStore.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

const THslMaxima kMaxima{360, 100, 100};

QImage noisePicture(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    std::mt19937 random(5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu) | 0x010101u);
    return image;
}

class PickfrmTest : public ::testing::Test {
protected:
    TScopedFakePlatform platform;
    QImage picture = noisePicture(800, 600);

    void SetUp() override {
        platform.desktop.image = picture;
        platform.desktop.origin = QPoint(0, 0);
        platform.placeCursor(QPoint(400, 300));
    }

    ColorValue at(int x, int y) const { return SwapRedBlue(picture.pixel(x, y) & 0xFFFFFFu); }

    std::unique_ptr<TFrmPick> open(TPickerValues values = {}) {
        auto picker = std::make_unique<TFrmPick>(values, kMaxima);
        EXPECT_TRUE(picker->TakeSnapshot());
        picker->show();
        QApplication::processEvents();
        return picker;
    }

    static void move(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods) {
        QMouseEvent event(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                          Qt::NoButton, Qt::NoButton, mods);
        QApplication::sendEvent(w, &event);
    }

    static void wheel(QWidget* w, int delta, Qt::KeyboardModifiers mods = {}) {
        QWheelEvent event(QPointF(5, 5), QPointF(w->mapToGlobal(QPoint(5, 5))), QPoint(),
                          QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    }
};

} // namespace

TEST_F(PickfrmTest, OpensCentredOnThePointerAndPicksTheCentre) {
    auto picker = open();
    EXPECT_EQ(picker->size(), QSize(153, 153));
    EXPECT_EQ(picker->pos(), QPoint(400 - 76, 300 - 76));
    EXPECT_EQ(picker->View().centerColor(), at(400, 300));
    // The window shows the pixel under the pointer at its centre.
    const QImage shot = picker->grab().toImage();
    EXPECT_EQ(SwapRedBlue(shot.pixel(76, 76) & 0xFFFFFF), at(400, 300));

    QTest::mouseClick(picker.get(), Qt::LeftButton, {}, QPoint(76, 76));
    EXPECT_EQ(picker->result(), TFrmPick::kResultOk);
    EXPECT_EQ(picker->PickedColor(), at(400, 300));
}

TEST_F(PickfrmTest, FollowsThePointerOnTheTimer) {
    // A pointer resting where the last position starts out still places the window.
    platform.placeCursor(QPoint(0, 0));
    auto picker = open();
    EXPECT_EQ(picker->pos(), QPoint(-76, -76));
    platform.placeCursor(QPoint(500, 320));
    QTest::qWait(80);
    EXPECT_EQ(picker->pos(), QPoint(424, 244));
    EXPECT_EQ(picker->View().centerColor(), at(500, 320));
    // The arrow keys move the pointer by one pixel.
    QTest::keyClick(picker.get(), Qt::Key_Right);
    QTest::keyClick(picker.get(), Qt::Key_Up);
    EXPECT_EQ(platform.cursorPos(), QPoint(501, 319));
}

// Counts the paints a widget receives.
class TPaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Waits for at most five seconds until done() holds; false when it never did.
template <typename F>
bool waitFor(F done) {
    for (int i = 0; i < 250 && !done(); ++i)
        QTest::qWait(20);
    return done();
}

TEST_F(PickfrmTest, AStillPointerCostsNoPaintAndTheTimerRests) {
    TPickerValues values;
    values.hintHidden = false;
    auto picker = open(values);
    TPaintCounter counter;
    picker->installEventFilter(&counter);
    ASSERT_NE(picker->Hint(), nullptr);
    picker->Hint()->installEventFilter(&counter);
    QTest::qWait(60);
    counter.paints = 0;

    // Ticks with the pointer where it was redraw nothing, and after a while come less often.
    ASSERT_TRUE(waitFor([&] { return picker->Timer1->interval() > 20; }));
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(picker->pos(), QPoint(400 - 76, 300 - 76));

    // A move over the window brings the quick ticks back and follows at once.
    platform.placeCursor(QPoint(410, 305));
    move(picker.get(), QPoint(86, 81), Qt::NoModifier);
    EXPECT_EQ(picker->Timer1->interval(), 20);
    EXPECT_EQ(picker->pos(), QPoint(410 - 76, 305 - 76));
    ASSERT_TRUE(waitFor([&] { return counter.paints > 0; }));
    EXPECT_EQ(picker->View().centerColor(), at(410, 305));

    // A pointer moved while resting is still followed on a later tick.
    ASSERT_TRUE(waitFor([&] { return picker->Timer1->interval() > 20; }));
    platform.placeCursor(QPoint(200, 100));
    ASSERT_TRUE(waitFor([&] { return picker->pos() == QPoint(200 - 76, 100 - 76); }));
    EXPECT_EQ(picker->Timer1->interval(), 20);
}

TEST_F(PickfrmTest, EnterCtrlEnterAndEsc) {
    {
        auto picker = open();
        QTest::keyClick(picker.get(), Qt::Key_Return);
        EXPECT_EQ(picker->result(), TFrmPick::kResultOk);
        EXPECT_EQ(picker->PickedColor(), at(400, 300));
        EXPECT_FALSE(picker->isVisible());
    }
    {
        TPickerValues values;
        values.gridLines = true;
        auto picker = open(values);
        TPickView expected;
        expected.setPicture(picture, QPoint(0, 0));
        expected.setPointer(QPoint(400, 300));
        expected.setGridLines(true);
        QTest::keyClick(picker.get(), Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(picker->result(), TFrmPick::kResultOk);
        EXPECT_EQ(picker->PickedColor(), expected.averageColor());
    }
    {
        auto picker = open();
        QTest::keyClick(picker.get(), Qt::Key_Escape);
        EXPECT_EQ(picker->result(), TFrmPick::kResultCancel);
        EXPECT_FALSE(picker->PickedColor().has_value());
    }
    {
        // Ctrl held while clicking takes the average too.
        auto picker = open();
        platform.keys.ctrl = true;
        QTest::mouseClick(picker.get(), Qt::LeftButton, {}, QPoint(3, 3));
        platform.keys.ctrl = false;
        TPickView expected;
        expected.setPicture(picture, QPoint(0, 0));
        expected.setPointer(QPoint(400, 300));
        EXPECT_EQ(picker->PickedColor(), expected.averageColor());
    }
}

TEST_F(PickfrmTest, KeysWheelAndMenuChangeTheViewAndTheValuesKept) {
    auto picker = open();
    QTest::keyClick(picker.get(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(picker->View().zoom(), 4);
    QTest::keyClick(picker.get(), Qt::Key_Slash, Qt::KeypadModifier);
    QTest::keyClick(picker.get(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(picker->View().zoom(), 2);
    QTest::keyClick(picker.get(), Qt::Key_Plus);
    EXPECT_EQ(picker->View().zoom(), 3);

    // Small wheel deltas add up to one step.
    wheel(picker.get(), 40);
    wheel(picker.get(), 40);
    EXPECT_EQ(picker->View().zoom(), 3);
    wheel(picker.get(), 40);
    EXPECT_EQ(picker->View().zoom(), 4);
    wheel(picker.get(), -120);
    EXPECT_EQ(picker->View().zoom(), 3);

    // Ctrl sizes the window by a tenth, centred on the pointer.
    QTest::keyClick(picker.get(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(picker->size(), QSize(169, 169));
    EXPECT_EQ(picker->pos(), QPoint(400 - 84, 300 - 84));
    EXPECT_EQ(picker->View().centerColor(), at(400, 300));
    wheel(picker.get(), -120, Qt::ControlModifier);
    EXPECT_EQ(picker->size(), QSize(153, 153));
    wheel(picker.get(), 120, Qt::ControlModifier);

    QTest::keyClick(picker.get(), Qt::Key_P);
    QTest::keyClick(picker.get(), Qt::Key_G);
    EXPECT_FALSE(picker->MnuShowPicklines->isChecked());
    EXPECT_TRUE(picker->MnuShowGridLines->isChecked());
    picker->MnuClose->trigger();
    EXPECT_EQ(picker->result(), TFrmPick::kResultCancel);
    TPickerValues kept;
    kept.windowSize = 169;
    kept.gridLines = true;
    kept.pickLines = false;
    EXPECT_EQ(picker->Values(), kept);

    // The next picker starts from them.
    auto next = open(kept);
    EXPECT_EQ(next->size(), QSize(169, 169));
    EXPECT_TRUE(next->View().gridLines());
    EXPECT_FALSE(next->MnuShowPicklines->isChecked());
    next->SelectAverageColor1->trigger();
    EXPECT_EQ(next->result(), TFrmPick::kResultOk);
    EXPECT_EQ(next->Values(), kept);
}

TEST_F(PickfrmTest, MenuCaptions) {
    auto picker = open();
    EXPECT_EQ(picker->Incresesize1->text(), "Increse Size (Ctrl + Scroll up)");
    EXPECT_EQ(picker->DecreseSizeCtrlScrolldown1->text(), "Decrese Size (Ctrl + Scroll down)");
    EXPECT_EQ(picker->SelectAverageColor1->text(), "Select Average Color (Ctrl + Click)");
    EXPECT_FALSE(picker->FreetheCursor1->isEnabled());
    // The menu keeps the window still while it is open.
    picker->PopupMenu->popup(QPoint(10, 10));
    platform.placeCursor(QPoint(200, 200));
    QTest::qWait(60);
    EXPECT_EQ(picker->pos(), QPoint(324, 224));
    picker->PopupMenu->hide();
    QTest::qWait(60);
    EXPECT_EQ(picker->pos(), QPoint(124, 124));
}

TEST_F(PickfrmTest, FreeCrossPicksThePicturePixelNotTheGridLine) {
    TPickerValues values;
    values.gridLines = true;
    platform.keys.shift = true;
    {
        // Shift and a pick before the mouse moved: the centre.
        auto picker = open(values);
        QTest::keyPress(picker.get(), Qt::Key_Shift, Qt::ShiftModifier);
        EXPECT_TRUE(picker->IsFree());
        QTest::keyClick(picker.get(), Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(picker->PickedColor(), at(400, 300));
    }
    auto picker = open(values);
    QTest::keyPress(picker.get(), Qt::Key_Shift, Qt::ShiftModifier);
    move(picker.get(), QPoint(10, 40), Qt::ShiftModifier);
    EXPECT_EQ(picker->FreeCross(), QPoint(10, 40));
    // Column 10 is a grid line; the cross's neighbours stay free, its arms are black.
    const QImage shot = picker->grab().toImage();
    EXPECT_EQ(shot.pixel(10, 40) & 0xFFFFFF, 0u);
    EXPECT_EQ(shot.pixel(14, 40) & 0xFFFFFF, 0u);
    EXPECT_NE(shot.pixel(11, 41) & 0xFFFFFF, 0u);
    // The block under (10, 40): (10 + 3) / 3 = 4 and (40 + 3) / 3 = 14 pixels from 400 − 26.
    QTest::keyClick(picker.get(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(picker->PickedColor(), at(378, 288));

    // Releasing Shift frees the window again.
    auto again = open(values);
    QTest::keyPress(again.get(), Qt::Key_Shift, Qt::ShiftModifier);
    move(again.get(), QPoint(20, 20), Qt::ShiftModifier);
    platform.keys.shift = false;
    QTest::keyRelease(again.get(), Qt::Key_Shift);
    EXPECT_FALSE(again->IsFree());
    QTest::keyClick(again.get(), Qt::Key_Return);
    EXPECT_EQ(again->PickedColor(), at(400, 300));
}

TEST_F(PickfrmTest, HintRidesBesideTheMagnifier) {
    TPickerValues values;
    values.hintHidden = false;
    auto picker = open(values);
    QPointer<TFrmColorHint> hint = picker->Hint();
    ASSERT_TRUE(hint);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->color(), at(400, 300));
    EXPECT_EQ(hint->text().left(2), "R:");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(hint->pos(), TFrmColorHint::placement(picker->geometry(), hint->size(), area));
    QTest::keyClick(picker.get(), Qt::Key_H);
    EXPECT_EQ(hint->text().left(2), "H:");
    // Following moves it along.
    platform.placeCursor(QPoint(700, 100));
    QTest::qWait(60);
    EXPECT_EQ(hint->pos(), TFrmColorHint::placement(picker->geometry(), hint->size(), area));
    EXPECT_EQ(hint->color(), at(700, 100));
    QTest::keyClick(picker.get(), Qt::Key_C);
    EXPECT_FALSE(picker->Hint());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(hint);
    QTest::keyClick(picker.get(), Qt::Key_Escape);
    EXPECT_TRUE(picker->Values().hintHidden);
    EXPECT_TRUE(picker->Values().hintHsl);
}

TEST_F(PickfrmTest, DeactivationCancelsOnlyAfterThePickerWasActive) {
    auto picker = std::make_unique<TFrmPick>(TPickerValues{}, kMaxima);
    ASSERT_TRUE(picker->TakeSnapshot());
    // The owner minimised itself: the application went inactive before the picker showed.
    picker->applicationStateChanged(Qt::ApplicationInactive);
    picker->show();
    QTest::qWait(60);
    EXPECT_TRUE(picker->isVisible());
    picker->applicationStateChanged(Qt::ApplicationActive);
    // Focus handed from one of our windows to another passes through inactive: no cancel.
    picker->applicationStateChanged(Qt::ApplicationInactive);
    picker->applicationStateChanged(Qt::ApplicationActive);
    QTest::qWait(400);
    EXPECT_TRUE(picker->isVisible());
    // Left for good.
    picker->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !picker->isVisible(); }, 3000));
    EXPECT_EQ(picker->result(), TFrmPick::kResultCancel);
}

TEST_F(PickfrmTest, UnreadableDesktopIsReportedNotPicked) {
    platform.desktop.failure = QStringLiteral("Screen grabs are refused.");
    TMsgBoxSeen seen;
    TMsgBoxAnswererScope answerer([&seen](const TMsgBoxSeen& box) {
        seen = box;
        return kMsgOk;
    });
    TFrmPick picker(TPickerValues{}, kMaxima);
    EXPECT_EQ(picker.exec(), TFrmPick::kResultCancel);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_FALSE(picker.PickedColor().has_value());
    EXPECT_EQ(seen.caption, "Pick on Screen");
    EXPECT_TRUE(seen.text.startsWith("The desktop cannot be read on this display system"));
    EXPECT_TRUE(seen.text.endsWith("Screen grabs are refused."));
}

TEST(PickfrmSizeTest, StoredSizesAndSteps) {
    // Nothing usable stored: 153 at 96 pixels per inch, made odd elsewhere.
    EXPECT_EQ(TFrmPick::SideFor(0, 96, 1080), 153);
    EXPECT_EQ(TFrmPick::SideFor(30, 96, 1080), 153);
    EXPECT_EQ(TFrmPick::SideFor(-5, 120, 1080), 191);
    EXPECT_EQ(TFrmPick::SideFor(0, 144, 1080), 229);
    EXPECT_EQ(TFrmPick::SideFor(0, 128, 1080), 205); // 204 made odd
    EXPECT_EQ(TFrmPick::SideFor(31, 96, 1080), 31);
    EXPECT_EQ(TFrmPick::SideFor(32, 96, 1080), 33);
    EXPECT_EQ(TFrmPick::SideFor(169, 96, 1080), 169);
    // Never larger than the screen.
    EXPECT_EQ(TFrmPick::SideFor(2000000000, 96, 1080), 1079);
    EXPECT_EQ(TFrmPick::SideFor(2147483646, 96, 1051), 1051);
    EXPECT_EQ(TFrmPick::SideFor(0, 96, 100), 99);

    EXPECT_EQ(TFrmPick::GrownSide(153, 1080), 169);
    EXPECT_EQ(TFrmPick::GrownSide(971, 1080), 1069);
    EXPECT_EQ(TFrmPick::GrownSide(1069, 1080), 1069); // refused
    std::vector<int> shrinks;
    int side = 153;
    for (int next = TFrmPick::ShrunkSide(side); next != side; next = TFrmPick::ShrunkSide(side))
        shrinks.push_back(side = next);
    EXPECT_EQ(shrinks,
              (std::vector<int>{139, 127, 115, 105, 95, 87, 79, 73, 67, 61, 55, 51, 47, 43, 39}));
}

TEST(PickerValuesTest, StoredValuesRoundTripAndPartialReads) {
    QTemporaryDir dir;
    TUserStore store(dir.path());
    TPickerValues values;
    EXPECT_FALSE(ReadPickerValues(store, values));
    EXPECT_EQ(values, TPickerValues{});

    TPickerValues kept;
    kept.windowSize = 169;
    kept.gridLines = true;
    kept.pickLines = false;
    ASSERT_TRUE(WritePickerValues(store, kept));
    TPickerValues read;
    EXPECT_TRUE(ReadPickerValues(store, read));
    EXPECT_EQ(read, kept);

    // A damaged flag fails the read: the default size, the grid flag read before it stays.
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Vextora\\Huesplinter"), false));
    ASSERT_TRUE(store.writeString(QStringLiteral("PickerPickLines"), QStringLiteral("x")).ok);
    store.closeKey();
    TPickerValues partial;
    EXPECT_FALSE(ReadPickerValues(store, partial));
    EXPECT_EQ(partial.windowSize, 0);
    EXPECT_TRUE(partial.gridLines);
    EXPECT_TRUE(partial.pickLines);
}

TEST_F(PickfrmTest, HintShowsTheContrastOnTheSampleColourOnR) {
    TPickerValues values;
    values.hintHidden = false;
    auto picker = open(values);
    picker->setContrastReference(kWhite);
    QPointer<TFrmColorHint> hint = picker->Hint();
    ASSERT_TRUE(hint);
    const int height = hint->height();
    EXPECT_EQ(hint->text().count("\r\n"), 2);
    QTest::keyClick(picker.get(), Qt::Key_R);
    const QString ratio = ColorContrast::FormatRatio(ColorContrast::Ratio(at(400, 300), kWhite));
    EXPECT_TRUE(hint->text().endsWith("\r\n" + ratio)) << hint->text().toStdString();
    EXPECT_GT(hint->height(), height);
    platform.placeCursor(QPoint(700, 100));
    QTest::qWait(60);
    EXPECT_TRUE(hint->text().endsWith(
        ColorContrast::FormatRatio(ColorContrast::Ratio(at(700, 100), kWhite))));
    QTest::keyClick(picker.get(), Qt::Key_R);
    EXPECT_EQ(hint->text().count("\r\n"), 2);
    EXPECT_EQ(hint->height(), height);
}
