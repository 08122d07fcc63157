#include "app/SampleRow.h"

#include "app/Unit1Ui.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "pixels/KxImages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

namespace {

// Design values at 144 pixels per inch.
constexpr int kDesignGap = 3;
constexpr int kDesignSquare = 30;
constexpr int kDesignSpacer = 10;
constexpr int kDesignSizeBox = 84;
constexpr int kDesignLockButton = 44;
constexpr int kDesignLockImage = 24;
// Narrower, a lock button cannot show its picture beside its letter.
constexpr int kLeastLockButton = 38;
constexpr int kDesignColourField = 92;
constexpr int kDesignContrastGap = 6;
constexpr int kDesignMinFontBox = 150;

constexpr ColorValue kDimmedDark = 14862272;
constexpr ColorValue kDimmedLight = 15921635;
constexpr ColorValue kHotTrackDownDark = 8304371;
constexpr ColorValue kHotTrackDownLight = 14088702;
constexpr ColorValue kStyleDownDark = 15388358;
constexpr ColorValue kStyleDownLight = 16052694;

constexpr std::array<const char*, 18> kSizes{"6",  "7",  "8",  "9",  "10", "11", "12", "14", "16",
                                             "18", "20", "22", "24", "26", "28", "36", "48", "72"};

TKxButton* makeButton(QWidget* parent, const QString& caption, const char* hint) {
    auto* button = new TKxButton(parent);
    button->setCaption(caption);
    if (hint) button->setHint(QString::fromUtf8(hint));
    button->setClDimmedDark(kDimmedDark);
    button->setClDimmedLight(kDimmedLight);
    return button;
}

void groupButton(TKxButton* button, int group, bool allowAllUp) {
    button->setGroupIndex(group);
    button->setAllowAllUp(allowAllUp);
    button->setClSelDownDark(kStyleDownDark);
    button->setClSelDownLight(kStyleDownLight);
}

} // namespace

QString TSampleRow::showCaption() {
    return QStringLiteral("Show Sample");
}

QString TSampleRow::hideCaption() {
    return QStringLiteral("Hide Sample");
}

TSampleRow::TSampleRow(TForm1Ui& ui) : m_images(KxMainImageList(ui.scaled(kDesignLockImage))) {
    QWidget* row = ui.PnlSample;
    ButHotTrack =
        makeButton(row, QStringLiteral("H"), " Toggle Hot-Track in Color Palette [Ctrl+H] ");
    QFont bold = row->font();
    bold.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    bold.setBold(true);
    ButHotTrack->setFont(bold);
    ButHotTrack->setGroupIndex(10);
    ButHotTrack->setAllowAllUp(true);
    ButHotTrack->setClSelDownDark(kHotTrackDownDark);
    ButHotTrack->setClSelDownLight(kHotTrackDownLight);

    ButShowSample = makeButton(row, showCaption(), " Show or Hide the Sample Window [Ctrl+Q] ");
    Label1 = new QLabel(QStringLiteral("  "), row);
    CbxShowText = new QCheckBox(QStringLiteral("Text"), row);
    CbxShowText->setToolTip(QStringLiteral(" Show Text in the Sample Window [Ctrl+T] "));
    CbxTransparent = new QCheckBox(QStringLiteral("Transparent"), row);
    CbxTransparent->setToolTip(
        QStringLiteral(" Use Transparent Background in the Sample Window [Ctrl+A] "));

    PnlEdits = new TKxPanel(row);
    PnlEdits->setColor(MakeColor(192, 199, 226));
    CmbFonts = new QComboBox(PnlEdits);
    CmbFonts->setEditable(false);
    CmbFonts->setMaxVisibleItems(20);
    CmbFonts->setToolTip(QStringLiteral(" Font Name Scroll using [Ctrl+Arrow Up or Down] "));
    // The drop-down buttons draw the platform's arrow glyph; the symbol face of the design is
    // not a font every system has.
    ButFontDown = makeButton(PnlEdits, QStringLiteral("\u25BE"), nullptr);
    ButFontDown->setTabStop(false);
    CmbSizes = new QComboBox(PnlEdits);
    CmbSizes->setEditable(true);
    CmbSizes->setInsertPolicy(QComboBox::NoInsert);
    CmbSizes->setMaxVisibleItems(20);
    for (const char* size : kSizes)
        CmbSizes->addItem(QString::fromLatin1(size));
    CmbSizes->setToolTip(QStringLiteral(" Font Size Scroll using [Shift+Arrow Up or Down] "));
    ButSizeDown = makeButton(PnlEdits, QStringLiteral("\u25BE"), nullptr);
    ButSizeDown->setTabStop(false);

    ButBold =
        makeButton(PnlEdits, QStringLiteral("B"), " Bold Text in the Sample Window [Ctrl+B] ");
    ButBold->setFont(bold);
    groupButton(ButBold, 4, true);
    ButItalic =
        makeButton(PnlEdits, QStringLiteral("I "), " Italic Text in the Sample Window [Ctrl+I] ");
    QFont italic = bold;
    italic.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    italic.setItalic(true);
    ButItalic->setFont(italic);
    groupButton(ButItalic, 5, true);

    QFont fieldFont = row->font();
    fieldFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    ButLockTextCl = makeButton(PnlEdits, QStringLiteral("T"),
                               " Lock the Font Color in the Sample Window [Ctrl+E] ");
    groupButton(ButLockTextCl, 6, false);
    EdTextColor = new QLineEdit(PnlEdits);
    EdTextColor->setToolTip(QStringLiteral(" Set Color F11 "));
    ButLockBkgCl = makeButton(PnlEdits, QStringLiteral("B"),
                              " Lock the Background Color in the Sample Window [Ctrl+K] ");
    groupButton(ButLockBkgCl, 6, false);
    EdBkgColor = new QLineEdit(PnlEdits);
    EdBkgColor->setToolTip(QStringLiteral(" Set Color F12 "));
    for (TKxButton* lock : {ButLockTextCl, ButLockBkgCl}) {
        lock->setImages(&m_images);
        lock->setImageIndex(kxiLock);
    }
    LblContrast = new QLabel(PnlEdits);
    LblContrast->setFont(fieldFont);
    LblContrast->setAlignment(Qt::AlignCenter);
    for (QLineEdit* field : {EdTextColor, EdBkgColor}) {
        field->setMaxLength(6);
        field->setFont(fieldFont);
        field->setAlignment(Qt::AlignCenter);
    }
    ButLockTextCl->setDown(true);

    ButEyeDropPanel = makeButton(ui.PnlSampleColor1, QStringLiteral("\u00BB"),
                                 " Open and Close the Colortune panel [F6] ");
    ButEyeDropPanel->setTabStop(false);

    for (QWidget* w : {static_cast<QWidget*>(ButHotTrack), static_cast<QWidget*>(ButShowSample),
                       static_cast<QWidget*>(CbxShowText), static_cast<QWidget*>(CbxTransparent),
                       static_cast<QWidget*>(PnlEdits), static_cast<QWidget*>(ButEyeDropPanel)})
        w->setCursor(Qt::ArrowCursor);
    layoutRow(ui);
}

void TSampleRow::layoutRow(const TForm1Ui& ui) {
    const int h = ui.PnlSample->height();
    const int gap = ui.scaled(kDesignGap);
    const int margin = std::max(2, ui.scaled(2));
    const int ch = std::max(h - 2 * margin, 1);
    int x = gap;
    auto place = [&](QWidget* w, int width) {
        w->setGeometry(x, margin, width, ch);
        x += width + gap;
    };
    place(ButHotTrack, std::max(ui.scaled(kDesignSquare), ch));
    const QFontMetrics metrics(ui.PnlSample->font());
    place(ButShowSample, metrics.horizontalAdvance(ButShowSample->Text() + QStringLiteral("    ")));
    place(Label1, ui.scaled(kDesignSpacer));
    place(CbxShowText, CbxShowText->sizeHint().width());
    place(CbxTransparent, CbxTransparent->sizeHint().width());

    const int editsWidth = std::max(ui.PnlSample->width() - x, 0);
    PnlEdits->setGeometry(x, 0, editsWidth, h);
    // From the right: the two colour fields with their locks, italic, bold and the size box; the
    // font box takes what is left.
    int right = editsWidth - gap;
    auto placeRight = [&](QWidget* w, int width) {
        right -= width;
        w->setGeometry(right, margin, width, ch);
        right -= gap;
    };
    // Wide enough for the widest figure and its mark.
    const int contrastWidth =
        QFontMetrics(LblContrast->font()).horizontalAdvance(QStringLiteral("21.00:1 \u2717")) +
        ui.scaled(kDesignContrastGap);
    placeRight(LblContrast, contrastWidth);
    placeRight(EdBkgColor, ui.scaled(kDesignColourField));
    const int lockWidth = std::max(ui.scaled(kDesignLockButton), kLeastLockButton);
    placeRight(ButLockBkgCl, lockWidth);
    placeRight(EdTextColor, ui.scaled(kDesignColourField));
    placeRight(ButLockTextCl, lockWidth);
    placeRight(ButItalic, std::max(ui.scaled(kDesignSquare), ch));
    placeRight(ButBold, std::max(ui.scaled(kDesignSquare), ch));
    placeRight(CmbSizes, ui.scaled(kDesignSizeBox));
    const int fontWidth = std::max(right, ui.scaled(kDesignMinFontBox) / 2);
    CmbFonts->setGeometry(0, margin, fontWidth, ch);
    // The drop-down buttons sit over the boxes' right ends.
    const int arrow = std::min(ch, ui.scaled(26));
    ButFontDown->setGeometry(CmbFonts->geometry().right() + 1 - arrow, margin, arrow, ch);
    ButSizeDown->setGeometry(CmbSizes->geometry().right() + 1 - arrow, margin, arrow, ch);
    ButFontDown->raise();
    ButSizeDown->raise();
}

void TSampleRow::placeEyeDropButton(const TForm1Ui& ui) {
    QWidget* host = ButEyeDropPanel->parentWidget();
    if (!host) return;
    const int side = std::max(host->height() - 2 * ui.scaled(4), 1);
    const int border = (host->height() - side) / 2;
    ButEyeDropPanel->setGeometry(host->width() - border - side, border, side, side);
}
