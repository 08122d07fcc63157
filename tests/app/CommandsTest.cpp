#include "app/Commands.h"

#include "app/Extra.h"
#include "app/SampleControls.h"
#include "app/Unit1.h"
#include "app/UserSlots.h"
#include "colour/ColorTemplate.h"
#include "colour/CopyFormats.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "platform/FakePlatform.h"
#include "sample/Samplefrm.h"
#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.loaded(); }));
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(&form);
        palette()->setFocus();
    }

    TKxZodudIro* palette() const { return form.ui().ZodudIroBox; }
    QScrollBar* bar() const { return form.ui().ScrollBar1; }

    void key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(target, k, mods);
    }

    void wheel(QWidget* over, int angle) {
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }

    // Runs the popup item with this caption as if the menu had been opened on `control`.
    void popupItem(QWidget* control, const QString& caption) {
        form.commands().PopupMenuPopup(control);
        for (QAction* action : form.commands().popupMenu()->actions())
            if (action->text().section(u'\t', 0, 0) == caption) {
                action->trigger();
                return;
            }
        ADD_FAILURE() << "no item " << caption.toStdString();
    }

    TScopedFakePlatform platform;
    TForm1 form;
};

TEST_F(CommandsTest, SliderKeysFocusTheirSlider) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TKxSlider* slider;
    } rows[] = {
        {Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier, form.ui().SliderHue},
        {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, form.ui().SliderSat},
        {Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier, form.ui().SliderLum},
        {Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier, form.ui().SliderRed},
        {Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier, form.ui().SliderGreen},
        {Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier, form.ui().SliderBlue},
        {Qt::Key_1, Qt::ControlModifier, form.ui().SliderHue},
    };
    for (const auto& row : rows) {
        palette()->setFocus();
        key(palette(), row.key, row.mods);
        EXPECT_EQ(QApplication::focusWidget(), row.slider)
            << row.slider->objectName().toStdString();
    }
    key(form.ui().SliderBlue, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), palette());
}

TEST_F(CommandsTest, AltStoresAndShiftSelectsUserSlots) {
    TUserSlots& userSlots = form.userSlots();
    form.ApplyCurrentColor(MakeColor(10, 20, 30));
    key(palette(), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(userSlots.userSlot(12)->color(), MakeColor(10, 20, 30));
    EXPECT_TRUE(userSlots.changed() || userSlots.currentPath().isEmpty());

    form.ApplyCurrentColor(MakeColor(200, 100, 0));
    platform.clipboard.clear();
    key(palette(), Qt::Key_C, Qt::ShiftModifier);
    EXPECT_EQ(form.currentColor(), MakeColor(10, 20, 30));
    EXPECT_EQ(platform.clipboard, FormatHtml(MakeColor(10, 20, 30)));

    // Typing in the value field selects nothing.
    form.ApplyCurrentColor(MakeColor(1, 1, 1));
    form.ui().EdClValue->setFocus();
    key(form.ui().EdClValue, Qt::Key_C, Qt::ShiftModifier);
    EXPECT_EQ(form.currentColor(), MakeColor(1, 1, 1));
}

TEST_F(CommandsTest, EnterPicksTheCurrentColourOnce) {
    form.ApplyCurrentColor(MakeColor(119, 170, 255));
    platform.clipboardWrites = 0;
    key(palette(), Qt::Key_Return);
    EXPECT_EQ(platform.clipboard, QStringLiteral("#77AAFF"));
    EXPECT_EQ(platform.clipboardWrites, 1);
    EXPECT_EQ(form.history().back(), MakeColor(119, 170, 255));
}

TEST_F(CommandsTest, PageKeysAndTheWheelMoveOnlyThePastelBar) {
    bar()->setValue(10);
    key(palette(), Qt::Key_PageUp);
    EXPECT_EQ(bar()->value(), 0);
    EXPECT_EQ(form.pastel(), 255);
    // Focused, the bar moves once per key, not once by the window and again by itself.
    bar()->setFocus();
    bar()->setValue(100);
    key(bar(), Qt::Key_PageDown);
    EXPECT_EQ(bar()->value(), 125);
    key(bar(), Qt::Key_Home);
    EXPECT_EQ(bar()->value(), 0);

    bar()->setValue(100);
    TKxSlider* hue = form.ui().SliderHue;
    const double huePos = hue->Position();
    wheel(hue, -120);
    EXPECT_EQ(bar()->value(), 104);
    EXPECT_EQ(hue->Position(), huePos);
    wheel(bar(), 120);
    EXPECT_EQ(bar()->value(), 100);
    // Touchpads send small steps: four of 30 make one notch.
    for (int i = 0; i < 3; ++i)
        wheel(form.ui().PnlShowColor, -30);
    EXPECT_EQ(bar()->value(), 100);
    wheel(form.ui().PnlShowColor, -30);
    EXPECT_EQ(bar()->value(), 104);
}

TEST_F(CommandsTest, KeypadPlusAndMinusResizeWithinTheDesktop) {
    const QRect desktop = form.screen()->availableVirtualGeometry();
    const QSize start = form.minimumSize();
    form.resize(start);
    // Shift keeps the width, Ctrl the height.
    key(palette(), Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier);
    const QSize taller(start.width(), start.height() + start.height() / 10);
    EXPECT_EQ(form.size(), taller);
    key(palette(), Qt::Key_Minus, Qt::KeypadModifier | Qt::ControlModifier);
    EXPECT_EQ(form.size(), taller);
    key(palette(), Qt::Key_Minus, Qt::KeypadModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.height(),
              std::max(form.minimumHeight(), taller.height() - taller.height() / 10));
    // Ctrl and Shift together change nothing; the plus key of the main row is no size key.
    const QSize before = form.size();
    key(palette(), Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier | Qt::ControlModifier);
    key(palette(), Qt::Key_Plus);
    EXPECT_EQ(form.size(), before);

    for (int i = 0; i < 40; ++i)
        key(palette(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_LE(form.width(), desktop.width());
    EXPECT_LE(form.height(), desktop.height());
    EXPECT_GT(form.height(), taller.height());
    for (int i = 0; i < 60; ++i)
        key(palette(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(form.size(), form.minimumSize());
}

TEST_F(CommandsTest, EscapeClosesTheWindow) {
    key(palette(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(CommandsTest, PopupCopiesTheColourOfTheControlItWasOpenedOn) {
    form.ApplyCurrentColor(MakeColor(255, 26, 184));
    popupItem(form.ui().PnlColor, QStringLiteral("Copy HTM To Clipboard "));
    EXPECT_EQ(platform.clipboard, QStringLiteral("#FF1AB8"));
    popupItem(palette(), QStringLiteral("Copy BGR ToClipboard"));
    EXPECT_EQ(platform.clipboard, QStringLiteral("0x00B81AFF"));
    popupItem(form.ui().PnlWebSafe, QStringLiteral("Copy R:G:B: To Clipboard"));
    EXPECT_EQ(platform.clipboard, FormatRgbValues(WebSafe(MakeColor(255, 26, 184))));

    popupItem(palette(), QStringLiteral("Copy CSS hsl() To Clipboard"));
    EXPECT_EQ(platform.clipboard, QStringLiteral("hsl(318.6 100% 55.1%)"));
    popupItem(palette(), QStringLiteral("Copy CSS #RGB To Clipboard"));
    EXPECT_EQ(platform.clipboard, QStringLiteral("#FF1AB8"));

    // No colour under a scroll bar or a slider: nothing copied.
    platform.clipboardWrites = 0;
    popupItem(bar(), QStringLiteral("Copy HTM To Clipboard "));
    popupItem(form.ui().SliderRed, QStringLiteral("Copy All To Clipboard"));
    EXPECT_EQ(platform.clipboardWrites, 0);
}

TEST_F(CommandsTest, ClickActionItemsSetTheActionAndModifierItemsShowTheirClick) {
    popupItem(palette(), QStringLiteral("Set Click Action"));
    QMenu* menu = nullptr;
    for (QAction* action : form.commands().popupMenu()->actions())
        if (action->menu() && action->text() == QStringLiteral("Set Click Action"))
            menu = action->menu();
    ASSERT_NE(menu, nullptr);
    menu->actions().at(3)->trigger();
    EXPECT_EQ(form.options().clickAction(), CopyStyle::RgbValues);
    EXPECT_TRUE(menu->actions().at(3)->isChecked());
    EXPECT_FALSE(menu->actions().at(1)->isChecked());
    ASSERT_EQ(menu->actions().size(), kCopyStyleCount);
    menu->actions().at(8)->trigger();
    EXPECT_EQ(form.options().clickAction(), CopyStyle::OkLch);
    EXPECT_EQ(menu->actions().at(8)->text(), QStringLiteral("Copy CSS oklch()"));

    QStringList captions;
    for (QAction* action : form.commands().popupMenu()->actions().mid(0, 3))
        captions << action->text();
    EXPECT_EQ(captions, QStringList({QStringLiteral("Copy R:G:B: To Clipboard\tShift+Click"),
                                     QStringLiteral("Copy BGR ToClipboard\tCtrl+Click"),
                                     QStringLiteral("Copy HTM To Clipboard \tCtrl+Shift+Click")}));
}

TEST_F(CommandsTest, TemplateSubmenuEntriesFormatTheirOwnCopy) {
    form.ApplyCurrentColor(MakeColor(255, 26, 184));
    QMenu* templates = nullptr;
    for (QAction* action : form.commands().popupMenu()->actions())
        if (action->menu() && action->text() == QStringLiteral("Copy to Clipboard as Template"))
            templates = action->menu();
    ASSERT_NE(templates, nullptr);
    // Built when the submenu first opens, not at start.
    EXPECT_TRUE(templates->actions().isEmpty());
    emit templates->aboutToShow();
    ASSERT_FALSE(templates->actions().isEmpty());
    const qsizetype built = templates->actions().size();
    emit templates->aboutToShow();
    EXPECT_EQ(templates->actions().size(), built);
    // A change of the lists empties it until it opens again.
    form.commands().BuildTemplateMenu();
    EXPECT_TRUE(templates->actions().isEmpty());
    emit templates->aboutToShow();
    EXPECT_EQ(templates->actions().size(), built);
    form.commands().PopupMenuPopup(palette());
    ASSERT_GT(form.commands().rgbTemplates().Count(), 0);
    QAction* first = templates->actions().first();
    const QString expected =
        FormatTemplate(MakeColor(255, 26, 184), form.commands().rgbTemplates().at(0));
    first->trigger();
    EXPECT_EQ(platform.clipboard, expected);
}

TEST_F(CommandsTest, PasteRemembersOnlyTextThatParsesAndAppliesAnUnchangedText) {
    platform.clipboard = QStringLiteral("rgb(1,2,3);");
    key(palette(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.ui().EdClValue->text(), QStringLiteral("rgb(1,2,3);"));
    EXPECT_EQ(form.currentColor(), MakeColor(1, 2, 3));
    EXPECT_EQ(form.valueFieldColor(), MakeColor(1, 2, 3));
    EXPECT_EQ(form.pasteColor(), QStringLiteral("rgb(1,2,3);"));

    platform.clipboard = QString(5000, u'x');
    key(palette(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.pasteColor(), QStringLiteral("rgb(1,2,3);"));
    EXPECT_EQ(form.currentColor(), MakeColor(1, 2, 3));

    platform.clipboard = QStringLiteral("#0A0B0C");
    key(palette(), Qt::Key_Insert, Qt::ShiftModifier);
    form.ApplyCurrentColor(MakeColor(90, 90, 90));
    key(palette(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.currentColor(), MakeColor(10, 11, 12));
}

TEST_F(CommandsTest, CtrlVInTheValueFieldPastesOnceThroughTheField) {
    const QString text = QStringLiteral("#0A0B0C");
    platform.clipboard = text;
    QGuiApplication::clipboard()->setText(text);
    QLineEdit* field = form.ui().EdClValue;
    field->setFocus();
    field->selectAll();
    key(field, Qt::Key_V, Qt::ControlModifier);
    // The field's own paste replaced the selection; the command added nothing of its own.
    EXPECT_EQ(field->text(), text);
    EXPECT_EQ(form.currentColor(), MakeColor(10, 11, 12));

    // Pasting into the middle keeps the field's editing: the text lands at the cursor.
    field->setText(QStringLiteral("rgb(1,2,3);"));
    field->setCursorPosition(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    platform.clipboard = QStringLiteral("x");
    key(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("xrgb(1,2,3);"));
}

TEST_F(CommandsTest, EditingKeysEditTheFocusedTextFieldAndRunCommandsElsewhere) {
    TSampleControls& sample = form.sampleControls();
    const bool transparent = sample.settings().transparent;
    bar()->setValue(100);
    for (QLineEdit* field :
         {form.ui().EdClValue, sample.EdTextColor, sample.CmbSizes->lineEdit()}) {
        SCOPED_TRACE(field->objectName().toStdString() + " " + field->metaObject()->className());
        field->setFocus();
        field->setText(QStringLiteral("12"));
        // Keys go where the focus is: an editable combo box holds it for its field.
        QWidget* focus = QApplication::focusWidget();
        key(focus, Qt::Key_Home);
        EXPECT_EQ(field->cursorPosition(), 0);
        key(focus, Qt::Key_End);
        EXPECT_EQ(field->cursorPosition(), 2);
        key(focus, Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(field->cursorPosition(), 0);
        key(focus, Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(field->selectedText(), QStringLiteral("1"));
        key(focus, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(field->selectedText(), QStringLiteral("12"));
        key(focus, Qt::Key_Delete);
        EXPECT_EQ(field->text(), QString());
        key(focus, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(field->text(), QStringLiteral("12"));
    }
    EXPECT_EQ(bar()->value(), 100);
    EXPECT_EQ(sample.settings().transparent, transparent);

    palette()->setFocus();
    key(palette(), Qt::Key_Home);
    EXPECT_EQ(bar()->value(), 0);
    key(palette(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_NE(sample.settings().transparent, transparent);
}

class PasteIntoSampleTest : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        // A solid background: the test platform has no screen to show through.
        if (form.sampleControls().settings().transparent) form.sampleControls().ToggleTransparent();
        form.sampleControls().ButShowSampleClick();
        sample = form.sampleControls().sampleWindow();
        ASSERT_NE(sample, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sample));
        QApplication::setActiveWindow(&form);
        palette()->setFocus();
        form.options().setSaveSampleAfterPaste(true);
    }

    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& seen) {
        boxes << seen.text;
        return kMsgOk;
    }};
    QStringList boxes;
    QTemporaryDir folder;
    TSampleForm* sample = nullptr;
};

TEST_F(PasteIntoSampleTest, SavingAfterPasteWritesTheChosenFileWithWindowsLineEnds) {
    const QString file = folder.filePath(QStringLiteral("Mine.txt"));
    form.commands().setSampleTextFile(file);
    platform.clipboard = QStringLiteral("one\ntwo");
    key(palette(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(sample->sampleText(), QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(FileBytes(file), QByteArray("one\r\ntwo"));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();
    // The value field is left alone while the sample window takes the text.
    EXPECT_NE(form.ui().EdClValue->text(), QStringLiteral("one\ntwo"));
}

TEST_F(PasteIntoSampleTest, AFailedSaveAfterPasteKeepsTheFileAndSaysWhy) {
    const QString file = folder.filePath(QStringLiteral("Mine.txt"));
    PutFile(file, "kept\r\n");
    form.commands().setSampleTextFile(file);
    platform.clipboard = QString(5000, u'y');
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(1024);
        key(palette(), Qt::Key_V, Qt::ControlModifier);
    }
    EXPECT_EQ(FileBytes(file), QByteArray("kept\r\n"));
    ASSERT_EQ(boxes.size(), 1) << boxes.join(u'|').toStdString();
    EXPECT_TRUE(boxes.front().contains(QDir::toNativeSeparators(file)))
        << boxes.front().toStdString();
    // The text still reached the sample window, and the chosen file stays chosen.
    EXPECT_TRUE(sample->sampleText().startsWith(QString(5000, u'y')));
    EXPECT_EQ(form.commands().sampleTextFile(), file);
}

} // namespace
