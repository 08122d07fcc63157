#include "app/Unit1Ui.h"

#include "colour/ColorParser.h"
#include "colour/ColorQt.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxSlider.h"
#include "palette/KxZodudIro.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <array>

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
// The tune panel from the top: the order buttons, value field and tiles end above the sliders,
// the screen picker button sits at the bottom.
constexpr int kDesignSliderTop = 156;
constexpr int kDesignPickerButtonHeight = 30;
constexpr int kDesignPickerButtonGap = 6;
// Sliders shorter than this no longer show their range in steps a user can follow.
constexpr int kDesignMinSliderHeight = 120;
// The smallest palette that still shows every hue at a size a user can aim at.
constexpr int kDesignMinPaletteWidth = 300;

constexpr ColorValue kDesignSampleColor = MakeColor(119, 136, 255);
constexpr ColorValue kButtonFace = MakeColor(240, 240, 240);
constexpr ColorValue kSampleRowColor = MakeColor(192, 199, 226);

struct TSliderDef {
    TKxSlider* TForm1Ui::*slider;
    int tag;
    int max;
    const char* hint;
};

constexpr std::array<TSliderDef, 6> kSliders{{
    {&TForm1Ui::SliderHue, 1, kHlsMax, " Adjust Hue [Ctrl+Shift+H] "},
    {&TForm1Ui::SliderSat, 2, kHlsMax, " Adjust Saturation [Ctrl+Shift+S] "},
    {&TForm1Ui::SliderLum, 3, kHlsMax, " Adjust Lumination [Ctrl+Shift+L] "},
    {&TForm1Ui::SliderRed, 4, 255, " Adjust Red [Ctrl+Shift+R] "},
    {&TForm1Ui::SliderGreen, 5, 255, " Adjust Green [Ctrl+Shift+G] "},
    {&TForm1Ui::SliderBlue, 6, 255, " Adjust Blue [Ctrl+Shift+B] "},
}};

QString decimalTriple(ColorValue c) {
    return QStringLiteral("%1 - %2 - %3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c));
}

void setTag(QObject* control, int tag) {
    control->setProperty("Tag", tag);
}

TKxPanel* makePanel(QWidget* parent, ColorValue fill, int tag = 0) {
    auto* panel = new TKxPanel(parent);
    panel->setColor(fill);
    if (tag != 0) setTag(panel, tag);
    return panel;
}

// The owner-drawn buttons show their hint on their own green tip.
TKxButton* makeButton(QWidget* parent, const char* caption, const char* hint) {
    auto* button = new TKxButton(parent);
    button->setCaption(QString::fromUtf8(caption));
    button->setHint(QString::fromUtf8(hint));
    return button;
}

void showValueOn(TKxPanel* tile, ColorValue c) {
    tile->setFontColor(TextColorFor(c));
    tile->setCaption(decimalTriple(c));
}

} // namespace

int TForm1Ui::scaled(int designPixels) const {
    const int dpi = m_form && m_form->logicalDpiY() > 0 ? m_form->logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

QSize TForm1Ui::designClientSize() const {
    return {scaled(kDesignClientWidth), scaled(kDesignClientHeight)};
}

int TForm1Ui::labelsHeight() const {
    return std::max(scaled(kDesignLabelsHeight), 24);
}

int TForm1Ui::bevelHeight() const {
    return std::max(scaled(kDesignBevelHeight), 2);
}

int TForm1Ui::scrollBarWidth() const {
    return m_form->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBar1) + 2;
}

int TForm1Ui::helpButtonSide(int rowHeight) const {
    return std::min(std::max(scaled(kDesignHelpButton), 26), rowHeight);
}

int TForm1Ui::helpPanelWidth(int rowHeight) const {
    const int b = helpButtonSide(rowHeight);
    const int border = std::max((rowHeight - b) / 2, 0);
    return 3 * b + 2 * scaled(3) + 2 * border;
}

int TForm1Ui::webSafeWidth() const {
    // Wide enough for its caption in whatever face the system gave.
    return std::max(scaled(kDesignWebSafeWidth), PnlWebSafe->fontMetrics().horizontalAdvance(
                                                     QStringLiteral("WebSafe: #DDDDDD")) +
                                                     scaled(16));
}

QSize TForm1Ui::minimumClientSize() const {
    // The rows at their design heights, and a tune panel whose sliders keep a usable length.
    const int rows = labelsHeight() + scaled(kDesignShowColorHeight) + scaled(kDesignSampleHeight) +
                     bevelHeight();
    const int tune = scaled(kDesignSliderTop) + scaled(kDesignMinSliderHeight) +
                     2 * scaled(kDesignPickerButtonGap) + scaled(kDesignPickerButtonHeight);

    // The RGB and HSL panels share what the fixed panels leave; each must show its widest text.
    const QFontMetrics fm = PnlColor->fontMetrics();
    const int valueText = std::max(fm.horizontalAdvance(QStringLiteral("R:255   G:255   B:255")),
                                   fm.horizontalAdvance(QStringLiteral("H:360   S:100   L:100")));
    const int valueRow = 2 * (valueText + scaled(16)) + webSafeWidth() +
                         helpPanelWidth(scaled(kDesignShowColorHeight)) +
                         scaled(kDesignPickerWidth);
    const int paletteRow =
        scrollBarWidth() + scaled(kDesignMinPaletteWidth) + scaled(kDesignPickerWidth);
    return {std::max(valueRow, paletteRow), rows + tune};
}

void TForm1Ui::setupUi(QWidget* form) {
    m_form = form;
    // Where the design's face is missing, a face of Arial's metrics keeps the captions within
    // the design widths better than the wider default substitute.
    QFont windowFont;
    windowFont.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    windowFont.setPixelSize(scaled(kDesignFontHeight));
    // Where none of the faces is there, a sans-serif one rather than whatever the font system
    // puts in; the captions' bitmaps take this very font.
    windowFont.setStyleHint(QFont::SansSerif);
    form->setFont(windowFont);
    form->setCursor(Qt::CrossCursor);
    form->setAutoFillBackground(true);
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, toQColor(kButtonFace));
    form->setPalette(pal);

    createRows();
    createTunePanel();
    createSliders();
    createValuePanels();
    createTimers();

    // The cross-hair belongs to the window itself; Qt would hand it down to every control, which
    // keep their own pointer (the arrow, the edit's text beam, the palette's hidden pointer).
    for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);
}

void TForm1Ui::createRows() {
    PnlLabels = makePanel(m_form, kButtonFace);
    PnlShowColor = makePanel(m_form, kButtonFace);
    PnlSample = makePanel(m_form, kSampleRowColor);
    PnlBevel = makePanel(m_form, kButtonFace);
    PnlScroll = makePanel(m_form, kButtonFace);

    ScrollBar1 = new QScrollBar(Qt::Vertical, PnlScroll);
    // A bar of maximum 279 and page 25 stops its position at 279 - 25 + 1 = 255.
    ScrollBar1->setRange(0, 255);
    ScrollBar1->setPageStep(25);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setValue(255);

    ZodudIroBox = new TKxZodudIro(m_form);
    setTag(ZodudIroBox, TagPalette);
    ZodudIroBox->setNoRightSelect(true);
}

void TForm1Ui::createTunePanel() {
    PnlPicker = makePanel(m_form, kButtonFace);
    PnlPicker->setGradientFill(true);

    ButRgb = makeButton(PnlPicker, "RGB", " Set Color order to be Red Green Blue [Ctrl+R] ");
    ButBgr = makeButton(PnlPicker, "BGR", " Set Color order to be Blue Green Red [Ctrl+G] ");
    for (TKxButton* b : {ButRgb, ButBgr}) {
        b->setGroupIndex(1);
        b->setAllowAllUp(false);
    }
    ButRgb->setDown(true);

    EdClValue = new QLineEdit(PnlPicker);
    EdClValue->setText(QStringLiteral("rgb(119,170,255);"));
    EdClValue->setToolTip(ValueExamplesHint());

    PnlEdColor = makePanel(PnlPicker, DesignValueFieldColor, TagValueFieldColour);
    showValueOn(PnlEdColor, DesignValueFieldColor);
    PnlSampleColor = makePanel(PnlPicker, kDesignSampleColor, TagCurrentColour);
    showValueOn(PnlSampleColor, kDesignSampleColor);

    ButScreenPicker = makeButton(PnlPicker, "Pick on Screen", " Open Color Picker tool [Ctrl+P] ");
}

void TForm1Ui::createSliders() {
    for (const TSliderDef& def : kSliders) {
        auto* slider = new TKxSlider(PnlPicker);
        setTag(slider, def.tag);
        slider->setMax(def.max);
        slider->setStepSizeKey(1);
        slider->setStepSizeWheel(0.5);
        slider->setLengthSlider(20);
        slider->setToolTip(QString::fromLatin1(def.hint));
        this->*def.slider = slider;
    }
}

void TForm1Ui::createValuePanels() {
    PnlColor = makePanel(PnlShowColor, kButtonFace, TagCurrentColour);
    PnlHslColor = makePanel(PnlShowColor, kButtonFace, TagCurrentColour);
    PnlWebSafe = makePanel(PnlShowColor, kButtonFace, TagWebSafe);
    PnlHlp = makePanel(PnlShowColor, kButtonFace, TagWebSafe);
    PnlSampleColor1 = makePanel(PnlShowColor, DesignValueFieldColor, TagValueFieldColour);

    ButHelp = makeButton(PnlHlp, "?", " Show the Help on the Internet [F1] ");
    ButSettings = makeButton(PnlHlp, "S", " Settings and Shortcuts [F2] ");
    ButInfo = makeButton(PnlHlp, "i", " About Huesplinter [F3] ");
}

void TForm1Ui::createTimers() {
    CaptionTimer = new QTimer(m_form);
    CaptionTimer->setInterval(1000);
    LoadTimer = new QTimer(m_form);
    LoadTimer->setInterval(2);
    LoadTimer->setSingleShot(true);
}

// ---------------------------------------------------------------------------------------------
// Layout

void TForm1Ui::layoutRows() {
    const int cw = m_form->width();
    int y = m_form->height();
    auto stackRow = [&](QWidget* row, int h) {
        y -= h;
        row->setGeometry(0, y, cw, h);
    };
    stackRow(PnlLabels, labelsHeight());
    stackRow(PnlShowColor, scaled(kDesignShowColorHeight));
    stackRow(PnlSample, scaled(kDesignSampleHeight));
    stackRow(PnlBevel, bevelHeight());
    y = std::max(y, 0);

    const int scrollWidth = scrollBarWidth();
    PnlScroll->setGeometry(0, 0, scrollWidth, y);
    ScrollBar1->setGeometry(1, 0, scrollWidth - 2, y);

    const int pickerWidth = PnlPicker->isVisibleTo(m_form) ? scaled(kDesignPickerWidth) : 0;
    PnlPicker->setGeometry(cw - pickerWidth, 0, pickerWidth, y);
    ZodudIroBox->setGeometry(scrollWidth, 0, std::max(cw - scrollWidth - pickerWidth, 0), y);
    layoutPicker();
}

void TForm1Ui::layoutPicker() {
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

    const int buttonHeight = scaled(kDesignPickerButtonHeight);
    const int buttonTop = h - scaled(kDesignPickerButtonGap) - buttonHeight;
    ButScreenPicker->setGeometry(margin, buttonTop, inner, buttonHeight);

    const int sliderTop = scaled(kDesignSliderTop);
    const int sliderHeight = std::max(buttonTop - scaled(kDesignPickerButtonGap) - sliderTop, 0);
    const int sliderWidth = scaled(20);
    const int step = scaled(24);
    const int groupGap = scaled(36);
    // Two groups of three (HSL, RGB) centred in the panel.
    const int total = 4 * step + groupGap + sliderWidth;
    int x = (PnlPicker->width() - total) / 2;
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        (this->*kSliders[i].slider)->setGeometry(x, sliderTop, sliderWidth, sliderHeight);
        x += i == 2 ? groupGap : step;
    }
}

void TForm1Ui::layoutHelpButtons() {
    const int rowHeight = PnlShowColor->height();
    const int b = helpButtonSide(rowHeight);
    const int border = std::max((rowHeight - b) / 2, 0);
    int x = border;
    for (TKxButton* button : {ButHelp, ButSettings, ButInfo}) {
        button->setGeometry(x, border, b, b);
        x += b + scaled(3);
    }
    PnlHlp->resize(helpPanelWidth(rowHeight), rowHeight);
}

void TForm1Ui::layoutValuePanels() {
    layoutHelpButtons();
    const int rowWidth = PnlShowColor->width();
    const int rowHeight = PnlShowColor->height();
    const bool tuneShown = PnlSampleColor1->isVisibleTo(m_form);
    const int sample1Width = tuneShown ? scaled(kDesignPickerWidth) : 0;
    const int webSafeWidth = this->webSafeWidth();
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
