#include "app/Unit1.h"

#include "colour/ColourParser.h"
#include "colour/ColourValue.h"
#include "colour/CopyFormats.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "palette/KxZodudIro.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

// Design geometry, in pixels at 144 pixels per inch.
constexpr int kDesignClientWidth = 967;
constexpr int kDesignClientHeight = 531;
constexpr int kDesignFontHeight = 18;
constexpr int kDesignLabelsHeight = 36;
constexpr int kDesignShowColorHeight = 44;
constexpr int kDesignSampleHeight = 37;
constexpr int kDesignBevelHeight = 2;
constexpr int kDesignPickerWidth = 172;
constexpr int kDesignWebSafeWidth = 170;
constexpr int kDesignHelpButton = 30;

// Tags group the controls for the commands that act on "the colour under the popup".
constexpr int kTagPalette = 101;
constexpr int kTagCurrentColour = 102;
constexpr int kTagValueFieldColour = 103;
constexpr int kTagWebSafe = 108;

// The colour the form definition gives the value-field tile and the current-colour tile before
// start-up applies a colour.
constexpr ColorValue kDesignValueFieldColor = MakeColor(119, 170, 255);
constexpr ColorValue kDesignSampleColor = MakeColor(119, 136, 255);
// The sample colours as designed; the text colour lock is down at first, so the background
// colour is the one being edited when the window comes up.
constexpr ColorValue kDesignSampleBkgColor = MakeColor(0, 116, 0);

constexpr ColorValue kButtonFace = MakeColor(240, 240, 240);
constexpr ColorValue kSampleRowColor = MakeColor(192, 199, 226);

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QString decimalTriple(ColorValue c) {
    return QStringLiteral("%1 - %2 - %3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c));
}

void setTag(QObject* control, int tag) {
    control->setProperty("Tag", tag);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    m_history.fill(kNoColor);
    createControls();
    setWindowTitle(QStringLiteral("Vextora's Huesplinter"));
    resize(scaled(kDesignClientWidth), scaled(kDesignClientHeight));
    // Room for the rows and a palette that still shows every hue.
    setMinimumSize(scaled(kDesignPickerWidth) + scaled(300),
                   std::max(scaled(kDesignLabelsHeight), 24) + scaled(kDesignShowColorHeight) +
                       scaled(kDesignSampleHeight) + std::max(scaled(kDesignBevelHeight), 2) + 50);
}

TForm1::~TForm1() = default;

int TForm1::scaled(int designPixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

// ---------------------------------------------------------------------------------------------
// Construction and layout

void TForm1::createControls() {
    // Where the design's face is missing, a face of Arial's metrics keeps the captions within
    // the design widths better than the wider default substitute.
    QFont windowFont;
    windowFont.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    windowFont.setPixelSize(scaled(kDesignFontHeight));
    setFont(windowFont);
    setCursor(Qt::CrossCursor);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(kButtonFace));
    setPalette(pal);

    auto makePanel = [](QWidget* parent, ColorValue fill) {
        auto* panel = new TKxPanel(parent);
        panel->setColor(fill);
        return panel;
    };

    PnlLabels = makePanel(this, kButtonFace);
    PnlShowColor = makePanel(this, kButtonFace);
    PnlSample = makePanel(this, kSampleRowColor);
    PnlBevel = makePanel(this, kButtonFace);
    PnlScroll = makePanel(this, kButtonFace);

    ScrollBar1 = new QScrollBar(Qt::Vertical, PnlScroll);
    // A bar of maximum 279 and page 25 stops its position at 279 - 25 + 1 = 255.
    ScrollBar1->setRange(0, 255);
    ScrollBar1->setPageStep(25);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setValue(255);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });

    ZodudIroBox = new TKxZodudIro(this);
    setTag(ZodudIroBox, kTagPalette);
    ZodudIroBox->setNoRightSelect(true);
    ZodudIroBox->OnColorChange = [this](TKxZodudIro* sender, TKxColor color) {
        ZodudIroBoxColorChange(sender, color.value());
    };
    ZodudIroBox->OnColorPickLeft = [this](TKxZodudIro* sender, TKxColor color) {
        ZodudIroBoxColorPickLeft(sender, color.value());
    };

    PnlPicker = makePanel(this, kButtonFace);
    PnlPicker->setGradientFill(true);

    ButRgb = new TKxButton(PnlPicker);
    ButRgb->setCaption(QStringLiteral("RGB"));
    ButRgb->setToolTip(QStringLiteral(" Set Color order to be Red Green Blue [Ctrl+R] "));
    ButBgr = new TKxButton(PnlPicker);
    ButBgr->setCaption(QStringLiteral("BGR"));
    ButBgr->setToolTip(QStringLiteral(" Set Color order to be Blue Green Red [Ctrl+G] "));
    for (TKxButton* b : {ButRgb, ButBgr}) {
        b->setGroupIndex(1);
        b->setAllowAllUp(false);
    }
    ButRgb->setDown(true);
    connect(ButRgb, &TKxButton::clicked, this, [this] { BgrRgbClick(ButRgb); });
    connect(ButBgr, &TKxButton::clicked, this, [this] { BgrRgbClick(ButBgr); });

    EdClValue = new QLineEdit(PnlPicker);
    EdClValue->setText(QStringLiteral("rgb(119,170,255);"));
    EdClValue->setToolTip(ValueExamplesHint());
    EdClValue->installEventFilter(this);
    connect(EdClValue, &QLineEdit::textChanged, this, [this] { EdClValueChange(); });

    PnlEdColor = makePanel(PnlPicker, kDesignValueFieldColor);
    setTag(PnlEdColor, kTagValueFieldColour);
    PnlEdColor->setCaption(decimalTriple(kDesignValueFieldColor));
    PnlEdColor->setFontColor(TextColorFor(kDesignValueFieldColor));
    PnlSampleColor = makePanel(PnlPicker, kDesignSampleColor);
    setTag(PnlSampleColor, kTagCurrentColour);
    PnlSampleColor->setCaption(decimalTriple(kDesignSampleColor));
    PnlSampleColor->setFontColor(TextColorFor(kDesignSampleColor));

    struct SliderDef {
        TKxSlider** slider;
        int tag;
        double max;
        const char* hint;
    };
    const SliderDef sliders[] = {
        {&SliderHue, 1, 240, " Adjust Hue [Ctrl+Shift+H] "},
        {&SliderSat, 2, 240, " Adjust Saturation [Ctrl+Shift+S] "},
        {&SliderLum, 3, 240, " Adjust Lumination [Ctrl+Shift+L] "},
        {&SliderRed, 4, 255, " Adjust Red [Ctrl+Shift+R] "},
        {&SliderGreen, 5, 255, " Adjust Green [Ctrl+Shift+G] "},
        {&SliderBlue, 6, 255, " Adjust Blue [Ctrl+Shift+B] "},
    };
    for (const SliderDef& def : sliders) {
        auto* slider = new TKxSlider(PnlPicker);
        setTag(slider, def.tag);
        slider->setMax(def.max);
        slider->setStepSizeKey(1);
        slider->setStepSizeWheel(0.5);
        slider->setLengthSlider(20);
        slider->setToolTip(QString::fromLatin1(def.hint));
        *def.slider = slider;
    }
    for (TKxSlider* s : {SliderHue, SliderSat, SliderLum})
        s->OnChangePos = [this](QObject* sender, double, int) { SliderHueChangePos(sender); };
    for (TKxSlider* s : {SliderRed, SliderGreen, SliderBlue})
        s->OnChangePos = [this](QObject* sender, double, int) { SliderRedChangePos(sender); };

    ButScreenPicker = new TKxButton(PnlPicker);
    ButScreenPicker->setCaption(QStringLiteral("Screen Picker"));
    ButScreenPicker->setToolTip(QStringLiteral(" Pick a Color from the Screen [Ctrl+P] "));

    PnlColor = makePanel(PnlShowColor, kButtonFace);
    setTag(PnlColor, kTagCurrentColour);
    PnlHslColor = makePanel(PnlShowColor, kButtonFace);
    setTag(PnlHslColor, kTagCurrentColour);
    PnlWebSafe = makePanel(PnlShowColor, kButtonFace);
    setTag(PnlWebSafe, kTagWebSafe);
    PnlHlp = makePanel(PnlShowColor, kButtonFace);
    setTag(PnlHlp, kTagWebSafe);
    PnlSampleColor1 = makePanel(PnlShowColor, kDesignValueFieldColor);
    setTag(PnlSampleColor1, kTagValueFieldColour);
    connect(PnlColor, &TKxPanel::clicked, this, [this] { PanelClick(PnlColor); });
    connect(PnlEdColor, &TKxPanel::clicked, this, [this] { KxPanelClick(PnlEdColor); });
    connect(PnlSampleColor, &TKxPanel::clicked, this, [this] { KxPanelClick(PnlSampleColor); });
    connect(PnlHslColor, &TKxPanel::clicked, this, [this] { PnlHslColorClick(PnlHslColor); });
    connect(PnlWebSafe, &TKxPanel::clicked, this, [this] { PnlWebSafeClick(PnlWebSafe); });
    connect(PnlSampleColor1, &TKxPanel::clicked, this,
            [this] { PnlSampleColor1Click(PnlSampleColor1); });
    PnlShowColor->installEventFilter(this);

    ButHelp = new TKxButton(PnlHlp);
    ButHelp->setCaption(QStringLiteral("?"));
    ButHelp->setToolTip(QStringLiteral(" Show the Help on the Internet [F1] "));
    ButSettings = new TKxButton(PnlHlp);
    ButSettings->setCaption(QStringLiteral("S"));
    ButSettings->setToolTip(QStringLiteral(" Settings and Shortcuts [F2] "));
    ButInfo = new TKxButton(PnlHlp);
    ButInfo->setCaption(QStringLiteral("i"));
    ButInfo->setToolTip(QStringLiteral(" About Huesplinter [F3] "));

    CaptionTimer = new QTimer(this);
    CaptionTimer->setInterval(1000);
    connect(CaptionTimer, &QTimer::timeout, this, [this] { CaptionTimerTimer(); });
    LoadTimer = new QTimer(this);
    LoadTimer->setInterval(2);
    LoadTimer->setSingleShot(true);
    connect(LoadTimer, &QTimer::timeout, this, [this] { LoadTimerTimer(); });

    // The cross-hair belongs to the window itself; Qt would hand it down to every control, which
    // keep their own pointer (the arrow, the edit's text beam, the palette's hidden pointer).
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutRows();
    FormResize();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_loaded) LoadTimer->start();
}

void TForm1::layoutRows() {
    const int cw = width();
    int y = height();
    auto stackRow = [&](QWidget* row, int h) {
        y -= h;
        row->setGeometry(0, y, cw, h);
    };
    stackRow(PnlLabels, std::max(scaled(kDesignLabelsHeight), 24));
    stackRow(PnlShowColor, scaled(kDesignShowColorHeight));
    stackRow(PnlSample, scaled(kDesignSampleHeight));
    stackRow(PnlBevel, std::max(scaled(kDesignBevelHeight), 2));
    y = std::max(y, 0);

    const int scrollWidth =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBar1) + 2;
    PnlScroll->setGeometry(0, 0, scrollWidth, y);
    ScrollBar1->setGeometry(1, 0, scrollWidth - 2, y);

    const int pickerWidth = PnlPicker->isVisibleTo(this) ? scaled(kDesignPickerWidth) : 0;
    PnlPicker->setGeometry(cw - pickerWidth, 0, pickerWidth, y);
    ZodudIroBox->setGeometry(scrollWidth, 0, std::max(cw - scrollWidth - pickerWidth, 0), y);
    layoutPicker();
}

void TForm1::layoutPicker() {
    // Rows of the tune panel from the top; the sliders take whatever height is left between the
    // tiles and the screen picker button.
    const int margin = scaled(8);
    const int inner = PnlPicker->width() - 2 * margin;
    const int h = PnlPicker->height();
    const int half = (inner - scaled(4)) / 2;
    ButRgb->setGeometry(margin, margin, half, scaled(32));
    ButBgr->setGeometry(PnlPicker->width() - margin - half, margin, half, scaled(32));
    EdClValue->setGeometry(margin, scaled(46), inner, scaled(34));
    PnlEdColor->setGeometry(margin, scaled(86), inner, scaled(30));
    PnlSampleColor->setGeometry(margin, scaled(118), inner, scaled(30));

    const int buttonHeight = scaled(30);
    const int buttonTop = h - scaled(6) - buttonHeight;
    ButScreenPicker->setGeometry(margin, buttonTop, inner, buttonHeight);

    const int sliderTop = scaled(156);
    const int sliderHeight = std::max(buttonTop - scaled(6) - sliderTop, 0);
    const int sliderWidth = scaled(20);
    const int step = scaled(24);
    const int groupGap = scaled(36);
    // Two groups of three (HSL, RGB) centred in the panel.
    const int total = 4 * step + groupGap + sliderWidth;
    int x = (PnlPicker->width() - total) / 2;
    TKxSlider* const order[] = {SliderHue, SliderSat,   SliderLum,
                                SliderRed, SliderGreen, SliderBlue};
    for (int i = 0; i < 6; ++i) {
        order[i]->setGeometry(x, sliderTop, sliderWidth, sliderHeight);
        x += i == 2 ? groupGap : step;
    }
}

void TForm1::layoutHelpButtons() {
    const int rowHeight = PnlShowColor->height();
    const int b = std::min(std::max(scaled(kDesignHelpButton), 26), rowHeight);
    const int border = std::max((rowHeight - b) / 2, 0);
    const int gap = scaled(3);
    int x = border;
    for (TKxButton* button : {ButHelp, ButSettings, ButInfo}) {
        button->setGeometry(x, border, b, b);
        x += b + gap;
    }
    PnlHlp->resize(x - gap + border, rowHeight);
}

void TForm1::PnlShowColorResize() {
    layoutHelpButtons();
    const int rowWidth = PnlShowColor->width();
    const int rowHeight = PnlShowColor->height();
    const bool tuneShown = PnlSampleColor1->isVisibleTo(this);
    const int sample1Width = tuneShown ? scaled(kDesignPickerWidth) : 0;
    // Wide enough for its caption in whatever face the system gave.
    const int webSafeWidth =
        std::max(scaled(kDesignWebSafeWidth),
                 PnlWebSafe->fontMetrics().horizontalAdvance(QStringLiteral("WebSafe: #DDDDDD")) +
                     scaled(16));
    const int hslWidth =
        std::max((rowWidth - PnlHlp->width() - webSafeWidth - sample1Width) / 2, 0);

    // Right-aligned from the far right: the value-field tile under the tune panel, the help
    // buttons, the web-safe panel and the HSL panel; the RGB panel takes the rest.
    int right = rowWidth;
    auto placeRight = [&](QWidget* panel, int w) {
        right -= w;
        panel->setGeometry(right, 0, w, rowHeight);
    };
    if (tuneShown) placeRight(PnlSampleColor1, sample1Width);
    placeRight(PnlHlp, PnlHlp->width());
    placeRight(PnlWebSafe, webSafeWidth);
    placeRight(PnlHslColor, hslWidth);
    PnlColor->setGeometry(0, 0, std::max(right, 0), rowHeight);
}

void TForm1::FormResize() {
    m_resized = true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PnlShowColor && event->type() == QEvent::Resize) {
        PnlShowColorResize();
    } else if (watched == EdClValue && event->type() == QEvent::FocusIn) {
        EdClValueEnter();
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Colour state

ColorValue TForm1::valueFieldColor() const {
    return PnlEdColor->Color() & kColorMask;
}

void TForm1::setClickAction(int style) {
    m_clickAction = std::clamp(style, 0, 5);
}

void TForm1::SetCurrentColor(ColorValue c) {
    m_currentColor = c;
    RefreshValuePanels(c);
}

void TForm1::RefreshValuePanels(ColorValue c) {
    const ColorValue text = TextColorFor(c);
    PnlHslColor->setColor(c);
    PnlColor->setColor(c);
    for (TKxPanel* p : {PnlColor, PnlHslColor, PnlHlp, PnlWebSafe})
        p->setFontColor(text);

    const ColorValue safe = WebSafe(c);
    PnlHlp->setColor(safe);
    PnlWebSafe->setColor(safe);
    PnlWebSafe->setCaption(QStringLiteral("WebSafe: ") + FormatHtml(safe));

    PnlColor->setCaption(
        QStringLiteral("R:%1   G:%2   B:%3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c)));

    // The HSL panel shows what the sliders hold, so it follows a fractional drag step by step.
    // Wide arithmetic: the maxima are the user's numbers.
    auto shown = [](int maximum, const TKxSlider* slider) {
        return qint64(maximum) * (240 - slider->getPosAsInt()) / 240;
    };
    PnlHslColor->setCaption(QStringLiteral("H:%1   S:%2   L:%3")
                                .arg(shown(m_formats.hueMax, SliderHue))
                                .arg(shown(m_formats.satMax, SliderSat))
                                .arg(shown(m_formats.lumMax, SliderLum)));

    PnlSampleColor->setColor(c);
    PnlSampleColor->setFontColor(text);
    PnlSampleColor->setCaption(decimalTriple(c));

    // Painted with the next paint pass: this can run from inside the palette's own paint.
    for (QWidget* w :
         std::initializer_list<QWidget*>{PnlSampleColor, PnlHlp, PnlWebSafe, PnlColor, PnlHslColor})
        w->update();
}

namespace {

// Sets the update guard for one scope, so that no return path can leave it set. An update that
// runs inside another (a click handled while the palette repaints) hands the guard back as it
// found it instead of lifting the outer one early.
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

} // namespace

void TForm1::moveRgbSliders(ColorValue c) {
    SliderRed->setPosition(255 - RedOf(c));
    SliderGreen->setPosition(255 - GreenOf(c));
    SliderBlue->setPosition(255 - BlueOf(c));
}

void TForm1::moveHlsSliders(const HlsTriple& hls) {
    SliderHue->setPosition(240 - hls.hue);
    SliderSat->setPosition(240 - hls.sat);
    SliderLum->setPosition(240 - hls.lum);
}

void TForm1::showOnSampleTile(ColorValue c) {
    PnlSampleColor->setFontColor(TextColorFor(c));
    PnlSampleColor->setCaption(decimalTriple(c));
}

void TForm1::ApplyCurrentColor(ColorValue c) {
    TGuard guard(m_updateGuard);
    PnlSampleColor->setColor(c);
    SetCurrentColor(c);
    moveRgbSliders(c);
    const HlsTriple hls = RgbToHls(c);
    moveHlsSliders(hls);
    SetCurrentColor(c);
    FollowOnPalette(hls.hue, hls.sat, hls.lum);
}

void TForm1::ApplyValueFieldColor(ColorValue c) {
    PnlEdColor->setColor(c);
    PnlEdColor->setFontColor(TextColorFor(c));
    PnlEdColor->setCaption(decimalTriple(c));
    PnlSampleColor1->setColor(c);
    ApplyCurrentColor(c);
}

void TForm1::FollowOnPalette(int h, int s, int l) {
    const int pastel = ZodudIroBox->FindColor(h, s, l, false);
    ScrollBar1->setValue(255 - pastel);
    // The cross moved; its paint reports the colour under it, which must arrive while the
    // guard still holds or it would replace the colour being applied.
    flushPalettePaint();
}

void TForm1::flushPalettePaint() {
    if (ZodudIroBox->isVisible()) ZodudIroBox->repaint();
    // The palette reports the colour under its cross by a queued call after it painted; deliver
    // it now, while the guard turns it away.
    QCoreApplication::sendPostedEvents(ZodudIroBox, QEvent::MetaCall);
}

void TForm1::ApplyPastel(int p) {
    p = std::clamp(p, 0, 255);
    m_pastel = p;
    ZodudIroBox->setPastel(p);
    // The palette rebuilds at its paint; let that happen first so the caption names this
    // build's time rather than the previous one's.
    QCoreApplication::processEvents();
    UpdateCaption(true);
}

void TForm1::ScrollBar1Change() {
    const int p = std::clamp(ScrollBar1->value(), 0, 255);
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
    const int hue = 240 - SliderHue->getPosAsInt();
    const int sat = 240 - SliderSat->getPosAsInt();
    const int lum = 240 - SliderLum->getPosAsInt();
    const ColorValue c = HlsToRgb(hue, lum, sat);
    PnlSampleColor->setColor(c);
    SetCurrentColor(c);
    // Differences of the fractional positions, truncated: may differ by one from the above.
    FollowOnPalette(static_cast<int>(240 - SliderHue->Position()),
                    static_cast<int>(240 - SliderSat->Position()),
                    static_cast<int>(240 - SliderLum->Position()));
    moveRgbSliders(c);
    showOnSampleTile(c);
}

void TForm1::SliderRedChangePos(QObject* sender) {
    if (m_updateGuard || !qobject_cast<TKxSlider*>(sender)) return;
    TGuard guard(m_updateGuard);
    const int red = static_cast<int>(255 - SliderRed->Position());
    const int green = static_cast<int>(255 - SliderGreen->Position());
    const int blue = static_cast<int>(255 - SliderBlue->Position());
    const ColorValue c = MakeColor(red, green, blue);
    const HlsTriple hls = RgbToHls(c);
    PnlSampleColor->setColor(c);
    FollowOnPalette(hls.hue, hls.sat, hls.lum);
    SetCurrentColor(c);
    moveHlsSliders(hls);
    // The HSL panel reads the sliders, which have only now arrived at this colour.
    RefreshValuePanels(c);
    showOnSampleTile(c);
}

void TForm1::EdClValueChange() {
    const QString text = EdClValue->text();
    if (const std::optional<ColorValue> parsed = ParseColorText(text)) {
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

void TForm1::EdClValueEnter() {
    // Posted, so the selection survives the focus handling that follows.
    QTimer::singleShot(0, EdClValue, [edit = EdClValue] { edit->selectAll(); });
}

void TForm1::BgrRgbClick(QObject*) {
    const bool rgb = ButRgb->Down();
    if (rgb == m_rgbOrder) return;
    ApplyValueFieldColor(SwapRedBlue(valueFieldColor()));
    m_rgbOrder = rgb;
}

// ---------------------------------------------------------------------------------------------
// Picks

void TForm1::ZodudIroBoxColorPickLeft(QObject*, ColorValue c) {
    m_clickedColor = c & kColorMask;
    PushHistory(m_clickedColor);
    CopyOnClick(m_clickedColor);
}

void TForm1::PanelClick(QObject* sender) {
    ZodudIroBoxColorPickLeft(sender, PnlColor->Color());
}

void TForm1::KxPanelClick(QObject* sender) {
    if (auto* panel = qobject_cast<TKxPanel*>(sender))
        ZodudIroBoxColorPickLeft(sender, panel->Color());
}

void TForm1::PnlHslColorClick(QObject* sender) {
    const int previous = m_clickAction;
    m_clickAction = 4;
    ZodudIroBoxColorPickLeft(sender, PnlHslColor->Color());
    m_clickAction = previous;
}

void TForm1::PnlWebSafeClick(QObject* sender) {
    ZodudIroBoxColorPickLeft(sender, PnlWebSafe->Color());
}

void TForm1::PnlSampleColor1Click(QObject* sender) {
    ZodudIroBoxColorPickLeft(sender, PnlSampleColor1->Color());
}

void TForm1::PushHistory(ColorValue c) {
    std::shift_left(m_history.begin(), m_history.end(), 1);
    m_history.back() = c;
}

void TForm1::CopyOnClick(ColorValue c) {
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
        text = FormatByStyle(c, m_clickAction, m_formats);
    if (text) Platform::setClipboardText(*text);
}

// ---------------------------------------------------------------------------------------------
// Caption and start-up

void TForm1::UpdateCaption(bool withBuildTime) {
    const QString size = QStringLiteral("[%1 x %2] (%3)")
                             .arg(ZodudIroBox->width())
                             .arg(ZodudIroBox->height())
                             .arg(m_pastel);
    if (withBuildTime) {
        setWindowTitle(QStringLiteral("ZodudIro Created in:  %1  Miliseconds  %2")
                           .arg(ZodudIroBox->CreateTime())
                           .arg(size));
        CaptionTimer->start();
    } else {
        const qint64 pixels = qint64(ZodudIroBox->width()) * ZodudIroBox->height();
        setWindowTitle(QStringLiteral("Vextora's Huesplinter  %1 Colors on %2 Pixels %3")
                           .arg(Platform::formatThousands(ZodudIroBox->getColorCount()),
                                Platform::formatThousands(pixels), size));
    }
}

void TForm1::CaptionTimerTimer() {
    CaptionTimer->stop();
    UpdateCaption(false);
}

void TForm1::LoadTimerTimer() {
    LoadTimer->stop();
    m_loaded = true;
    ScrollBar1->setValue(255 - m_pastel);
    ApplyPastel(m_pastel);
    ZodudIroBox->setFocus();
    const ColorValue c = kDesignSampleBkgColor;
    if (EdClValue->text().isEmpty())
        ApplyValueFieldColor(c);
    else
        ApplyCurrentColor(c);
    m_clickedColor = c;
}
