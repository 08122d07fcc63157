#include "controls/KxSlider.h"

#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

const QColor kWindowColour(236, 233, 216);

// A shown window with one slider, and a log of what the slider reported.
struct SliderWindow {
    QWidget window;
    TKxSlider* slider = new TKxSlider(&window);
    std::vector<std::pair<double, int>> changes;

    explicit SliderWindow(QRect geometry = QRect(10, 10, 100, 18)) {
        window.resize(200, 260);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, kWindowColour);
        window.setPalette(pal);
        slider->setGeometry(geometry);
        QObject::connect(slider, &TKxSlider::changePos,
                         [this](double d, int i) { changes.emplace_back(d, i); });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }

    // The main window's slider: vertical, 20 × 212, Max 240.
    static QRect mainSlider() { return QRect(10, 10, 20, 212); }

    QImage shot() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void wheel(int delta) {
        const QPointF at(5, 5);
        QWheelEvent e(at, slider->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(slider, &e);
        lastWheelAccepted = e.isAccepted();
    }
    bool lastWheelAccepted = false;
};

} // namespace

TEST(KxSlider, StartsAsALyingRoundGrooveWithABall) {
    TKxSlider s;
    EXPECT_EQ(s.size(), QSize(100, 18));
    EXPECT_TRUE(s.isHorizontal());
    EXPECT_EQ(s.StyleBkg(), tbsRoundGrove);
    EXPECT_EQ(s.StyleSlider(), tssBall);
    EXPECT_EQ(s.Max(), 100);
    EXPECT_EQ(s.StepSizeWheel(), 0.5);
    EXPECT_EQ(s.LengthSlider(), 16);
}

TEST(KxSlider, ClickOnTheMainWindowSliderCentresTheThumb) {
    SliderWindow w(SliderWindow::mainSlider());
    w.slider->setMax(240);
    EXPECT_EQ(w.slider->LengthSlider(), 20);
    EXPECT_EQ(w.slider->getLaneLengthInPix(), 192);

    QTest::mousePress(w.slider, Qt::LeftButton, {}, QPoint(10, 106));
    EXPECT_TRUE(TKxSlider::Dragging());
    EXPECT_EQ(w.slider->Position(), 120.0);
    ASSERT_EQ(w.changes.size(), 1u);
    EXPECT_EQ(w.changes[0], std::make_pair(120.0, 120));
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(0, 96));
    QTest::mouseRelease(w.slider, Qt::LeftButton, {}, QPoint(10, 106));
    EXPECT_FALSE(TKxSlider::Dragging());
}

TEST(KxSlider, DragMovesWhileHotAndClampsAtBothEnds) {
    SliderWindow w(SliderWindow::mainSlider());
    w.slider->setMax(240);
    QTest::mousePress(w.slider, Qt::LeftButton, {}, QPoint(10, 50));
    EXPECT_EQ(w.slider->Position(), 50.0); // (50 − 10) × 240 / 192
    QTest::mouseMove(w.slider, QPoint(10, 60));
    QTest::mouseMove(w.slider, QPoint(10, 61));
    EXPECT_TRUE(w.slider->IsHot());
    EXPECT_EQ(w.slider->Position(), double(float(51 * 240.0 / 192)));
    EXPECT_TRUE(TKxSlider::Dragging());

    // Past either end the position stops at Max and Min.
    QTest::mouseMove(w.slider, QPoint(10, 400));
    EXPECT_EQ(w.slider->Position(), 240.0);
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(0, 192));
    QTest::mouseMove(w.slider, QPoint(10, -30));
    EXPECT_EQ(w.slider->Position(), 0.0);
    QTest::mouseRelease(w.slider, Qt::LeftButton, {}, QPoint(10, -30));
    EXPECT_FALSE(TKxSlider::Dragging());

    // Without a drag, moving only tracks the hot state.
    const double before = w.slider->Position();
    QTest::mouseMove(w.slider, QPoint(10, 150));
    EXPECT_EQ(w.slider->Position(), before);
}

TEST(KxSlider, ClicksGiveFractionalPositions) {
    SliderWindow w;
    EXPECT_EQ(w.slider->getLaneLengthInPix(), 82);
    QTest::mouseClick(w.slider, Qt::LeftButton, {}, QPoint(30, 9));
    const double expected = double(float(21 * 100.0 / 82));
    EXPECT_EQ(w.slider->Position(), expected);
    EXPECT_NE(w.slider->Position(), double(int(w.slider->Position())));
    ASSERT_EQ(w.changes.size(), 1u);
    EXPECT_EQ(w.changes[0], std::make_pair(expected, 26));
    EXPECT_EQ(w.slider->getPosAsInt(), 26);
}

TEST(KxSlider, DragEndsWhenTheSliderIsHidden) {
    SliderWindow w;
    QTest::mousePress(w.slider, Qt::LeftButton, {}, QPoint(30, 9));
    EXPECT_TRUE(TKxSlider::Dragging());
    w.slider->hide();
    EXPECT_FALSE(TKxSlider::Dragging());
    QTest::mouseRelease(&w.window, Qt::LeftButton, {}, QPoint(40, 19));
}

TEST(KxSlider, WheelStepsAndStopsAtTheEnds) {
    SliderWindow w(SliderWindow::mainSlider());
    w.slider->setPosition(10);
    w.changes.clear();
    w.wheel(-120); // down: a vertical slider moves towards Max
    EXPECT_EQ(w.slider->Position(), 10.5);
    w.wheel(240);
    EXPECT_EQ(w.slider->Position(), 9.5);
    w.wheel(60); // half a notch moves nothing until the other half arrives
    EXPECT_EQ(w.slider->Position(), 9.5);
    w.wheel(60);
    EXPECT_EQ(w.slider->Position(), 9.0);
    EXPECT_EQ(w.changes.size(), 4u);

    w.slider->setStepSizeWheel(0.25);
    w.slider->setPosition(0.1);
    w.changes.clear();
    w.wheel(120);
    EXPECT_EQ(w.slider->Position(), 0.0);
    w.wheel(120);
    EXPECT_EQ(w.changes.size(), 1u);

    // A horizontal slider turns the other way.
    SliderWindow h;
    h.slider->setPosition(50);
    h.wheel(-120);
    EXPECT_EQ(h.slider->Position(), 49.5);
}

TEST(KxSlider, NoScrollLeavesTheWheelToTheParent) {
    SliderWindow w;
    w.slider->setNoScroll(true);
    w.slider->setPosition(40);
    w.wheel(-120);
    EXPECT_EQ(w.slider->Position(), 40.0);
    EXPECT_FALSE(w.lastWheelAccepted);
}

TEST(KxSlider, ArrowKeysFollowTheLane) {
    SliderWindow v(SliderWindow::mainSlider());
    v.slider->setPosition(5);
    QTest::keyClick(v.slider, Qt::Key_Up);
    EXPECT_EQ(v.slider->Position(), 4.0);
    QTest::keyClick(v.slider, Qt::Key_Down);
    QTest::keyClick(v.slider, Qt::Key_Down);
    EXPECT_EQ(v.slider->Position(), 6.0);
    QTest::keyClick(v.slider, Qt::Key_Left); // not this slider's direction
    EXPECT_EQ(v.slider->Position(), 6.0);

    SliderWindow h;
    h.slider->setStepSizeKey(0.25);
    h.slider->setPosition(99.9);
    QTest::keyClick(h.slider, Qt::Key_Right);
    EXPECT_EQ(h.slider->Position(), 100.0);
    QTest::keyClick(h.slider, Qt::Key_Left);
    EXPECT_EQ(h.slider->Position(), 99.75);
}

TEST(KxSlider, ChangingHandlerCanRefuse) {
    SliderWindow w;
    w.slider->setPosition(30);
    w.changes.clear();
    const QPoint placeBefore = w.slider->sliderPlace();
    std::vector<double> asked;
    w.slider->OnChangingPos = [&](TKxSlider*, double d, int, bool& accept) {
        asked.push_back(d);
        accept = false;
    };
    QTest::mouseClick(w.slider, Qt::LeftButton, {}, QPoint(80, 9));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(w.slider->Position(), 30.0);
    EXPECT_TRUE(w.changes.empty());
    EXPECT_EQ(w.slider->sliderPlace(), placeBefore);

    w.slider->OnChangingPos = [](TKxSlider*, double, int, bool&) {};
    w.slider->setPosition(60);
    EXPECT_EQ(w.slider->Position(), 60.0);
    EXPECT_EQ(w.changes.size(), 1u);
}

TEST(KxSlider, PositionsRoundHalfUpAlsoBelowZero) {
    TKxSlider s;
    s.setPosition(85.5);
    EXPECT_EQ(s.getPosAsInt(), 86);
    s.setMin(-10);
    s.setPosition(-2.5);
    EXPECT_EQ(s.getPosAsInt(), -2);
    s.setPosition(-2.6);
    EXPECT_EQ(s.getPosAsInt(), -3);
}

TEST(KxSlider, RangeKeepsMaxAboveMinWithoutEvents) {
    SliderWindow w;
    w.slider->setPosition(50);
    w.changes.clear();
    w.slider->setMax(-5);
    EXPECT_EQ(w.slider->Max(), 1.0);
    EXPECT_EQ(w.slider->Position(), 1.0);
    w.slider->setMin(7);
    EXPECT_EQ(w.slider->Min(), 0.0);
    w.slider->setMax(200);
    w.slider->setMin(300);
    EXPECT_EQ(w.slider->Min(), 199.0);
    EXPECT_EQ(w.slider->Position(), 199.0);
    EXPECT_TRUE(w.changes.empty());
    w.slider->setPosition(500);
    EXPECT_EQ(w.slider->Position(), 200.0);
}

TEST(KxSlider, RoundThumbsTakeTheLaneThicknessAndGiveItBack) {
    SliderWindow w;
    EXPECT_EQ(w.slider->sliderRect(), QRect(0, 0, 18, 18));
    EXPECT_EQ(w.slider->LengthSlider(), 18);

    w.slider->setStyleSlider(tssPipe);
    w.slider->setLengthSlider(16);
    EXPECT_EQ(w.slider->sliderRect(), QRect(0, 0, 16, 18));
    w.slider->setStyleSlider(tssBall);
    EXPECT_EQ(w.slider->LengthSlider(), 18);
    EXPECT_EQ(w.slider->sliderRect(), QRect(0, 0, 18, 18));
    w.slider->setStyleSlider(tssPipe);
    EXPECT_EQ(w.slider->LengthSlider(), 16);
    EXPECT_EQ(w.slider->sliderRect(), QRect(0, 0, 16, 18));

    w.slider->setLengthSlider(500); // never longer than the control
    EXPECT_EQ(w.slider->LengthSlider(), 100);
}

TEST(KxSlider, ThumbAsLongAsTheLaneStillWorks) {
    SliderWindow w;
    w.slider->setStyleSlider(tssGradi);
    w.slider->setLengthSlider(100);
    EXPECT_EQ(w.slider->getLaneLengthInPix(), 0);
    w.slider->setPosition(70);
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(0, 0));
    QTest::mouseClick(w.slider, Qt::LeftButton, {}, QPoint(90, 9));
    EXPECT_EQ(w.slider->Position(), 0.0);
    w.shot();
}

TEST(KxSlider, MarginsShrinkTheLaneAndShiftTheThumb) {
    SliderWindow w;
    w.slider->setBkgEndMargin(4);
    w.slider->setBkgSideMargin(-3);
    EXPECT_EQ(w.slider->BkgSideMargin(), 0);
    w.slider->setBkgSideMargin(3);
    EXPECT_EQ(w.slider->bkgRect(), QRect(4, 3, 92, 12));
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(4, 0));

    // Room for scroll buttons moves the thumb at once, without waiting for a position change.
    w.slider->setPosition(100);
    EXPECT_EQ(w.slider->sliderPlace().x(), 4 + 82);
    w.slider->setShowScrollButtons(true);
    EXPECT_EQ(w.slider->getLaneLengthInPix(), 100 - 18 - 36);
    EXPECT_EQ(w.slider->sliderPlace().x(), 18 + 46);
    w.slider->setPosition(1);
    EXPECT_EQ(w.slider->sliderPlace().x(), 18);

    SliderWindow v(QRect(10, 10, 20, 212));
    v.slider->setPosition(100);
    EXPECT_EQ(v.slider->sliderPlace().y(), 192);
    v.slider->setShowingDeadCorner(true);
    EXPECT_EQ(v.slider->sliderPlace().y(), 172);
}

TEST(KxSlider, TransparentCornerIsNotHotButTheLaneIs) {
    SliderWindow w;
    w.shot();
    EXPECT_FALSE(w.slider->MouseIsIn(0, 0));
    EXPECT_TRUE(w.slider->MouseIsIn(50, 9));
    EXPECT_FALSE(w.slider->MouseIsIn(-5, 9));
    EXPECT_FALSE(w.slider->MouseIsIn(50, 500));

    QEnterEvent enter(QPointF(50, 9), QPointF(60, 19), QPointF(60, 19));
    QCoreApplication::sendEvent(w.slider, &enter);
    EXPECT_FALSE(w.slider->IsHot());

    const QImage cold = w.shot();
    QTest::mouseMove(w.slider, QPoint(50, 9));
    EXPECT_TRUE(w.slider->IsHot());
    const QImage hot = w.shot();
    EXPECT_NE(cold.pixel(10 + 50, 10 + 9), hot.pixel(10 + 50, 10 + 9));
}

TEST(KxSlider, PictureShowsLaneThumbAndParentAround) {
    SliderWindow w(SliderWindow::mainSlider());
    w.slider->setMax(240);
    w.slider->setPosition(120);
    const QImage img = w.shot();
    // The lane's corners let the window through.
    EXPECT_EQ(img.pixel(10, 10), kWindowColour.rgb());
    EXPECT_EQ(img.pixel(29, 221), kWindowColour.rgb());
    // The thumb (light front colours) sits at 96 … 115, the lane (blue) elsewhere.
    const QColor thumb = img.pixelColor(10 + 10, 10 + 106);
    const QColor lane = img.pixelColor(10 + 10, 10 + 40);
    EXPECT_GT(thumb.red(), thumb.blue());
    EXPECT_GT(lane.blue(), lane.red());

    // A solid lane covers everything with its dark colour.
    w.slider->setStyleBkg(tbsSolid);
    w.slider->setClBkgDark(0x00123456);
    const QImage solid = w.shot();
    EXPECT_EQ(solid.pixel(10 + 10, 10 + 40), qRgb(0x56, 0x34, 0x12));
}

TEST(KxSlider, FocusLineOnlyWithShowFocus) {
    SliderWindow w;
    w.slider->setStyleBkg(tbsSolid);
    w.slider->setClBkgDark(0x00000000);
    w.slider->setPosition(100);
    w.window.activateWindow();
    w.slider->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.slider->hasFocus());
    // The focus line runs along the middle of the lane, from d = 18 / 2 − 1 = 8 on.
    const auto lineCount = [&] {
        const QImage img = w.shot();
        int n = 0;
        for (int x = 10; x < 80; ++x)
            n += img.pixel(10 + x, 10 + 8) != qRgb(0, 0, 0) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(lineCount(), 0);
    w.slider->setShowFocus(true);
    EXPECT_GT(lineCount(), 10);
    w.slider->clearFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(lineCount(), 0);
}

TEST(KxSlider, CustomStylesPaintThroughTheEvents) {
    SliderWindow w;
    w.slider->setStyleBkg(tbsCustom);
    w.slider->setStyleSlider(tssCustom);
    w.slider->setSliderGrib(false);
    QRect bkgRect;
    QRect thumbRect;
    w.slider->OnDrawBkg = [&](TKxSlider*, TRoundBmp* bmp, QRect r) {
        bkgRect = r;
        bmp->fillRect(TKxColor(0, 200, 0, 255), r);
    };
    w.slider->OnDrawSlider = [&](TKxSlider*, TRoundBmp* bmp, QRect r) {
        thumbRect = r;
        bmp->fillRect(TKxColor(200, 0, 0, 255), r);
    };
    w.slider->setLengthSlider(10);
    w.slider->setPosition(0);
    const QImage img = w.shot();
    EXPECT_EQ(bkgRect, QRect(0, 0, 100, 18));
    EXPECT_EQ(thumbRect, QRect(0, 0, 10, 18));
    EXPECT_EQ(img.pixel(10 + 5, 10 + 9), qRgb(200, 0, 0));
    EXPECT_EQ(img.pixel(10 + 50, 10 + 9), qRgb(0, 200, 0));
}

TEST(KxSlider, EveryStyleCombinationPaints) {
    SliderWindow h;
    SliderWindow v(QRect(10, 30, 24, 150));
    for (SliderWindow* w : {&h, &v}) {
        w->slider->setBkgSideMargin(2);
        for (int bkg = tbsPipe; bkg <= tbsCustom; ++bkg) {
            for (int thumb = tssBall; thumb <= tssCustom; ++thumb) {
                for (int dir = tgdDownToUp; dir <= tgdRightToLeft; ++dir) {
                    w->slider->setStyleBkg(TKxSliderBkgStyle(bkg));
                    w->slider->setStyleSlider(TKxSliderStyle(thumb));
                    w->slider->setStyleSliderEdge(TKxSliderEdgeStyle(dir + 1));
                    w->slider->setColorDirectionBkg(TKxDirection(dir));
                    w->slider->setColorDirectionSlider(TKxDirection(3 - dir));
                    w->slider->repaint();
                }
            }
        }
    }
    // The margins stay see-through around a pipe lane.
    h.slider->setStyleBkg(tbsPipe);
    EXPECT_EQ(h.shot().pixel(10 + 50, 10 + 0), kWindowColour.rgb());
}

TEST(KxSlider, HugeAndInvalidValuesDoNotOverflow) {
    TKxSlider s;
    s.setMax(1e15);
    s.setPosition(1e14);
    EXPECT_EQ(s.getPosAsInt(), 1000000000);
    s.setPosition(std::nan(""));
    EXPECT_EQ(s.Position(), 1e14);
    s.setMin(-1e15);
    s.setPosition(-1e14);
    EXPECT_EQ(s.getPosAsInt(), -1000000000);
}

// Margins at the int limit would overflow the lane and thumb arithmetic; they are held to the
// largest size a widget can have, and the thumb stays a place inside that range.
TEST(KxSlider, MarginsAtTheIntLimitAreHeldToTheLargestWidget) {
    SliderWindow w;
    w.slider->setPosition(50);
    w.slider->setBkgEndMargin(INT_MAX);
    w.slider->setBkgSideMargin(INT_MAX);
    EXPECT_EQ(w.slider->BkgEndMargin(), QWIDGETSIZE_MAX);
    EXPECT_EQ(w.slider->BkgSideMargin(), QWIDGETSIZE_MAX);
    EXPECT_GE(w.slider->sliderPlace().x(), QWIDGETSIZE_MAX);
    w.shot();
    w.slider->setBkgEndMargin(INT_MIN);
    EXPECT_EQ(w.slider->BkgEndMargin(), 0);
}

TEST(KxSlider, RangeStaysOpenWhereOneIsLostInTheMagnitude) {
    SliderWindow w;
    w.slider->setMax(1e17);
    w.slider->setMin(1e17); // 1e17 − 1 is 1e17 again in double precision
    EXPECT_LT(w.slider->Min(), w.slider->Max());
    EXPECT_EQ(w.slider->Position(), w.slider->Min());
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(0, 0));
    w.slider->setMax(-1e18);
    EXPECT_LT(w.slider->Min(), w.slider->Max());
    w.slider->setPosition(w.slider->Max());
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(82, 0));

    // An endless range leaves the thumb at the start instead of computing an undefined place.
    w.slider->setMin(-HUGE_VAL);
    EXPECT_EQ(w.slider->sliderPlace(), QPoint(0, 0));
    w.shot();
}
