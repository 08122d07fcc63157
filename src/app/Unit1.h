#pragma once

#include "colour/ColourValue.h"
#include "colour/CopyFormats.h"

#include <QString>
#include <QWidget>

#include <array>

class QLineEdit;
class QScrollBar;
class QTimer;
class TKxButton;
class TKxPanel;
class TKxSlider;
class TKxZodudIro;

// The main window: one current colour shown by the palette, six sliders, the value panels and
// the pastel bar, all kept in step through a few update operations guarded against feedback.
// The controls are public, as the window's published parts, so tests drive them directly.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    static constexpr int HistoryCount = 10;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

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

    // Colour state.
    ColorValue currentColor() const { return m_currentColor; }
    ColorValue valueFieldColor() const;
    ColorValue clickedColor() const { return m_clickedColor; }
    bool updateGuard() const { return m_updateGuard; }
    // Whether the deferred start-up work has run.
    bool loaded() const { return m_loaded; }
    bool rgbOrder() const { return m_rgbOrder; }
    int pastel() const { return m_pastel; }
    int clickAction() const { return m_clickAction; }
    void setClickAction(int style);
    const FormatSettings& formatSettings() const { return m_formats; }
    // The value text remembered for the next start: the last text that parsed, or empty.
    const QString& pasteColor() const { return m_pasteColor; }
    const std::array<ColorValue, HistoryCount>& history() const { return m_history; }

    // Update operations every change of the current colour goes through.
    void SetCurrentColor(ColorValue c);
    void RefreshValuePanels(ColorValue c);
    void ApplyCurrentColor(ColorValue c);
    void ApplyValueFieldColor(ColorValue c);
    void FollowOnPalette(int h, int s, int l);
    void ApplyPastel(int p);

    // Picks: the history and the copy chosen by the modifier keys or the click action.
    void PushHistory(ColorValue c);
    void CopyOnClick(ColorValue c);
    void UpdateCaption(bool withBuildTime);

    // Event handlers.
    void ZodudIroBoxColorChange(QObject* sender, ColorValue c);
    void ZodudIroBoxColorPickLeft(QObject* sender, ColorValue c);
    void SliderHueChangePos(QObject* sender);
    void SliderRedChangePos(QObject* sender);
    void EdClValueChange();
    void EdClValueEnter();
    void BgrRgbClick(QObject* sender);
    void PanelClick(QObject* sender);
    void KxPanelClick(QObject* sender);
    void PnlHslColorClick(QObject* sender);
    void PnlWebSafeClick(QObject* sender);
    void PnlSampleColor1Click(QObject* sender);
    void ScrollBar1Change();
    void FormResize();
    void PnlShowColorResize();
    void CaptionTimerTimer();
    void LoadTimerTimer();

    // Scales a length given at the design's 144 pixels per inch to this window's screen.
    int scaled(int designPixels) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void layoutRows();
    void layoutPicker();
    void layoutHelpButtons();
    void moveRgbSliders(ColorValue c);
    void moveHlsSliders(const HlsTriple& hls);
    void showOnSampleTile(ColorValue c);
    void flushPalettePaint();

    ColorValue m_currentColor = kNoColor;
    ColorValue m_clickedColor = kNoColor;
    bool m_updateGuard = false;
    bool m_rgbOrder = true;
    bool m_resized = false;
    bool m_loaded = false;
    int m_pastel = 0;
    int m_clickAction = 1;
    FormatSettings m_formats;
    QString m_pasteColor;
    std::array<ColorValue, HistoryCount> m_history;
};
