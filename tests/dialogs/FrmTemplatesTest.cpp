#include "dialogs/FrmTemplates.h"

#include "colour/ColorTemplateFile.h"
#include "colour/TemplatePrinting.h"
#include "controls/KxButton.h"
#include "dialogs/ModalAnswerer.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TColorTemplateList builtIns(TTemplateKind kind) {
    TColorTemplateList list;
    BuildDefaultTemplates(kind, list);
    return list;
}

void show(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

QString cell(const TFrmTemplates& d, int row, int column) {
    return d.Lv->item(row, column)->text();
}

void clickRow(TFrmTemplates& d, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QRect r = d.Lv->visualItemRect(d.Lv->item(row, 1));
    QTest::mouseClick(d.Lv->viewport(), Qt::LeftButton, mods, r.center());
}

void click(TKxButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

TEST(TemplateDialog, EachModeShowsItsColumnsAndFields) {
    TFrmTemplates rgb(TTemplateKind::Rgb, builtIns(TTemplateKind::Rgb));
    show(rgb);
    ASSERT_EQ(rgb.Lv->columnCount(), 3);
    EXPECT_EQ(rgb.Lv->horizontalHeaderItem(2)->text(), "HEX");
    EXPECT_EQ(rgb.EdHue, nullptr);
    EXPECT_EQ(rgb.Lv->rowCount(), 8);
    EXPECT_EQ(cell(rgb, 1, 0), "rgb( RR, GG, BB );");
    EXPECT_EQ(cell(rgb, 0, 2), "Yes");
    EXPECT_EQ(cell(rgb, 1, 2), "");
    // Shown: the first row is selected and in the fields.
    EXPECT_EQ(rgb.SelectedRow(), 0);
    EXPECT_EQ(rgb.EdTemplate->text(), "$00BBGGRR");
    EXPECT_EQ(rgb.EdMenuText->text(), "Delphi");
    EXPECT_TRUE(rgb.CbxHex->isChecked());
    EXPECT_EQ(rgb.windowTitle(), "Template List");

    TFrmTemplates hsl(TTemplateKind::Hsl, {});
    show(hsl);
    ASSERT_EQ(hsl.Lv->columnCount(), 6);
    EXPECT_EQ(hsl.Lv->horizontalHeaderItem(5)->text(), "L");
    for (QLineEdit* field : {hsl.EdHue, hsl.EdSatur, hsl.EdLumi})
        EXPECT_EQ(field->text(), "240");
    EXPECT_EQ(hsl.SelectedRow(), -1);
    for (TKxButton* b :
         {hsl.ButAdd, hsl.ButEdit, hsl.ButUp, hsl.ButDown, hsl.ButDelete, hsl.ButSetCustom})
        EXPECT_FALSE(b->isEnabled());
}

TEST(TemplateDialog, TheCustomRowShowsItsMarkIgnoresClicksAndCannotBeDeleted) {
    TColorTemplateList list = builtIns(TTemplateKind::Hsl);
    TFrmTemplates d(TTemplateKind::Hsl, list);
    // The caller's match: text, hex flag and maxima, the name does not count.
    EXPECT_FALSE(d.MarkMatchingCustom({"hsl( HH, SS, LL );", "", false, 240, 240, 100}));
    EXPECT_TRUE(d.MarkMatchingCustom({"hsl( HH, SS, LL );", "other", false, 240, 240, 240}));
    show(d);
    EXPECT_TRUE(d.IsCustomRow(2));
    EXPECT_EQ(d.Lv->item(2, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(d.Lv->item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(d.ButDelete->isEnabled());

    clickRow(d, 2);
    ASSERT_EQ(d.SelectedRow(), 2);
    EXPECT_FALSE(d.ButDelete->isEnabled());
    EXPECT_FALSE(d.ButSetCustom->isEnabled());
    EXPECT_TRUE(d.ButUp->isEnabled());
    d.ButDeleteClick();
    EXPECT_EQ(d.Lv->rowCount(), 3);

    // A click on a row's check box leaves every mark as it was.
    QStyleOptionViewItem option;
    option.rect = d.Lv->visualItemRect(d.Lv->item(0, 0));
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = d.Lv->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option);
    QTest::mouseClick(d.Lv->viewport(), Qt::LeftButton, {}, box.center());
    QTest::mouseClick(d.Lv->viewport(), Qt::LeftButton, {}, box.center());
    clickRow(d, 1);
    EXPECT_FALSE(d.IsCustomRow(0));
    EXPECT_FALSE(d.IsCustomRow(1));
    EXPECT_EQ(d.Lv->item(1, 0)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(d.ButDelete->isEnabled());
    EXPECT_TRUE(d.ButSetCustom->isEnabled());
}

TEST(TemplateDialog, DoubleClicksChooseTheCustomTemplateOrClearTheFields) {
    TColorTemplateList list = builtIns(TTemplateKind::Rgb);
    list.Append(list.at(3)); // the same template twice
    TFrmTemplates d(TTemplateKind::Rgb, list);
    show(d);
    const QRect r = d.Lv->visualItemRect(d.Lv->item(3, 1));
    QTest::mouseClick(d.Lv->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(d.Lv->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(d.SelectedRow(), 3);
    EXPECT_TRUE(d.IsCustomRow(3));
    EXPECT_TRUE(d.IsCustomRow(8));
    EXPECT_FALSE(d.IsCustomRow(0));
    EXPECT_EQ(d.LastCustomChoice(), list.at(3));
    EXPECT_FALSE(d.ButDelete->isEnabled());

    // Below the last row: Clear.
    d.Lv->scrollToBottom();
    const QPoint empty(5, d.Lv->viewport()->height() - 3);
    ASSERT_FALSE(d.Lv->indexAt(empty).isValid());
    QTest::mouseClick(d.Lv->viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseDClick(d.Lv->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(d.SelectedRow(), -1);
    EXPECT_EQ(d.EdTemplate->text(), "");
    EXPECT_EQ(d.EdMenuText->text(), "");
    EXPECT_TRUE(d.CbxHex->isChecked());
    EXPECT_FALSE(d.ButAdd->isEnabled());
}

TEST(TemplateDialog, EditIsEnabledExactlyWhileAFieldDiffersFromTheSelectedTemplate) {
    TFrmTemplates d(TTemplateKind::Hsl, builtIns(TTemplateKind::Hsl));
    show(d);
    clickRow(d, 1);
    EXPECT_FALSE(d.ButEdit->isEnabled());
    d.EdMenuText->setFocus();
    d.EdMenuText->end(false);
    QTest::keyClicks(d.EdMenuText, "x");
    EXPECT_TRUE(d.ButEdit->isEnabled());
    QTest::keyClick(d.EdMenuText, Qt::Key_Backspace);
    EXPECT_FALSE(d.ButEdit->isEnabled());
    QTest::mouseClick(d.CbxHex, Qt::LeftButton, {}, QPoint(4, d.CbxHex->height() / 2));
    EXPECT_TRUE(d.ButEdit->isEnabled());
    QTest::mouseClick(d.CbxHex, Qt::LeftButton, {}, QPoint(4, d.CbxHex->height() / 2));
    EXPECT_FALSE(d.ButEdit->isEnabled());
    retype(d.EdLumi, "99");
    EXPECT_TRUE(d.ButEdit->isEnabled());
    retype(d.EdLumi, "100");
    EXPECT_FALSE(d.ButEdit->isEnabled());
    // Case counts.
    retype(d.EdTemplate, "HSLA( HH, SS%, LL%, 1);");
    EXPECT_TRUE(d.ButEdit->isEnabled());

    click(d.ButEdit);
    EXPECT_FALSE(d.ButEdit->isEnabled());
    EXPECT_EQ(cell(d, 1, 0), "HSLA( HH, SS%, LL%, 1);");
    EXPECT_EQ(d.WorkingList().at(1),
              (TColorTemplate{"HSLA( HH, SS%, LL%, 1);", "CSS hsla", false, 360, 100, 100}));
}

TEST(TemplateDialog, EditKeepsMaximaTheFieldsDoNotShowOrDoNotHave) {
    TColorTemplateList list;
    list.Append({"RR", "odd", true, 1, 2, 3});
    TFrmTemplates rgb(TTemplateKind::Rgb, list);
    show(rgb);
    retype(rgb.EdMenuText, "renamed");
    click(rgb.ButEdit);
    EXPECT_EQ(rgb.WorkingList().at(0), (TColorTemplate{"RR", "renamed", true, 1, 2, 3}));

    list.at(0) = {"HH", "neg", false, -5, 1000, 50};
    TFrmTemplates hsl(TTemplateKind::Hsl, list);
    show(hsl);
    EXPECT_EQ(hsl.EdHue->text(), "");
    // Text the program sets is never cut to the typed limit.
    EXPECT_EQ(hsl.EdSatur->text(), "1000");
    EXPECT_EQ(cell(hsl, 0, 3), "-5");
    retype(hsl.EdLumi, "60");
    click(hsl.ButEdit);
    EXPECT_EQ(hsl.WorkingList().at(0), (TColorTemplate{"HH", "neg", false, -5, 1000, 60}));
}

TEST(TemplateDialog, TypedInputIsLimitedButProgramTextIsNot) {
    TColorTemplateList list;
    const QString longText = QString(150, u'R');
    list.Append({longText, "n", true, 0, 0, 0});
    TFrmTemplates d(TTemplateKind::Hsl, list);
    show(d);
    EXPECT_EQ(d.EdTemplate->text(), longText);
    EXPECT_FALSE(d.ButEdit->isEnabled());
    d.EdTemplate->setFocus();
    d.EdTemplate->end(false);
    QTest::keyClicks(d.EdTemplate, "GG");
    EXPECT_EQ(d.EdTemplate->text(), longText);
    QTest::keyClick(d.EdTemplate, Qt::Key_Backspace);
    EXPECT_EQ(d.EdTemplate->text().size(), 149);

    retype(d.EdMenuText, QString(120, u'n'));
    EXPECT_EQ(d.EdMenuText->text(), QString(100, u'n'));
    retype(d.EdHue, "1a2-34");
    EXPECT_EQ(d.EdHue->text(), "123");
}

TEST(TemplateDialog, AddAppendsUnselectedWithSeparatorsTurnedIntoBlanks) {
    QTemporaryDir dir;
    TFrmTemplates d(TTemplateKind::Rgb, builtIns(TTemplateKind::Rgb));
    show(d);
    click(d.ButClear);
    EXPECT_EQ(d.SelectedRow(), -1);
    EXPECT_FALSE(d.ButAdd->isEnabled());
    QTest::keyClicks(d.EdMenuText, "m");
    EXPECT_TRUE(d.ButAdd->isEnabled());
    QTest::keyClick(d.EdMenuText, Qt::Key_Backspace);
    EXPECT_FALSE(d.ButAdd->isEnabled());

    // What a paste of text copied from elsewhere puts in.
    d.EdTemplate->insert("x\tRR");
    d.EdMenuText->insert("a\nb\r");
    click(d.ButAdd);
    ASSERT_EQ(d.Lv->rowCount(), 9);
    EXPECT_EQ(d.SelectedRow(), -1);
    const TColorTemplateList result = d.WorkingList();
    EXPECT_EQ(result.at(8), (TColorTemplate{"x RR", "a b ", true, 0, 0, 0}));

    const QString path = dir.filePath("MruList.txt");
    ASSERT_EQ(result.SaveToFile(path), QString());
    TColorTemplateList back;
    ASSERT_EQ(back.LoadFromFile(path), QString());
    EXPECT_EQ(back, result);
}

TEST(TemplateDialog, UpAndDownMoveTheSelectedTemplateAndStopAtTheEnds) {
    TColorTemplateList list = builtIns(TTemplateKind::Hsl);
    TFrmTemplates d(TTemplateKind::Hsl, list);
    d.MarkMatchingCustom(list.at(0));
    show(d);
    click(d.ButUp);
    EXPECT_FALSE(d.ButUp->isEnabled());
    EXPECT_TRUE(d.ButDown->isEnabled());
    EXPECT_EQ(d.SelectedRow(), 0);

    click(d.ButDown);
    click(d.ButDown);
    EXPECT_EQ(d.SelectedRow(), 2);
    EXPECT_EQ(cell(d, 2, 1), "CSS hsl");
    EXPECT_EQ(cell(d, 0, 1), "CSS hsla");
    EXPECT_TRUE(d.IsCustomRow(2));
    EXPECT_EQ(d.Lv->item(2, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(d.Lv->item(0, 0)->checkState(), Qt::Unchecked);
    click(d.ButDown);
    EXPECT_FALSE(d.ButDown->isEnabled());
    EXPECT_EQ(d.SelectedRow(), 2);
    click(d.ButUp);
    EXPECT_EQ(d.SelectedRow(), 1);
    EXPECT_TRUE(d.ButDown->isEnabled());
    EXPECT_EQ(d.LastCustomChoice(), list.at(0));
    EXPECT_EQ(d.WorkingList().at(1), list.at(0));
}

TEST(TemplateDialog, DeleteSelectsTheRowThatTookItsPlace) {
    TFrmTemplates d(TTemplateKind::Hsl, builtIns(TTemplateKind::Hsl));
    show(d);
    clickRow(d, 1);
    click(d.ButDelete);
    ASSERT_EQ(d.Lv->rowCount(), 2);
    EXPECT_EQ(d.SelectedRow(), 1);
    EXPECT_EQ(d.EdMenuText->text(), "Windows hsl");
    click(d.ButDelete);
    EXPECT_EQ(d.SelectedRow(), 0);
    click(d.ButDelete);
    EXPECT_EQ(d.Lv->rowCount(), 0);
    EXPECT_FALSE(d.ButDelete->isEnabled());
    EXPECT_TRUE(d.WorkingList().isEmpty());
}

TEST(TemplateDialog, OkGivesTheEditedListAndChoiceCancelGivesNothing) {
    const TColorTemplateList list = builtIns(TTemplateKind::Rgb);
    const TColorTemplateList before = list;
    const auto edit = [&](TFrmTemplates* d) {
        EXPECT_EQ(d->windowTitle(), "RGB Template List");
        EXPECT_TRUE(d->IsCustomRow(3));
        clickRow(*d, 5);
        click(d->ButSetCustom);
        click(d->ButDown);
        clickRow(*d, 0);
        click(d->ButDelete);
        retype(d->EdMenuText, "changed");
        click(d->ButEdit);
        click(d->ButClear);
        QTest::keyClicks(d->EdTemplate, "new RR");
        click(d->ButAdd);
    };
    {
        TModalAnswerer<TFrmTemplates> answer([&](TFrmTemplates* d) {
            edit(d);
            click(d->ButCancel);
        });
        EXPECT_EQ(TFrmTemplates::Edit(TTemplateKind::Rgb, list,
                                      TColorTemplate{"#RRGGBB", "", true, 0, 0, 0}, nullptr),
                  std::nullopt);
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_EQ(list, before);

    TModalAnswerer<TFrmTemplates> answer([&](TFrmTemplates* d) {
        edit(d);
        click(d->ButOk);
    });
    const std::optional<TTemplateDialogResult> result = TFrmTemplates::Edit(
        TTemplateKind::Rgb, list, TColorTemplate{"#RRGGBB", "", true, 0, 0, 0}, nullptr);
    ASSERT_TRUE(result.has_value());
    ASSERT_EQ(result->list.Count(), 8);
    EXPECT_EQ(result->list.at(0),
              (TColorTemplate{"rgb( RR, GG, BB );", "changed", false, 0, 0, 0}));
    EXPECT_EQ(result->list.at(4), list.at(6));
    EXPECT_EQ(result->list.at(5), list.at(5));
    EXPECT_EQ(result->custom, list.at(5));
    EXPECT_EQ(result->list.at(7), (TColorTemplate{"new RR", "", true, 0, 0, 0}));
}

} // namespace
