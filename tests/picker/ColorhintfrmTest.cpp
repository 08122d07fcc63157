#include "picker/Colorhintfrm.h"

#include "controls/KxPanel.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

const THslMaxima kDegreesPercent{360, 100, 100};

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

} // namespace

TEST(ColorhintfrmTest, TextsPadEachValueToThreeCharacters) {
    EXPECT_EQ(TFrmColorHint::formatText(MakeColor(255, 128, 0), false, kDegreesPercent),
              "R:255\r\nG:128\r\nB:0  ");
    EXPECT_EQ(TFrmColorHint::formatText(MakeColor(7, 12, 200), false, kDegreesPercent),
              "R:7  \r\nG:12 \r\nB:200");
    EXPECT_EQ(TFrmColorHint::formatText(MakeColor(255, 0, 0), true, kDegreesPercent),
              "H:0  \r\nS:100\r\nL:50 ");
    // Values above 999 show their last three digits.
    EXPECT_EQ(TFrmColorHint::formatText(MakeColor(0, 0, 255), true, {5000, 1240, 100}),
              "H:333\r\nS:240\r\nL:50 ");
    // Maxima whose product with a component passes 32 bits still give a three-digit field.
    const QString huge =
        TFrmColorHint::formatText(MakeColor(0, 0, 255), true, {2000000000, 2000000000, -7});
    for (const QString& line : huge.split(QStringLiteral("\r\n")))
        EXPECT_EQ(line.size(), 5) << line.toStdString();
}

TEST(ColorhintfrmTest, LargeScalesShowTheLastDigitsOfTheWholeValueNotOfA16BitCut) {
    // Hue 188 of 240 on a scale of 86715 is 67,926.6: the hint shows 926 (a
    // 16-bit cut would give 2,390 and show 390).
    ColorValue colour = kBlack;
    for (int r = 0; r < 256 && RgbToHls(colour).hue != 188; r += 5)
        for (int g = 0; g < 256 && RgbToHls(colour).hue != 188; g += 5)
            colour = MakeColor(r, g, 255);
    ASSERT_EQ(RgbToHls(colour).hue, 188);
    EXPECT_TRUE(TFrmColorHint::formatText(colour, true, {86715, 100, 100}).startsWith("H:926\r\n"));
}

TEST(ColorhintfrmTest, TextColourFollowsTheLuma) {
    TFrmColorHint hint(nullptr, false, kDegreesPercent);
    hint.setColor(MakeColor(111, 111, 111));
    EXPECT_EQ(hint.PnlColor->FontColor(), kBlack);
    EXPECT_EQ(hint.PnlColor->Color(), MakeColor(111, 111, 111));
    hint.setColor(MakeColor(110, 110, 110));
    EXPECT_EQ(hint.PnlColor->FontColor(), kWhite);
    EXPECT_EQ(hint.text(), "R:110\r\nG:110\r\nB:110");
}

TEST(ColorhintfrmTest, PlacementBesideTheMagnifier) {
    const QRect screen(0, 0, 1920, 1050);
    EXPECT_EQ(TFrmColorHint::placement(QRect(300, 200, 153, 153), QSize(100, 90), screen),
              QPoint(200, 203));
    // No room on the left: the magnifier's right edge.
    EXPECT_EQ(TFrmColorHint::placement(QRect(10, 200, 153, 153), QSize(100, 90), screen),
              QPoint(163, 203));
    // Above the top: just below it.
    EXPECT_EQ(TFrmColorHint::placement(QRect(300, -60, 153, 153), QSize(100, 90), screen),
              QPoint(200, 3));
    // A monitor left of the primary one is room like any other.
    const QRect left(-1920, 0, 1920, 1050);
    EXPECT_EQ(TFrmColorHint::placement(QRect(-500, 40, 153, 153), QSize(100, 90), left),
              QPoint(-600, 43));
    EXPECT_EQ(TFrmColorHint::placement(QRect(-1900, 40, 153, 153), QSize(100, 90), left),
              QPoint(-1747, 43));
}

TEST(ColorhintfrmTest, SizedForTheWidestLineOfEitherNotation) {
    TFrmColorHint hint(nullptr, true, kDegreesPercent);
    const QFontMetrics metrics(hint.font());
    for (const char* line : {"R:255", "G:888", "B:000", "H:217", "S:100", "L:50 "})
        EXPECT_GE(hint.width(), metrics.horizontalAdvance(QString::fromLatin1(line)) + 20) << line;
    EXPECT_GE(hint.height(), 3 * metrics.height() + 20);
    const QSize size = hint.size();
    hint.setNotation(false);
    hint.setColor(MakeColor(255, 255, 255));
    EXPECT_EQ(hint.size(), size);
}

TEST(ColorhintfrmTest, NotationChangeRepaintsOnlyWhenItChanges) {
    TFrmColorHint hint(nullptr, false, kDegreesPercent);
    hint.setColor(MakeColor(255, 0, 0));
    hint.show();
    QApplication::processEvents();
    TPaintCounter counter;
    hint.PnlColor->installEventFilter(&counter);
    hint.setNotation(false);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    hint.setNotation(true);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(hint.text(), "H:0  \r\nS:100\r\nL:50 ");
}

TEST(ColorhintfrmTest, PaintsTheColourAndTheText) {
    TFrmColorHint hint(nullptr, false, kDegreesPercent);
    hint.setColor(MakeColor(0, 0, 255));
    const QImage shot = hint.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1) & 0xFFFFFF, 0x000080u);                 // navy border
    EXPECT_EQ(shot.pixel(5, shot.height() / 2) & 0xFFFFFF, 0x0000FFu); // the colour
    // White text somewhere inside the margins.
    int white = 0;
    for (int y = 10; y < shot.height() - 10; ++y)
        for (int x = 10; x < shot.width() - 10; ++x)
            white += (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFFFu;
    EXPECT_GT(white, 20);
}
