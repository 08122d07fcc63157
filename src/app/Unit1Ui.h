#pragma once

#include "colour/ColorValue.h"

#include <QSize>

class QLineEdit;
class QScrollBar;
class QTimer;
class QWidget;
class TKxButton;
class TKxPanel;
class TKxSlider;
class TKxZodudIro;

// The main window's controls as designed: it creates them on the window, with their sizes, tags,
// captions and hints, and lays them out. It holds no colour state and wires no handler; the
// window and its collaborators connect to the controls they serve.
class TForm1Ui {
public:
    // Tags group the controls for the commands that act on "the colour under the popup".
    static constexpr int TagPalette = 101;
    static constexpr int TagCurrentColour = 102;
    static constexpr int TagValueFieldColour = 103;
    static constexpr int TagWebSafe = 108;

    // The colour the form definition gives the value-field tiles before start-up applies one.
    static constexpr ColorValue DesignValueFieldColor = MakeColor(119, 170, 255);

    // Creates every control as a child of the window and sets the window's font, colour and
    // cursor. The window must outlive nothing here: Qt's parents own every control.
    void setupUi(QWidget* form);

    // Scales a length given at the design's 144 pixels per inch to the window's screen.
    int scaled(int designPixels) const;
    // The design's client size, scaled.
    QSize designClientSize() const;
    // The smallest client size at which every control keeps a usable, readable size.
    QSize minimumClientSize() const;

    // Stacks the rows from the bottom, then places the palette, its scroll bar and the tune
    // panel in what is left.
    void layoutRows();
    // The value panels, right-aligned in their row; run whenever the row changes size.
    void layoutValuePanels();

    // Rows from the bottom up, then the palette area.
    TKxPanel* PnlLabels = nullptr;
    TKxPanel* PnlShowColor = nullptr;
    TKxPanel* PnlSample = nullptr;
    TKxPanel* PnlBevel = nullptr;
    TKxPanel* PnlScroll = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    TKxZodudIro* ZodudIroBox = nullptr;

    // The tune panel right of the palette.
    TKxPanel* PnlPicker = nullptr;
    TKxButton* ButRgb = nullptr;
    TKxButton* ButBgr = nullptr;
    QLineEdit* EdClValue = nullptr;
    TKxPanel* PnlEdColor = nullptr;
    TKxPanel* PnlSampleColor = nullptr;
    TKxSlider* SliderHue = nullptr;
    TKxSlider* SliderSat = nullptr;
    TKxSlider* SliderLum = nullptr;
    TKxSlider* SliderRed = nullptr;
    TKxSlider* SliderGreen = nullptr;
    TKxSlider* SliderBlue = nullptr;
    TKxButton* ButScreenPicker = nullptr;

    // The value panel row.
    TKxPanel* PnlColor = nullptr;
    TKxPanel* PnlHslColor = nullptr;
    TKxPanel* PnlWebSafe = nullptr;
    TKxPanel* PnlHlp = nullptr;
    TKxPanel* PnlSampleColor1 = nullptr;
    TKxButton* ButHelp = nullptr;
    TKxButton* ButSettings = nullptr;
    TKxButton* ButInfo = nullptr;

    QTimer* CaptionTimer = nullptr;
    QTimer* LoadTimer = nullptr;

private:
    void createRows();
    void createTunePanel();
    void createSliders();
    void createValuePanels();
    void createTimers();
    void layoutPicker();
    void layoutHelpButtons();
    int labelsHeight() const;
    int bevelHeight() const;
    int scrollBarWidth() const;
    int helpButtonSide(int rowHeight) const;
    int helpPanelWidth(int rowHeight) const;
    int webSafeWidth() const;

    QWidget* m_form = nullptr;
};
