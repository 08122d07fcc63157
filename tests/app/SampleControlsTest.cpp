#include "app/SampleControls.h"

#include "app/Unit1.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"
#include "sample/Samplefrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A sample window that writes down what its owner hands it.
class TRecordingSampleForm : public TSampleForm {
public:
    using TSampleForm::TSampleForm;
    QStringList calls;
    void SetTextFile(const QString& p) override {
        note("SetTextFile"), TSampleForm::SetTextFile(p);
    }
    void SetTransparent(bool v) override { note("SetTransparent"), TSampleForm::SetTransparent(v); }
    void SetShowText(bool v) override { note("SetShowText"), TSampleForm::SetShowText(v); }
    void SetFontName(const QString& n) override {
        note("SetFontName"), TSampleForm::SetFontName(n);
    }
    void SetFontSize(int s) override { note("SetFontSize"), TSampleForm::SetFontSize(s); }
    void SetBold(bool v) override { note("SetBold"), TSampleForm::SetBold(v); }
    void SetItalic(bool v) override { note("SetItalic"), TSampleForm::SetItalic(v); }
    void SetLockTextColor(bool v) override {
        note("SetLockTextColor"), TSampleForm::SetLockTextColor(v);
    }
    void SetLockBkgColor(bool v) override {
        note("SetLockBkgColor"), TSampleForm::SetLockBkgColor(v);
    }
    void SetSampleBkgColor(ColorValue c) override {
        note("SetSampleBkgColor"), TSampleForm::SetSampleBkgColor(c);
    }
    void SetSampleTextColor(ColorValue c) override {
        note("SetSampleTextColor"), TSampleForm::SetSampleTextColor(c);
    }

private:
    void note(const char* call) { calls << QString::fromLatin1(call); }
};

class SampleControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.desktop.image = QImage(800, 600, QImage::Format_ARGB32);
        platform.desktop.image.fill(Qt::gray);
        sample.createSampleWindow = [this](TSampleOwner* owner, QWidget* parent) {
            auto* window = new TRecordingSampleForm(owner, parent);
            window->setCaptureSettleMs(0);
            recorder = window;
            return window;
        };
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void keys(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&form, key, modifiers);
    }
    void typeInto(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    TScopedFakePlatform platform;
    TForm1 form;
    TSampleControls& sample = form.sampleControls();
    TRecordingSampleForm* recorder = nullptr;
};

} // namespace

TEST_F(SampleControlsTest, FirstRunFieldsShowTheDesignColours) {
    EXPECT_EQ(sample.EdTextColor->text(), "FFED81");
    EXPECT_EQ(sample.settings().textColor, MakeColor(255, 237, 129));
    EXPECT_EQ(sample.EdBkgColor->text(), "007400");
    EXPECT_TRUE(sample.ButLockTextCl->Down());
    EXPECT_FALSE(sample.ButLockBkgCl->Down());
}

TEST_F(SampleControlsTest, TypedColourIsUpperCasedStoredAndSent) {
    sample.ButShowSampleClick();
    typeInto(sample.EdTextColor, "ff00aa");
    EXPECT_EQ(sample.EdTextColor->text(), "FF00AA");
    EXPECT_EQ(sample.settings().textColor, 0xAA00FFu);
    EXPECT_EQ(sample.EdTextColor->palette().color(QPalette::Base), QColor(255, 0, 170));
    EXPECT_EQ(sample.EdTextColor->palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_EQ(recorder->textColor(), 0xAA00FFu);

    typeInto(sample.EdBkgColor, "1x2-3");
    EXPECT_EQ(sample.EdBkgColor->text(), "123");
    EXPECT_EQ(sample.settings().bkgColor, MakeColor(0, 116, 0));

    // Pasted text is not filtered key by key; the field rewrites it in its own spelling.
    sample.EdBkgColor->clear();
    sample.EdBkgColor->insert("12-4Z6");
    EXPECT_EQ(sample.EdBkgColor->text(), "001246");
    EXPECT_EQ(sample.settings().bkgColor, MakeColor(0x00, 0x12, 0x46));
    EXPECT_EQ(recorder->bkgColor(), MakeColor(0x00, 0x12, 0x46));
}

TEST_F(SampleControlsTest, FunctionKeysStoreTheCurrentColour) {
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    keys(Qt::Key_F12);
    EXPECT_EQ(sample.EdBkgColor->text(), "77AAFF");
    EXPECT_EQ(sample.settings().bkgColor, MakeColor(119, 170, 255));
    form.ApplyCurrentColor(MakeColor(1, 2, 3));
    keys(Qt::Key_F11);
    EXPECT_EQ(sample.EdTextColor->text(), "010203");
}

TEST_F(SampleControlsTest, LockKeysSwapTheEditedSideOnce) {
    sample.ButShowSampleClick();
    ASSERT_TRUE(recorder->lockTextColor());
    keys(Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(sample.settings().lockTextColor);
    EXPECT_TRUE(sample.settings().lockBkgColor);
    EXPECT_TRUE(recorder->lockBkgColor());
    EXPECT_EQ(form.currentColor(), sample.settings().textColor);

    form.ApplyCurrentColor(MakeColor(9, 9, 9));
    keys(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(form.currentColor(), MakeColor(9, 9, 9));
    EXPECT_TRUE(sample.ButLockBkgCl->Down());

    keys(Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(sample.settings().lockTextColor);
    EXPECT_EQ(form.currentColor(), sample.settings().bkgColor);
}

TEST_F(SampleControlsTest, TextAndTransparentSwitches) {
    sample.ButShowSampleClick();
    keys(Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(sample.CbxShowText->isChecked());
    EXPECT_FALSE(sample.CbxTransparent->isEnabled());
    EXPECT_FALSE(recorder->showText());
    // Still toggles while disabled.
    keys(Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(sample.CbxTransparent->isChecked());
    EXPECT_FALSE(sample.settings().transparent);
    keys(Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(sample.CbxTransparent->isEnabled());

    // See-through sends every colour to the text; back to solid restores the locked text colour.
    keys(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(recorder->transparent());
    form.ApplyCurrentColor(MakeColor(5, 6, 7));
    EXPECT_EQ(recorder->textColor(), MakeColor(5, 6, 7));
    QTest::mouseClick(sample.CbxTransparent, Qt::LeftButton);
    EXPECT_FALSE(recorder->transparent());
    EXPECT_EQ(recorder->textColor(), sample.settings().textColor);
}

TEST_F(SampleControlsTest, SizeBoxBoundsWhatIsShownAndStored) {
    sample.ButShowSampleClick();
    QStringList boxes;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& box) {
        boxes << box.caption + "|" + box.text;
        return kMsgOk;
    });
    const int ppi = recorder->logicalDpiY();
    sample.CmbSizes->setEditText("300");
    EXPECT_EQ(recorder->sampleFont().pixelSize(), (300 * ppi + 36) / 72);
    EXPECT_EQ(sample.settings().fontSize, 255);

    // Typing passes through texts that are no size: nothing is said and nothing changes until
    // the edit ends.
    // The sample window took the activation as it showed; the user clicks back into the box.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QComboBox* box = sample.CmbSizes;
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, "-");
    QCoreApplication::processEvents();
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(sample.settings().fontSize, 255);
    const int copies = platform.clipboardWrites;
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(boxes.isEmpty()) << "shown from inside the edit's end";
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes, QStringList{"Huesplinter|'-' is not a valid integer value"});
    EXPECT_EQ(sample.CmbSizes->currentText(), "300");
    EXPECT_EQ(platform.clipboardWrites, copies) << "Enter in the size box copies no colour";

    // An emptied box or a size below one point gets the size in effect back when the focus
    // leaves, silently.
    for (const char* text : {"", "-5", "0"}) {
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        form.ui().ZodudIroBox->setFocus();
        EXPECT_EQ(sample.CmbSizes->currentText(), "300") << text;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(sample.settings().fontSize, 255);
    EXPECT_EQ(recorder->sampleFont().pixelSize(), (300 * ppi + 36) / 72);

    sample.CmbSizes->setEditText("99999999");
    EXPECT_EQ(recorder->sampleFont().pixelSize(), (TSampleForm::MaxFontSize * ppi + 36) / 72);
    EXPECT_EQ(sample.settings().fontSize, 255);
    sample.CmbSizes->setEditText("12");
    keys(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(sample.CmbSizes->currentText(), "14");
    EXPECT_EQ(sample.settings().fontSize, 14);
}

TEST_F(SampleControlsTest, ShowHandsOverInOrderAndKeepsTheStoredColours) {
    form.ApplyCurrentColor(MakeColor(200, 10, 10));
    sample.ButShowSampleClick();
    ASSERT_NE(recorder, nullptr);
    EXPECT_EQ(recorder->calls,
              (QStringList{"SetTextFile", "SetTransparent", "SetShowText", "SetFontName",
                           "SetFontSize", "SetBold", "SetItalic", "SetLockTextColor",
                           "SetSampleBkgColor", "SetSampleTextColor"}));
    EXPECT_EQ(sample.ButShowSample->Caption(), "Hide Sample");
    EXPECT_EQ(recorder->textColor(), sample.settings().textColor);
    EXPECT_EQ(recorder->bkgColor(), sample.settings().bkgColor);
    form.ApplyCurrentColor(MakeColor(1, 200, 3));
    EXPECT_EQ(recorder->textColor(), MakeColor(1, 200, 3));
}

TEST_F(SampleControlsTest, HidingKeepsThePlaceAndEscClosesOnlyTheSampleWindow) {
    sample.ButShowSampleClick();
    QPointer<TSampleForm> first = sample.sampleWindow();
    first->move(first->pos() + QPoint(17, 9));
    const QRect where = first->geometry();
    sample.ButShowSampleClick();
    EXPECT_EQ(sample.settings().placement, where);
    EXPECT_EQ(sample.ButShowSample->Caption(), "Show Sample");
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));

    sample.ButShowSampleClick();
    QPointer<TSampleForm> second = sample.sampleWindow();
    EXPECT_EQ(second->geometry(), where);

    second->activateWindow();
    QTest::keyClick(second, Qt::Key_Escape);
    EXPECT_EQ(sample.sampleWindow(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(SampleControlsTest, TunePanelButtonTogglesTheLayout) {
    const QRect palette = form.ui().ZodudIroBox->geometry();
    keys(Qt::Key_F6);
    EXPECT_FALSE(form.ui().PnlPicker->isVisible());
    EXPECT_FALSE(form.ui().PnlSampleColor1->isVisible());
    EXPECT_EQ(sample.ButEyeDropPanel->parentWidget(), form.ui().PnlHslColor);
    EXPECT_EQ(sample.ButEyeDropPanel->geometry().right(),
              form.ui().PnlHslColor->width() - 1 - sample.ButEyeDropPanel->y());
    EXPECT_GT(form.ui().ZodudIroBox->width(), palette.width());
    keys(Qt::Key_F6);
    EXPECT_TRUE(form.ui().PnlPicker->isVisible());
    EXPECT_EQ(sample.ButEyeDropPanel->parentWidget(), form.ui().PnlSampleColor1);
    EXPECT_EQ(form.ui().ZodudIroBox->geometry(), palette);
}

TEST_F(SampleControlsTest, FontListIsSortedUniqueAndSelectingItWritesNothing) {
    sample.FillFontList({"b Sans", "A Serif", "@Vertical", "a serif", "C Mono"}, "Missing");
    QStringList items;
    for (int i = 0; i < sample.CmbFonts->count(); ++i)
        items << sample.CmbFonts->itemText(i);
    EXPECT_EQ(items, (QStringList{"A Serif", "b Sans", "C Mono"}));
    // Neither "Arial" nor the fallback is in the list: the first entry shows, the setting keeps
    // its name.
    EXPECT_EQ(sample.CmbFonts->currentIndex(), 0);
    EXPECT_EQ(sample.settings().fontName, "Arial");
    keys(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(sample.settings().fontName, "b Sans");
}

TEST_F(SampleControlsTest, FontListNamesEachFamilyOnceAndFallsBackToSansSerif) {
    const QStringList installed{"C059 [UKWN]", "C059 [urw]", "DejaVu Sans", "Bitstream [x] Mono"};
    sample.FillFontList(installed, "DejaVu Sans");
    QStringList items;
    for (int i = 0; i < sample.CmbFonts->count(); ++i)
        items << sample.CmbFonts->itemText(i);
    EXPECT_EQ(items, (QStringList{"Bitstream [x] Mono", "C059", "DejaVu Sans"}));
    EXPECT_EQ(sample.CmbFonts->currentText(), "DejaVu Sans");
    // The sample draws what the list shows; the stored name stays until the user picks one.
    sample.ButShowSampleClick();
    EXPECT_EQ(recorder->sampleFont().family(), "DejaVu Sans");
    EXPECT_EQ(sample.settings().fontName, "Arial");

    // A name stored with its foundry finds its family.
    TSampleSettings tagged;
    tagged.fontName = "C059 [urw]";
    sample.ApplySettings(tagged);
    sample.FillFontList(installed, "DejaVu Sans");
    EXPECT_EQ(sample.CmbFonts->currentText(), "C059");
    EXPECT_EQ(recorder->sampleFont().family(), "C059");
}

TEST_F(SampleControlsTest, HotTrackAndLockRecordRepair) {
    keys(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(form.ui().ZodudIroBox->HotTrack());
    EXPECT_TRUE(form.options().hotTrack());
    EXPECT_TRUE(sample.ButHotTrack->Down());
    QTest::mouseClick(sample.ButHotTrack, Qt::LeftButton);
    EXPECT_FALSE(form.ui().ZodudIroBox->HotTrack());
    EXPECT_FALSE(sample.ButHotTrack->Down());

    TSampleSettings both;
    both.lockTextColor = both.lockBkgColor = true;
    sample.ApplySettings(both);
    EXPECT_TRUE(sample.settings().lockTextColor);
    EXPECT_FALSE(sample.settings().lockBkgColor);
    keys(Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(sample.settings().lockBkgColor);
}

TEST_F(SampleControlsTest, LockButtonsShowTheLockBesideTheirLetter) {
    // The lock's body is golden; nothing else on these buttons is.
    const auto golden = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 200 && c.green() > 130 && c.green() < 225 && c.blue() < 110;
            }
        return n;
    };
    for (TKxButton* lock : {sample.ButLockTextCl, sample.ButLockBkgCl}) {
        const QImage shown = lock->grab().toImage();
        EXPECT_GT(golden(shown), 10) << lock->Caption().toStdString();
        EXPECT_GE(lock->width(), 38);
    }
}

TEST(SampleControlsOwnership, EachMainWindowHasItsOwnSampleWindow) {
    TScopedFakePlatform platform;
    platform.desktop.image = QImage(800, 600, QImage::Format_ARGB32);
    auto one = std::make_unique<TForm1>();
    TForm1 two;
    one->sampleControls().ButShowSampleClick();
    two.sampleControls().ButShowSampleClick();
    ASSERT_NE(one->sampleControls().sampleWindow(), two.sampleControls().sampleWindow());
    one.reset();
    two.sampleControls().ButShowSampleClick();
    EXPECT_EQ(two.sampleControls().sampleWindow(), nullptr);
}

TEST(SampleControlsSeeThrough, ADesktopThatHidesTheScreenOffersNoSeeThroughAndKeepsTheChoice) {
    TScopedFakePlatform platform;
    platform.throughPortal = true;
    platform.desktop.image = QImage(800, 600, QImage::Format_ARGB32);
    std::vector<TMsgBoxSeen> boxes;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& seen) {
        boxes.push_back(seen);
        return 1;
    });
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
    TSampleControls& sample = form.sampleControls();
    TSampleSettings stored = sample.settings();
    stored.transparent = true;
    sample.ApplySettings(stored);

    EXPECT_FALSE(sample.CbxTransparent->isChecked());
    EXPECT_FALSE(sample.CbxTransparent->isEnabled());
    EXPECT_TRUE(sample.CbxTransparent->toolTip().contains("does not let programs read the screen"));
    QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(sample.CbxTransparent->isChecked());

    sample.ButShowSampleClick();
    ASSERT_NE(sample.sampleWindow(), nullptr);
    EXPECT_FALSE(sample.sampleWindow()->transparent());
    EXPECT_EQ(platform.grabs, 0);
    EXPECT_TRUE(boxes.empty());
    // Turning the text off and on again does not bring the box back to life.
    QTest::keyClick(&form, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(sample.CbxTransparent->isEnabled());
    // The stored choice is kept for a desktop that can show it.
    EXPECT_TRUE(sample.settings().transparent);
}

TEST(SampleContrastRow, RatioAndMarkFollowEitherColourAndTheTextSize) {
    TScopedFakePlatform platform;
    TForm1 form;
    TSampleControls& sample = form.sampleControls();
    sample.StoreSampleBkgColor(kWhite);
    sample.StoreSampleTextColor(MakeColor(0x77, 0x77, 0x77));
    EXPECT_EQ(sample.LblContrast->text(), QStringLiteral("4.47:1 \u2717"));
    sample.EdTextColor->setText("767676");
    EXPECT_EQ(sample.LblContrast->text(), QStringLiteral("4.54:1 \u2713"));
    EXPECT_TRUE(sample.LblContrast->toolTip().contains("AAA normal text: fail"));
    sample.EdBkgColor->setText("000000");
    EXPECT_TRUE(sample.LblContrast->text().startsWith("4.62:1"));

    sample.EdBkgColor->setText("FFFFFF");
    sample.EdTextColor->setText("777777");
    sample.CmbSizes->setEditText("18");
    EXPECT_EQ(sample.LblContrast->text(), QStringLiteral("4.47:1 \u2713"));
}

TEST_F(SampleControlsTest, ReadableTextKeysMoveOnlyTheTextLightness) {
    sample.StoreSampleBkgColor(kWhite);
    sample.StoreSampleTextColor(MakeColor(0x77, 0x77, 0x77));
    keys(Qt::Key_F7);
    EXPECT_EQ(sample.EdTextColor->text(), "767676");
    EXPECT_EQ(sample.settings().bkgColor, kWhite);

    // With the sample shown it judges the window's colours; the background stays locked.
    sample.ButShowSampleClick();
    keys(Qt::Key_K, Qt::ControlModifier);
    form.ApplyCurrentColor(MakeColor(230, 120, 120));
    ASSERT_EQ(recorder->textColor(), MakeColor(230, 120, 120));
    keys(Qt::Key_F7, Qt::ShiftModifier);
    const ColorValue text = recorder->textColor();
    EXPECT_GE(ColorContrast::Hundredths(ColorContrast::Ratio(text, kWhite)), 700);
    EXPECT_EQ(recorder->bkgColor(), kWhite);
    EXPECT_EQ(sample.settings().textColor, text);
    // The text is the side being edited, so the views follow it.
    EXPECT_EQ(form.currentColor(), text);

    // No shade of anything reaches 7:1 on a middle grey: said, and nothing changes.
    sample.StoreSampleBkgColor(MakeColor(0x77, 0x77, 0x77));
    QStringList seen;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& box) {
        seen << box.text;
        return kMsgOk;
    });
    keys(Qt::Key_F7, Qt::ShiftModifier);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].startsWith("No lighter or darker shade"));
    EXPECT_EQ(recorder->textColor(), text);
}
