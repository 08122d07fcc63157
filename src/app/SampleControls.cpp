#include "app/SampleControls.h"

#include "app/ColorHub.h"
#include "app/Unit1Ui.h"
#include "app/WindowOptions.h"
#include "colour/ColorParser.h"
#include "colour/CopyFormats.h"
#include "colour/ReadableColor.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "pixels/KxImages.h"
#include "platform/Platform.h"
#include "sample/Samplefrm.h"
#include "support/FontFamilies.h"
#include "support/Kxfunctions.h"
#include "support/Kxglobals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <array>
#include <climits>

namespace {

const QString kCaption{Kxglobals::ProgramName};
const QString kNoSeeThroughTip =
    QStringLiteral(" This desktop does not let programs read the screen, so the Sample Window "
                   "cannot show what lies behind it ");

// The size a text of the size box stands for; 0 for none (no size below one point exists).
qlonglong sizeOfText(const QString& text, bool* isNumber) {
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    *isNumber = ok && n <= INT_MAX && n >= INT_MIN;
    return *isNumber && n >= 1 ? n : 0;
}

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

TSampleControls::TSampleControls(TColorHub& hub, TForm1Ui& ui)
    : TSampleRow(ui), m_hub(hub), m_ui(ui) {
    createSampleWindow = [](TSampleOwner* owner, QWidget* parent) {
        return new TSampleForm(owner, parent);
    };
    connectControls();
    ApplySettings(TSampleSettings{});
}

TSampleControls::~TSampleControls() {
    // The window must not report to an owner that is going away.
    if (m_sample) {
        m_sample->releaseOwner();
        delete m_sample.data();
    }
}

// ---------------------------------------------------------------------------------------------
// Construction and layout

void TSampleControls::connectControls() {
    connect(ButHotTrack, &TKxButton::clicked, this, [this] { ButHotTrackClick(); });
    connect(ButShowSample, &TKxButton::clicked, this, [this] { ButShowSampleClick(); });
    connect(CbxShowText, &QCheckBox::clicked, this, [this] { CbxShowTextClick(); });
    connect(CbxTransparent, &QCheckBox::clicked, this, [this] { CbxTransparentClick(); });
    // Only a choice of the user's is a font change: selecting the stored font from code is not.
    connect(CmbFonts, &QComboBox::activated, this, [this] { CmbFontsChange(); });
    connect(CmbSizes, &QComboBox::editTextChanged, this, [this] { CmbSizesChange(); });
    connect(CmbSizes->lineEdit(), &QLineEdit::editingFinished, this, [this] { CmbSizesExit(); });
    connect(ButFontDown, &TKxButton::clicked, this, [this] { ButFontDownClick(); });
    connect(ButSizeDown, &TKxButton::clicked, this, [this] { ButSizeDownClick(); });
    connect(ButBold, &TKxButton::clicked, this, [this] { ButBoldClick(); });
    connect(ButItalic, &TKxButton::clicked, this, [this] { ButItalicClick(); });
    connect(ButLockTextCl, &TKxButton::clicked, this, [this] { ButLockTextClClick(); });
    connect(ButLockBkgCl, &TKxButton::clicked, this, [this] { ButLockBkgClClick(); });
    connect(EdTextColor, &QLineEdit::textChanged, this, [this] { EdTextColorChange(); });
    connect(EdBkgColor, &QLineEdit::textChanged, this, [this] { EdBkgColorChange(); });
    connect(ButEyeDropPanel, &TKxButton::clicked, this, [this] { ButEyeDropPanelClick(); });
    EdTextColor->installEventFilter(this);
    EdBkgColor->installEventFilter(this);
    CmbFonts->installEventFilter(this);
    m_ui.PnlSample->installEventFilter(this);
    m_ui.PnlSampleColor1->installEventFilter(this);
    m_ui.PnlHslColor->installEventFilter(this);

    ButHotTrack->setDown(m_hub.options().hotTrack());
    connect(&m_hub.options(), &TWindowOptions::hotTrackChanged, ButHotTrack, &TKxButton::setDown);
    connect(&m_hub, &TColorHub::currentColorChanged, this, [this](ColorValue c) {
        if (m_sample) m_sample->ApplyColor(c);
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    ApplicationActivate();
                else
                    ApplicationDeactivate();
            });
}

bool TSampleControls::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == m_ui.PnlSample) layoutRow(m_ui);
        if (watched == ButEyeDropPanel->parentWidget()) placeEyeDropButton(m_ui);
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == EdTextColor || watched == EdBkgColor)
            return EdTextColorKeyPress(static_cast<QLineEdit*>(watched), key);
        // Ctrl with a letter scrolls or runs a command; it must not also search the list.
        if (watched == CmbFonts && Platform::ctrlDown() && !key->text().isEmpty()) return true;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Settings

TSampleForm* TSampleControls::sampleWindow() const {
    return m_sample;
}

bool TSampleControls::tunePanelShown() const {
    return m_ui.PnlPicker->isVisibleTo(m_ui.PnlPicker->window());
}

void TSampleControls::ApplySettings(const TSampleSettings& stored) {
    m_settings = stored;
    m_settings.normalizeLocks();
    m_settings.fontSize =
        std::min<std::uint16_t>(m_settings.fontSize, TSampleSettings::MaxStoredFontSize);

    // Qt's setChecked runs no click handler; the design's check boxes do.
    CbxShowText->setChecked(m_settings.showText);
    CbxShowTextClick();
    if (seeThroughPossible()) {
        CbxTransparent->setChecked(m_settings.transparent);
        CbxTransparentClick();
    } else {
        // The stored choice stays for the sessions that can show it.
        CbxTransparent->setChecked(false);
        CbxTransparent->setToolTip(kNoSeeThroughTip);
    }
    const int font =
        CmbFonts->findText(UntaggedFontFamily(m_settings.fontName), Qt::MatchFixedString);
    if (font >= 0) CmbFonts->setCurrentIndex(font);
    m_sizeInEffect = QString::number(m_settings.fontSize);
    {
        const QSignalBlocker quiet(CmbSizes);
        CmbSizes->setEditText(m_sizeInEffect);
    }
    ButBold->setDown(m_settings.bold());
    ButItalic->setDown(m_settings.italic());
    // The fields show and apply the colours; a text equal to the old one would raise no change.
    StoreSampleTextColor(m_settings.textColor);
    StoreSampleBkgColor(m_settings.bkgColor);
    if (m_settings.lockBkgColor)
        ButLockBkgCl->setDown(true);
    else
        ButLockTextCl->setDown(true);
}

void TSampleControls::FillFontList() {
    FillFontList(TrueTypeFontNames(), DefaultSansSerifFamily());
}

void TSampleControls::FillFontList(const QStringList& families, const QString& fallback) {
    QStringList names;
    for (const QString& family : families)
        AddTrueTypeFontName(family, true, names);
    const QSignalBlocker quiet(CmbFonts);
    CmbFonts->clear();
    CmbFonts->addItems(names);
    int index = CmbFonts->findText(UntaggedFontFamily(m_settings.fontName), Qt::MatchFixedString);
    if (index < 0) index = CmbFonts->findText(fallback, Qt::MatchFixedString);
    CmbFonts->setCurrentIndex(std::max(index, 0));
    if (m_sample) m_sample->SetFontName(shownFontName());
}

QString TSampleControls::shownFontName() const {
    const QString shown = CmbFonts->currentText();
    return shown.isEmpty() ? m_settings.fontName : shown;
}

// ---------------------------------------------------------------------------------------------
// Show and hide

void TSampleControls::ButShowSampleClick() {
    if (m_sample && m_sample->shownToUser()) {
        // It hands its placement back as it hides; deleted only once control is back in the
        // event loop, since its own key handler may be what asked.
        m_sample->CloseWindow();
        m_sample->releaseOwner();
        m_sample->deleteLater();
        m_sample = nullptr;
        ButShowSample->setCaption(TSampleRow::showCaption());
        return;
    }
    if (!m_sample) m_sample = createSampleWindow(this, &m_hub);
    TSampleForm* sample = m_sample;
    if (m_settings.hasPlacement() && m_settings.placement.width() > 0 &&
        m_settings.placement.height() > 0)
        sample->setGeometry(m_settings.placement);
    sample->SetTextFile(m_settings.textFile);
    sample->SetTransparent(m_settings.transparent && seeThroughPossible());
    sample->SetShowText(m_settings.showText);
    sample->SetFontName(shownFontName());
    sample->SetFontSize(m_settings.fontSize);
    sample->SetBold(m_settings.bold());
    sample->SetItalic(m_settings.italic());
    sample->SetLockTextColor(m_settings.lockTextColor);
    sample->SetSampleBkgColor(m_settings.bkgColor & kColorMask);
    sample->SetSampleTextColor(m_settings.textColor & kColorMask);
    if (ButLockTextCl->Down())
        ButLockTextClClick();
    else
        ButLockBkgClClick();
    sample->show();
    ButShowSample->setCaption(TSampleRow::hideCaption());
    m_ui.ZodudIroBox->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Switches, font and size

void TSampleControls::CbxShowTextClick() {
    const bool checked = CbxShowText->isChecked();
    CbxTransparent->setEnabled(checked && seeThroughPossible());
    if (m_sample) m_sample->SetShowText(checked);
    m_settings.showText = checked;
}

bool TSampleControls::seeThroughPossible() {
    // The see-through background is a picture of the screen behind the window; where only the
    // desktop portal can take one, each would ask the desktop and might ask the user.
    return !Platform::screenThroughPortal();
}

void TSampleControls::CbxTransparentClick() {
    const bool checked = CbxTransparent->isChecked();
    if (m_sample) {
        if (checked) {
            m_sample->SetTransparent(true);
        } else {
            m_sample->SetTransparent(false);
            // While see-through every colour went to the text; the locked side gets its stored
            // colour back.
            if (ButLockBkgCl->Down())
                m_sample->SetSampleBkgColor(m_settings.bkgColor);
            else
                m_sample->SetSampleTextColor(m_settings.textColor);
        }
    }
    m_settings.transparent = checked;
}

void TSampleControls::ToggleShowText() {
    CbxShowText->setChecked(!CbxShowText->isChecked());
    CbxShowTextClick();
}

void TSampleControls::ToggleTransparent() {
    if (!seeThroughPossible()) return;
    // click() does nothing on a disabled box, and the box is disabled while no text is shown.
    CbxTransparent->setChecked(!CbxTransparent->isChecked());
    CbxTransparentClick();
}

void TSampleControls::CmbFontsChange() {
    const QString name = CmbFonts->currentText();
    if (m_sample) m_sample->SetFontName(name);
    m_settings.fontName = name;
}

void TSampleControls::reportBadSize(const QString& text) {
    // Posted: a box shown from inside the edit's change would run while the edit is mid-change.
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            ShowErrorBox(kCaption, QStringLiteral("'%1' is not a valid integer value").arg(text),
                         &m_hub);
        },
        Qt::QueuedConnection);
}

void TSampleControls::CmbSizesChange() {
    const QString text = CmbSizes->currentText();
    bool isNumber = false;
    const qlonglong n = sizeOfText(text, &isNumber);
    // While the user types, a text that is no size yet leaves the window and the setting as they
    // are; it is judged when editing ends.
    if (n < 1) return;
    m_sizeInEffect = text;
    if (m_sample) m_sample->SetFontSize(int(std::min<qlonglong>(n, TSampleForm::MaxFontSize)));
    m_settings.fontSize = std::uint16_t(std::min<qlonglong>(n, TSampleSettings::MaxStoredFontSize));
    updateContrast();
}

void TSampleControls::CmbSizesExit() {
    const QString text = CmbSizes->currentText();
    bool isNumber = false;
    if (sizeOfText(text, &isNumber) >= 1) return;
    if (!isNumber && !text.trimmed().isEmpty()) reportBadSize(text);
    const QSignalBlocker quiet(CmbSizes);
    CmbSizes->setEditText(m_sizeInEffect);
}

void TSampleControls::StepFont(int step) {
    if (CmbFonts->count() == 0) return;
    const int index = std::clamp(CmbFonts->currentIndex() + step, 0, CmbFonts->count() - 1);
    CmbFonts->setCurrentIndex(index);
    CmbFontsChange();
}

void TSampleControls::StepSize(int step) {
    const int current = std::max(CmbSizes->findText(CmbSizes->currentText()), 0);
    const int index = std::clamp(current + step, 0, CmbSizes->count() - 1);
    {
        const QSignalBlocker quiet(CmbSizes);
        CmbSizes->setCurrentIndex(index);
        CmbSizes->setEditText(CmbSizes->itemText(index));
    }
    CmbSizesChange();
}

void TSampleControls::ButFontDownClick() {
    CmbFonts->setFocus();
    CmbFonts->showPopup();
}

void TSampleControls::ButSizeDownClick() {
    CmbSizes->setFocus();
    CmbSizes->showPopup();
}

void TSampleControls::ButBoldClick() {
    const bool down = ButBold->Down();
    if (m_sample) m_sample->SetBold(down);
    m_settings.fontStyle = down ? (m_settings.fontStyle | TSampleSettings::StyleBold)
                                : (m_settings.fontStyle & ~TSampleSettings::StyleBold);
    updateContrast();
}

void TSampleControls::ButItalicClick() {
    const bool down = ButItalic->Down();
    if (m_sample) m_sample->SetItalic(down);
    m_settings.fontStyle = down ? (m_settings.fontStyle | TSampleSettings::StyleItalic)
                                : (m_settings.fontStyle & ~TSampleSettings::StyleItalic);
}

// ---------------------------------------------------------------------------------------------
// Colour locks and fields

void TSampleControls::ButLockTextClClick() {
    const bool down = ButLockTextCl->Down();
    if (down == m_settings.lockTextColor) return;
    m_settings.lockTextColor = down;
    m_settings.lockBkgColor = !down;
    if (down && m_sample) {
        m_sample->SetSampleTextColor(m_settings.textColor & kColorMask);
        m_sample->SetLockTextColor(true);
    }
    // The views jump to the colour now being edited.
    m_hub.ApplyCurrentColor(m_settings.bkgColor & kColorMask);
}

void TSampleControls::ButLockBkgClClick() {
    const bool down = ButLockBkgCl->Down();
    if (down == m_settings.lockBkgColor) return;
    m_settings.lockBkgColor = down;
    m_settings.lockTextColor = !down;
    if (down && m_sample) {
        m_sample->SetSampleBkgColor(m_settings.bkgColor & kColorMask);
        m_sample->SetLockBkgColor(true);
    }
    m_hub.ApplyCurrentColor(m_settings.textColor & kColorMask);
}

bool TSampleControls::EdTextColorKeyPress(QLineEdit* field, QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() != 1 || event->key() == Qt::Key_Backspace) return false;
    const QChar c = text.at(0);
    // Control characters and keys with Ctrl or Alt (Ctrl+A, Ctrl+Z and the like) are commands,
    // not typing, whatever text the platform attaches to them.
    if (!c.isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    if (c >= u'a' && c <= u'f') {
        field->insert(QString(c.toUpper()));
        return true;
    }
    const bool hex = (c >= u'A' && c <= u'F') || (c >= u'0' && c <= u'9');
    return !hex;
}

void TSampleControls::EdTextColorChange() {
    if (EdTextColor->text().size() != 6) return;
    StoreSampleTextColor(ParseHexSix(EdTextColor->text()));
}

void TSampleControls::EdBkgColorChange() {
    if (EdBkgColor->text().size() != 6) return;
    StoreSampleBkgColor(ParseHexSix(EdBkgColor->text()));
}

void TSampleControls::StoreSampleTextColor(ColorValue c) {
    storeColour(true, c);
}

void TSampleControls::StoreSampleBkgColor(ColorValue c) {
    storeColour(false, c);
}

void TSampleControls::storeColour(bool text, ColorValue c) {
    c &= kColorMask;
    QLineEdit* field = text ? EdTextColor : EdBkgColor;
    (text ? m_settings.textColor : m_settings.bkgColor) = c;
    const QString digits = FormatHtml(c).mid(1);
    // A pasted text in another spelling runs the change once more with the same colour.
    if (field->text() != digits) field->setText(digits);
    if (m_sample) {
        if (text)
            m_sample->SetSampleTextColor(c);
        else
            m_sample->SetSampleBkgColor(c);
    }
    showColourOnField(field, c);
    updateContrast();
}

void TSampleControls::updateContrast() {
    const double ratio = ColorContrast::Ratio(m_settings.textColor, m_settings.bkgColor);
    const bool large = ColorContrast::IsLargeText(m_settings.fontSize, m_settings.bold());
    const bool passes = ColorContrast::TVerdict{ColorContrast::Hundredths(ratio), large}.passes(
        ColorContrast::TLevel::AA);
    // A tick or a cross for AA at the sample's own size; the words are in the tooltip.
    LblContrast->setText(ColorContrast::FormatRatio(ratio) +
                         (passes ? QStringLiteral(" \u2713") : QStringLiteral(" \u2717")));
    LblContrast->setToolTip(
        QStringLiteral(" Contrast of the text color on the background color (the mark: AA for "
                       "%1 text) \n")
            .arg(large ? QStringLiteral("large") : QStringLiteral("normal")) +
        ColorContrast::Report(ratio));
}

void TSampleControls::MakeTextReadable(ColorContrast::TLevel level) {
    const ColorValue text = (m_sample ? m_sample->textColor() : m_settings.textColor) & kColorMask;
    const ColorValue bkg = (m_sample ? m_sample->bkgColor() : m_settings.bkgColor) & kColorMask;
    const bool large =
        m_sample ? ColorContrast::IsLargeText(m_sample->fontPoints(), m_sample->sampleFont().bold())
                 : ColorContrast::IsLargeText(m_settings.fontSize, m_settings.bold());
    const int required = ColorContrast::RequiredHundredths(level, large);
    const ReadableColor::TResult result = ReadableColor::Nearest(text, bkg, required);
    if (!result.reached) {
        ShowMessageBox(
            kCaption,
            QStringLiteral("No lighter or darker shade of the text color %1 reaches %2 (%3 for "
                           "%4 text) on the background %5.\r\n\r\nChoose another background "
                           "color, or make the text larger or bold.")
                .arg(FormatHtml(text),
                     level == ColorContrast::TLevel::AA ? QStringLiteral("AA")
                                                        : QStringLiteral("AAA"),
                     ColorContrast::FormatRatio(ColorContrast::RequiredRatio(level, large)),
                     large ? QStringLiteral("large") : QStringLiteral("normal"), FormatHtml(bkg)),
            kMsgIconInfo, &m_hub);
        return;
    }
    StoreSampleTextColor(result.color);
    // While the text is the side being edited, the views follow it as they follow any edit.
    if (ButLockBkgCl->Down()) m_hub.ApplyCurrentColor(result.color);
}

void TSampleControls::sampleReadableTextRequested(ColorContrast::TLevel level) {
    MakeTextReadable(level);
}

void TSampleControls::showColourOnField(QLineEdit* field, ColorValue c) {
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, toQColor(c));
    pal.setColor(QPalette::Text, toQColor(TextColorFor(c)));
    field->setPalette(pal);
}

// ---------------------------------------------------------------------------------------------
// Hot track and tune panel

void TSampleControls::ButHotTrackClick() {
    m_hub.options().setHotTrack(!m_hub.options().hotTrack());
    m_ui.ZodudIroBox->setFocus();
}

void TSampleControls::ButEyeDropPanelClick() {
    if (tunePanelShown()) {
        m_ui.PnlPicker->hide();
        m_ui.PnlSampleColor1->hide();
        ButEyeDropPanel->setParent(m_ui.PnlHslColor);
        ButEyeDropPanel->setCaption(QStringLiteral("\u00AB"));
        m_ui.PnlHslColor->setAlignment(taLeftJustify);
    } else {
        m_ui.PnlPicker->show();
        m_ui.PnlSampleColor1->show();
        m_ui.PnlSampleColor1->setColor(m_ui.PnlEdColor->Color());
        ButEyeDropPanel->setParent(m_ui.PnlSampleColor1);
        ButEyeDropPanel->setCaption(QStringLiteral("\u00BB"));
        m_ui.PnlHslColor->setAlignment(taCenter);
    }
    ButEyeDropPanel->show();
    m_ui.layoutRows();
    m_ui.layoutValuePanels();
    placeEyeDropButton(m_ui);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TSampleControls::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    if (ctrl) {
        switch (key) {
        case Qt::Key_A:
            ToggleTransparent();
            return true;
        case Qt::Key_B:
            ButBold->Click();
            return true;
        case Qt::Key_E:
            ButLockTextCl->Click();
            return true;
        case Qt::Key_H:
            ButHotTrack->Click();
            return true;
        case Qt::Key_I:
            ButItalic->Click();
            return true;
        case Qt::Key_K:
            ButLockBkgCl->Click();
            return true;
        case Qt::Key_Q:
            ButShowSampleClick();
            return true;
        case Qt::Key_T:
            ToggleShowText();
            return true;
        default:
            break;
        }
    }
    switch (key) {
    case Qt::Key_Escape:
        if (!m_sample || !m_sample->shownToUser()) return false;
        ButShowSampleClick();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in the size box ends the edit there; it copies no colour.
        if (const QWidget* focus = QApplication::focusWidget();
            focus != CmbSizes && focus != CmbSizes->lineEdit())
            return false;
        CmbSizesExit();
        return true;
    case Qt::Key_F6:
        ButEyeDropPanelClick();
        return true;
    case Qt::Key_F7:
        if (ctrl) return false;
        MakeTextReadable(shift ? ColorContrast::TLevel::AAA : ColorContrast::TLevel::AA);
        return true;
    case Qt::Key_F8:
        if (ctrl || shift || !m_sample) return false;
        m_sample->cycleColorVision();
        return true;
    case Qt::Key_F11:
        StoreSampleTextColor(m_hub.currentColor());
        return true;
    case Qt::Key_F12:
        StoreSampleBkgColor(m_hub.currentColor());
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (!ctrl && !shift) return false;
        const QWidget* focus = QApplication::focusWidget();
        if (focus == EdTextColor || focus == EdBkgColor) return false;
        const int step = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
        if (ctrl)
            StepFont(step);
        else
            StepSize(step);
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Activation and the sample window's requests

void TSampleControls::ApplicationDeactivate() {
    if (m_sample) m_sample->setDeactivated(true);
    m_appDeactivated = true;
}

void TSampleControls::ApplicationActivate() {
    if (m_appDeactivated && m_sample) m_sample->AppActivated();
    m_appDeactivated = false;
}

QRect TSampleControls::sampleOwnerFrame() const {
    return m_hub.frameGeometry();
}

void TSampleControls::samplePlacementChanged(const QRect& placement) {
    m_settings.placement = placement;
}

void TSampleControls::sampleTextFileChosen(const QString& path) {
    m_settings.textFile = path;
}

void TSampleControls::sampleHideRequested() {
    ButShowSampleClick();
}

void TSampleControls::sampleArrowKey(int key) {
    m_ui.ZodudIroBox->ArrowKey(key, Qt::NoModifier);
}

void TSampleControls::sampleKeyForwarded(QKeyEvent* event) {
    if (HandleKey(event->key(), event->modifiers())) return;
    // With its native codes, so the window's handler still knows which key it was.
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                   event->nativeVirtualKey(), event->nativeModifiers(), event->text(),
                   event->isAutoRepeat(), ushort(event->count()));
    QCoreApplication::sendEvent(&m_hub, &copy);
}
