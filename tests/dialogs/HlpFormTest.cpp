#include "dialogs/HlpForm.h"

#include "colour/ColorTemplateFile.h"
#include "colour/TemplatePrinting.h"
#include "controls/KxButton.h"
#include "dialogs/FrmTemplates.h"
#include "dialogs/Kxmsgbx.h"
#include "dialogs/ModalAnswerer.h"
#include "platform/FakePlatform.h"
#include "support/Kxknownfolders.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TColorTemplateList builtIns(TTemplateKind kind) {
    TColorTemplateList list;
    BuildDefaultTemplates(kind, list);
    return list;
}

void click(TKxButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

void clickRow(TFrmTemplates* d, int row) {
    const QRect r = d->Lv->visualItemRect(d->Lv->item(row, 1));
    QTest::mouseClick(d->Lv->viewport(), Qt::LeftButton, {}, r.center());
}

// Values in which every field differs from a fresh start, with texts longer than the fields'
// typed limits.
TSettingsValues unusualValues() {
    TSettingsValues v;
    v.formats.customTemplate = QStringLiteral("RR ") + QString(97, u'x');
    v.formats.customHex = false;
    v.formats.hslTemplate = QStringLiteral("HH SS LL");
    v.formats.hslHex = true;
    v.formats.hueMax = 240;
    v.formats.satMax = 1000;
    v.formats.lumMax = 7;
    v.clickAction = 3;
    v.sampleTextPath = QStringLiteral("/home/somebody/.local/share/Vextora/Shared/Sample(12).txt");
    v.saveAfterPaste = true;
    return v;
}

class SettingsDialog : public ::testing::Test {
protected:
    std::unique_ptr<THlpForm> make(const TSettingsValues& values,
                                   std::vector<TShortcutGroup> groups = DefaultShortcutGroups()) {
        return std::make_unique<THlpForm>(values, builtIns(TTemplateKind::Rgb),
                                          builtIns(TTemplateKind::Hsl), dir.path(),
                                          std::move(groups));
    }

    TScopedFakePlatform platform;
    QTemporaryDir dir;
};

TEST_F(SettingsDialog, EveryValueIsShownAndComesBackWholeOnOkOnly) {
    const TSettingsValues values = unusualValues();
    ASSERT_GT(values.sampleTextPath.size(), 39);
    auto form = make(values);
    EXPECT_EQ(form->windowTitle(), "Huesplinter Shortcuts and Settings");
    EXPECT_TRUE(form->Rdb[3]->isChecked());
    EXPECT_FALSE(form->CbxRgbHex->isChecked());
    EXPECT_TRUE(form->CbxHslHex->isChecked());
    EXPECT_EQ(form->EdTemplate->text(), values.formats.customTemplate);
    EXPECT_EQ(form->EdFileName->text(), values.sampleTextPath);
    EXPECT_TRUE(form->CbxSaveAfterPaste->isChecked());
    EXPECT_EQ(form->EdHueMax->text(), "240");
    EXPECT_EQ(form->EdSatMax->text(), "1000");
    EXPECT_EQ(form->EdLumMax->text(), "7");
    EXPECT_EQ(form->EdHslTemplate->text(), "HH SS LL");
    {
        TModalAnswerer<THlpForm> ok([](THlpForm* f) { click(f->ButOk); });
        EXPECT_EQ(form->Execute(), values);
    }

    TModalAnswerer<THlpForm> cancel([](THlpForm* f) {
        QTest::mouseClick(f->Rdb[0], Qt::LeftButton);
        f->CbxSaveAfterPaste->click();
        f->EdFileName->setText("elsewhere.txt");
        click(f->ButCancel);
    });
    EXPECT_EQ(form->Execute(), std::nullopt);
}

TEST_F(SettingsDialog, TheRadioButtonsChooseTheClickActionAndTheHexBoxesStayPut) {
    auto form = make(TSettingsValues());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(form->Rdb[1]->isChecked());
    for (int tag : {5, 0, 4, 8, 6}) {
        QTest::mouseClick(form->Rdb[static_cast<std::size_t>(tag)], Qt::LeftButton);
        EXPECT_EQ(form->Values().clickAction, tag);
        EXPECT_EQ(form->Rdb[static_cast<std::size_t>(tag)]->property("Tag").toInt(), tag);
    }
    for (QCheckBox* box : {form->CbxRgbHex, form->CbxHslHex}) {
        const bool before = box->isChecked();
        box->click();
        EXPECT_EQ(box->isChecked(), before);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_EQ(box->isChecked(), before);
    }
    EXPECT_EQ(form->Values().formats, FormatSettings());
}

TEST_F(SettingsDialog, AMaximumThatIsNoIntegerTakesNoneOfTheHslSettings) {
    const TSettingsValues values = unusualValues();
    auto form = make(values);
    form->EdHueMax->setText("300");
    form->EdLumMax->setText("5x");
    form->EdHslTemplate->setText("other");
    form->EdFileName->setText("taken.txt");
    const TSettingsValues taken = form->Values();
    EXPECT_EQ(taken.formats.hueMax, values.formats.hueMax);
    EXPECT_EQ(taken.formats.satMax, values.formats.satMax);
    EXPECT_EQ(taken.formats.lumMax, values.formats.lumMax);
    EXPECT_EQ(taken.formats.hslTemplate, values.formats.hslTemplate);
    EXPECT_EQ(taken.sampleTextPath, "taken.txt");

    form->EdLumMax->setText("-5");
    EXPECT_EQ(form->Values().formats.lumMax, -5);
    EXPECT_EQ(form->Values().formats.hueMax, 300);
    EXPECT_EQ(form->Values().formats.hslTemplate, "other");
}

TEST_F(SettingsDialog, TheShortcutListShowsEveryGroupAndRowInOrderAfterTheDialogIsShown) {
    auto form = make(TSettingsValues());
    EXPECT_EQ(form->LvShortCuts->topLevelItemCount(), 0);
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->LvShortCuts->topLevelItemCount() > 0; }));
    const std::vector<TShortcutGroup> groups = DefaultShortcutGroups();
    ASSERT_EQ(form->LvShortCuts->topLevelItemCount(), 4);
    const int counts[] = {43, 6, 13, 14};
    for (int g = 0; g < 4; ++g) {
        const QTreeWidgetItem* header = form->LvShortCuts->topLevelItem(g);
        EXPECT_EQ(header->text(0), groups[static_cast<std::size_t>(g)].header);
        ASSERT_EQ(header->childCount(), counts[g]);
        EXPECT_TRUE(header->isExpanded());
        for (int r = 0; r < counts[g]; ++r) {
            const TShortcutRow& row = groups[static_cast<std::size_t>(g)].rows[std::size_t(r)];
            EXPECT_EQ(header->child(r)->text(1), row.action);
            EXPECT_EQ(header->child(r)->text(2), row.keys);
        }
    }
    EXPECT_EQ(form->LvShortCuts->topLevelItem(0)->text(0), "Main Window Shortcuts:  ");
    EXPECT_EQ(form->LvShortCuts->topLevelItem(3)->child(13)->text(1), "Close the window");
    EXPECT_EQ(form->LvShortCuts->topLevelItem(0)->child(42)->text(2), "Escape");

    // The rows are the caller's.
    auto own = make(TSettingsValues(), {{"Mine:", {{"Ctrl + J", "Jump"}}}});
    own->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return own->LvShortCuts->topLevelItemCount() > 0; }));
    ASSERT_EQ(own->LvShortCuts->topLevelItemCount(), 1);
    EXPECT_EQ(own->LvShortCuts->topLevelItem(0)->child(0)->text(1), "Jump");
}

TEST_F(SettingsDialog, ChoosingTheCustomTemplateSavesTheListAtOnceWhateverTheResult) {
    TSettingsValues values;
    values.formats.customTemplate = "#RRGGBB";
    values.formats.customHex = true;
    auto form = make(values);
    QSignalSpy replaced(form.get(), &THlpForm::templatesReplaced);
    TModalAnswerer<THlpForm> outer([&](THlpForm* f) {
        TModalAnswerer<TFrmTemplates> inner([](TFrmTemplates* d) {
            EXPECT_EQ(d->windowTitle(), "RGB Template List");
            EXPECT_TRUE(d->IsCustomRow(3));
            clickRow(d, 2); // "rgba( RR, GG, BB, 1 );", decimal
            click(d->ButSetCustom);
            clickRow(d, 7);
            click(d->ButDelete);
            click(d->ButOk);
        });
        click(f->ButRgbTemplates);
        EXPECT_TRUE(inner.answered());
        EXPECT_EQ(f->EdTemplate->text(), "rgba( RR, GG, BB, 1 );");
        EXPECT_FALSE(f->CbxRgbHex->isChecked());
        click(f->ButCancel);
    });
    EXPECT_EQ(form->Execute(), std::nullopt);
    ASSERT_TRUE(outer.answered());

    // The list was replaced and written although the settings were cancelled.
    ASSERT_EQ(replaced.count(), 1);
    EXPECT_EQ(replaced[0][0].value<TTemplateKind>(), TTemplateKind::Rgb);
    const TColorTemplateList now = replaced[0][1].value<TColorTemplateList>();
    EXPECT_EQ(now.Count(), 7);
    EXPECT_EQ(form->Templates(TTemplateKind::Rgb), now);
    TColorTemplateList onDisk;
    ASSERT_EQ(onDisk.LoadFromFile(dir.filePath("MruList.txt")), QString());
    EXPECT_EQ(onDisk, now);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("HslMruList.txt")));

    // With OK the choice comes back as the custom template in decimal.
    TModalAnswerer<THlpForm> again([&](THlpForm* f) {
        TModalAnswerer<TFrmTemplates> inner([](TFrmTemplates* d) {
            clickRow(d, 1);
            click(d->ButSetCustom);
            click(d->ButOk);
        });
        click(f->ButRgbTemplates);
        click(f->ButOk);
    });
    const std::optional<TSettingsValues> taken = form->Execute();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->formats.customTemplate, "rgb( RR, GG, BB );");
    EXPECT_FALSE(taken->formats.customHex);
}

TEST_F(SettingsDialog, ChoosingTheHslTemplateBringsItsMaximaAndLeavesTheRgbFileAlone) {
    TSettingsValues values; // hsl( HH, SS%, LL% ); in hex, which no built-in matches
    auto form = make(values);
    TModalAnswerer<TFrmTemplates> inner([](TFrmTemplates* d) {
        EXPECT_EQ(d->windowTitle(), "HSL Template List");
        EXPECT_FALSE(d->IsCustomRow(0));
        clickRow(d, 2); // "Windows hsl"
        click(d->ButSetCustom);
        click(d->ButOk);
    });
    click(form->ButHslTemplates);
    ASSERT_TRUE(inner.answered());
    EXPECT_EQ(form->EdHslTemplate->text(), "hsl( HH, SS, LL );");
    EXPECT_FALSE(form->CbxHslHex->isChecked());
    for (QLineEdit* field : {form->EdHueMax, form->EdSatMax, form->EdLumMax})
        EXPECT_EQ(field->text(), "240");
    EXPECT_EQ(FileBytes(dir.filePath("HslMruList.txt")).count("\r\n"), 3);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("MruList.txt")));
    const TSettingsValues taken = form->Values();
    EXPECT_EQ(taken.formats.hueMax, 240);
    EXPECT_FALSE(taken.formats.hslHex);
    EXPECT_EQ(taken.formats.hslTemplate, "hsl( HH, SS, LL );");
}

TEST_F(SettingsDialog, AListThatCannotBeSavedIsReportedAndStillTaken) {
    QFile blocker(dir.filePath("notafolder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    THlpForm form(TSettingsValues(), builtIns(TTemplateKind::Rgb), builtIns(TTemplateKind::Hsl),
                  dir.filePath("notafolder"));
    QSignalSpy replaced(&form, &THlpForm::templatesReplaced);
    std::vector<TMsgBoxSeen> boxes;
    TMsgBoxAnswererScope answerer([&](const TMsgBoxSeen& seen) {
        boxes.push_back(seen);
        return kMsgOk;
    });
    TModalAnswerer<TFrmTemplates> inner([](TFrmTemplates* d) {
        clickRow(d, 0);
        click(d->ButDelete);
        click(d->ButOk);
    });
    click(form.ButHslTemplates);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error saving color templates !!");
    EXPECT_TRUE(boxes[0].text.startsWith("The System say:\r\n"));
    EXPECT_GT(boxes[0].text.size(), QString("The System say:\r\n").size());
    EXPECT_EQ(boxes[0].iconKind, kMsgIconError);
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(form.Templates(TTemplateKind::Hsl).Count(), 2);
}

TEST_F(SettingsDialog, TheEditButtonCreatesANewSampleFileAndOpensIt) {
    auto form = make(TSettingsValues());
    const QString folder = SharedFolder();
    QFile::remove(folder + "Sample.txt");
    QFile::remove(folder + "Sample(1).txt");
    click(form->ButEditSample);
    EXPECT_EQ(form->EdFileName->text(), folder + "Sample.txt");
    EXPECT_TRUE(QFileInfo::exists(folder + "Sample.txt"));
    form->EdFileName->clear();
    click(form->ButEditSample);
    EXPECT_EQ(form->EdFileName->text(), folder + "Sample(1).txt");
    EXPECT_EQ(platform.openedFiles, (QStringList{folder + "Sample.txt", folder + "Sample(1).txt"}));

    // An existing file is opened as it is; one that cannot be made opens nothing.
    click(form->ButEditSample);
    EXPECT_EQ(platform.openedFiles.size(), 3);
    form->EdFileName->setText(dir.filePath("missing/folder/x.txt"));
    click(form->ButEditSample);
    EXPECT_EQ(platform.openedFiles.size(), 3);
    EXPECT_EQ(form->EdFileName->text(), dir.filePath("missing/folder/x.txt"));
    QFile::remove(folder + "Sample.txt");
    QFile::remove(folder + "Sample(1).txt");
}

TEST_F(SettingsDialog, BrowsingPutsTheChosenFileInTheFieldWhateverItsLength) {
    const QString chosen = dir.filePath(QString(60, u'n') + ".txt");
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    auto form = make(TSettingsValues());
    {
        TModalAnswerer<QFileDialog> cancel([](QFileDialog* d) { d->reject(); });
        click(form->ButBrowse);
        EXPECT_TRUE(cancel.answered());
    }
    EXPECT_EQ(form->EdFileName->text(), "");
    TModalAnswerer<QFileDialog> choose([&](QFileDialog* d) {
        EXPECT_EQ(d->nameFilters(), QStringList{"All Files (*.*)"});
        d->selectFile(chosen);
        static_cast<QDialog*>(d)->accept();
    });
    click(form->ButBrowse);
    EXPECT_EQ(QDir::fromNativeSeparators(form->EdFileName->text()), chosen);
}

} // namespace
