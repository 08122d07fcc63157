#include "app/Startup.h"

#include "app/ColorHub.h"
#include "app/PickerOpener.h"
#include "app/SampleControls.h"
#include "app/Unit1Ui.h"
#include "app/UserSlots.h"
#include "app/WindowOptions.h"
#include "dialogs/Kxmsgbx.h"
#include "palette/KxZodudIro.h"
#include "platform/Platform.h"
#include "platform/UserStore.h"
#include "support/Kxknownfolders.h"
#include "support/TextFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <exception>

namespace {

// Long enough after the deferred start-up that readying the desktop picture competes with nothing
// the start still does.
constexpr int kPrepareGrabMs = 500;

// The screens' work areas, the primary one first: where a stored rectangle may go.
QList<QRect> availableAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) areas.append(screen->availableGeometry());
    return areas;
}

TStoredPlacement placementOf(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// Too small to be a window anyone placed: the sample window places itself instead.
constexpr int MinimumSampleSide = 40;

TSampleSettings sampleSettingsOf(const TStoredSettings& s) {
    TSampleSettings sample;
    sample.textColor = s.sampleTextColor;
    sample.bkgColor = s.sampleBkgColor;
    sample.fontName = s.fontName;
    sample.fontStyle = std::uint8_t((s.bold ? TSampleSettings::StyleBold : 0) |
                                    (s.italic ? TSampleSettings::StyleItalic : 0));
    sample.fontSize = std::uint16_t(s.fontSize);
    sample.showText = s.showText;
    sample.transparent = s.transparent;
    sample.lockTextColor = s.textColorLocked;
    sample.lockBkgColor = s.bkgColorLocked;
    const TStoredPlacement& p = s.sampleWindow;
    if (p.width >= MinimumSampleSide && p.height >= MinimumSampleSide)
        sample.placement = QRect(p.left, p.top, p.width, p.height);
    sample.textFile = s.mumbleFile;
    return sample;
}

TWindowOptionValues optionsOf(const TStoredSettings& s) {
    TWindowOptionValues options;
    options.hotTrack = s.hotTrack;
    options.hideOnPicking = s.hideOnPicking;
    options.saveSampleAfterPaste = s.saveSampleAfterPaste;
    options.clickAction = s.clickAction;
    options.pickerHintHidden = s.pickerHintHidden;
    options.pickerShowsHsl = s.pickerShowsHsl;
    options.formats = s.formats;
    return options;
}

void takeOptions(const TWindowOptionValues& options, TStoredSettings& s) {
    s.hotTrack = options.hotTrack;
    s.hideOnPicking = options.hideOnPicking;
    s.saveSampleAfterPaste = options.saveSampleAfterPaste;
    s.clickAction = options.clickAction;
    s.pickerHintHidden = options.pickerHintHidden;
    s.pickerShowsHsl = options.pickerShowsHsl;
    s.formats = options.formats;
}

void takeSampleSettings(const TSampleSettings& sample, TStoredSettings& s) {
    s.sampleTextColor = sample.textColor & kColorMask;
    s.sampleBkgColor = sample.bkgColor & kColorMask;
    s.fontName = sample.fontName;
    s.bold = sample.bold();
    s.italic = sample.italic();
    s.fontSize = std::clamp<int>(sample.fontSize, 1, TStoredSettings::MaxFontSize);
    s.showText = sample.showText;
    s.transparent = sample.transparent;
    s.textColorLocked = sample.lockTextColor;
    s.bkgColorLocked = sample.lockBkgColor;
    // A window that never stood anywhere this run leaves the stored rectangle as it was.
    if (sample.hasPlacement()) s.sampleWindow = placementOf(sample.placement);
    s.mumbleFile = sample.textFile;
}

} // namespace

TStartup::TStartup(TColorHub& hub, TForm1Ui& ui, TUserSlots& userSlots, TSampleControls& sample,
                   TPickerOpener& picker)
    : m_hub(hub), m_ui(ui), m_slots(userSlots), m_sample(sample), m_picker(picker) {
    FindDataFolder = [] { return DataFolder(); };
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            &TStartup::applicationStateChanged);
}

TStartup::~TStartup() = default;

void TStartup::report(const QString& text) {
    ShowErrorBox(BoxCaption, text, &m_hub);
}

void TStartup::applicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) {
        if (!m_deactivated) return;
        m_deactivated = false;
        emit applicationActivated();
    } else if (!m_deactivated) {
        m_deactivated = true;
        emit applicationDeactivated();
    }
}

// ---------------------------------------------------------------------------------------------
// First show

void TStartup::FormShow() {
    LoadSettings();
    placeWindow();
}

void TStartup::LoadSettings() {
    TUserStore store;
    m_settings = TSettingsCodec::load(store, [this](const QString& text) { report(text); });
    if (m_settings.firstRun)
        ApplyDefaults();
    else
        ApplySettings();
}

void TStartup::ApplyDefaults() {
    // The defaults are what a default-constructed record holds; the value field keeps the text
    // it was designed with, which becomes the remembered value.
    const QString designText = m_ui.EdClValue->text();
    m_settings.pasteColor = designText;
    m_settings.colorSetFile.clear();
    ApplySettings();
}

void TStartup::ApplySettings() {
    TStoredSettings& s = m_settings;

    // Before the value text, which is shown with the formats and read in the stored order.
    m_hub.options().setValues(optionsOf(s));
    m_hub.setRgbOrder(s.rgbOrder);
    if (m_ui.EdClValue->text() != s.pasteColor) m_ui.EdClValue->setText(s.pasteColor);
    m_sample.ApplySettings(sampleSettingsOf(s));
    if (s.hasHistory) m_slots.setHistory(s.history);
}

void TStartup::placeWindow() {
    const QList<QRect> areas = availableAreas();
    const QSize minimum = m_hub.minimumSize();
    if (m_settings.firstRun || !m_settings.hasPlacement) {
        // A first run: the narrowest the window can be, in the proportions it was designed
        // with; otherwise the size it has. Centred either way.
        const int width = m_settings.firstRun ? minimum.width() : m_hub.width();
        const int height =
            m_settings.firstRun ? std::max(minimum.height(), width * 600 / 980) : m_hub.height();
        TStoredPlacement centred{0, 0, width, height};
        if (!areas.isEmpty()) {
            const QRect& primary = areas.front();
            centred.left = primary.x() + (primary.width() - width) / 2;
            centred.top = primary.y() + (primary.height() - height) / 2;
        }
        m_hub.setGeometry(FitToScreens(centred, areas, minimum));
        return;
    }
    m_hub.setGeometry(FitToScreens(m_settings.mainWindow, areas, minimum));
    // Restoring from maximised goes back to the rectangle just set.
    if (m_settings.windowState == 2) m_hub.setWindowState(Qt::WindowMaximized);
}

// ---------------------------------------------------------------------------------------------
// Deferred start-up

void TStartup::LoadTimerTimer() {
    const TStoredSettings& s = m_settings;
    TSampleControls& sample = m_sample;
    if (!s.tunePanelShown && sample.tunePanelShown()) sample.ButEyeDropPanelClick();
    m_ui.ScrollBar1->setValue(255 - s.pastel);
    m_hub.ApplyPastel(s.pastel);
    sample.FillFontList();
    m_ui.ZodudIroBox->setFocus();

    const TSampleSettings& kept = sample.settings();
    const ColorValue c = kept.lockTextColor ? kept.bkgColor : kept.textColor;
    if (m_ui.EdClValue->text().isEmpty())
        m_hub.ApplyValueFieldColor(c);
    else
        m_hub.ApplyCurrentColor(c);
    m_hub.setClickedColor(c);

    // Decided now, while the key may still be held; the picker comes up once start-up is done,
    // so what it picks meets loaded slots.
    if (Platform::ctrlDown())
        QTimer::singleShot(0, &m_hub, [this] { m_picker.OpenScreenPicker(); });
    else
        // The first picker or see-through sample window then opens as fast as the later ones.
        QTimer::singleShot(kPrepareGrabMs, &m_hub, [] { Platform::prepareDesktopGrab(); });

    m_dataFolder = FindDataFolder ? FindDataFolder() : QString();
    TUserSlots& userSlots = m_slots;
    bool writable = true;
    if (!m_dataFolder.isEmpty()) {
        // Said once here, rather than as a puzzling failure at every save.
        const TFolderCheck check = CheckFolder(m_dataFolder);
        if (check.state == TFolderCheck::TState::Unusable) {
            report(QStringLiteral("The data folder cannot be used for color sets and templates."
                                  "\r\n%1\r\nUntil then they are neither read nor saved.")
                       .arg(check.problem));
            userSlots.FillRandomHistory();
            m_dataFolder.clear();
            return;
        }
        writable = check.state != TFolderCheck::TState::ReadOnly;
        if (!writable)
            report(QStringLiteral("Color sets and templates cannot be saved.\r\n%1")
                       .arg(check.problem));
    }
    if (m_dataFolder.isEmpty()) {
        // Without it every colour set and template file would land wherever the program was
        // started from.
        report(QStringLiteral("No folder for the program's data could be found.\r\nColor sets "
                              "and templates are neither read nor saved in this session."));
        userSlots.FillRandomHistory();
        return;
    }
    userSlots.setDataFolder(m_dataFolder, writable);
    userSlots.OpenStartSet(s.colorSetFile);
    emit dataFolderReady(m_dataFolder);
}

// ---------------------------------------------------------------------------------------------
// Close

void TStartup::CollectPlacement() {
    TStoredSettings& s = m_settings;
    const Qt::WindowStates state = m_hub.windowState();
    // The rectangle the window returns to, never a minimised or maximised one.
    const bool special = state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    const QRect normal = special ? m_hub.normalGeometry() : m_hub.geometry();
    if (normal.isValid()) s.mainWindow = placementOf(normal);
    s.hasPlacement = true;
    s.windowState = (state & Qt::WindowMaximized) ? 2 : (state & Qt::WindowMinimized) ? 1 : 0;

    s.rgbOrder = m_hub.rgbOrder();
    s.pastel = m_hub.pastel();
    takeOptions(m_hub.options().values(), s);
    s.pasteColor = m_hub.pasteColor();
    takeSampleSettings(m_sample.settings(), s);
    s.tunePanelShown = m_sample.tunePanelShown();
    s.history = m_slots.history();
    s.hasHistory = true;
    // Only a set that was really read or written is named for the next start.
    if (!m_slots.currentPath().isEmpty()) s.colorSetFile = m_slots.currentPath();
}

void TStartup::SaveSettings() {
    TUserStore store;
    TSettingsCodec::save(store, m_settings, [this](const QString& text) { report(text); });
}

bool TStartup::FormCloseQuery() {
    try {
        if (!m_slots.AskSaveBeforeClose()) return false;
        CollectPlacement();
        SaveSettings();
    } catch (const std::exception&) {
        // Nothing may keep the user from closing the program.
    }
    return true;
}
