#include "dialogs/HlpForm.h"

#include "colour/ColorTemplateFile.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/FrmTemplates.h"
#include "dialogs/Kxmsgbx.h"
#include "dialogs/TypedInputLimit.h"
#include "pixels/KxImages.h"
#include "platform/Platform.h"
#include "support/FileOps.h"
#include "support/Kxfunctions.h"
#include "support/Kxknownfolders.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Design sizes at 144 pixels per inch.
constexpr int kDesignClientWidth = 770;
constexpr int kDesignClientHeight = 540;
constexpr int kDesignFontHeight = 18;
constexpr int kDesignRowHeight = 37;
constexpr int kDesignBottomHeight = 52;
constexpr int kDesignMaxFieldWidth = 54;
constexpr int kImageSide = 24;

constexpr ColorValue kBackground = 0xDAC5BA;
constexpr ColorValue kRowLight = 0xE3DAC4;

constexpr int kFileNameLimit = 39;
constexpr int kLoadDelayMs = 50;

struct TRadioText {
    const char16_t* caption;
    const char16_t* hint;
};

constexpr TRadioText kCopyStyles[] = {
    {u"All", u" Copy all Values Formats to the Clipboard  "},
    {u"HTML", u" Copy Value to the Clipboard in Html Format (#FF1AB8)"},
    {u"BGRHex", u" Copy Value to the Clipboard in BGRHex Format (0x00B81AFF)"},
    {u"R:G:B:", u" Copy Value to the Clipboard in R:G:B Format  (R:255 G:26 B:184) "},
    {u"HSL", u" Copy Value to the Clipboard in HSL Custom Format  (hsl( 318, 100%, 55% );) "},
    {u"Custom", u" Copy Value to the Clipboard in Custom Format  (rgb(255,26,184);) "},
    {u"rgb()", u" Copy Value to the Clipboard in CSS rgb Format  (rgb(255 26 184)) "},
    {u"hsl()", u" Copy Value to the Clipboard in CSS hsl Format  (hsl(318.2 100% 55.1%)) "},
    {u"oklch()",
     u" Copy Value to the Clipboard in CSS oklch Format  (oklch(0.6552 0.2519 350.2)) "},
    {u"#RGB", u" Copy Value to the Clipboard as #RGB where exact, else as #RRGGBB  (#F1B) "},
};
static_assert(std::size(kCopyStyles) == kCopyStyleCount);

// The styles up to Custom share the first row; the style-sheet notations get their own.
constexpr int kFirstCssStyle = static_cast<int>(CopyStyle::CssRgb);

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QLabel* label(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

std::optional<int> parseMaximum(const QLineEdit* field) {
    bool ok = false;
    const int value = field->text().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The group headers' picture: a key cap.
QIcon keyCapIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 20.0, side / 20.0);
    p.setPen(QPen(QColor(90, 100, 130), 1.0));
    p.setBrush(QColor(120, 130, 160));
    p.drawRoundedRect(QRectF(2.5, 3.5, 15, 14), 3, 3);
    QLinearGradient face(0, 3, 0, 14);
    face.setColorAt(0, QColor(255, 255, 255));
    face.setColorAt(1, QColor(215, 222, 240));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(4, 4.5, 12, 10), 2, 2);
    p.setPen(QPen(QColor(60, 70, 110), 1.4));
    p.drawLine(QPointF(7.5, 9.5), QPointF(12.5, 9.5));
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

THlpForm::THlpForm(const TSettingsValues& values, const TColorTemplateList& rgbTemplates,
                   const TColorTemplateList& hslTemplates, const QString& dataFolder,
                   std::vector<TShortcutGroup> shortcuts, QWidget* parent)
    : TKxDialog(parent), FValues(values), FRgbTemplates(rgbTemplates), FHslTemplates(hslTemplates),
      FDataFolder(dataFolder), FShortcuts(std::move(shortcuts)), FRgbHex(values.formats.customHex),
      FHslHex(values.formats.hslHex), FClickAction(values.clickAction),
      FImages(KxMainImageList(1)) {
    FImages = KxMainImageList(scaled(kImageSide));
    setWindowTitle(QStringLiteral("Huesplinter Shortcuts and Settings"));
    createControls();

    if (FClickAction >= 0 && FClickAction < static_cast<int>(Rdb.size()))
        Rdb[static_cast<std::size_t>(FClickAction)]->setChecked(true);
    CbxRgbHex->setChecked(FRgbHex);
    CbxHslHex->setChecked(FHslHex);
    // No length limit here: a limit would cut what the program puts in.
    EdTemplate->setText(values.formats.customTemplate);
    EdFileName->setText(values.sampleTextPath);
    CbxSaveAfterPaste->setChecked(values.saveAfterPaste);
    EdHueMax->setText(QString::number(values.formats.hueMax));
    EdSatMax->setText(QString::number(values.formats.satMax));
    EdLumMax->setText(QString::number(values.formats.lumMax));
    EdHslTemplate->setText(values.formats.hslTemplate);

    setFixedSize(scaled(kDesignClientWidth), scaled(kDesignClientHeight));
}

THlpForm::~THlpForm() = default;

int THlpForm::scaled(int designPixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

std::optional<TSettingsValues> THlpForm::Execute() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Values();
}

TSettingsValues THlpForm::Values() const {
    TSettingsValues v = FValues;
    v.clickAction = FClickAction;
    v.formats.customHex = FRgbHex;
    v.formats.customTemplate = EdTemplate->text();
    v.sampleTextPath = EdFileName->text();
    v.saveAfterPaste = CbxSaveAfterPaste->isChecked();
    const std::optional<int> hue = parseMaximum(EdHueMax);
    const std::optional<int> sat = parseMaximum(EdSatMax);
    const std::optional<int> lum = parseMaximum(EdLumMax);
    // The maxima belong to the HSL template: all of it or nothing.
    if (hue && sat && lum) {
        v.formats.hueMax = *hue;
        v.formats.satMax = *sat;
        v.formats.lumMax = *lum;
        v.formats.hslTemplate = EdHslTemplate->text();
        v.formats.hslHex = FHslHex;
    }
    return v;
}

const TColorTemplateList& THlpForm::Templates(TTemplateKind kind) const {
    return kind == TTemplateKind::Rgb ? FRgbTemplates : FHslTemplates;
}

// ---------------------------------------------------------------------------------------------
// Construction

TKxPanel* THlpForm::addRow(QWidget* parent, ColorValue colour) {
    auto* row = new TKxPanel(parent);
    row->setColor(colour);
    row->setBevelOuter(bvNone);
    row->setFixedHeight(scaled(kDesignRowHeight));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, scaled(6), 0);
    layout->setSpacing(scaled(4));
    return row;
}

TKxButton* THlpForm::imageButton(QWidget* parent, int image) {
    auto* button = new TKxButton(parent);
    button->setClDimmedDark(14862273);
    button->setClDimmedLight(15921635);
    button->setClSelDownDark(15388358);
    button->setClSelDownLight(16052694);
    button->setImages(&FImages);
    button->setImageIndex(image);
    button->setFixedSize(scaled(33), scaled(31));
    return button;
}

void THlpForm::createControls() {
    applyLook();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(createShortcutList(), 1);
    column->addWidget(createSampleFileRow());
    column->addWidget(createCustomTemplateRow());
    column->addWidget(createClickActionRow());
    column->addWidget(PnlCssClick);
    column->addWidget(createHslRow());
    column->addWidget(createBottomRow());
    createLoadTimer();
    connectHandlers();
}

void THlpForm::applyLook() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(scaled(kDesignFontHeight));
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(kBackground));
    setPalette(pal);
}

QTreeWidget* THlpForm::createShortcutList() {
    LvShortCuts = new QTreeWidget(this);
    LvShortCuts->setColumnCount(3);
    LvShortCuts->setHeaderLabels(
        {QString(), QStringLiteral("Actions"), QStringLiteral("ShortCuts")});
    LvShortCuts->setRootIsDecorated(false);
    LvShortCuts->setIndentation(0);
    LvShortCuts->setItemsExpandable(true);
    LvShortCuts->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvShortCuts->setSelectionMode(QAbstractItemView::SingleSelection);
    LvShortCuts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LvShortCuts->setAlternatingRowColors(true);
    LvShortCuts->setIconSize(QSize(scaled(30), scaled(30)));
    LvShortCuts->header()->setSectionsClickable(false);
    LvShortCuts->header()->setStretchLastSection(true);
    LvShortCuts->header()->setSectionResizeMode(0, QHeaderView::Fixed);
    LvShortCuts->setColumnWidth(0, scaled(10));
    return LvShortCuts;
}

TKxPanel* THlpForm::createSampleFileRow() {
    PnlMumble = addRow(this, kRowLight);
    CbxSaveAfterPaste = new QCheckBox(QStringLiteral("Save after Paste  "), PnlMumble);
    CbxSaveAfterPaste->setToolTip(
        QStringLiteral(" Save Sample text to file after pasting new text to the sample "));
    EdFileName = new QLineEdit(PnlMumble);
    new TTypedInputLimit(EdFileName, kFileNameLimit);
    ButBrowse = imageButton(PnlMumble, kxiBrowse);
    ButEditSample = imageButton(PnlMumble, kxiEditSample);
    auto* mumble = static_cast<QHBoxLayout*>(PnlMumble->layout());
    mumble->addSpacing(scaled(6));
    mumble->addWidget(CbxSaveAfterPaste);
    mumble->addWidget(label(PnlMumble, QStringLiteral("  Samble.txt file:")));
    mumble->addWidget(EdFileName, 1);
    mumble->addWidget(ButBrowse);
    mumble->addWidget(ButEditSample);
    return PnlMumble;
}

TKxPanel* THlpForm::createCustomTemplateRow() {
    PnlCustomClick = addRow(this, kBackground);
    CbxRgbHex = new QCheckBox(QStringLiteral("Hex:"), PnlCustomClick);
    CbxRgbHex->setLayoutDirection(Qt::RightToLeft);
    EdTemplate = new QLineEdit(PnlCustomClick);
    EdTemplate->setReadOnly(true);
    ButRgbTemplates = imageButton(PnlCustomClick, kxiTemplates);
    auto* custom = static_cast<QHBoxLayout*>(PnlCustomClick->layout());
    custom->addWidget(label(PnlCustomClick, QStringLiteral("  RGB  Custom:")));
    custom->addWidget(CbxRgbHex);
    custom->addWidget(label(PnlCustomClick, QStringLiteral(" Template: ")));
    custom->addWidget(EdTemplate, 1);
    custom->addWidget(ButRgbTemplates);
    return PnlCustomClick;
}

TKxPanel* THlpForm::createClickActionRow() {
    PnlLeftClick = addRow(this, kRowLight);
    PnlCssClick = addRow(this, kRowLight);
    FRdbGroup = new QButtonGroup(this);
    for (TKxPanel* row : {PnlLeftClick, PnlCssClick}) {
        const bool first = row == PnlLeftClick;
        auto* layout = static_cast<QHBoxLayout*>(row->layout());
        layout->addWidget(label(row, first ? QStringLiteral("  Left Click Copy:")
                                           : QStringLiteral("  Left Click Copy CSS:")));
        for (int tag = first ? 0 : kFirstCssStyle; tag < (first ? kFirstCssStyle : kCopyStyleCount);
             ++tag) {
            auto* radio = new QRadioButton(QString::fromUtf16(kCopyStyles[tag].caption), row);
            radio->setToolTip(QString::fromUtf16(kCopyStyles[tag].hint));
            radio->setProperty("Tag", tag);
            FRdbGroup->addButton(radio, tag);
            layout->addWidget(radio);
            Rdb[static_cast<std::size_t>(tag)] = radio;
        }
        layout->addStretch(1);
    }
    return PnlLeftClick;
}

QLineEdit* THlpForm::maximumField(const QString& hint) {
    auto* field = new QLineEdit(PnlHsl);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setFixedWidth(scaled(kDesignMaxFieldWidth));
    field->setToolTip(hint);
    return field;
}

TKxPanel* THlpForm::createHslRow() {
    PnlHsl = addRow(this, kBackground);
    CbxHslHex = new QCheckBox(QStringLiteral("Hex:"), PnlHsl);
    CbxHslHex->setLayoutDirection(Qt::RightToLeft);
    EdHueMax = maximumField(QStringLiteral(" Input the maximum Hue value "));
    EdSatMax = maximumField(QStringLiteral(" Input the maximum Saturation value "));
    EdLumMax = maximumField(QStringLiteral(" Input the maximum Lumination value "));
    EdHslTemplate = new QLineEdit(PnlHsl);
    EdHslTemplate->setReadOnly(true);
    ButHslTemplates = imageButton(PnlHsl, kxiTemplates);
    auto* hsl = static_cast<QHBoxLayout*>(PnlHsl->layout());
    hsl->addWidget(label(PnlHsl, QStringLiteral("  HSL:")));
    hsl->addWidget(CbxHslHex);
    hsl->addWidget(label(PnlHsl, QStringLiteral("Hue:")));
    hsl->addWidget(EdHueMax);
    hsl->addWidget(label(PnlHsl, QStringLiteral(" Sat:")));
    hsl->addWidget(EdSatMax);
    hsl->addWidget(label(PnlHsl, QStringLiteral(" Lum:")));
    hsl->addWidget(EdLumMax);
    hsl->addWidget(label(PnlHsl, QStringLiteral(" Template: ")));
    hsl->addWidget(EdHslTemplate, 1);
    hsl->addWidget(ButHslTemplates);
    return PnlHsl;
}

TKxPanel* THlpForm::createBottomRow() {
    PnlBottom = new TKxPanel(this);
    PnlBottom->setColor(kRowLight);
    PnlBottom->setBevelOuter(bvLowered);
    PnlBottom->setFixedHeight(scaled(kDesignBottomHeight));
    ButOk = imageButton(PnlBottom, kxiOk);
    ButCancel = imageButton(PnlBottom, kxiCancel);
    for (TKxButton* b : {ButOk, ButCancel})
        b->setFixedSize(scaled(104), scaled(34));
    ButOk->setCaption(QStringLiteral("OK"));
    ButOk->setDefault(true);
    ButOk->setModalResult(tmrOK);
    ButCancel->setCaption(QStringLiteral("Cancel"));
    ButCancel->setCancel(true);
    ButCancel->setModalResult(tmrCancel);
    // The two buttons sit together in the middle of the bottom row.
    auto* bottom = new QHBoxLayout(PnlBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(scaled(8));
    bottom->addStretch(1);
    bottom->addWidget(ButOk);
    bottom->addWidget(ButCancel);
    bottom->addStretch(1);
    return PnlBottom;
}

void THlpForm::createLoadTimer() {
    LoadTimer = new QTimer(this);
    LoadTimer->setSingleShot(true);
    LoadTimer->setInterval(kLoadDelayMs);
    connect(LoadTimer, &QTimer::timeout, this, [this] { LoadTimerTimer(); });
}

void THlpForm::connectHandlers() {
    connect(FRdbGroup, &QButtonGroup::idClicked, this,
            [this](int tag) { RdbCopyStylesClick(tag); });
    connect(CbxRgbHex, &QCheckBox::clicked, this, [this] { CbxRgbHexClick(); });
    connect(CbxHslHex, &QCheckBox::clicked, this, [this] { CbxHslHexClick(); });
    connect(ButRgbTemplates, &TKxButton::clicked, this, [this] { ButRgbTemplatesClick(); });
    connect(ButHslTemplates, &TKxButton::clicked, this, [this] { ButHslTemplatesClick(); });
    connect(ButBrowse, &TKxButton::clicked, this, [this] { ButBrowseClick(); });
    connect(ButEditSample, &TKxButton::clicked, this, [this] { ButEditSampleClick(); });
}

void THlpForm::showEvent(QShowEvent* event) {
    TKxDialog::showEvent(event);
    if (FShown) return;
    FShown = true;
    LvShortCuts->setColumnWidth(1, LvShortCuts->fontMetrics().horizontalAdvance(QStringLiteral(
                                       "Lock the BackGround Color in the Samble Window")) +
                                       20);
    // The dialog is on screen before the list is built.
    LoadTimer->start();
}

// ---------------------------------------------------------------------------------------------
// Handlers

void THlpForm::LoadTimerTimer() {
    LoadTimer->stop();
    LvShortCuts->clear();
    const QIcon icon = keyCapIcon(scaled(30));
    for (const TShortcutGroup& group : FShortcuts) {
        auto* header = new QTreeWidgetItem(LvShortCuts);
        header->setText(0, group.header);
        header->setIcon(0, icon);
        header->setFirstColumnSpanned(true);
        QFont bold = LvShortCuts->font();
        bold.setBold(true);
        header->setFont(0, bold);
        for (const TShortcutRow& row : group.rows) {
            auto* item = new QTreeWidgetItem(header);
            item->setText(1, row.action);
            item->setText(2, row.keys);
        }
    }
    LvShortCuts->expandAll();
}

void THlpForm::RdbCopyStylesClick(int tag) {
    FClickAction = tag;
}

// The switches follow the chosen templates only; a click puts the box back.
void THlpForm::CbxRgbHexClick() {
    CbxRgbHex->setChecked(FRgbHex);
}

void THlpForm::CbxHslHexClick() {
    CbxHslHex->setChecked(FHslHex);
}

void THlpForm::ButRgbTemplatesClick() {
    chooseTemplate(TTemplateKind::Rgb);
}

void THlpForm::ButHslTemplatesClick() {
    chooseTemplate(TTemplateKind::Hsl);
}

void THlpForm::chooseTemplate(TTemplateKind kind) {
    const bool rgb = kind == TTemplateKind::Rgb;
    std::optional<TColorTemplate> current;
    if (rgb) {
        current = TColorTemplate{EdTemplate->text(), QString(), FRgbHex, 0, 0, 0};
    } else {
        const std::optional<int> hue = parseMaximum(EdHueMax);
        const std::optional<int> sat = parseMaximum(EdSatMax);
        const std::optional<int> lum = parseMaximum(EdLumMax);
        if (hue && sat && lum)
            current = TColorTemplate{EdHslTemplate->text(), QString(), FHslHex, *hue, *sat, *lum};
    }
    std::optional<TTemplateDialogResult> result =
        TFrmTemplates::Edit(kind, rgb ? FRgbTemplates : FHslTemplates, current, this);
    if (!result) return;

    TColorTemplateList& list = rgb ? FRgbTemplates : FHslTemplates;
    list = std::move(result->list);
    if (const std::optional<TColorTemplate>& chosen = result->custom) {
        if (rgb) {
            FRgbHex = chosen->hex;
            CbxRgbHex->setChecked(FRgbHex);
            EdTemplate->setText(chosen->text);
        } else {
            FHslHex = chosen->hex;
            CbxHslHex->setChecked(FHslHex);
            EdHslTemplate->setText(chosen->text);
            EdHueMax->setText(QString::number(chosen->hueMax));
            EdSatMax->setText(QString::number(chosen->satMax));
            EdLumMax->setText(QString::number(chosen->lumMax));
        }
    }
    const QString error = list.SaveToFile(QDir(FDataFolder).filePath(TemplateFileName(kind)));
    emit templatesReplaced(kind, list);
    if (!error.isEmpty()) ShowErrorBox(TemplateErrorCaption(), TemplateErrorText(error), this);
}

void THlpForm::ButBrowseClick() {
    QFileDialog dialog(this, QString(), QFileInfo(EdFileName->text()).absolutePath(),
                       QStringLiteral("All Files (*.*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    EdFileName->setText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void THlpForm::ButEditSampleClick() {
    QString path = EdFileName->text();
    if (path.isEmpty()) {
        const QString folder = SharedFolder();
        if (folder.isEmpty()) return;
        path = UniqueFileName(folder + QStringLiteral("Sample"), QStringLiteral(".txt"));
    }
    if (!QFileInfo::exists(path)) {
        // A file that cannot be made opens nothing.
        if (!FileOps::writeNewFile(path, {})) return;
        EdFileName->setText(path);
    }
    Platform::openFile(path);
}
