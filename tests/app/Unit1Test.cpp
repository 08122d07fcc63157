#include "app/Unit1.h"

#include "colour/ColourValue.h"
#include "colour/CopyFormats.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString triple(ColorValue c) {
    return QStringLiteral("%1 - %2 - %3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c));
}

// The window as a user meets it: shown, its deferred start-up done, the keyboard and clipboard
// answered by a fake so the tests decide which modifiers are held.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
        QCoreApplication::processEvents();
    }

    // What the colour from the three HLS sliders is.
    ColorValue hlsSliderColor() const {
        return HlsToRgb(240 - form.SliderHue->getPosAsInt(), 240 - form.SliderLum->getPosAsInt(),
                        240 - form.SliderSat->getPosAsInt());
    }

    void typeValue(const QString& text) {
        form.EdClValue->setFocus();
        form.EdClValue->selectAll();
        QTest::keyClicks(form.EdClValue, text);
    }

    void pressKeys(QWidget* w, Qt::Key key, int times) {
        w->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(w, key);
    }

    TScopedFakePlatform platform;
    TForm1 form;
};

TEST_F(MainWindowTest, HueSliderMovesCurrentColourViewsButNotTheValueField) {
    form.ApplyValueFieldColor(MakeColor(119, 170, 255));
    const QString valueText = form.EdClValue->text();
    const QString tileText = form.PnlEdColor->Caption();
    const ColorValue tileColor = form.PnlEdColor->Color();
    const double before = form.SliderHue->Position();

    pressKeys(form.SliderHue, Qt::Key_Down, 20);
    ASSERT_NE(form.SliderHue->Position(), before);

    const ColorValue c = hlsSliderColor();
    EXPECT_EQ(form.currentColor(), c);
    EXPECT_EQ(form.PnlSampleColor->Color() & kColorMask, c);
    EXPECT_EQ(form.PnlSampleColor->Caption(), triple(c));
    EXPECT_EQ(form.PnlColor->Caption(),
              QStringLiteral("R:%1   G:%2   B:%3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c)));
    EXPECT_EQ(form.PnlWebSafe->Color() & kColorMask, WebSafe(c));
    EXPECT_EQ(form.PnlHlp->Color() & kColorMask, WebSafe(c));
    EXPECT_EQ(form.SliderRed->Position(), 255 - RedOf(c));
    EXPECT_EQ(form.SliderGreen->Position(), 255 - GreenOf(c));
    EXPECT_EQ(form.SliderBlue->Position(), 255 - BlueOf(c));

    EXPECT_EQ(form.EdClValue->text(), valueText);
    EXPECT_EQ(form.PnlEdColor->Caption(), tileText);
    EXPECT_EQ(form.PnlEdColor->Color(), tileColor);
    EXPECT_EQ(form.valueFieldColor(), MakeColor(119, 170, 255));
}

TEST_F(MainWindowTest, PaletteRepaintAfterSliderMoveKeepsTheSliderColour) {
    // A mid saturation, so the palette can only show a neighbour of the slider colour.
    form.ApplyCurrentColor(MakeColor(150, 90, 60));
    pressKeys(form.SliderLum, Qt::Key_Down, 7);
    pressKeys(form.SliderHue, Qt::Key_Up, 13);
    const ColorValue c = hlsSliderColor();
    const double hue = form.SliderHue->Position();
    const double lum = form.SliderLum->Position();

    // The paints the move caused, the palette's included, run now.
    QTest::qWait(50);

    EXPECT_EQ(form.currentColor(), c);
    EXPECT_EQ(form.SliderHue->Position(), hue);
    EXPECT_EQ(form.SliderLum->Position(), lum);
    EXPECT_EQ(form.PnlColor->Color() & kColorMask, c);
    EXPECT_FALSE(form.updateGuard());
}

TEST_F(MainWindowTest, TypedValueFollowsTheOrderButtons) {
    typeValue(QStringLiteral("#FFAA77"));
    EXPECT_EQ(form.PnlEdColor->Caption(), QStringLiteral("255 - 170 - 119"));
    EXPECT_EQ(form.currentColor(), MakeColor(255, 170, 119));
    EXPECT_EQ(form.PnlSampleColor1->Color() & kColorMask, MakeColor(255, 170, 119));
    EXPECT_EQ(form.pasteColor(), QStringLiteral("#FFAA77"));

    QTest::mouseClick(form.ButBgr, Qt::LeftButton);
    EXPECT_FALSE(form.rgbOrder());
    EXPECT_EQ(form.PnlEdColor->Caption(), QStringLiteral("119 - 170 - 255"));
    EXPECT_EQ(form.currentColor(), MakeColor(119, 170, 255));
    EXPECT_EQ(form.EdClValue->text(), QStringLiteral("#FFAA77"));

    // A click on the button that is already down changes nothing.
    QTest::mouseClick(form.ButBgr, Qt::LeftButton);
    EXPECT_EQ(form.PnlEdColor->Caption(), QStringLiteral("119 - 170 - 255"));

    // Typing in BGR order reads the text the other way round.
    typeValue(QStringLiteral("#102030"));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(0x30, 0x20, 0x10));

    QTest::mouseClick(form.ButRgb, Qt::LeftButton);
    EXPECT_TRUE(form.rgbOrder());
    EXPECT_EQ(form.valueFieldColor(), MakeColor(0x10, 0x20, 0x30));
}

TEST_F(MainWindowTest, TextThatDoesNotParseChangesNothing) {
    typeValue(QStringLiteral("#FFAA77"));
    const ColorValue current = form.currentColor();
    form.EdClValue->setText(QStringLiteral("#FFAA7"));
    EXPECT_EQ(form.currentColor(), current);
    EXPECT_EQ(form.PnlEdColor->Caption(), QStringLiteral("255 - 170 - 119"));
    EXPECT_EQ(form.pasteColor(), QStringLiteral("#FFAA77"));

    form.EdClValue->clear();
    EXPECT_EQ(form.pasteColor(), QString());
    EXPECT_EQ(form.currentColor(), current);
}

TEST_F(MainWindowTest, ClickIntoTheValueFieldSelectsAllOfIt) {
    form.ZodudIroBox->setFocus();
    QTest::mouseClick(form.EdClValue, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::qWait(20);
    ASSERT_TRUE(form.EdClValue->hasFocus());
    EXPECT_EQ(form.EdClValue->selectedText(), form.EdClValue->text());
}

TEST_F(MainWindowTest, EightDigitValueLosesItsFourthByte) {
    form.EdClValue->setText(QStringLiteral("$12FFAA77"));
    EXPECT_EQ(form.currentColor(), MakeColor(255, 170, 119));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(255, 170, 119));
}

TEST_F(MainWindowTest, ValuePanelsShowNumbersAndWebSafeColour) {
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    EXPECT_EQ(form.PnlWebSafe->Caption(), QStringLiteral("WebSafe: #6699FF"));
    EXPECT_EQ(form.PnlColor->Caption(), QStringLiteral("R:119   G:170   B:255"));
    EXPECT_EQ(form.PnlHslColor->Caption(), QStringLiteral("H:217   S:100   L:73"));
    EXPECT_EQ(form.PnlSampleColor->Caption(), QStringLiteral("119 - 170 - 255"));
    // Light colour, black text; the help panel's text follows the current colour too.
    for (TKxPanel* p : {form.PnlColor, form.PnlHslColor, form.PnlHlp, form.PnlWebSafe})
        EXPECT_EQ(p->FontColor(), kBlack);

    form.ApplyCurrentColor(MakeColor(0, 0, 128));
    EXPECT_EQ(form.PnlColor->FontColor(), kWhite);
    EXPECT_EQ(form.PnlWebSafe->Caption(), QStringLiteral("WebSafe: #000099"));
}

TEST_F(MainWindowTest, HslPanelFollowsAMoveOfAnRgbSlider) {
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    // One large step, so the panel cannot lag a step behind unnoticed.
    form.SliderRed->setPosition(255 - 10);
    const ColorValue c = form.currentColor();
    ASSERT_EQ(c, MakeColor(10, 170, 255));
    const HlsTriple hls = RgbToHls(c);
    EXPECT_EQ(form.PnlHslColor->Caption(), QStringLiteral("H:%1   S:%2   L:%3")
                                               .arg(360 * hls.hue / 240)
                                               .arg(100 * hls.sat / 240)
                                               .arg(100 * hls.lum / 240));
}

TEST_F(MainWindowTest, HslPanelClickCopiesHslOnce) {
    form.setClickAction(1);
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    QTest::mouseClick(form.PnlHslColor, Qt::LeftButton);
    EXPECT_EQ(platform.clipboard, FormatHsl(MakeColor(119, 170, 255), form.formatSettings()));
    EXPECT_EQ(form.clickAction(), 1);

    QTest::mouseClick(form.PnlColor, Qt::LeftButton);
    EXPECT_EQ(platform.clipboard, QStringLiteral("#77AAFF"));

    // Modifiers still win over the panel's own format.
    platform.keys.shift = true;
    QTest::mouseClick(form.PnlHslColor, Qt::LeftButton);
    EXPECT_EQ(platform.clipboard, FormatRgbValues(MakeColor(119, 170, 255)));
}

TEST_F(MainWindowTest, ModifierKeysChooseTheCopiedText) {
    const ColorValue c = MakeColor(119, 170, 255);
    form.setClickAction(2);
    form.ApplyCurrentColor(c);
    struct Case {
        bool shift, ctrl, alt;
        QString text;
    };
    const Case cases[] = {
        {false, false, false, FormatBgrHex(c)},
        {true, true, false, FormatHtml(c)},
        {true, false, false, FormatRgbValues(c)},
        {false, true, false, FormatBgrHex(c)},
        {false, false, true, FormatBgrHex(WebSafe(c))},
        {true, true, true, QStringLiteral("#6699FF")},
        {true, false, true, FormatRgbValues(WebSafe(c))},
    };
    for (const Case& k : cases) {
        platform.keys = {k.shift, k.ctrl, k.alt};
        platform.clipboard.clear();
        QTest::mouseClick(form.PnlColor, Qt::LeftButton);
        EXPECT_EQ(platform.clipboard, k.text) << k.shift << k.ctrl << k.alt;
        // The clicked colour is the colour itself, not its web-safe neighbour.
        EXPECT_EQ(form.clickedColor(), c);
    }
}

TEST_F(MainWindowTest, PicksFillTheHistoryNewestLast) {
    QTest::mouseClick(form.ZodudIroBox, Qt::LeftButton, {}, QPoint(30, 20));
    const ColorValue picked = form.ZodudIroBox->bitmap().colorAt(30, 20);
    EXPECT_EQ(form.history().back(), picked);
    EXPECT_EQ(form.currentColor(), picked);
    EXPECT_EQ(platform.clipboard, FormatHtml(picked));

    form.ApplyValueFieldColor(MakeColor(1, 2, 3));
    QTest::mouseClick(form.PnlEdColor, Qt::LeftButton);
    EXPECT_EQ(form.history()[TForm1::HistoryCount - 2], picked);
    EXPECT_EQ(form.history().back(), MakeColor(1, 2, 3));

    for (int i = 0; i < TForm1::HistoryCount; ++i)
        form.PushHistory(MakeColor(i, 0, 0));
    for (int i = 0; i < TForm1::HistoryCount; ++i)
        EXPECT_EQ(form.history()[i], MakeColor(i, 0, 0));
    // Repeats are kept.
    form.PushHistory(MakeColor(9, 0, 0));
    EXPECT_EQ(form.history()[0], MakeColor(1, 0, 0));
    EXPECT_EQ(form.history()[8], MakeColor(9, 0, 0));
    EXPECT_EQ(form.history()[9], MakeColor(9, 0, 0));
}

TEST_F(MainWindowTest, ScrollBarIsTheInvertedPastelLevel) {
    form.ScrollBar1->setFocus();
    QTest::keyClick(form.ScrollBar1, Qt::Key_Home);
    EXPECT_EQ(form.ScrollBar1->value(), 0);
    EXPECT_EQ(form.pastel(), 255);
    EXPECT_EQ(form.ZodudIroBox->getPastel(), 255);

    QTest::keyClick(form.ScrollBar1, Qt::Key_End);
    EXPECT_EQ(form.ScrollBar1->value(), 255);
    EXPECT_EQ(form.pastel(), 0);
    EXPECT_EQ(form.ZodudIroBox->getPastel(), 0);
}

// A clock whose every reading is further from the last, so each palette build takes a different
// time and a caption naming the previous build is caught.
class TWideningClock : public TFakePlatform {
public:
    quint32 milliseconds() const override {
        ++m_readings;
        return m_readings * m_readings;
    }

private:
    mutable quint32 m_readings = 0;
};

TEST_F(MainWindowTest, CaptionShowsBuildTimeThenColourCount) {
    TWideningClock clock;
    Platform::TPlatformOverride useClock(clock);
    form.ScrollBar1->setValue(100);
    ASSERT_GT(form.ZodudIroBox->CreateTime(), 0);
    const QString size = QStringLiteral("[%1 x %2] (155)")
                             .arg(form.ZodudIroBox->width())
                             .arg(form.ZodudIroBox->height());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ZodudIro Created in:  %1  Miliseconds  %2")
                                      .arg(form.ZodudIroBox->CreateTime())
                                      .arg(size));
    EXPECT_TRUE(form.CaptionTimer->isActive());

    QTest::qWait(form.CaptionTimer->interval() + 200);
    EXPECT_FALSE(form.CaptionTimer->isActive());
    const qint64 pixels = qint64(form.ZodudIroBox->width()) * form.ZodudIroBox->height();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vextora's Huesplinter  %1 Colors on %2 Pixels %3")
                                      .arg(clock.formatThousands(form.ZodudIroBox->getColorCount()),
                                           clock.formatThousands(pixels), size));
    EXPECT_TRUE(form.windowTitle().contains(QLatin1Char(',')));
}

TEST_F(MainWindowTest, ResizeRefreshesTheCaptionAtTheNextPaletteReport) {
    form.CaptionTimerTimer();
    form.resize(form.width() + 40, form.height() + 30);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.windowTitle().startsWith(QStringLiteral("ZodudIro Created in:  ")); }));
    EXPECT_TRUE(form.windowTitle().contains(QStringLiteral("[%1 x %2]")
                                                .arg(form.ZodudIroBox->width())
                                                .arg(form.ZodudIroBox->height())));
}

} // namespace

TEST_F(MainWindowTest, CrossHairStaysOnTheWindowItself) {
    EXPECT_EQ(form.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(form.SliderHue->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.ButRgb->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.PnlColor->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.EdClValue->cursor().shape(), Qt::IBeamCursor);
}
