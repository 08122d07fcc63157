#include "app/Unit1.h"

#include "colour/ColorParser.h"
#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

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
        return HlsToRgb(240 - form.ui().SliderHue->getPosAsInt(),
                        240 - form.ui().SliderLum->getPosAsInt(),
                        240 - form.ui().SliderSat->getPosAsInt());
    }

    void typeValue(const QString& text) {
        form.ui().EdClValue->setFocus();
        form.ui().EdClValue->selectAll();
        QTest::keyClicks(form.ui().EdClValue, text);
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
    const QString valueText = form.ui().EdClValue->text();
    const QString tileText = form.ui().PnlEdColor->Caption();
    const ColorValue tileColor = form.ui().PnlEdColor->Color();
    const double before = form.ui().SliderHue->Position();

    pressKeys(form.ui().SliderHue, Qt::Key_Down, 20);
    ASSERT_NE(form.ui().SliderHue->Position(), before);

    const ColorValue c = hlsSliderColor();
    EXPECT_EQ(form.currentColor(), c);
    EXPECT_EQ(form.ui().PnlSampleColor->Color() & kColorMask, c);
    EXPECT_EQ(form.ui().PnlSampleColor->Caption(), triple(c));
    EXPECT_EQ(form.ui().PnlColor->Caption(),
              QStringLiteral("R:%1   G:%2   B:%3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c)));
    EXPECT_EQ(form.ui().PnlWebSafe->Color() & kColorMask, WebSafe(c));
    EXPECT_EQ(form.ui().PnlHlp->Color() & kColorMask, WebSafe(c));
    EXPECT_EQ(form.ui().SliderRed->Position(), 255 - RedOf(c));
    EXPECT_EQ(form.ui().SliderGreen->Position(), 255 - GreenOf(c));
    EXPECT_EQ(form.ui().SliderBlue->Position(), 255 - BlueOf(c));

    EXPECT_EQ(form.ui().EdClValue->text(), valueText);
    EXPECT_EQ(form.ui().PnlEdColor->Caption(), tileText);
    EXPECT_EQ(form.ui().PnlEdColor->Color(), tileColor);
    EXPECT_EQ(form.valueFieldColor(), MakeColor(119, 170, 255));
}

TEST_F(MainWindowTest, PaletteRepaintAfterSliderMoveKeepsTheSliderColour) {
    // A mid saturation, so the palette can only show a neighbour of the slider colour.
    form.ApplyCurrentColor(MakeColor(150, 90, 60));
    pressKeys(form.ui().SliderLum, Qt::Key_Down, 7);
    pressKeys(form.ui().SliderHue, Qt::Key_Up, 13);
    const ColorValue c = hlsSliderColor();
    const double hue = form.ui().SliderHue->Position();
    const double lum = form.ui().SliderLum->Position();

    // The palette paints what the move changed and its report of the colour under the cross
    // arrives.
    form.ui().ZodudIroBox->grab();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(form.currentColor(), c);
    EXPECT_EQ(form.ui().SliderHue->Position(), hue);
    EXPECT_EQ(form.ui().SliderLum->Position(), lum);
    EXPECT_EQ(form.ui().PnlColor->Color() & kColorMask, c);
    EXPECT_FALSE(form.updateGuard());
}

TEST_F(MainWindowTest, TypedValueFollowsTheOrderButtons) {
    typeValue(QStringLiteral("#FFAA77"));
    EXPECT_EQ(form.ui().PnlEdColor->Caption(), QStringLiteral("255 - 170 - 119"));
    EXPECT_EQ(form.currentColor(), MakeColor(255, 170, 119));
    EXPECT_EQ(form.ui().PnlSampleColor1->Color() & kColorMask, MakeColor(255, 170, 119));
    EXPECT_EQ(form.pasteColor(), QStringLiteral("#FFAA77"));

    QTest::mouseClick(form.ui().ButBgr, Qt::LeftButton);
    EXPECT_FALSE(form.rgbOrder());
    EXPECT_EQ(form.ui().PnlEdColor->Caption(), QStringLiteral("119 - 170 - 255"));
    EXPECT_EQ(form.currentColor(), MakeColor(119, 170, 255));
    EXPECT_EQ(form.ui().EdClValue->text(), QStringLiteral("#FFAA77"));

    // A click on the button that is already down changes nothing.
    QTest::mouseClick(form.ui().ButBgr, Qt::LeftButton);
    EXPECT_EQ(form.ui().PnlEdColor->Caption(), QStringLiteral("119 - 170 - 255"));

    // Typing in BGR order reads the text the other way round.
    typeValue(QStringLiteral("#102030"));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(0x30, 0x20, 0x10));

    QTest::mouseClick(form.ui().ButRgb, Qt::LeftButton);
    EXPECT_TRUE(form.rgbOrder());
    EXPECT_EQ(form.valueFieldColor(), MakeColor(0x10, 0x20, 0x30));
}

TEST_F(MainWindowTest, TextThatDoesNotParseChangesNothing) {
    typeValue(QStringLiteral("#FFAA77"));
    const ColorValue current = form.currentColor();
    form.ui().EdClValue->setText(QStringLiteral("#FFAA7"));
    EXPECT_EQ(form.currentColor(), current);
    EXPECT_EQ(form.ui().PnlEdColor->Caption(), QStringLiteral("255 - 170 - 119"));
    EXPECT_EQ(form.pasteColor(), QStringLiteral("#FFAA77"));

    form.ui().EdClValue->clear();
    EXPECT_EQ(form.pasteColor(), QString());
    EXPECT_EQ(form.currentColor(), current);
}

TEST_F(MainWindowTest, ClickIntoTheValueFieldSelectsAllOfIt) {
    form.ui().ZodudIroBox->setFocus();
    QTest::mouseClick(form.ui().EdClValue, Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_TRUE(form.ui().EdClValue->hasFocus());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.ui().EdClValue->selectedText() == form.ui().EdClValue->text(); }));
}

TEST_F(MainWindowTest, EightDigitValueLosesItsFourthByte) {
    form.ui().EdClValue->setText(QStringLiteral("$12FFAA77"));
    EXPECT_EQ(form.currentColor(), MakeColor(255, 170, 119));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(255, 170, 119));
}

TEST_F(MainWindowTest, ValuePanelsShowNumbersAndWebSafeColour) {
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    EXPECT_EQ(form.ui().PnlWebSafe->Caption(), QStringLiteral("WebSafe: #6699FF"));
    EXPECT_EQ(form.ui().PnlColor->Caption(), QStringLiteral("R:119   G:170   B:255"));
    EXPECT_EQ(form.ui().PnlHslColor->Caption(), QStringLiteral("H:217   S:100   L:73"));
    EXPECT_EQ(form.ui().PnlSampleColor->Caption(), QStringLiteral("119 - 170 - 255"));
    // Light colour, black text; the help panel's text follows the current colour too.
    for (TKxPanel* p :
         {form.ui().PnlColor, form.ui().PnlHslColor, form.ui().PnlHlp, form.ui().PnlWebSafe})
        EXPECT_EQ(p->FontColor(), kBlack);

    form.ApplyCurrentColor(MakeColor(0, 0, 128));
    EXPECT_EQ(form.ui().PnlColor->FontColor(), kWhite);
    EXPECT_EQ(form.ui().PnlWebSafe->Caption(), QStringLiteral("WebSafe: #000099"));
}

TEST_F(MainWindowTest, HslPanelFollowsAMoveOfAnRgbSlider) {
    form.ApplyCurrentColor(MakeColor(10, 170, 255));
    // One large step, so the panel cannot lag a step behind unnoticed.
    form.ui().SliderRed->setPosition(255 - 119);
    ASSERT_EQ(form.currentColor(), MakeColor(119, 170, 255));
    EXPECT_EQ(form.ui().PnlHslColor->Caption(), QStringLiteral("H:217   S:100   L:73"));
}

TEST_F(MainWindowTest, HslPanelClickCopiesHslOnce) {
    form.options().setClickAction(CopyStyle::Html);
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    QTest::mouseClick(form.ui().PnlHslColor, Qt::LeftButton);
    EXPECT_EQ(platform.clipboard, FormatHsl(MakeColor(119, 170, 255), form.options().formats()));
    EXPECT_EQ(form.options().clickAction(), CopyStyle::Html);

    QTest::mouseClick(form.ui().PnlColor, Qt::LeftButton);
    EXPECT_EQ(platform.clipboard, QStringLiteral("#77AAFF"));

    // Modifiers still win over the panel's own format.
    platform.keys.shift = true;
    QTest::mouseClick(form.ui().PnlHslColor, Qt::LeftButton);
    EXPECT_EQ(platform.clipboard, FormatRgbValues(MakeColor(119, 170, 255)));
}

TEST_F(MainWindowTest, ModifierKeysChooseTheCopiedText) {
    const ColorValue c = MakeColor(119, 170, 255);
    form.options().setClickAction(CopyStyle::BgrHex);
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
        QTest::mouseClick(form.ui().PnlColor, Qt::LeftButton);
        EXPECT_EQ(platform.clipboard, k.text) << k.shift << k.ctrl << k.alt;
        // The clicked colour is the colour itself, not its web-safe neighbour.
        EXPECT_EQ(form.clickedColor(), c);
    }
}

TEST_F(MainWindowTest, PicksFillTheHistoryNewestLast) {
    QTest::mouseClick(form.ui().ZodudIroBox, Qt::LeftButton, {}, QPoint(30, 20));
    const ColorValue picked = form.ui().ZodudIroBox->bitmap().colorAt(30, 20);
    EXPECT_EQ(form.history().back(), picked);
    EXPECT_EQ(form.currentColor(), picked);
    EXPECT_EQ(platform.clipboard, FormatHtml(picked));

    form.ApplyValueFieldColor(MakeColor(1, 2, 3));
    QTest::mouseClick(form.ui().PnlEdColor, Qt::LeftButton);
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
    form.ui().ScrollBar1->setFocus();
    QTest::keyClick(form.ui().ScrollBar1, Qt::Key_Home);
    EXPECT_EQ(form.ui().ScrollBar1->value(), 0);
    EXPECT_EQ(form.pastel(), 255);
    EXPECT_EQ(form.ui().ZodudIroBox->getPastel(), 255);

    QTest::keyClick(form.ui().ScrollBar1, Qt::Key_End);
    EXPECT_EQ(form.ui().ScrollBar1->value(), 255);
    EXPECT_EQ(form.pastel(), 0);
    EXPECT_EQ(form.ui().ZodudIroBox->getPastel(), 0);
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
    const TKxZodudIro* palette = form.ui().ZodudIroBox;
    form.ui().ScrollBar1->setValue(100);
    ASSERT_GT(palette->CreateTime(), 0);
    const QRegularExpressionMatch withTime =
        QRegularExpression(
            QStringLiteral(
                R"(^ZodudIro Created in:  (\d+)  Miliseconds  \[(\d+) x (\d+)\] \(155\)$)"))
            .match(form.windowTitle());
    ASSERT_TRUE(withTime.hasMatch()) << form.windowTitle().toStdString();
    EXPECT_EQ(withTime.captured(1).toInt(), palette->CreateTime());
    EXPECT_EQ(withTime.captured(2).toInt(), palette->width());
    EXPECT_EQ(withTime.captured(3).toInt(), palette->height());
    EXPECT_TRUE(form.ui().CaptionTimer->isActive());

    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.ui().CaptionTimer->isActive(); }, 3000));
    const QRegularExpressionMatch withCount =
        QRegularExpression(QStringLiteral(R"(^Vextora's Huesplinter  ([\d,]+) Colors on )"
                                          R"(([\d,]+) Pixels \[(\d+) x (\d+)\] \(155\)$)"))
            .match(form.windowTitle());
    ASSERT_TRUE(withCount.hasMatch()) << form.windowTitle().toStdString();
    EXPECT_EQ(withCount.captured(1), clock.formatThousands(palette->getColorCount()));
    // A palette of this size has more than a thousand pixels, so the separator shows.
    EXPECT_EQ(withCount.captured(2),
              clock.formatThousands(qint64(palette->width()) * palette->height()));
    EXPECT_TRUE(withCount.captured(2).contains(QLatin1Char(',')));
}

TEST_F(MainWindowTest, ResizeRefreshesTheCaptionAtTheNextPaletteReport) {
    form.UpdateCaption(false);
    form.resize(form.width() + 40, form.height() + 30);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.windowTitle().startsWith(QStringLiteral("ZodudIro Created in:  ")); }));
    EXPECT_TRUE(form.windowTitle().contains(QStringLiteral("[%1 x %2]")
                                                .arg(form.ui().ZodudIroBox->width())
                                                .arg(form.ui().ZodudIroBox->height())));
}

// Every emission of the current colour, in order.
std::vector<ColorValue> emitted(const QSignalSpy& spy) {
    std::vector<ColorValue> out;
    for (const QList<QVariant>& args : spy)
        out.push_back(args.at(0).value<ColorValue>());
    return out;
}

TEST_F(MainWindowTest, EveryChangeOfTheCurrentColourIsSignalledOnce) {
    QSignalSpy spy(&form, &TForm1::currentColorChanged);
    const TForm1Ui& ui = form.ui();

    // A palette click reports the colour at the press and again at the release, and the paint
    // after it once more: one change.
    QTest::mouseClick(ui.ZodudIroBox, Qt::LeftButton, {}, QPoint(40, 30));
    ui.ZodudIroBox->grab();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(emitted(spy), std::vector<ColorValue>{ui.ZodudIroBox->bitmap().colorAt(40, 30)});

    // A drag of the hue slider: one signal for each colour it passes through.
    spy.clear();
    std::vector<ColorValue> seen;
    const QPoint at = ui.SliderHue->rect().center();
    auto note = [&] {
        if (seen.empty() || seen.back() != form.currentColor()) seen.push_back(form.currentColor());
    };
    QTest::mousePress(ui.SliderHue, Qt::LeftButton, {}, at);
    note();
    for (int dy = 1; dy <= 24; ++dy) {
        QTest::mouseMove(ui.SliderHue, at + QPoint(0, dy));
        note();
    }
    QTest::mouseRelease(ui.SliderHue, Qt::LeftButton, {}, at + QPoint(0, 24));
    ASSERT_GT(seen.size(), 3u);
    EXPECT_EQ(emitted(spy), seen);

    // A typed (here pasted) value, then the same value again.
    spy.clear();
    ui.EdClValue->setText(QStringLiteral("#FFAA77"));
    ui.EdClValue->setText(QStringLiteral("#ffaa77"));
    EXPECT_EQ(emitted(spy), std::vector<ColorValue>{MakeColor(255, 170, 119)});

    // The pastel bar: the palette rebuilds and the colour under the cross becomes current.
    spy.clear();
    ui.ScrollBar1->setValue(0);
    ASSERT_NE(form.currentColor(), MakeColor(255, 170, 119));
    EXPECT_EQ(emitted(spy), std::vector<ColorValue>{form.currentColor()});
}

TEST_F(MainWindowTest, UpdateRunningInsideAnotherKeepsTheOuterGuard) {
    // A listener that answers one colour with another, as a window with its own rules might.
    const ColorValue asked = MakeColor(200, 40, 90);
    const ColorValue answer = MakeColor(10, 220, 30);
    bool answered = false;
    QObject::connect(&form, &TForm1::currentColorChanged, &form, [&](ColorValue c) {
        if (c != asked || answered) return;
        answered = true;
        form.ApplyCurrentColor(answer);
        // Back in the outer update, which still moves the views: its guard must hold.
        EXPECT_TRUE(form.updateGuard());
    });
    form.ApplyCurrentColor(asked);
    ASSERT_TRUE(answered);
    EXPECT_FALSE(form.updateGuard());
    // The outer update finishes last, so its colour stands, on every slider: had the inner one
    // lifted the guard, the sliders' own events would have mixed the two colours.
    EXPECT_EQ(form.currentColor(), asked);
    EXPECT_EQ(form.ui().SliderRed->Position(), 255 - 200);
    EXPECT_EQ(form.ui().SliderGreen->Position(), 255 - 40);
    EXPECT_EQ(form.ui().SliderBlue->Position(), 255 - 90);
    EXPECT_EQ(form.ui().PnlColor->Caption(), QStringLiteral("R:200   G:40   B:90"));
}

TEST_F(MainWindowTest, HslPanelShowsTheColourAfterPaletteDrivenChanges) {
    const TForm1Ui& ui = form.ui();
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    // The pastel bar at the top: the softest level, where the cross sits on a grey.
    ui.ScrollBar1->setValue(0);
    ColorValue c = form.currentColor();
    ASSERT_EQ(RedOf(c), GreenOf(c));
    ASSERT_EQ(GreenOf(c), BlueOf(c));
    EXPECT_TRUE(ui.PnlHslColor->Caption().startsWith(QStringLiteral("H:240   S:0   L:")))
        << ui.PnlHslColor->Caption().toStdString();

    // A resize rescales the cross; the report after the rebuild makes its colour current. The
    // panel then reads as it does when that colour is applied directly.
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    form.resize(form.width() + 90, form.height() + 60);
    ui.ZodudIroBox->deliverPendingReport();
    c = form.currentColor();
    ASSERT_NE(c, MakeColor(119, 170, 255));
    const QString shown = ui.PnlHslColor->Caption();
    // Nearby colours can share a caption; a far one cannot.
    form.ApplyCurrentColor(MakeColor(10, 200, 30));
    ASSERT_NE(ui.PnlHslColor->Caption(), shown);
    form.ApplyCurrentColor(c);
    EXPECT_EQ(ui.PnlHslColor->Caption(), shown);
}

TEST_F(MainWindowTest, OwnerDrawnButtonsShowTheirHintOnGreen) {
    const TForm1Ui& ui = form.ui();
    EXPECT_EQ(ui.ButScreenPicker->Caption(), QStringLiteral("Pick on Screen"));
    struct Case {
        TKxButton* button;
        const char* hint;
    };
    const Case cases[] = {
        {ui.ButRgb, " Set Color order to be Red Green Blue [Ctrl+R] "},
        {ui.ButBgr, " Set Color order to be Blue Green Red [Ctrl+G] "},
        {ui.ButScreenPicker, " Open Color Picker tool [Ctrl+P] "},
        {ui.ButHelp, " Show the Help on the Internet [F1] "},
        {ui.ButSettings, " Settings and Shortcuts [F2] "},
        {ui.ButInfo, " About Huesplinter [F3] "},
    };
    for (const Case& k : cases) {
        const QPoint centre = k.button->rect().center();
        QHelpEvent help(QEvent::ToolTip, centre, k.button->mapToGlobal(centre));
        QCoreApplication::sendEvent(k.button, &help);
        EXPECT_TRUE(QToolTip::isVisible()) << k.hint;
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8(k.hint));
        const QWidget* tip = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("qtooltip_label") && w->isVisible()) tip = w;
        ASSERT_NE(tip, nullptr) << k.hint;
        EXPECT_EQ(tip->palette().color(QPalette::ToolTipBase), QColor(0, 255, 0)) << k.hint;
        QToolTip::hideText();
    }
}

TEST_F(MainWindowTest, AtTheMinimumSizeEveryControlIsUsableAndReadable) {
    const TForm1Ui& ui = form.ui();
    form.resize(1, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.size() == form.minimumSize(); }));
    // Wide enough that the panels' widest texts show whole, tall enough for sliders to use.
    ui.PnlColor->setCaption(QStringLiteral("R:255   G:255   B:255"));
    ui.PnlHslColor->setCaption(QStringLiteral("H:358   S:100   L:100"));

    // Every control has a size, lies inside its parent and covers no sibling. A control laid over
    // another on purpose (a drop-down button over the end of its list) lies wholly inside it and
    // above it; children come in stacking order, the topmost last.
    std::vector<QWidget*> parents{&form};
    for (QWidget* w : form.findChildren<QWidget*>())
        if (w->isVisibleTo(&form) && !w->findChildren<QWidget*>().isEmpty()) parents.push_back(w);
    for (QWidget* parent : parents) {
        std::vector<QWidget*> children;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(&form) && !w->isWindow()) children.push_back(w);
        for (std::size_t i = 0; i < children.size(); ++i) {
            const QWidget* a = children[i];
            const std::string name = a->metaObject()->className();
            EXPECT_FALSE(a->geometry().isEmpty()) << name;
            EXPECT_TRUE(parent->rect().contains(a->geometry())) << name;
            for (std::size_t j = i + 1; j < children.size(); ++j) {
                const QRect above = children[j]->geometry();
                if (a->geometry().contains(above)) continue;
                EXPECT_FALSE(a->geometry().intersects(above))
                    << name << " and " << children[j]->metaObject()->className();
            }
        }
    }
    for (const TKxPanel* p : {ui.PnlColor, ui.PnlHslColor, ui.PnlWebSafe})
        EXPECT_LE(p->fontMetrics().horizontalAdvance(p->Caption()), p->width() - 8)
            << p->Caption().toStdString();
    for (const TKxSlider* s : {ui.SliderHue, ui.SliderBlue})
        EXPECT_GE(s->getLaneLengthInPix(), 40);
    // The palette still shows every hue.
    ui.ZodudIroBox->deliverPendingReport();
    EXPECT_GT(ui.ZodudIroBox->hueStripLength(), 0);
}

// The window as it comes up when the load timer runs before anything was painted (a window
// manager that maps the window late), with a resize between the show and the first build.
TEST(MainWindowStart, StartColourStandsWhenTheTimerRunsBeforeTheFirstPaint) {
    TScopedFakePlatform platform;
    TForm1 form;
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    form.resize(form.width() + 57, form.height() + 31);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
    const TForm1Ui& ui = form.ui();

    auto expectStartColour = [&] {
        EXPECT_EQ(form.currentColor(), MakeColor(0, 116, 0));
        EXPECT_EQ(ui.PnlSampleColor->Caption(), QStringLiteral("0 - 116 - 0"));
        EXPECT_EQ(ui.PnlColor->Caption(), QStringLiteral("R:0   G:116   B:0"));
        EXPECT_EQ(ui.PnlHslColor->Caption(), QStringLiteral("H:120   S:100   L:22"));
        EXPECT_EQ(ui.SliderGreen->Position(), 255 - 116);
        EXPECT_EQ(ui.SliderHue->Position(), 240 - 80);
        // The cross sits on the green column of the palette, not at its left edge.
        const QPoint cross = ui.ZodudIroBox->crossPos();
        const ColorValue under = ui.ZodudIroBox->bitmap().colorAt(cross.x(), cross.y());
        EXPECT_GT(cross.x(), ui.ZodudIroBox->hueStripLength() / 4);
        EXPECT_EQ(RedOf(under), 0);
        EXPECT_EQ(BlueOf(under), 0);
        EXPECT_NEAR(GreenOf(under), 116, 3);
    };
    expectStartColour();
    // The first paint, and whatever it posts, come only now.
    ui.ZodudIroBox->grab();
    QCoreApplication::sendPostedEvents();
    expectStartColour();
}

} // namespace

TEST_F(MainWindowTest, CrossHairStaysOnTheWindowItself) {
    EXPECT_EQ(form.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(form.ui().SliderHue->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.ui().ButRgb->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.ui().PnlColor->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.ui().EdClValue->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(MainWindowTest, StyleSheetColoursInTheValueFieldAndTheHintSaysWhatWasDropped) {
    typeValue(QStringLiteral("oklch(62.8% 0.2577 29.23 / 50%)"));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(255, 0, 0));
    EXPECT_EQ(form.currentColor(), MakeColor(255, 0, 0));
    EXPECT_TRUE(form.ui().EdClValue->toolTip().startsWith(QStringLiteral("Alpha ignored")));

    // A keyword without a colour changes nothing but says why.
    typeValue(QStringLiteral("currentColor"));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(255, 0, 0));
    EXPECT_TRUE(form.ui().EdClValue->toolTip().startsWith(QStringLiteral("Not a colour value")));

    typeValue(QStringLiteral("rebeccapurple"));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(0x66, 0x33, 0x99));
    EXPECT_EQ(form.ui().EdClValue->toolTip(), ValueExamplesHint());
}
