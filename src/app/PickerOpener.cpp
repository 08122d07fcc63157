#include "app/PickerOpener.h"

#include "app/ColorHub.h"
#include "app/SampleControls.h"
#include "app/Unit1Ui.h"
#include "app/WindowOptions.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "picker/Pickfrm.h"
#include "platform/Platform.h"
#include "platform/UserStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>
#include <QWindow>

#include <memory>

namespace {

// How long a minimised main window may take to leave the screen before the picture is taken.
constexpr int kHideWaitMs = 500;

} // namespace

TPickerOpener::TPickerOpener(TColorHub& hub, TForm1Ui& ui, const TSampleControls& sample)
    : m_hub(hub), m_ui(ui), m_sample(sample) {
    connect(m_ui.ButScreenPicker, &TKxButton::clicked, this, &TPickerOpener::OpenScreenPicker);
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
    TWindowOptions& options = m_hub.options();
    TUserStore store;
    TPickerValues values;
    values.hintHidden = options.pickerHintHidden();
    values.hintHsl = options.pickerShowsHsl();
    ReadPickerValues(store, values);
    const FormatSettings& formats = options.formats();
    // Owned by no window: a window manager may keep a minimised owner's dialogs out of sight.
    auto picker = std::make_unique<TFrmPick>(
        values, THslMaxima{formats.hueMax, formats.satMax, formats.lumMax}, nullptr);

    // The hint's contrast line measures against the sample side that is not being edited.
    const TSampleSettings& sample = m_sample.settings();
    picker->setContrastReference(sample.lockBkgColor ? sample.bkgColor : sample.textColor);

    // Out of the way, so the main window is not part of the desktop picture.
    const bool hide = options.hideOnPicking() || Platform::ctrlDown();
    if (hide) {
        m_hub.showMinimized();
        waitUntilHidden();
    }
    const int result = picker->exec();
    if (hide) m_hub.showNormal();

    const TPickerValues kept = picker->Values();
    options.setPickerHintHidden(kept.hintHidden);
    options.setPickerShowsHsl(kept.hintHsl);
    WritePickerValues(store, kept);

    const std::optional<ColorValue> picked = picker->PickedColor();
    if (result != TFrmPick::kResultOk || !picked) return;
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
