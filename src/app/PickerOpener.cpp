#include "app/PickerOpener.h"

#include "app/ColorHub.h"
#include "app/SampleControls.h"
#include "app/Unit1Ui.h"
#include "app/WindowOptions.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "platform/Platform.h"
#include "platform/UserStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>
#include <QWindow>

namespace {

// How long a minimised main window may take to leave the screen before the picture is taken.
constexpr int kHideWaitMs = 500;

} // namespace

TPickerOpener::TPickerOpener(TColorHub& hub, TForm1Ui& ui, const TSampleControls& sample)
    : m_hub(hub), m_ui(ui), m_sample(sample) {
    connect(m_ui.ButScreenPicker, &TKxButton::clicked, this, &TPickerOpener::OpenScreenPicker);
    connect(&m_pick, &TScreenPick::finished, this, &TPickerOpener::pickFinished);
    m_frozen = QCoreApplication::arguments().contains(QStringLiteral("--frozen"));
}

void TPickerOpener::waitUntilHidden() {
    // Minimising is carried out by the window manager later; the desktop picture must not be
    // taken before the window has left the screen. Input stays queued meanwhile, so nothing the
    // user does can act on a half-opened picker.
    const QWindow* window = m_hub.windowHandle();
    QElapsedTimer clock;
    clock.start();
    while (window && window->isExposed() && clock.elapsed() < kHideWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(5);
    }
}

void TPickerOpener::OpenScreenPicker() {
    if (m_pick.busy()) return;
    TWindowOptions& options = m_hub.options();
    TUserStore store;
    TPickerValues values;
    values.hintHidden = options.pickerHintHidden();
    values.hintHsl = options.pickerShowsHsl();
    ReadPickerValues(store, values);
    const bool frozen = m_frozen || ReadPickerFrozen(store);
    const FormatSettings& formats = options.formats();

    // The hint's contrast line measures against the sample side that is not being edited.
    const TSampleSettings& sample = m_sample.settings();
    m_pick.setContrastReference(sample.lockBkgColor ? sample.bkgColor : sample.textColor);

    // Out of the way, so the main window is not part of the desktop picture.
    m_hidden = options.hideOnPicking() || Platform::ctrlDown();
    if (m_hidden) {
        m_hub.showMinimized();
        waitUntilHidden();
    }
    m_pick.start(values, THslMaxima{formats.hueMax, formats.satMax, formats.lumMax},
                 frozen ? TScreenPick::TMode::Frozen : TScreenPick::TMode::Classic, &m_hub);
}

void TPickerOpener::pickFinished(std::optional<ColorValue> picked, const TPickerValues& kept) {
    if (m_hidden) m_hub.showNormal();
    m_hidden = false;

    TWindowOptions& options = m_hub.options();
    options.setPickerHintHidden(kept.hintHidden);
    options.setPickerShowsHsl(kept.hintHsl);
    TUserStore store;
    WritePickerValues(store, kept);

    if (!picked) return;
    const ColorValue c = *picked & kColorMask;
    const ColorValue ordered = m_hub.rgbOrder() ? c : SwapRedBlue(c);
    // Six digits as the order reads them: RRGGBB, or BBGGRR in BGR order.
    const QString text = QStringLiteral("%1%2%3")
                             .arg(RedOf(ordered), 2, 16, QLatin1Char('0'))
                             .arg(GreenOf(ordered), 2, 16, QLatin1Char('0'))
                             .arg(BlueOf(ordered), 2, 16, QLatin1Char('0'))
                             .toUpper();
    m_hub.setValueFieldText(text);
    m_hub.ZodudIroBoxColorPickLeft(m_ui.PnlEdColor, m_ui.PnlEdColor->Color());
}
