#include "app/Unit1.h"

#include "app/Commands.h"
#include "app/PickerOpener.h"
#include "app/SampleControls.h"
#include "app/Startup.h"
#include "app/UserSlots.h"

#include "colour/ColorParser.h"
#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "palette/KxZodudIro.h"
#include "platform/Platform.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace {

QString decimalTriple(ColorValue c) {
    return QStringLiteral("%1 - %2 - %3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c));
}

// Sets the update guard for one scope, so that no return path can leave it set. An update that
// runs inside another (a listener of the colour applying a colour of its own) hands the guard
// back as it found it instead of lifting the outer one early.
class TGuard {
public:
    explicit TGuard(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~TGuard() { m_flag = m_previous; }
    TGuard(const TGuard&) = delete;
    TGuard& operator=(const TGuard&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

// A slider shows its maximum at the top: its position is the maximum less the value.
int sliderValue(const TKxSlider* slider, int maximum) {
    return maximum - slider->getPosAsInt();
}

} // namespace

TForm1::TForm1(QWidget* parent) : TColorHub(parent) {
    m_ui.setupUi(this);
    connect(&m_options, &TWindowOptions::hotTrackChanged, m_ui.ZodudIroBox,
            &TKxZodudIro::setHotTrack);
    connect(&m_options, &TWindowOptions::formatsChanged, this, [this] {
        if (m_currentColor != kNoColor) RefreshValuePanels(m_currentColor);
    });
    m_slots = std::make_unique<TUserSlots>(*this, m_ui);
    connectControls();
    m_sampleControls = std::make_unique<TSampleControls>(*this, m_ui);
    m_pickerOpener = std::make_unique<TPickerOpener>(*this, m_ui, *m_sampleControls);
    m_commands =
        std::make_unique<TCommands>(*this, m_ui, *m_slots, *m_pickerOpener, *m_sampleControls);
    m_startup =
        std::make_unique<TStartup>(*this, m_ui, *m_slots, *m_sampleControls, *m_pickerOpener);
    connect(m_startup.get(), &TStartup::dataFolderReady, m_commands.get(),
            &TCommands::LoadTemplates);
    setWindowTitle(QStringLiteral("Vextora's Huesplinter"));
    resize(m_ui.designClientSize());
    const QSize minimum = m_ui.minimumClientSize();
    setMinimumSize(std::max(minimum.width(), m_slots->minimumRowWidth()), minimum.height());
}

TForm1::~TForm1() = default;

void TForm1::connectControls() {
    TForm1Ui& ui = m_ui;
    connect(ui.ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
    connect(ui.ZodudIroBox, &TKxZodudIro::colorChange, this,
            [this](ColorValue color) { ZodudIroBoxColorChange(m_ui.ZodudIroBox, color); });
    connect(ui.ZodudIroBox, &TKxZodudIro::colorPickLeft, this,
            [this](ColorValue color) { ZodudIroBoxColorPickLeft(m_ui.ZodudIroBox, color); });
    connect(ui.ButRgb, &TKxButton::clicked, this, [this] { BgrRgbClick(m_ui.ButRgb); });
    connect(ui.ButBgr, &TKxButton::clicked, this, [this] { BgrRgbClick(m_ui.ButBgr); });
    ui.EdClValue->installEventFilter(this);
    connect(ui.EdClValue, &QLineEdit::textChanged, this, [this] { EdClValueChange(); });
    for (TKxSlider* s : {ui.SliderHue, ui.SliderSat, ui.SliderLum})
        connect(s, &TKxSlider::changePos, this, [this, s] { SliderHueChangePos(s); });
    for (TKxSlider* s : {ui.SliderRed, ui.SliderGreen, ui.SliderBlue})
        connect(s, &TKxSlider::changePos, this, [this, s] { SliderRedChangePos(s); });

    connect(ui.PnlColor, &TKxPanel::clicked, this, [this] { PanelClick(m_ui.PnlColor); });
    for (TKxPanel* tile : {ui.PnlEdColor, ui.PnlSampleColor})
        connect(tile, &TKxPanel::clicked, this, [this, tile] { KxPanelClick(tile); });
    connect(ui.PnlHslColor, &TKxPanel::clicked, this,
            [this] { PnlHslColorClick(m_ui.PnlHslColor); });
    connect(ui.PnlWebSafe, &TKxPanel::clicked, this, [this] { PnlWebSafeClick(m_ui.PnlWebSafe); });
    connect(ui.PnlSampleColor1, &TKxPanel::clicked, this,
            [this] { PnlSampleColor1Click(m_ui.PnlSampleColor1); });
    ui.PnlShowColor->installEventFilter(this);

    connect(ui.CaptionTimer, &QTimer::timeout, this, [this] { CaptionTimerTimer(); });
    connect(ui.LoadTimer, &QTimer::timeout, this, [this] { LoadTimerTimer(); });
}

// ---------------------------------------------------------------------------------------------
// Window events

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_ui.layoutRows();
    FormResize();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_loaded || m_ui.LoadTimer->isActive()) return;
    m_startup->FormShow();
    m_ui.LoadTimer->start();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_startup->FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TForm1::FormResize() {
    m_resized = true;
}

void TForm1::PnlShowColorResize() {
    m_ui.layoutValuePanels();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.PnlShowColor && event->type() == QEvent::Resize) {
        PnlShowColorResize();
    } else if (watched == m_ui.EdClValue && event->type() == QEvent::FocusIn) {
        EdClValueEnter();
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Colour state

void TForm1::setRgbOrder(bool rgb) {
    m_rgbOrder = rgb;
    m_ui.ButRgb->setDown(rgb);
    m_ui.ButBgr->setDown(!rgb);
}

void TForm1::SetCurrentColor(ColorValue c) {
    setCurrent(c, RgbToHls(c));
}

void TForm1::setCurrent(ColorValue c, const HlsTriple& hls) {
    const bool changed = c != m_currentColor;
    m_currentColor = c;
    m_currentHls = hls;
    RefreshValuePanels(c);
    if (changed) emit currentColorChanged(c);
}

void TForm1::RefreshValuePanels(ColorValue c) {
    const TForm1Ui& ui = m_ui;
    const ColorValue text = TextColorFor(c);
    ui.PnlHslColor->setColor(c);
    ui.PnlColor->setColor(c);
    for (TKxPanel* p : {ui.PnlColor, ui.PnlHslColor, ui.PnlHlp, ui.PnlWebSafe})
        p->setFontColor(text);

    const ColorValue safe = WebSafe(c);
    ui.PnlHlp->setColor(safe);
    ui.PnlWebSafe->setColor(safe);
    ui.PnlWebSafe->setCaption(QStringLiteral("WebSafe: ") + FormatHtml(safe));

    ui.PnlColor->setCaption(
        QStringLiteral("R:%1   G:%2   B:%3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c)));

    // The triple the colour is shown as, not a conversion of c: while the HSL sliders choose the
    // colour the panel follows their steps, which a conversion back would not always give.
    // Wide arithmetic: the maxima are the user's numbers.
    const HlsTriple hls = c == m_currentColor ? m_currentHls : RgbToHls(c);
    const FormatSettings& formats = m_options.formats();
    auto shown = [](int maximum, int value) { return qint64(maximum) * value / kHlsMax; };
    ui.PnlHslColor->setCaption(QStringLiteral("H:%1   S:%2   L:%3")
                                   .arg(shown(formats.hueMax, hls.hue))
                                   .arg(shown(formats.satMax, hls.sat))
                                   .arg(shown(formats.lumMax, hls.lum)));

    ui.PnlSampleColor->setColor(c);
    showOnSampleTile(c);

    // Painted with the next paint pass: this can run from inside the palette's own paint.
    for (QWidget* w : std::initializer_list<QWidget*>{ui.PnlSampleColor, ui.PnlHlp, ui.PnlWebSafe,
                                                      ui.PnlColor, ui.PnlHslColor})
        w->update();
}

void TForm1::moveRgbSliders(ColorValue c) {
    m_ui.SliderRed->setPosition(255 - RedOf(c));
    m_ui.SliderGreen->setPosition(255 - GreenOf(c));
    m_ui.SliderBlue->setPosition(255 - BlueOf(c));
}

void TForm1::moveHlsSliders(const HlsTriple& hls) {
    m_ui.SliderHue->setPosition(kHlsMax - hls.hue);
    m_ui.SliderSat->setPosition(kHlsMax - hls.sat);
    m_ui.SliderLum->setPosition(kHlsMax - hls.lum);
}

void TForm1::showOnSampleTile(ColorValue c) {
    m_ui.PnlSampleColor->setFontColor(TextColorFor(c));
    m_ui.PnlSampleColor->setCaption(decimalTriple(c));
}

void TForm1::ApplyCurrentColor(ColorValue c) {
    TGuard guard(m_updateGuard);
    m_ui.PnlSampleColor->setColor(c);
    SetCurrentColor(c);
    moveRgbSliders(c);
    const HlsTriple hls = RgbToHls(c);
    moveHlsSliders(hls);
    // Again: a listener of the colour may have applied one of its own meanwhile, and this
    // update, finishing last, decides what every view shows.
    SetCurrentColor(c);
    FollowOnPalette(hls.hue, hls.sat, hls.lum);
}

void TForm1::ApplyValueFieldColor(ColorValue c) {
    m_valueFieldColor = c;
    m_ui.PnlEdColor->setColor(c);
    m_ui.PnlEdColor->setFontColor(TextColorFor(c));
    m_ui.PnlEdColor->setCaption(decimalTriple(c));
    m_ui.PnlSampleColor1->setColor(c);
    ApplyCurrentColor(c);
}

void TForm1::FollowOnPalette(int h, int s, int l) {
    const int pastel = m_ui.ZodudIroBox->FindColor(h, s, l, false);
    m_ui.ScrollBar1->setValue(255 - pastel);
    // The cross moved; the palette's report of the colour under it must arrive while the guard
    // still holds, or it would replace the colour being applied.
    m_ui.ZodudIroBox->deliverPendingReport();
}

void TForm1::ApplyPastel(int p) {
    p = std::clamp(p, 0, 255);
    m_pastel = p;
    m_ui.ZodudIroBox->setPastel(p);
    // Built now, so the caption names this build's time; outside an update the report makes the
    // colour under the cross current.
    m_ui.ZodudIroBox->deliverPendingReport();
    UpdateCaption(true);
}

void TForm1::ScrollBar1Change() {
    const int p = std::clamp(m_ui.ScrollBar1->value(), 0, 255);
    ApplyPastel(255 - p);
}

void TForm1::ZodudIroBoxColorChange(QObject*, ColorValue c) {
    if (m_updateGuard) return;
    c &= kColorMask;
    SetCurrentColor(c);
    if (m_resized) UpdateCaption(true);
    m_resized = false;
    TGuard guard(m_updateGuard);
    moveRgbSliders(c);
    moveHlsSliders(RgbToHls(c));
}

void TForm1::SliderHueChangePos(QObject* sender) {
    if (m_updateGuard || !qobject_cast<TKxSlider*>(sender)) return;
    TGuard guard(m_updateGuard);
    const TForm1Ui& ui = m_ui;
    HlsTriple hls;
    hls.hue = std::uint16_t(sliderValue(ui.SliderHue, kHlsMax));
    hls.sat = std::uint16_t(sliderValue(ui.SliderSat, kHlsMax));
    hls.lum = std::uint16_t(sliderValue(ui.SliderLum, kHlsMax));
    const ColorValue c = HlsToRgb(hls.hue, hls.lum, hls.sat);
    ui.PnlSampleColor->setColor(c);
    setCurrent(c, hls);
    // Differences of the fractional positions, truncated: may differ by one from the above.
    FollowOnPalette(static_cast<int>(kHlsMax - ui.SliderHue->Position()),
                    static_cast<int>(kHlsMax - ui.SliderSat->Position()),
                    static_cast<int>(kHlsMax - ui.SliderLum->Position()));
    moveRgbSliders(c);
    showOnSampleTile(c);
}

void TForm1::SliderRedChangePos(QObject* sender) {
    if (m_updateGuard || !qobject_cast<TKxSlider*>(sender)) return;
    TGuard guard(m_updateGuard);
    const TForm1Ui& ui = m_ui;
    const int red = static_cast<int>(255 - ui.SliderRed->Position());
    const int green = static_cast<int>(255 - ui.SliderGreen->Position());
    const int blue = static_cast<int>(255 - ui.SliderBlue->Position());
    const ColorValue c = MakeColor(red, green, blue);
    const HlsTriple hls = RgbToHls(c);
    ui.PnlSampleColor->setColor(c);
    FollowOnPalette(hls.hue, hls.sat, hls.lum);
    setCurrent(c, hls);
    moveHlsSliders(hls);
    showOnSampleTile(c);
}

void TForm1::EdClValueChange() {
    const QString text = m_ui.EdClValue->text();
    const ColorTextReading reading = ReadColorText(text);
    showValueNote(reading.note);
    if (const std::optional<ColorValue> parsed = reading.color) {
        // An eight-digit notation carries a fourth byte that no view can show; it is dropped.
        ColorValue c = *parsed & kColorMask;
        if (!m_rgbOrder) c = SwapRedBlue(c);
        ApplyValueFieldColor(c);
        RefreshValuePanels(c);
        m_pasteColor = text;
    } else if (text.isEmpty()) {
        m_pasteColor.clear();
    }
}

void TForm1::showValueNote(const QString& note) {
    // The hint carries what reading the text dropped or changed, above the usual examples, and
    // shows at once while the user types; an empty note puts the plain examples back.
    QLineEdit* edit = m_ui.EdClValue;
    const QString hint = note.isEmpty() ? ValueExamplesHint()
                                        : note + QStringLiteral("\r\n\r\n") + ValueExamplesHint();
    if (edit->toolTip() == hint) return;
    edit->setToolTip(hint);
    if (!note.isEmpty() && edit->isVisible())
        QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), note, edit);
    else
        QToolTip::hideText();
}

void TForm1::setValueFieldText(const QString& text) {
    if (m_ui.EdClValue->text() == text)
        EdClValueChange();
    else
        m_ui.EdClValue->setText(text);
}

void TForm1::EdClValueEnter() {
    // Posted, so the selection survives the focus handling that follows.
    QTimer::singleShot(0, m_ui.EdClValue, [edit = m_ui.EdClValue] { edit->selectAll(); });
}

void TForm1::BgrRgbClick(QObject*) {
    const bool rgb = m_ui.ButRgb->Down();
    if (rgb == m_rgbOrder) return;
    ApplyValueFieldColor(SwapRedBlue(m_valueFieldColor));
    m_rgbOrder = rgb;
}

// ---------------------------------------------------------------------------------------------
// Picks

void TForm1::ZodudIroBoxColorPickLeft(QObject*, ColorValue c) {
    pick(c, m_options.clickAction());
}

void TForm1::pick(ColorValue c, CopyStyle style) {
    m_clickedColor = c & kColorMask;
    PushHistory(m_clickedColor);
    copyOnClick(m_clickedColor, style);
}

void TForm1::PanelClick(QObject* sender) {
    ZodudIroBoxColorPickLeft(sender, m_ui.PnlColor->Color());
}

void TForm1::KxPanelClick(QObject* sender) {
    if (auto* panel = qobject_cast<TKxPanel*>(sender))
        ZodudIroBoxColorPickLeft(sender, panel->Color());
}

void TForm1::PnlHslColorClick(QObject*) {
    // The HSL panel copies its own notation whatever the click action is.
    pick(m_ui.PnlHslColor->Color(), CopyStyle::Hsl);
}

void TForm1::PnlWebSafeClick(QObject* sender) {
    ZodudIroBoxColorPickLeft(sender, m_ui.PnlWebSafe->Color());
}

void TForm1::PnlSampleColor1Click(QObject* sender) {
    ZodudIroBoxColorPickLeft(sender, m_ui.PnlSampleColor1->Color());
}

void TForm1::PushHistory(ColorValue c) {
    m_slots->PushHistory(c);
}

std::array<ColorValue, TForm1::HistoryCount> TForm1::history() const {
    return m_slots->history();
}

void TForm1::CopyOnClick(ColorValue c) {
    copyOnClick(c, m_options.clickAction());
}

void TForm1::copyOnClick(ColorValue c, CopyStyle style) {
    m_clickedColor = c;
    const Platform::TKeyState keys = Platform::keyState();
    if (keys.alt) c = WebSafe(c);
    std::optional<QString> text;
    if (keys.ctrl && keys.shift)
        text = FormatHtml(c);
    else if (keys.shift)
        text = FormatRgbValues(c);
    else if (keys.ctrl)
        text = FormatBgrHex(c);
    else
        text = FormatByStyle(c, static_cast<int>(style), m_options.formats());
    if (text) Platform::setClipboardText(*text);
}

// ---------------------------------------------------------------------------------------------
// Caption and start-up

void TForm1::UpdateCaption(bool withBuildTime) {
    const TKxZodudIro* palette = m_ui.ZodudIroBox;
    const QString size =
        QStringLiteral("[%1 x %2] (%3)").arg(palette->width()).arg(palette->height()).arg(m_pastel);
    if (withBuildTime) {
        setWindowTitle(QStringLiteral("ZodudIro Created in:  %1  Miliseconds  %2")
                           .arg(palette->CreateTime())
                           .arg(size));
        m_ui.CaptionTimer->start();
    } else {
        const qint64 pixels = qint64(palette->width()) * palette->height();
        setWindowTitle(QStringLiteral("Vextora's Huesplinter  %1 Colors on %2 Pixels %3")
                           .arg(Platform::formatThousands(palette->getColorCount()),
                                Platform::formatThousands(pixels), size));
    }
}

void TForm1::CaptionTimerTimer() {
    m_ui.CaptionTimer->stop();
    UpdateCaption(false);
}

void TForm1::LoadTimerTimer() {
    m_ui.LoadTimer->stop();
    m_loaded = true;
    m_startup->LoadTimerTimer();
}
