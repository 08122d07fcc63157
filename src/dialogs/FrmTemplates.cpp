#include "dialogs/FrmTemplates.h"

#include "colour/ColorValue.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/TypedInputLimit.h"
#include "pixels/KxImages.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

namespace {

// Design sizes at 144 pixels per inch.
constexpr int kDesignClientWidth = 865;
constexpr int kDesignClientHeight = 464;
constexpr int kDesignFontHeight = 18;
constexpr int kDesignTopHeight = 47;
constexpr int kDesignBottomHeight = 49;
constexpr int kDesignLeftMargin = 95;
constexpr int kDesignSideButtonWidth = 82;
constexpr int kDesignSideButtonHeight = 29;
constexpr int kDesignMaxFieldWidth = 48;
constexpr int kDesignMaxColumnWidth = 52;
constexpr int kDesignGap = 6;

constexpr ColorValue kBackground = 0xFFEBDE;
constexpr ColorValue kGradientEnd = 0xD8B4A3;

constexpr int kFieldLimit = 100;
constexpr int kMaximumLimit = 3;
constexpr int kImageSide = 24;

enum TColumn { colTemplate, colMenuText, colHex, colHue, colSat, colLum };

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A maximum as the fields and the H, S, L fields show it: nothing for "not set".
QString fieldText(int maximum) {
    return maximum > 0 ? QString::number(maximum) : QString();
}

QString columnText(int maximum) {
    return maximum == 0 ? QString() : QString::number(maximum);
}

int parseField(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

void styleButton(TKxButton* button, const QString& caption, bool withDisabledColours = true) {
    button->setCaption(caption);
    button->setClDimmedDark(14862273);
    button->setClDimmedLight(15921635);
    if (withDisabledColours) {
        button->setClDisabDark(13090744);
        button->setClDisabLight(15724267);
    }
    button->setClSelDownDark(15388358);
    button->setClSelDownLight(16052694);
    button->setFocusStyle(tfsNone);
}

} // namespace

TFrmTemplates::TFrmTemplates(TTemplateKind mode, const TColorTemplateList& list, QWidget* owner)
    : TKxDialog(owner), FMode(mode), FImages(KxMainImageList(1)) {
    FImages = KxMainImageList(scaled(kImageSide));
    setWindowTitle(QStringLiteral("Template List"));
    createControls();
    FillListView(list);
    resize(scaled(kDesignClientWidth), scaled(kDesignClientHeight));
    EdTemplate->setFocus();
}

TFrmTemplates::~TFrmTemplates() = default;

std::optional<TTemplateDialogResult>
TFrmTemplates::Edit(TTemplateKind mode, const TColorTemplateList& list,
                    const std::optional<TColorTemplate>& current, QWidget* owner) {
    TFrmTemplates dialog(mode, list, owner);
    if (current) dialog.MarkMatchingCustom(*current);
    dialog.setWindowTitle(mode == TTemplateKind::Rgb ? QStringLiteral("RGB Template List")
                                                     : QStringLiteral("HSL Template List"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

int TFrmTemplates::scaled(int designPixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

// ---------------------------------------------------------------------------------------------
// Construction and layout

void TFrmTemplates::createControls() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(scaled(kDesignFontHeight));
    setFont(font);

    createFieldRow();
    createRowButtons();
    createList();
    createBottomRow();
    // Until a row is selected the row buttons have nothing to act on.
    enableRowButtons(false);
    connectHandlers();
}

void TFrmTemplates::createFieldRow() {
    PnlTop = new TKxPanel(this);
    PnlTop->setNoPaint(true);
    ButClear = new TKxButton(PnlTop);
    styleButton(ButClear, QStringLiteral("Clear"));
    EdTemplate = new QLineEdit(PnlTop);
    new TTypedInputLimit(EdTemplate, kFieldLimit);
    EdMenuText = new QLineEdit(PnlTop);
    new TTypedInputLimit(EdMenuText, kFieldLimit);
    CbxHex = new QCheckBox(PnlTop);
    CbxHex->setChecked(true);
    if (isHsl()) {
        for (QLineEdit** field : {&EdHue, &EdSatur, &EdLumi}) {
            *field = new QLineEdit(PnlTop);
            (*field)->setAlignment(Qt::AlignCenter);
            (*field)->setText(QStringLiteral("240"));
            new TTypedInputLimit(*field, kMaximumLimit, true);
        }
    }
}

void TFrmTemplates::createRowButtons() {
    ButAdd = new TKxButton(this);
    styleButton(ButAdd, QStringLiteral("Add"));
    ButAdd->setEnabled(false);
    ButEdit = new TKxButton(this);
    styleButton(ButEdit, QStringLiteral("Edit"));
    ButEdit->setEnabled(false);
    ButUp = new TKxButton(this);
    styleButton(ButUp, QStringLiteral("Up"));
    ButDown = new TKxButton(this);
    styleButton(ButDown, QStringLiteral("Down"));
    ButDelete = new TKxButton(this);
    styleButton(ButDelete, QStringLiteral("Delete"));
}

void TFrmTemplates::createList() {
    Lv = new QTableWidget(this);
    const QStringList captions{QStringLiteral("Template"), QStringLiteral("Menu Text"),
                               QStringLiteral("HEX"),      QStringLiteral("H"),
                               QStringLiteral("S"),        QStringLiteral("L")};
    const int columns = isHsl() ? 6 : 3;
    Lv->setColumnCount(columns);
    Lv->setHorizontalHeaderLabels(captions.mid(0, columns));
    Lv->horizontalHeader()->setSectionsClickable(false);
    Lv->horizontalHeader()->setHighlightSections(false);
    Lv->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Lv->horizontalHeader()->setStretchLastSection(false);
    Lv->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = colHue; c < columns; ++c)
        Lv->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    Lv->verticalHeader()->hide();
    Lv->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Lv->verticalHeader()->setDefaultSectionSize(Lv->fontMetrics().height() + scaled(9));
    Lv->setShowGrid(true);
    Lv->setWordWrap(false);
    Lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lv->setSelectionMode(QAbstractItemView::SingleSelection);
    Lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lv->setTabKeyNavigation(false);
    Lv->viewport()->installEventFilter(this);
    connect(Lv->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { LvSelectItem(); });
}

void TFrmTemplates::createBottomRow() {
    PnlBottom = new TKxPanel(this);
    PnlBottom->setNoPaint(true);
    ButSetCustom = new TKxButton(PnlBottom);
    styleButton(ButSetCustom, QStringLiteral("Set as Custom Template"));
    ButOk = new TKxButton(PnlBottom);
    styleButton(ButOk, QStringLiteral("OK"), false);
    ButOk->setDefault(true);
    ButOk->setModalResult(tmrOK);
    ButOk->setImages(&FImages);
    ButOk->setImageIndex(kxiOk);
    ButCancel = new TKxButton(PnlBottom);
    styleButton(ButCancel, QStringLiteral("Cancel"), false);
    ButCancel->setFocusStyle(tfsDottetRect);
    ButCancel->setCancel(true);
    ButCancel->setModalResult(tmrCancel);
    ButCancel->setImages(&FImages);
    ButCancel->setImageIndex(kxiCancel);
}

void TFrmTemplates::connectHandlers() {
    for (QLineEdit* field : {EdTemplate, EdMenuText, EdHue, EdSatur, EdLumi})
        if (field) connect(field, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    connect(CbxHex, &QCheckBox::clicked, this, [this] { EditsChange(); });
    connect(ButClear, &TKxButton::clicked, this, [this] { ButClearClick(); });
    connect(ButAdd, &TKxButton::clicked, this, [this] { ButAddClick(); });
    connect(ButEdit, &TKxButton::clicked, this, [this] { ButEditClick(); });
    connect(ButUp, &TKxButton::clicked, this, [this] { ButUpClick(); });
    connect(ButDown, &TKxButton::clicked, this, [this] { ButDownClick(); });
    connect(ButDelete, &TKxButton::clicked, this, [this] { ButDeleteClick(); });
    connect(ButSetCustom, &TKxButton::clicked, this, [this] { ButSetCustomClick(); });
}

void TFrmTemplates::resizeEvent(QResizeEvent* event) {
    TKxDialog::resizeEvent(event);
    layoutControls();
}

void TFrmTemplates::layoutControls() {
    const int w = width();
    const int h = height();
    const int top = scaled(kDesignTopHeight);
    const int bottom = scaled(kDesignBottomHeight);
    const int left = scaled(kDesignLeftMargin);
    const int gap = scaled(kDesignGap);
    const int sideWidth = scaled(kDesignSideButtonWidth);
    const int sideHeight = scaled(kDesignSideButtonHeight);
    const int sideX = (left - sideWidth) / 2;

    PnlTop->setGeometry(0, 0, w, top);
    PnlBottom->setGeometry(0, h - bottom, w, bottom);
    Lv->setGeometry(left, top, std::max(w - left - gap, 1), std::max(h - top - bottom, 1));
    fitColumns();

    int y = top;
    for (TKxButton* b : {ButAdd, ButEdit, ButUp, ButDown}) {
        b->setGeometry(sideX, y, sideWidth, sideHeight);
        y += sideHeight + gap;
    }
    ButDelete->setGeometry(sideX, h - bottom - sideHeight, sideWidth, sideHeight);

    // The fields stand over the columns they fill.
    const int fieldHeight = std::min(sideHeight, top - gap);
    const int fieldY = (top - fieldHeight) / 2;
    ButClear->setGeometry(sideX, fieldY, sideWidth, fieldHeight);
    const int origin = Lv->x() + Lv->frameWidth() - Lv->horizontalScrollBar()->value();
    const auto columnX = [&](int c) { return origin + Lv->columnViewportPosition(c); };
    EdTemplate->setGeometry(columnX(colTemplate) + 1, fieldY,
                            std::max(Lv->columnWidth(colTemplate) - 2, 1), fieldHeight);
    int right = w - gap;
    if (isHsl()) {
        const int fieldWidth = scaled(kDesignMaxFieldWidth);
        QLineEdit* fields[] = {EdHue, EdSatur, EdLumi};
        for (int c = colHue; c <= colLum; ++c) {
            const int x = columnX(c) + (Lv->columnWidth(c) - fieldWidth) / 2;
            fields[c - colHue]->setGeometry(x, fieldY, fieldWidth, fieldHeight);
        }
        right = columnX(colHue);
    } else {
        right = Lv->x() + Lv->width() - scaled(8);
    }
    const int boxWidth = CbxHex->sizeHint().width();
    const int hexX = std::max(columnX(colHex) + (Lv->columnWidth(colHex) - boxWidth) / 2,
                              right - Lv->columnWidth(colHex));
    CbxHex->setGeometry(std::min(hexX, right - boxWidth), fieldY, boxWidth, fieldHeight);
    const int menuX = EdTemplate->geometry().right() + 1 + gap / 2;
    EdMenuText->setGeometry(menuX, fieldY, std::max(CbxHex->x() - gap - menuX, 1), fieldHeight);

    const int okWidth = scaled(104);
    const int okHeight = scaled(35);
    const int okY = (bottom - okHeight) / 2;
    ButSetCustom->setGeometry(scaled(100), okY, scaled(244), okHeight);
    ButCancel->setGeometry(w - gap - okWidth, okY, okWidth, okHeight);
    ButOk->setGeometry(ButCancel->x() - gap - okWidth, okY, okWidth, okHeight);
}

// The template and menu text columns share the room the fixed columns leave, each as wide as
// its contents where that fits.
void TFrmTemplates::fitColumns() {
    const int fixed = scaled(kDesignMaxColumnWidth);
    Lv->resizeColumnToContents(colHex);
    int room = Lv->viewport()->width() - Lv->columnWidth(colHex);
    if (isHsl()) {
        for (int c = colHue; c <= colLum; ++c)
            Lv->setColumnWidth(c, fixed);
        room -= 3 * fixed;
    }
    const int padding = scaled(16);
    const int wantTemplate =
        std::max(static_cast<const QAbstractItemView*>(Lv)->sizeHintForColumn(colTemplate),
                 Lv->horizontalHeader()->sectionSizeHint(0)) +
        padding;
    const int minimum = scaled(160);
    const int templateWidth = std::clamp(wantTemplate, minimum, std::max(minimum, room / 2));
    Lv->setColumnWidth(colTemplate, templateWidth);
    const int wantMenu =
        std::max(static_cast<const QAbstractItemView*>(Lv)->sizeHintForColumn(colMenuText),
                 Lv->horizontalHeader()->sectionSizeHint(1)) +
        padding;
    Lv->setColumnWidth(colMenuText, std::max(room - templateWidth, std::min(wantMenu, minimum)));
}

void TFrmTemplates::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, toQColor(kBackground));
    gradient.setColorAt(1, toQColor(kGradientEnd));
    painter.fillRect(rect(), gradient);
}

void TFrmTemplates::showEvent(QShowEvent* event) {
    TKxDialog::showEvent(event);
    if (FShown) return;
    FShown = true;
    if (!FRows.empty()) selectRow(0);
    layoutControls();
    EdTemplate->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Rows

void TFrmTemplates::FillListView(const TColorTemplateList& list) {
    FRows.clear();
    FLastCustom = -1;
    Lv->setRowCount(0);
    for (const TColorTemplate& t : list) {
        FRows.push_back({t, false});
        appendRow();
    }
}

void TFrmTemplates::appendRow() {
    const int row = Lv->rowCount();
    Lv->insertRow(row);
    for (int c = 0; c < Lv->columnCount(); ++c) {
        auto* item = new QTableWidgetItem;
        // Shown, never toggled by a click: only Set as Custom Template changes the mark.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (c >= colHue) item->setTextAlignment(Qt::AlignCenter);
        Lv->setItem(row, c, item);
    }
    writeRow(row);
}

void TFrmTemplates::writeRow(int row) {
    const TRow& r = FRows[static_cast<std::size_t>(row)];
    Lv->item(row, colTemplate)->setText(r.tmpl.text);
    Lv->item(row, colTemplate)->setCheckState(r.custom ? Qt::Checked : Qt::Unchecked);
    Lv->item(row, colMenuText)->setText(r.tmpl.name);
    Lv->item(row, colHex)->setText(r.tmpl.hex ? QStringLiteral("Yes") : QString());
    if (isHsl()) {
        Lv->item(row, colHue)->setText(columnText(r.tmpl.hueMax));
        Lv->item(row, colSat)->setText(columnText(r.tmpl.satMax));
        Lv->item(row, colLum)->setText(columnText(r.tmpl.lumMax));
    }
}

void TFrmTemplates::selectRow(int row) {
    Lv->setCurrentCell(row, colTemplate,
                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TFrmTemplates::SelectedRow() const {
    const QModelIndexList rows = Lv->selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    const int row = rows.first().row();
    return row < static_cast<int>(FRows.size()) ? row : -1;
}

bool TFrmTemplates::IsCustomRow(int row) const {
    return row >= 0 && row < static_cast<int>(FRows.size()) &&
           FRows[static_cast<std::size_t>(row)].custom;
}

TColorTemplateList TFrmTemplates::WorkingList() const {
    TColorTemplateList list;
    for (const TRow& r : FRows)
        list.Append(r.tmpl);
    return list;
}

std::optional<TColorTemplate> TFrmTemplates::LastCustomChoice() const {
    if (FLastCustom < 0) return std::nullopt;
    return FRows[static_cast<std::size_t>(FLastCustom)].tmpl;
}

void TFrmTemplates::enableRowButtons(bool enabled) {
    for (TKxButton* b : {ButUp, ButDown, ButDelete, ButSetCustom})
        b->setEnabled(enabled);
}

void TFrmTemplates::copyToFields(const TColorTemplate& tmpl) {
    EdTemplate->setText(tmpl.text);
    EdMenuText->setText(tmpl.name);
    CbxHex->setChecked(tmpl.hex);
    if (isHsl()) {
        EdHue->setText(fieldText(tmpl.hueMax));
        EdSatur->setText(fieldText(tmpl.satMax));
        EdLumi->setText(fieldText(tmpl.lumMax));
    }
    EditsChange();
}

bool TFrmTemplates::fieldsDiffer(const TColorTemplate& tmpl) const {
    if (EdTemplate->text() != tmpl.text || EdMenuText->text() != tmpl.name ||
        CbxHex->isChecked() != tmpl.hex)
        return true;
    return isHsl() &&
           (EdHue->text() != fieldText(tmpl.hueMax) || EdSatur->text() != fieldText(tmpl.satMax) ||
            EdLumi->text() != fieldText(tmpl.lumMax));
}

bool TFrmTemplates::MarkMatchingCustom(const TColorTemplate& current) {
    for (std::size_t i = 0; i < FRows.size(); ++i) {
        const TColorTemplate& t = FRows[i].tmpl;
        const bool same = t.text == current.text && t.hex == current.hex &&
                          (!isHsl() || (t.hueMax == current.hueMax && t.satMax == current.satMax &&
                                        t.lumMax == current.lumMax));
        if (same) {
            setCustom(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void TFrmTemplates::setCustom(int row) {
    FLastCustom = row;
    const TColorTemplate chosen = FRows[static_cast<std::size_t>(row)].tmpl;
    for (std::size_t i = 0; i < FRows.size(); ++i) {
        FRows[i].custom = FRows[i].tmpl == chosen;
        writeRow(static_cast<int>(i));
    }
}

// ---------------------------------------------------------------------------------------------
// Handlers

void TFrmTemplates::LvSelectItem() {
    const int row = SelectedRow();
    enableRowButtons(row >= 0);
    if (row < 0) {
        ButEdit->setEnabled(false);
        return;
    }
    const TRow& r = FRows[static_cast<std::size_t>(row)];
    if (r.custom) {
        ButDelete->setEnabled(false);
        ButSetCustom->setEnabled(false);
    }
    copyToFields(r.tmpl);
}

void TFrmTemplates::LvDblClick(bool onRow) {
    if (onRow)
        ButSetCustomClick();
    else
        ButClearClick();
}

void TFrmTemplates::EditsChange() {
    const int row = SelectedRow();
    if (row >= 0) {
        ButEdit->setEnabled(fieldsDiffer(FRows[static_cast<std::size_t>(row)].tmpl));
        return;
    }
    enableRowButtons(false);
    ButEdit->setEnabled(false);
    bool anyText = false;
    for (QLineEdit* field : {EdTemplate, EdMenuText, EdHue, EdSatur, EdLumi})
        if (field && !field->text().isEmpty()) anyText = true;
    ButAdd->setEnabled(anyText);
}

void TFrmTemplates::ButClearClick() {
    Lv->clearSelection();
    Lv->setCurrentIndex(QModelIndex());
    EdTemplate->clear();
    EdMenuText->clear();
    CbxHex->setChecked(true);
    if (isHsl()) {
        for (QLineEdit* field : {EdHue, EdSatur, EdLumi})
            field->setText(QStringLiteral("240"));
    }
    EditsChange();
}

void TFrmTemplates::ButAddClick() {
    TColorTemplate t;
    t.text = SanitizeTemplateField(EdTemplate->text());
    t.name = SanitizeTemplateField(EdMenuText->text());
    t.hex = CbxHex->isChecked();
    if (isHsl()) {
        t.hueMax = parseField(EdHue->text());
        t.satMax = parseField(EdSatur->text());
        t.lumMax = parseField(EdLumi->text());
    }
    FRows.push_back({t, false});
    {
        // The new row is appended unselected; the selection stays where it was.
        const QSignalBlocker blocker(Lv->selectionModel());
        appendRow();
    }
    fitColumns();
    layoutControls();
}

void TFrmTemplates::ButEditClick() {
    const int row = SelectedRow();
    if (row < 0) {
        EditsChange();
        return;
    }
    TColorTemplate& t = FRows[static_cast<std::size_t>(row)].tmpl;
    t.text = SanitizeTemplateField(EdTemplate->text());
    t.name = SanitizeTemplateField(EdMenuText->text());
    t.hex = CbxHex->isChecked();
    // A field still showing what the template showed keeps the template's own value (a negative
    // maximum shows as an empty field). The RGB dialog has no such fields and keeps all three.
    if (isHsl()) {
        const auto take = [](const QLineEdit* field, int& maximum) {
            if (field->text() != fieldText(maximum)) maximum = parseField(field->text());
        };
        take(EdHue, t.hueMax);
        take(EdSatur, t.satMax);
        take(EdLumi, t.lumMax);
    }
    writeRow(row);
    fitColumns();
    layoutControls();
    // The fields show what was stored (blanks where separators were typed).
    copyToFields(t);
    ButEdit->setEnabled(false);
}

void TFrmTemplates::moveSelected(int by, TKxButton* button) {
    const int row = SelectedRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= static_cast<int>(FRows.size())) {
        button->setEnabled(false);
        Lv->setFocus();
        return;
    }
    std::swap(FRows[static_cast<std::size_t>(row)], FRows[static_cast<std::size_t>(target)]);
    if (FLastCustom == row)
        FLastCustom = target;
    else if (FLastCustom == target)
        FLastCustom = row;
    writeRow(row);
    writeRow(target);
    selectRow(target);
    Lv->setFocus();
}

void TFrmTemplates::ButUpClick() {
    moveSelected(-1, ButUp);
}

void TFrmTemplates::ButDownClick() {
    moveSelected(1, ButDown);
}

void TFrmTemplates::ButDeleteClick() {
    const int row = SelectedRow();
    // The custom template stays: the settings refer to it.
    if (row < 0 || FRows[static_cast<std::size_t>(row)].custom) return;
    {
        const QSignalBlocker blocker(Lv->selectionModel());
        FRows.erase(FRows.begin() + row);
        Lv->removeRow(row);
        if (FLastCustom == row)
            FLastCustom = -1;
        else if (FLastCustom > row)
            --FLastCustom;
    }
    // The row that took its place (or the new last one) is selected, so Delete can go on.
    if (!FRows.empty()) selectRow(std::min(row, static_cast<int>(FRows.size()) - 1));
    LvSelectItem();
    fitColumns();
    layoutControls();
}

void TFrmTemplates::ButSetCustomClick() {
    const int row = SelectedRow();
    if (row < 0) {
        enableRowButtons(false);
        return;
    }
    if (row != FLastCustom) setCustom(row);
    ButDelete->setEnabled(false);
    ButSetCustom->setEnabled(false);
}

bool TFrmTemplates::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Lv->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex at = Lv->indexAt(mouse->position().toPoint());
        // The row acted on is the row under the pointer.
        if (at.isValid() && at.row() != SelectedRow()) selectRow(at.row());
        LvDblClick(at.isValid());
    }
    return TKxDialog::eventFilter(watched, event);
}
