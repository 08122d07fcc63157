#include "controls/KxPanel.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kNavy = 0x800000;
constexpr std::uint32_t kBlue = 0xFF0000;

// The panel's picture, read back as colour values 0x00BBGGRR.
struct Shot {
    QImage image;
    explicit Shot(TKxPanel& panel) : image(panel.grab().toImage()) {}
    std::uint32_t at(int x, int y) const {
        const QRgb c = image.pixel(x, y);
        return std::uint32_t(qRed(c)) | (std::uint32_t(qGreen(c)) << 8) |
               (std::uint32_t(qBlue(c)) << 16);
    }
    // Rows and columns that differ from the fill colour.
    QRect ink(std::uint32_t fill) const {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (at(x, y) != fill) box |= QRect(x, y, 1, 1);
        return box;
    }
};

std::unique_ptr<TKxPanel> bareBorderPanel(int w, int h) {
    auto panel = std::make_unique<TKxPanel>();
    panel->resize(w, h);
    panel->setBevelOuter(bvNone);
    panel->setBorderWidth(3);
    panel->setClBorder(kNavy);
    panel->setColor(kBlue);
    return panel;
}

std::unique_ptr<TKxPanel> captionPanel(const QString& caption) {
    auto panel = std::make_unique<TKxPanel>();
    panel->resize(200, 100);
    panel->setBevelOuter(bvNone);
    panel->setColor(0xFFFFFF);
    panel->setFontColor(0x000000);
    panel->setCaption(caption);
    return panel;
}

} // namespace

TEST(KxPanelTest, BorderWithSoftInnerCornersMeltsIntoTheFill) {
    auto panel = bareBorderPanel(100, 40);
    const Shot shot(*panel);
    EXPECT_EQ(shot.at(0, 0), kNavy);
    EXPECT_EQ(shot.at(2, 20), kNavy);
    EXPECT_EQ(shot.at(97, 39), kNavy);
    EXPECT_EQ(shot.at(50, 20), kBlue);
    // The inner corner pixel takes the border colour; a little further in it is blue again.
    for (QPoint corner : {QPoint(3, 3), QPoint(96, 3), QPoint(3, 36), QPoint(96, 36)})
        EXPECT_EQ(shot.at(corner.x(), corner.y()), kNavy) << corner.x() << "," << corner.y();
    EXPECT_EQ(shot.at(7, 7), kBlue);
    EXPECT_EQ(shot.at(3, 8), kBlue);
    // Partly covered pixels lie between the two colours.
    const std::uint32_t mid = shot.at(5, 3);
    EXPECT_GT(mid >> 16, 0x80u);
    EXPECT_LT(mid >> 16, 0xFFu);
    EXPECT_EQ(mid & 0xFFFF, 0u);
}

TEST(KxPanelTest, SmallInsidesGetNoSoftCorners) {
    auto panel = bareBorderPanel(18, 15); // 12 × 9 inside the border
    const Shot shot(*panel);
    EXPECT_EQ(shot.at(3, 3), kBlue);
    EXPECT_EQ(shot.at(14, 11), kBlue);
    panel->resize(16, 16); // 10 × 10 inside: softened
    EXPECT_EQ(Shot(*panel).at(3, 3), kNavy);
}

TEST(KxPanelTest, BevelsFrameTheArea) {
    TKxPanel panel;
    panel.resize(20, 10);
    panel.setColor(kBlue);
    Shot raised(panel);
    EXPECT_EQ(raised.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(raised.at(19, 9), 0xA0A0A0u);
    EXPECT_EQ(raised.at(1, 1), kBlue);
    panel.setBevelOuter(bvLowered);
    panel.setBevelInner(bvRaised);
    Shot both(panel);
    EXPECT_EQ(both.at(0, 0), 0xA0A0A0u);
    EXPECT_EQ(both.at(1, 1), 0xFFFFFFu);
    EXPECT_EQ(both.at(2, 2), kBlue);
}

TEST(KxPanelTest, GradientRunsFromBeginToEnd) {
    TKxPanel panel;
    panel.resize(30, 50);
    panel.setBevelOuter(bvNone);
    panel.setClBegin(0x000000);
    panel.setClEnd(0xFFFFFF);
    panel.setGradientFill(true);
    Shot vertical(panel);
    EXPECT_EQ(vertical.at(5, 0), 0x000000u);
    EXPECT_NEAR(double(vertical.at(5, 49) & 0xFF), 255.0, 1.0);
    EXPECT_EQ(vertical.at(0, 20), vertical.at(29, 20));
    panel.setGradientDirection(gdHorizontal);
    Shot horizontal(panel);
    EXPECT_EQ(horizontal.at(0, 30), 0x000000u);
    EXPECT_EQ(horizontal.at(10, 0), horizontal.at(10, 49));
}

TEST(KxPanelTest, PipeGradientTurnsAtTwoFifths) {
    TKxPanel panel;
    panel.resize(20, 100);
    panel.setBevelOuter(bvNone);
    panel.setClBegin(0xFFFFFF);
    panel.setClEnd(0x646464);
    panel.setGradientFill(true);
    panel.setGradientPipe(true);
    const Shot shot(panel);
    EXPECT_EQ(shot.at(3, 0), 0x646464u);
    EXPECT_NEAR(double(shot.at(3, 39) & 0xFF), 255.0, 1.0);
    EXPECT_EQ(shot.at(3, 40), 0xFFFFFFu);
    const int dark = 100 * (255 - 20) / 255;
    EXPECT_NEAR(double(shot.at(3, 99) & 0xFF), double(dark), 1.0);
}

TEST(KxPanelTest, BackgroundDefaultAndGradientSwitchEachOtherOff) {
    TKxPanel panel;
    panel.resize(20, 20);
    panel.setBevelOuter(bvNone);
    panel.setColor(kBlue);
    panel.setGradientFill(true);
    panel.setBkgdefaultPaint(true);
    EXPECT_FALSE(panel.GradientFill());
    EXPECT_EQ(Shot(panel).at(10, 19), kBlue);
    panel.setGradientFill(true);
    EXPECT_FALSE(panel.BkgdefaultPaint());
    panel.setGradientDarkerEnd(400);
    EXPECT_EQ(panel.GradientDarkerEnd(), 255);
    panel.setGradientDarkerEnd(-4);
    EXPECT_EQ(panel.GradientDarkerEnd(), 0);
}

TEST(KxPanelTest, CaptionFollowsTheVerticalAlignment) {
    auto panel = captionPanel("Hue");
    panel->setAlignmentVertical(tlTop);
    const QRect top = Shot(*panel).ink(0xFFFFFF);
    panel->setAlignmentVertical(tlCenter);
    const QRect centre = Shot(*panel).ink(0xFFFFFF);
    panel->setAlignmentVertical(tlBottom);
    const QRect bottom = Shot(*panel).ink(0xFFFFFF);
    ASSERT_FALSE(top.isEmpty());
    EXPECT_LT(top.top(), 10);
    EXPECT_GT(bottom.bottom(), 90);
    EXPECT_NEAR(centre.center().y(), 50, 6);
    EXPECT_NEAR(centre.center().x(), 100, 3);
    EXPECT_EQ(top.left(), centre.left());
}

TEST(KxPanelTest, TextPaddingMovesTheCaption) {
    auto panel = captionPanel("Pad");
    panel->setAlignment(taLeftJustify);
    const int plainLeft = Shot(*panel).ink(0xFFFFFF).left();
    panel->setTextPadLeft(10);
    panel->setTextPadRight(10);
    EXPECT_EQ(Shot(*panel).ink(0xFFFFFF).left(), plainLeft + 10);

    panel->setTextPadLeft(0);
    panel->setTextPadRight(0);
    panel->setAlignment(taRightJustify);
    const int plainRight = Shot(*panel).ink(0xFFFFFF).right();
    panel->setTextPadLeft(10);
    panel->setTextPadRight(10);
    EXPECT_EQ(Shot(*panel).ink(0xFFFFFF).right(), plainRight - 10);
}

TEST(KxPanelTest, DoubledBarsBreakLinesAndAsterisksAloneDoNot) {
    auto twoLines = captionPanel("Red||Green");
    const QRect a = Shot(*twoLines).ink(0xFFFFFF);
    auto oneLine = captionPanel("Red**Green");
    const QRect b = Shot(*oneLine).ink(0xFFFFFF);
    auto plain = captionPanel("Red");
    const QRect c = Shot(*plain).ink(0xFFFFFF);
    EXPECT_GT(a.height(), c.height() + 8);
    EXPECT_LT(a.width(), b.width());
    EXPECT_LE(b.height(), c.height() + 2);
    EXPECT_NEAR(a.center().x(), 100, 3);
    EXPECT_EQ(KxLineMarksToBreaks("a||b**c\u00A4\u00A4d|||e", 1), QString("a\nb\nc\nd\n|e"));
    EXPECT_EQ(KxLineMarksToBreaks("x**y||z", 3), QString("x**y\nz"));
}

TEST(KxPanelTest, NoPaintLeavesTheParentVisible) {
    QWidget parent;
    parent.resize(40, 40);
    parent.setAutoFillBackground(true);
    QPalette red = parent.palette();
    red.setColor(QPalette::Window, Qt::red);
    parent.setPalette(red);
    auto* panel = new TKxPanel(&parent);
    panel->setGeometry(5, 5, 30, 30);
    panel->setColor(kBlue);
    panel->setCaption("Nothing");
    panel->setNoPaint(true);
    const QImage shot = parent.grab().toImage();
    for (QPoint p : {QPoint(6, 6), QPoint(20, 20), QPoint(33, 33)})
        EXPECT_EQ(shot.pixel(p), qRgb(255, 0, 0));
    panel->setNoPaint(false);
    EXPECT_EQ(parent.grab().toImage().pixel(20, 8), qRgb(0, 0, 255));
}

TEST(KxPanelTest, PaintHooksFrameThePainting) {
    TKxPanel panel;
    panel.resize(30, 20);
    panel.setBevelOuter(bvNone);
    panel.setBorderWidth(2);
    panel.setColor(kBlue);
    QRect painted;
    panel.OnPainted = [&](TKxPanel*, QPainter& cnv, QRect r) {
        painted = r;
        cnv.fillRect(QRect(r.topLeft(), QSize(1, 1)), Qt::green);
    };
    Shot withHook(panel);
    EXPECT_EQ(painted, QRect(2, 2, 26, 16));
    EXPECT_EQ(withHook.at(2, 2), 0x00FF00u);

    panel.OnPaintBegin = [](TKxPanel*, QPainter& cnv, QRect& r, bool& handled) {
        cnv.fillRect(r, Qt::yellow);
        handled = true;
    };
    painted = QRect();
    Shot handled(panel);
    EXPECT_TRUE(painted.isNull());
    EXPECT_EQ(handled.at(0, 0), 0x00FFFFu);
    EXPECT_EQ(handled.at(15, 10), 0x00FFFFu);

    panel.OnPaintBegin = [](TKxPanel*, QPainter&, QRect& r, bool&) { r.adjust(5, 0, 0, 0); };
    Shot shifted(panel);
    EXPECT_EQ(painted.left(), 7);
}
