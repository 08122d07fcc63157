#include "app/Commands.h"

#include "app/ColorHub.h"
#include "app/Extra.h"
#include "app/HelpCommands.h"
#include "app/PickerOpener.h"
#include "app/SampleControls.h"
#include "app/Unit1Ui.h"
#include "app/UserSlots.h"
#include "app/WindowOptions.h"
#include "colour/ColorTemplateFile.h"
#include "colour/CopyFormats.h"
#include "colour/TemplateMenu.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "dialogs/HlpForm.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "platform/Keyboard.h"
#include "platform/Platform.h"
#include "sample/Samplefrm.h"
#include "support/Kxfunctions.h"
#include "support/Kxknownfolders.h"
#include "support/TextFile.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

enum TPopupCopy { CopyRgb, CopyBgr, CopyHtml, CopyHsl, CopyCustom, CopyAll };

constexpr std::array<const char*, kCopyStyleCount> kClickActionCaptions{
    "Copy All",    "Copy HTML",      "Copy BGR",       "Copy RGB",         "Copy HSL",
    "Copy Custom", "Copy CSS rgb()", "Copy CSS hsl()", "Copy CSS oklch()", "Copy CSS #RGB"};

// The style-sheet notations in the popup menu, each copying as its click action would.
struct TCssCopyItem {
    const char* caption;
    CopyStyle style;
};
constexpr std::array<TCssCopyItem, 4> kCssCopyItems{{
    {"Copy CSS rgb() To Clipboard", CopyStyle::CssRgb},
    {"Copy CSS hsl() To Clipboard", CopyStyle::CssHsl},
    {"Copy CSS oklch() To Clipboard", CopyStyle::OkLch},
    {"Copy CSS #RGB To Clipboard", CopyStyle::ShortHex},
}};

// User slot 0 to 19 for the digits and the letters A to J; -1 otherwise.
int slotOfKey(char16_t key) {
    if (key >= u'0' && key <= u'9') return key - u'0';
    if (key >= u'A' && key <= u'J') return 10 + (key - u'A');
    return -1;
}

// Keys a text field uses for its editing. With the focus in a text field of the window they edit
// the text; the window's commands on them run while no text field has the focus, and from the
// menus.
bool editsText(const QKeyEvent& event, char16_t key) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & (Qt::AltModifier | Qt::MetaModifier)) return false;
    const bool ctrl = mods & Qt::ControlModifier;
    switch (event.key()) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // With Ctrl or Shift they step the font and its size, which no one-line field uses.
        return !ctrl && !(mods & Qt::ShiftModifier);
    default:
        break;
    }
    if (!ctrl) return false;
    switch (key) {
    case u'A': // select all
    case u'C':
    case u'X':
    case u'V':
    case u'Z': // undo, and redo with Shift
    case u'Y':
        return true;
    default:
        return false;
    }
}

// The window's editable text field that has the focus, or null. An editable combo box holds the
// focus for its text field.
const QLineEdit* focusedTextField(const QWidget& window) {
    const QWidget* focus = QApplication::focusWidget();
    const auto* field = qobject_cast<const QLineEdit*>(focus);
    if (const auto* combo = qobject_cast<const QComboBox*>(focus)) field = combo->lineEdit();
    return field && !field->isReadOnly() && field->window() == &window ? field : nullptr;
}

} // namespace

TCommands::TCommands(TColorHub& hub, TForm1Ui& ui, TUserSlots& userSlots, TPickerOpener& picker,
                     TSampleControls& sample)
    : m_hub(hub), m_ui(ui), m_slots(userSlots), m_picker(picker), m_sample(sample) {
    createMenu();
    m_slots.PopupColor = [this] { return PopupColor(m_popupControl); };
    // The window's own sliders leave the wheel to the pastel bar.
    for (TKxSlider* slider :
         {ui.SliderHue, ui.SliderSat, ui.SliderLum, ui.SliderRed, ui.SliderGreen, ui.SliderBlue})
        slider->setNoScroll(true);
    connect(ui.ButSettings, &TKxButton::clicked, this, &TCommands::OpenSettings);
    connect(ui.ButHelp, &TKxButton::clicked, this, &TCommands::OpenHelp);
    connect(ui.ButInfo, &TKxButton::clicked, this, &TCommands::OpenAbout);
    qApp->installEventFilter(this);
}

TCommands::~TCommands() {
    qApp->removeEventFilter(this);
}

void TCommands::createMenu() {
    PopupMenu = new QMenu(&m_hub);
    auto add = [this](const char* caption, auto handler) {
        QAction* action = PopupMenu->addAction(QString::fromLatin1(caption));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    MnuCopyRGBToClipboard = add("Copy R:G:B: To Clipboard", [this] { copyPopup(CopyRgb); });
    MnuCopyBgrToClipboard = add("Copy BGR ToClipboard", [this] { copyPopup(CopyBgr); });
    MnuCopyHtmlToClipboard = add("Copy HTM To Clipboard ", [this] { copyPopup(CopyHtml); });
    add("Copy HSL To Clipboard", [this] { copyPopup(CopyHsl); });
    add("Copy Custom To Clipboard", [this] { copyPopup(CopyCustom); });
    add("Copy All To Clipboard", [this] { copyPopup(CopyAll); });
    for (const TCssCopyItem& item : kCssCopyItems)
        add(item.caption, [this, style = item.style] {
            if (const std::optional<ColorValue> c = PopupColor(m_popupControl))
                copy(FormatByStyle(*c, int(style), m_hub.options().formats()));
        });
    MnuCopyRGBToClipboard->setText(MnuCopyRGBToClipboard->text() + QStringLiteral("\tShift+Click"));
    MnuCopyBgrToClipboard->setText(MnuCopyBgrToClipboard->text() + QStringLiteral("\tCtrl+Click"));
    MnuCopyHtmlToClipboard->setText(MnuCopyHtmlToClipboard->text() +
                                    QStringLiteral("\tCtrl+Shift+Click"));
    MnuCopytoClipAsTemplate = PopupMenu->addMenu(QStringLiteral("Copy to Clipboard as Template"));
    connect(MnuCopytoClipAsTemplate, &QMenu::aboutToShow, this, &TCommands::fillTemplateMenu);
    PopupMenu->addSeparator();
    MnuSaveColorAs = PopupMenu->addMenu(QStringLiteral("Store Color As"));
    m_slots.BuildStoreColorMenu(MnuSaveColorAs);
    PopupMenu->addSeparator();
    TWindowOptions& options = m_hub.options();
    MnuHideMainform = add("Hide Mainform on Picking", [this] {
        m_hub.options().setHideOnPicking(MnuHideMainform->isChecked());
    });
    MnuHideMainform->setCheckable(true);
    MnuHideMainform->setChecked(options.hideOnPicking());
    connect(&options, &TWindowOptions::hideOnPickingChanged, MnuHideMainform, &QAction::setChecked);
    MnuSaveSampletextafterpaste = add("Save Sample Text after Paste", [this] {
        m_hub.options().setSaveSampleAfterPaste(MnuSaveSampletextafterpaste->isChecked());
    });
    MnuSaveSampletextafterpaste->setCheckable(true);
    MnuSaveSampletextafterpaste->setChecked(options.saveSampleAfterPaste());
    connect(&options, &TWindowOptions::saveSampleAfterPasteChanged, MnuSaveSampletextafterpaste,
            &QAction::setChecked);
    MnuReadableTextAA = add("Readable Sample Text Color (AA)",
                            [this] { m_sample.MakeTextReadable(ColorContrast::TLevel::AA); });
    MnuReadableTextAA->setShortcut(QKeySequence(Qt::Key_F7));
    MnuReadableTextAAA = add("Readable Sample Text Color (AAA)",
                             [this] { m_sample.MakeTextReadable(ColorContrast::TLevel::AAA); });
    MnuReadableTextAAA->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    // Shown in the menu; the sample row's key handler runs them while the menu is closed.
    for (QAction* action : {MnuReadableTextAA, MnuReadableTextAAA})
        action->setShortcutContext(Qt::WidgetShortcut);
    MnuSetClickAction = PopupMenu->addMenu(QStringLiteral("Set Click Action"));
    m_clickActions = new QActionGroup(MnuSetClickAction);
    for (int tag = 0; tag < int(kClickActionCaptions.size()); ++tag) {
        QAction* action =
            MnuSetClickAction->addAction(QString::fromLatin1(kClickActionCaptions[tag]));
        action->setCheckable(true);
        action->setData(tag);
        m_clickActions->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, tag] { m_hub.options().setClickAction(CopyStyle(tag)); });
    }
    showClickAction(options.clickAction());
    connect(&options, &TWindowOptions::clickActionChanged, this, &TCommands::showClickAction);
    PopupMenu->addSeparator();
    MnuColorSets = PopupMenu->addMenu(QStringLiteral("Color Sets"));
    connect(MnuColorSets, &QMenu::aboutToShow, this, [this] {
        MnuColorSets->clear();
        const int chosen = m_slots.chosenSet();
        int index = 0;
        for (const auto& entry : m_slots.sets()) {
            QAction* action = MnuColorSets->addAction(entry.name);
            action->setCheckable(true);
            action->setChecked(index == chosen);
            connect(action, &QAction::triggered, this, [this, entry] {
                if (TColorSetStore::IsBuiltInPath(entry.path))
                    m_slots.OpenBuiltInSet(entry.name);
                else
                    m_slots.OpenSet(entry.path);
            });
            ++index;
        }
    });
    // Shown in the menu; the key handler runs them while the menu is closed.
    QAction* newSet = add("New Color Set", [this] { m_slots.NewSet(); });
    newSet->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction* saveSet = add("Save Color Set", [this] { m_slots.SaveSet(); });
    saveSet->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* manage = add("Manage Color Sets", [this] { m_slots.ManageSets(); });
    manage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    for (QAction* action : {newSet, saveSet, manage})
        action->setShortcutContext(Qt::WidgetShortcut);
    MnuSetColorHint = add("Set Color Hint", [this] {
        if (auto* slot = qobject_cast<TColorLabel*>(m_popupControl.data()))
            m_slots.EditColorName(slot);
    });
    BuildTemplateMenu();
}

// ---------------------------------------------------------------------------------------------
// Copies

void TCommands::copy(const std::optional<QString>& text) {
    if (text) Platform::setClipboardText(*text);
}

void TCommands::copyPopup(int which) {
    const std::optional<ColorValue> c = PopupColor(m_popupControl);
    if (!c) return;
    const FormatSettings& formats = m_hub.options().formats();
    switch (which) {
    case CopyRgb:
        copy(FormatRgbValues(*c));
        break;
    case CopyBgr:
        copy(FormatBgrHex(*c));
        break;
    case CopyHtml:
        copy(FormatHtml(*c));
        break;
    case CopyHsl:
        copy(FormatHsl(*c, formats));
        break;
    case CopyCustom:
        copy(FormatCustom(*c, formats));
        break;
    case CopyAll:
        copy(FormatAll(*c, formats));
        break;
    default:
        break;
    }
}

std::optional<ColorValue> TCommands::PopupColor(const QObject* control) const {
    if (!control) return std::nullopt;
    if (control == m_ui.ZodudIroBox) return m_hub.currentColor();
    if (const auto* panel = qobject_cast<const TKxPanel*>(control))
        return ResolveColor(panel->Color());
    if (const auto* label = qobject_cast<const TColorLabel*>(control))
        return ResolveColor(label->color());
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Popup menu

void TCommands::PopupMenuPopup(QWidget* control) {
    m_popupControl = control;
    MnuSetColorHint->setVisible(control &&
                                control->property("Tag").toInt() == TUserSlots::TagUserSlot);
}

void TCommands::showPopup(QWidget* control, const QPoint& globalPos) {
    PopupMenuPopup(control);
    PopupMenu->popup(globalPos);
}

void TCommands::showClickAction(CopyStyle style) {
    for (QAction* action : m_clickActions->actions())
        action->setChecked(action->data().toInt() == int(style));
}

void TCommands::LoadTemplates(const QString& dataFolder) {
    m_dataFolder = dataFolder;
    for (TTemplateKind kind : {TTemplateKind::Rgb, TTemplateKind::Hsl}) {
        TColorTemplateList& list = kind == TTemplateKind::Rgb ? m_rgbTemplates : m_hslTemplates;
        const QString error = LoadTemplatesOrBuiltIns(kind, dataFolder, list);
        if (!error.isEmpty())
            ShowErrorBox(TemplateErrorCaption(), TemplateErrorText(error), &m_hub);
    }
    BuildTemplateMenu();
}

void TCommands::BuildTemplateMenu() {
    // Filled when next shown: the lists may hold thousands of templates, which would otherwise
    // become actions at every start, and be measured with the hidden menu.
    MnuCopytoClipAsTemplate->clear();
    m_templateMenuFilled = false;
}

void TCommands::fillTemplateMenu() {
    if (m_templateMenuFilled) return;
    m_templateMenuFilled = true;
    for (const TTemplateMenuEntry& entry : TemplateMenuEntries(m_rgbTemplates, m_hslTemplates)) {
        if (entry.separator) {
            MnuCopytoClipAsTemplate->addSeparator();
            continue;
        }
        QAction* action = MnuCopytoClipAsTemplate->addAction(entry.caption);
        // The entry's own copy: the lists may be replaced while the menu lives.
        connect(action, &QAction::triggered, this, [this, tmpl = entry.tmpl] {
            if (const auto c = PopupColor(m_popupControl)) copy(FormatTemplate(*c, tmpl));
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Dialogs and help

void TCommands::OpenSettings() {
    TSettingsValues values;
    TWindowOptions& options = m_hub.options();
    values.formats = options.formats();
    values.clickAction = int(options.clickAction());
    values.sampleTextPath = sampleTextFile();
    values.saveAfterPaste = options.saveSampleAfterPaste();
    const QString folder = m_dataFolder.isEmpty() ? DataFolder() : m_dataFolder;
    auto dialog = std::make_unique<THlpForm>(values, m_rgbTemplates, m_hslTemplates, folder,
                                             DefaultShortcutGroups(), &m_hub);
    connect(dialog.get(), &THlpForm::templatesReplaced, this,
            [this](TTemplateKind kind, const TColorTemplateList& list) {
                (kind == TTemplateKind::Rgb ? m_rgbTemplates : m_hslTemplates) = list;
                BuildTemplateMenu();
            });
    const std::optional<TSettingsValues> result = dialog->Execute();
    if (!result) return;
    options.setClickAction(CopyStyle(result->clickAction));
    options.setFormats(result->formats);
    setSampleTextFile(result->sampleTextPath);
    options.setSaveSampleAfterPaste(result->saveAfterPaste);
}

void TCommands::OpenHelp() {
    HelpCommand(&m_hub);
}

void TCommands::OpenAbout() {
    AboutCommand(&m_hub);
}

// ---------------------------------------------------------------------------------------------
// Paste

void TCommands::PasteCommand() {
    const QString text = Platform::clipboardText();
    if (text.isEmpty()) return;
    if (TSampleForm* sample = m_sample.sampleWindow(); sample && sample->shownToUser()) {
        sample->SetSampleText(text);
        if (m_hub.options().saveSampleAfterPaste()) saveSampleText(text);
        return;
    }
    if (m_ui.PnlPicker->isVisible() && QApplication::focusWidget() != m_ui.EdClValue)
        m_hub.setValueFieldText(text);
}

QString TCommands::sampleTextFile() const {
    return m_sample.settings().textFile;
}

void TCommands::setSampleTextFile(const QString& path) {
    m_sample.sampleTextFileChosen(path);
}

void TCommands::saveSampleText(const QString& text) {
    QString path = sampleTextFile();
    if (path.isEmpty()) {
        const QString folder = m_dataFolder.isEmpty() ? DataFolder() : m_dataFolder;
        if (folder.isEmpty()) return;
        path = UniqueFileName(WithTrailingBackslash(folder) + QStringLiteral("Sample"),
                              QStringLiteral(".txt"));
    }
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const TextFile::TWriteResult written = TextFile::write(path, lines);
    if (!written.ok) {
        ShowErrorBox(
            QStringLiteral("Error"),
            QStringLiteral("Could not save the sample text to\r\n%1\r\n\r\nSystem Say:\r\n%2")
                .arg(QDir::toNativeSeparators(path), written.error),
            &m_hub);
        return;
    }
    // Only a file that was written becomes the sample text file.
    setSampleTextFile(path);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TCommands::belongsToWindow(const QObject* watched) const {
    if (!watched || !watched->isWidgetType()) return false;
    const auto* widget = static_cast<const QWidget*>(watched);
    return widget->window() == &m_hub;
}

bool TCommands::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
        // A press after a release is a new key, even where a new event reuses the old address.
        m_lastKey = {};
        break;
    case QEvent::KeyPress: {
        if (!belongsToWindow(watched)) break;
        // Once per key: a key no widget takes travels up to the window, through this filter
        // again at every parent.
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (key == m_lastKey.event && key->timestamp() == m_lastKey.timestamp &&
            m_lastKey.receiver && widget != m_lastKey.receiver &&
            widget->isAncestorOf(m_lastKey.receiver))
            break;
        m_lastKey = {key, key->timestamp(), widget};
        return FormKeyDown(key);
    }
    case QEvent::ContextMenu:
        if (!belongsToWindow(watched)) break;
        showPopup(static_cast<QWidget*>(watched),
                  static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::Wheel: {
        if (!belongsToWindow(watched)) break;
        // A focused combo box keeps the wheel for its list.
        for (const QObject* o = watched; o && o != &m_hub; o = o->parent())
            if (auto* combo = qobject_cast<const QComboBox*>(o); combo && combo->hasFocus())
                return false;
        FormMouseWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TCommands::FormMouseWheel(QWheelEvent* event) {
    m_wheelAngle += event->angleDelta().y();
    const int notches = m_wheelAngle / 120;
    m_wheelAngle -= notches * 120;
    // A notch down (negative angle) moves the bar down, toward the less pastel end.
    if (notches != 0) moveScrollBar(-notches * WheelStep);
    event->accept();
}

void TCommands::moveScrollBar(int delta) {
    QScrollBar* bar = m_ui.ScrollBar1;
    bar->setValue(bar->value() + delta);
}

bool TCommands::FormKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    const char16_t key = Keyboard::digitOrLetter(*event);

    if (const QLineEdit* field = focusedTextField(m_hub); field && editsText(*event, key)) {
        // Ctrl+V in the value field also runs the paste command (the sample window takes the
        // text when shown), while the field pastes for itself.
        if (field == m_ui.EdClValue && key == u'V') PasteCommand();
        return false;
    }
    if (ctrl && shift && ctrlShiftStage(key)) return true;
    // The sample row's keys (Ctrl+A/B/E/H/I/K/Q/T, Esc with the sample shown, F6, F11, F12,
    // the font and size arrows) by the letter the key stands for on any layout.
    if (m_sample.HandleKey(key ? int(key) : event->key(), event->modifiers())) return true;
    if (ctrl && ctrlStage(event->key(), key)) return true;
    if (alt) {
        if (const int slot = slotOfKey(key); slot >= 0) {
            m_slots.StoreIntoSlot(slot, m_hub.currentColor());
            // With Shift too the slot is also selected, as the next stage does.
            if (!shift) return true;
        }
    }
    if (shift && shiftStage(event, key)) return false;
    return anyStage(event);
}

bool TCommands::ctrlShiftStage(char16_t key) {
    TKxSlider* target = nullptr;
    switch (key) {
    case u'1':
    case u'H':
        target = m_ui.SliderHue;
        break;
    case u'S':
        target = m_ui.SliderSat;
        break;
    case u'L':
        target = m_ui.SliderLum;
        break;
    case u'R':
        target = m_ui.SliderRed;
        break;
    case u'G':
        target = m_ui.SliderGreen;
        break;
    case u'B':
        target = m_ui.SliderBlue;
        break;
    default:
        return false;
    }
    target->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool TCommands::ctrlStage(int qtKey, char16_t key) {
    if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) {
        m_ui.ZodudIroBox->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    switch (key) {
    case u'1':
        m_ui.SliderHue->setFocus(Qt::ShortcutFocusReason);
        return true;
    case u'P':
        m_picker.OpenScreenPicker();
        return true;
    case u'R':
    case u'G':
        // Ctrl+R chooses RGB order, Ctrl+G the BGR order its hint names.
        if (m_ui.PnlPicker->isVisible()) (key == u'R' ? m_ui.ButRgb : m_ui.ButBgr)->Click();
        return true;
    case u'V':
        PasteCommand();
        return true;
    case u'N':
        m_slots.NewSet();
        return true;
    case u'S':
        m_slots.SaveSet();
        return true;
    case u'M':
        m_slots.ManageSets();
        return true;
    default:
        return false;
    }
}

bool TCommands::shiftStage(QKeyEvent* event, char16_t key) {
    if (event->key() == Qt::Key_Insert) {
        PasteCommand();
        return true;
    }
    if (QApplication::focusWidget() == m_ui.EdClValue) return false;
    if (const int slot = slotOfKey(key); slot >= 0) m_slots.SelectUserColor(slot);
    return false;
}

bool TCommands::anyStage(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool barFocused = QApplication::focusWidget() == m_ui.ScrollBar1;
    QScrollBar* bar = m_ui.ScrollBar1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->key() == Qt::Key_Enter && (event->modifiers() & Qt::KeypadModifier) == 0) break;
        m_hub.ZodudIroBoxColorPickLeft(m_ui.PnlColor, m_ui.PnlColor->Color());
        return true;
    case Qt::Key_Escape:
        m_hub.close();
        return true;
    // The bar keeps the keys for the focused control, except its own: moved once, not twice.
    case Qt::Key_PageUp:
        moveScrollBar(-PageStep);
        return barFocused;
    case Qt::Key_PageDown:
        moveScrollBar(PageStep);
        return barFocused;
    case Qt::Key_End:
        bar->setValue(bar->maximum());
        return barFocused;
    case Qt::Key_Home:
        bar->setValue(bar->minimum());
        return barFocused;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (!(event->modifiers() & Qt::KeypadModifier)) break;
        resizeByTenth(event->key() == Qt::Key_Plus, ctrl, shift);
        return true;
    case Qt::Key_F1:
        OpenHelp();
        return true;
    case Qt::Key_F2:
        OpenSettings();
        return true;
    case Qt::Key_F3:
        OpenAbout();
        return true;
    default:
        break;
    }
    return false;
}

void TCommands::resizeByTenth(bool grow, bool ctrl, bool shift) {
    const int sign = grow ? 1 : -1;
    QSize size = m_hub.size();
    const int dh = ctrl ? 0 : size.height() * 10 / 100;
    const int dw = shift ? 0 : size.width() * 10 / 100;
    qint64 width = qint64(size.width()) + sign * dw;
    qint64 height = qint64(size.height()) + sign * dh;
    // Never past what the screens can show, never below the window's minimum.
    if (const QScreen* screen = m_hub.screen()) {
        const QRect desktop = screen->availableVirtualGeometry();
        width = std::min<qint64>(width, desktop.width());
        height = std::min<qint64>(height, desktop.height());
    }
    width = std::max<qint64>(width, m_hub.minimumWidth());
    height = std::max<qint64>(height, m_hub.minimumHeight());
    m_hub.resize(int(width), int(height));
}
