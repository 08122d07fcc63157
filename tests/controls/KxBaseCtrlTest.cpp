#include "controls/KxBaseCtrl.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Paints a diagonal gradient over its whole area, like a gradient panel.
class GradientWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(200, 30, 10));
        g.setColorAt(1, QColor(10, 60, 220));
        p.fillRect(rect(), g);
    }
};

// Records what the base hands to descendants and paints a red block in its top-left corner.
class Probe : public TKxCustomControl {
public:
    using TKxCustomControl::TKxCustomControl;
    int prepared = 0;
    int painted = 0;
    int focusChanges = 0;
    QSize lastPrepared;

protected:
    void PrepareBitmaps(int w, int h) override {
        ++prepared;
        lastPrepared = QSize(w, h);
    }
    void KxPaint(TKxBmp& bmp, const QRect& rect) override {
        ++painted;
        TKxCustomControl::KxPaint(bmp, rect);
        bmp.fillRect(TKxColor(255, 0, 0), QRect(0, 0, 4, 4));
    }
    void FocusChanged() override { ++focusChanges; }
};

struct Scene {
    GradientWidget window;
    QWidget container{&window}; // paints nothing: the gradient must show through it
    Probe* probe = new Probe(&container);

    Scene() {
        window.resize(120, 90);
        container.setGeometry(10, 10, 100, 70);
        probe->setGeometry(20, 15, 40, 30);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }
};

QImage rgbOf(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(KxBaseCtrl, BackgroundIsWhatTheParentChainShowsUnderTheControl) {
    Scene s;
    TKxBmp* bmp = s.probe->bitmap();
    ASSERT_NE(bmp, nullptr);
    ASSERT_EQ(bmp->width(), 40);
    ASSERT_EQ(bmp->height(), 30);
    s.probe->hide();
    const QImage expected = rgbOf(s.window.grab(QRect(30, 25, 40, 30)).toImage());

    bmp->fill(TKxColor(0, 255, 0));
    s.probe->UdateBackground();
    const QImage actual = rgbOf(bmp->imageView());
    ASSERT_EQ(expected.size(), actual.size());
    EXPECT_NE(expected.pixel(0, 0), expected.pixel(39, 29));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(KxBaseCtrl, ScreenShowsTheBitmapOverTheParent) {
    Scene s;
    const QImage shot = rgbOf(s.window.grab().toImage());
    EXPECT_EQ(shot.pixel(30, 25), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(33, 28), qRgb(255, 0, 0));
    // Outside the red block the control shows exactly the gradient the parent paints there.
    s.probe->hide();
    QCoreApplication::processEvents();
    const QImage plain = rgbOf(s.window.grab().toImage());
    EXPECT_NE(plain.pixel(30, 25), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(50, 40), plain.pixel(50, 40));
    EXPECT_EQ(shot.pixel(59, 44), plain.pixel(59, 44));
}

TEST(KxBaseCtrl, BackgroundRequestWithDifferentArgumentsDrawsNothing) {
    Scene s;
    TKxBmp* bmp = s.probe->bitmap();
    TKxBmp other(40, 30);
    bmp->fill(TKxColor(0, 255, 0));
    EXPECT_TRUE(s.probe->eraseBkg(bmp, &other));
    EXPECT_TRUE(s.probe->eraseBkg(nullptr, nullptr));
    EXPECT_EQ(bmp->getPixel(20, 20), TKxColor(0, 255, 0));
}

TEST(KxBaseCtrl, PrepareRunsOnSizeAndShowButNotOnMove) {
    Scene s;
    const int before = s.probe->prepared;
    EXPECT_GE(before, 1);

    s.probe->move(5, 5);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.probe->prepared, before);
    EXPECT_EQ(s.probe->bitmap()->width(), 40);

    s.probe->resize(50, 20);
    EXPECT_EQ(s.probe->prepared, before + 1);
    EXPECT_EQ(s.probe->lastPrepared, QSize(50, 20));
    EXPECT_EQ(s.probe->bitmap()->width(), 50);
    EXPECT_EQ(s.probe->bitmap()->height(), 20);
    EXPECT_EQ(s.probe->paintRect(), QRect(0, 0, 50, 20));

    s.probe->hide();
    const int hidden = s.probe->prepared;
    s.probe->show();
    EXPECT_GT(s.probe->prepared, hidden);
}

TEST(KxBaseCtrl, ZeroSizedControlPaintsNothingOfItsOwn) {
    Scene s;
    s.probe->resize(0, 30);
    const int painted = s.probe->painted;
    s.probe->repaint();
    s.window.grab();
    EXPECT_EQ(s.probe->painted, painted);
    EXPECT_FALSE(s.probe->bitmap()->hasPixels());
    EXPECT_NE(rgbOf(s.window.grab().toImage()).pixel(30, 25), qRgb(255, 0, 0));
}

TEST(KxBaseCtrl, HotOnlyWhenAliveAndEnteredInside) {
    Scene s;
    QEnterEvent enter(QPointF(3, 3), QPointF(33, 28), QPointF(33, 28));
    QEvent leave(QEvent::Leave);

    s.probe->setAlive(false);
    QCoreApplication::sendEvent(s.probe, &enter);
    EXPECT_FALSE(s.probe->IsHot());

    s.probe->setAlive(true);
    QCoreApplication::sendEvent(s.probe, &enter);
    EXPECT_TRUE(s.probe->IsHot());
    QCoreApplication::sendEvent(s.probe, &leave);
    EXPECT_FALSE(s.probe->IsHot());
}

TEST(KxBaseCtrl, FocusAndTextChangesRepaint) {
    Scene s;
    s.window.activateWindow();
    s.probe->setFocusPolicy(Qt::StrongFocus);
    s.probe->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(s.probe->focusChanges, 1);

    const int painted = s.probe->painted;
    s.probe->setText("Caption");
    QCoreApplication::processEvents();
    EXPECT_EQ(s.probe->Text(), "Caption");
    EXPECT_GT(s.probe->painted, painted);
}

TEST(KxBaseCtrl, ControlOnAnOwnerDrawnControlShowsThatControlsPicture) {
    GradientWidget window;
    window.resize(100, 80);
    auto* outer = new Probe(&window);
    outer->setGeometry(10, 10, 60, 50);
    auto* inner = new Probe(outer);
    inner->setGeometry(2, 2, 20, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    inner->bitmap()->fill(TKxColor(0, 255, 0));
    inner->UdateBackground();
    // The outer control's red corner block lies at (0..3, 0..3) of the outer control, so (0, 0)
    // and (1, 1) of the inner one; beyond it the gradient shows through the outer control.
    EXPECT_EQ(inner->bitmap()->getPixel(1, 1), TKxColor(255, 0, 0, 255));
    const QImage plain = rgbOf(window.grab(QRect(12 + 10, 12 + 10, 1, 1)).toImage());
    const TKxColor c = inner->bitmap()->getPixel(10, 10);
    EXPECT_EQ(qRgb(c.r, c.g, c.b), plain.pixel(0, 0));
}
