#include "colorsets/Colorsetfrm.h"

#include "colorsets/Clpnl.h"
#include "colorsets/ColorSetText.h"
#include "controls/KxButton.h"
#include "dialogs/Kxmsgbx.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

class ColorsetfrmTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TColorSetStore store{dir.path() + "/"};
    std::vector<TMsgBoxSeen> boxes;
    // Answers for the questions to come, in order; OK when none is left.
    std::vector<int> answers;
    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& seen) {
        boxes.push_back(seen);
        if (answers.empty()) return kMsgOk;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }};
    std::unique_ptr<TColorSetForm> form;
    QStringList names;

    void open() {
        form = std::make_unique<TColorSetForm>(store, store.ListColorSets());
        form->AskName = [this](const QStringList& taken) -> std::optional<QString> {
            takenSeen = taken;
            if (names.isEmpty()) return std::nullopt;
            return names.takeFirst();
        };
        form->AskOpenFile = [this] { return chosenFile; };
        form->AskSaveFile = [this](const QString& proposed) {
            proposedName = proposed;
            return TExportChoice{chosenFile, chosenFormat};
        };
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    QString path(const QString& name) const { return store.pathFor(name); }
    void select(const QString& name) {
        const auto found = form->listBox()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        form->listBox()->setCurrentItem(found.front());
    }
    void editTile(int i, const QString& text) {
        form->tile(i)->edit()->selectAll();
        QTest::keyClicks(form->tile(i)->edit(), text);
    }
    QString current() const { return form->listBox()->currentItem()->text(); }
    QStringList listed() const {
        QStringList list;
        for (const TColorSetRef& ref : form->sets())
            list.append(ref.name);
        return list;
    }

    QStringList takenSeen;
    QString chosenFile;
    TPaletteFormat chosenFormat = TPaletteFormat::ColorSet;
    QString proposedName;
};

TEST_F(ColorsetfrmTest, OpeningSelectsAndWritesTheFirstBuiltInSet) {
    open();
    EXPECT_EQ(form->windowTitle(), "Manage Color Sets");
    EXPECT_EQ(current(), "16 Colors Set");
    EXPECT_TRUE(QFile::exists(path("16 Colors Set")));
    EXPECT_EQ(form->loadedPath(), path("16 Colors Set"));
    EXPECT_EQ(form->tile(0)->name(), "Black");
    EXPECT_EQ(form->tile(2)->name(), "Maroon");
    EXPECT_EQ(form->tile(2)->colorText(), "000080");
    EXPECT_EQ(form->tile(16)->name(), "");
    EXPECT_EQ(form->tile(19)->colorText(), "000000");
    EXPECT_FALSE(form->changed());
    // Caption colours follow the brightness rule: gray 128 black, maroon 40 white.
    EXPECT_EQ(form->tile(15)->label()->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(form->tile(2)->label()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(form->tile(15)->label()->text(), "F");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ColorsetfrmTest, EditedNamesAreSavedOnSelectionAndOkButNotOnCancel) {
    PutFile(path("other"), ColorSetText(20, "123456", "o"));
    open();
    editTile(3, "Olive Drab");
    EXPECT_TRUE(form->changed());
    QSignalSpy saved(form.get(), &TColorSetForm::colorSetSaved);
    select("other");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(saved.count(), 1);
    EXPECT_TRUE(FileBytes(path("16 Colors Set")).contains("\r\n008080=Olive Drab\r\n"));
    EXPECT_EQ(form->tile(3)->name(), "o3");

    editTile(0, "first");
    form->butCancel()->Click();
    EXPECT_EQ(form->result(), kMsgCancel);
    EXPECT_EQ(FileBytes(path("other")), ColorSetText(20, "123456", "o"));

    open();
    select("other");
    editTile(0, "kept");
    form->butOk()->Click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(FileBytes(path("other")).contains("\r\n123456=kept\r\n"));
}

TEST_F(ColorsetfrmTest, ABrokenSetLeavesTheTilesAndTheLoadedSetAlone) {
    PutFile(path("good"), ColorSetText(20, "111111", "g"));
    PutFile(path("short"), ColorSetText(5, "222222", "s"));
    PutFile(path("zzz"), ColorSetText(20, "333333", "z"));
    open();
    select("good");
    select("short");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "File Error!");
    EXPECT_TRUE(boxes[0].text.startsWith("File have errors: \r\n" + path("short")));
    EXPECT_EQ(form->tile(0)->name(), "g0");
    EXPECT_EQ(form->loadedPath(), path("good"));
    EXPECT_FALSE(form->changed());
    select("zzz");
    form->butOk()->Click();
    EXPECT_EQ(FileBytes(path("good")), ColorSetText(20, "111111", "g"));
}

TEST_F(ColorsetfrmTest, RenameAndDeleteOfTheLoadedSetKeepItsEditsWhereTheyBelong) {
    PutFile(path("a"), ColorSetText(20, "111111", "a"));
    PutFile(path("b"), ColorSetText(20, "222222", "b"));
    open();
    select("a");
    editTile(1, "edited");
    names = {"a2"};
    QSignalSpy renamed(form.get(), &TColorSetForm::colorSetRenamed);
    form->butRename()->Click();
    ASSERT_EQ(renamed.count(), 1);
    EXPECT_EQ(renamed.at(0).at(0).toString(), path("a"));
    EXPECT_EQ(renamed.at(0).at(1).toString(), path("a2"));
    EXPECT_EQ(current(), "a2");
    select("b");
    EXPECT_FALSE(QFile::exists(path("a")));
    EXPECT_TRUE(FileBytes(path("a2")).contains("\r\n111111=edited\r\n"));

    editTile(0, "doomed");
    QSignalSpy deleted(form.get(), &TColorSetForm::colorSetDeleted);
    form->butDelete()->Click();
    EXPECT_EQ(deleted.count(), 1);
    EXPECT_FALSE(QFile::exists(path("b")));
    form->butOk()->Click();
    EXPECT_FALSE(QFile::exists(path("b")));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ColorsetfrmTest, DeleteMovesTheSelectionAndCanBeRefused) {
    PutFile(path("a"), ColorSetText(20, "111111", "a"));
    open();
    form->ConfirmDelete = [](const QString&) { return false; };
    select("a");
    form->butDelete()->Click();
    EXPECT_TRUE(QFile::exists(path("a")));
    form->ConfirmDelete = nullptr;
    form->butDelete()->Click();
    EXPECT_EQ(listed(), QStringList({"16 Colors Set", "Default Color Set"}));
    EXPECT_EQ(current(), "Default Color Set");
    form->butDelete()->Click();
    form->butDelete()->Click();
    EXPECT_EQ(form->listBox()->count(), 0);
    EXPECT_EQ(form->listBox()->currentRow(), -1);
    EXPECT_FALSE(form->butDelete()->isEnabled());
    EXPECT_FALSE(form->butExport()->isEnabled());
    EXPECT_TRUE(form->butNew()->isEnabled());
}

TEST_F(ColorsetfrmTest, DelInANameFieldEditsTextAndDeletesNothing) {
    open();
    form->activateWindow();
    form->tile(0)->edit()->setFocus();
    form->tile(0)->edit()->setCursorPosition(0);
    QTest::keyClick(form->tile(0)->edit(), Qt::Key_Delete);
    EXPECT_EQ(form->tile(0)->name(), "lack");
    EXPECT_EQ(form->listBox()->count(), 2);
    form->listBox()->setFocus();
    QTest::keyClick(form->listBox(), Qt::Key_Delete);
    EXPECT_EQ(form->listBox()->count(), 1);
}

TEST_F(ColorsetfrmTest, NewAppendsCopyKeepsTheSelectionImportGoesInOrder) {
    PutFile(path("m"), ColorSetText(20, "111111", "m"));
    open();
    names = {"zz new", "b copy"};
    form->butNew()->Click();
    EXPECT_EQ(takenSeen, QStringList({"16 Colors Set", "Default Color Set", "m"}));
    EXPECT_EQ(current(), "zz new");
    EXPECT_EQ(form->loadedPath(), path("zz new"));
    EXPECT_EQ(form->tile(0)->name(), "");
    select("m");
    form->butCopy()->Click();
    EXPECT_EQ(current(), "m");
    EXPECT_EQ(listed(),
              QStringList({"16 Colors Set", "Default Color Set", "m", "zz new", "b copy"}));

    chosenFile = dir.path() + "/elsewhere/N.Hspl";
    QDir().mkpath(dir.path() + "/elsewhere");
    PutFile(chosenFile, ColorSetText(20, "00ff80", "n"));
    form->butImport()->Click();
    EXPECT_EQ(listed(),
              QStringList({"16 Colors Set", "Default Color Set", "m", "N", "zz new", "b copy"}));
    EXPECT_EQ(current(), "N");
    EXPECT_EQ(form->tile(0)->colorText(), "00FF80");

    // The same name again asks for another; cancelling imports nothing.
    form->butImport()->Click();
    EXPECT_EQ(form->listBox()->count(), 6);
    EXPECT_TRUE(boxes.empty());

    PutFile(chosenFile, ColorSetText(20, "00GG00", "bad"));
    names = {"bad"};
    form->butImport()->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "File have errors: \r\n" + chosenFile + "\r\nWrong Color Value: 00GG00");
    EXPECT_FALSE(QFile::exists(path("bad")));
}

TEST_F(ColorsetfrmTest, ExportProposesTheSetsFileName) {
    open();
    select("Default Color Set");
    chosenFile = dir.path() + "/out.Hspl";
    form->butExport()->Click();
    EXPECT_EQ(proposedName, "Default Color Set.Hspl");
    EXPECT_EQ(FileBytes(chosenFile), FileBytes(path("Default Color Set")));
}

TEST_F(ColorsetfrmTest, ExportAndCopyTakeTheEditsOnScreen) {
    open();
    select("Default Color Set");
    editTile(2, "edited");
    chosenFile = dir.path() + "/out.Hspl";
    QSignalSpy saved(form.get(), &TColorSetForm::colorSetSaved);
    form->butExport()->Click();
    EXPECT_TRUE(FileBytes(chosenFile).contains("=edited\r\n"));
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(form->changed());

    editTile(2, "copied");
    names = {"twin"};
    form->butCopy()->Click();
    EXPECT_TRUE(FileBytes(path("twin")).contains("=copied\r\n"));

    // A set whose edits cannot be written is neither exported nor copied from its old file.
    editTile(2, "stuck");
    QFile::remove(path("Default Color Set"));
    QDir().mkdir(path("Default Color Set"));
    QFile::remove(chosenFile);
    form->butExport()->Click();
    names = {"twin2"};
    form->butCopy()->Click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.startsWith("Could not save Color Set file:"));
    EXPECT_FALSE(QFile::exists(chosenFile));
    EXPECT_FALSE(QFile::exists(path("twin2")));
    EXPECT_EQ(form->tile(2)->name(), "stuck");
}

TEST_F(ColorsetfrmTest, ExportWritesTheChosenFormatAndAsksBeforeReplacing) {
    PutFile(path("Web"), ColorSetText(20, "0000FF", "red "));
    open();
    select("Web");
    chosenFile = dir.path() + "/out.Hspl";
    chosenFormat = TPaletteFormat::Gpl;
    form->butExport()->Click();
    // The filter's extension replaces the one typed.
    const QByteArray gpl = FileBytes(dir.path() + "/out.gpl");
    EXPECT_TRUE(gpl.startsWith("GIMP Palette\nName: Web\n#\n255   0   0\tred 0\n")) << gpl.data();
    EXPECT_TRUE(boxes.empty());

    // The file is there now: No keeps it, Yes replaces it.
    chosenFile = dir.path() + "/out";
    chosenFormat = TPaletteFormat::Css;
    PutFile(dir.path() + "/out.css", "keep");
    answers = {kMsgNo};
    form->butExport()->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              dir.path() + "/out.css\r\nalready exists. Do you want to replace it ?");
    EXPECT_EQ(FileBytes(dir.path() + "/out.css"), "keep");
    answers = {kMsgYes};
    form->butExport()->Click();
    EXPECT_TRUE(
        FileBytes(dir.path() + "/out.css").startsWith("/* Web */\n:root {\n  --red-0: #ff0000;\n"));
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(ColorsetfrmTest, ALongPaletteImportsAsTwentyOrAsSeveralSets) {
    PutFile(path("Big 2"), ColorSetText(20, "111111", "taken"));
    open();
    chosenFile = dir.path() + "/Big.gpl";
    QByteArray gpl = "GIMP Palette\n";
    for (int i = 0; i < 45; ++i)
        gpl += QByteArray::number(i) + " 0 0 c" + QByteArray::number(i) + "\n";
    PutFile(chosenFile, gpl);

    answers = {kMsgCancel};
    form->butImport()->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The file holds 45 colours, more than the 20 of a colour set.\r\n\r\n"
                             "Yes: import the first 20 colours as one set.\r\n"
                             "No: import all 45 as 3 sets, \"Big 1\" to \"Big 3\".\r\n"
                             "Cancel: import nothing.");
    EXPECT_EQ(form->listBox()->count(), 3);

    answers = {kMsgYes};
    form->butImport()->Click();
    EXPECT_EQ(current(), "Big");
    EXPECT_EQ(form->tile(19)->name(), "c19");

    // "Big 2" is taken: the user is asked for another name until all three are free.
    answers = {kMsgNo};
    names = {"Big", "Lot"};
    form->butImport()->Click();
    EXPECT_EQ(listed(), QStringList({"16 Colors Set", "Default Color Set", "Big", "Big 2", "Lot 1",
                                     "Lot 2", "Lot 3"}));
    EXPECT_EQ(current(), "Lot 1");
    select("Lot 3");
    EXPECT_EQ(form->tile(4)->name(), "c44");
    EXPECT_EQ(form->tile(5)->name(), "");
    EXPECT_EQ(form->tile(5)->colorText(), "000000");
}

TEST_F(ColorsetfrmTest, AnImportErrorNamesTheLineAndWritesNothing) {
    open();
    chosenFile = dir.path() + "/Bad.gpl";
    PutFile(chosenFile, "GIMP Palette\r\n1 2 3\r\n4 5 600\r\n");
    form->butImport()->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "File Error!");
    EXPECT_EQ(boxes[0].text,
              "File have errors: \r\n" + chosenFile + "\r\nLine 3: a colour value is above 255.");
    EXPECT_FALSE(QFile::exists(path("Bad")));
    EXPECT_EQ(form->listBox()->count(), 2);
}

TEST_F(ColorsetfrmTest, AFailedSaveKeepsTheEditsOnScreen) {
    PutFile(path("a"), ColorSetText(20, "111111", "a"));
    open();
    select("a");
    editTile(0, "precious");
    // The set's file turned into a folder: it cannot be written.
    QFile::remove(path("a"));
    QDir().mkdir(path("a"));
    select("16 Colors Set");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("Could not save Color Set file:\r\n" + path("a")));
    EXPECT_EQ(form->tile(0)->name(), "precious");
    EXPECT_EQ(current(), "a");
    form->butOk()->Click();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ColorsetfrmTest, OneWheelNotchScrollsOneTile) {
    open();
    form->resize(form->width(), 300);
    QScrollBar* bar = form->scrollBox()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 2 * form->tile(0)->height());
    const QPoint at = form->tile(1)->edit()->rect().center();
    QWheelEvent wheel(at, form->tile(1)->edit()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->tile(1)->edit(), &wheel);
    EXPECT_EQ(bar->value(), form->tile(0)->height());
}

TEST_F(ColorsetfrmTest, PastedLineBreaksBecomeBlanks) {
    open();
    form->tile(4)->edit()->setText("first\r\nsecond");
    EXPECT_EQ(form->tile(4)->name(), "first  second");
    form->butOk()->Click();
    EXPECT_EQ(FileBytes(path("16 Colors Set")).count("\r\n"), 21);
}

} // namespace
