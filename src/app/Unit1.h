#pragma once

#include "app/ColorHub.h"
#include "app/Unit1Ui.h"
#include "app/WindowOptions.h"
#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"

#include <QString>

#include <array>
#include <memory>

class TCommands;
class TPickerOpener;
class TSampleControls;
class TStartup;
class TUserSlots;

// The main window: one current colour shown by the palette, six sliders, the value panels and
// the pastel bar, all kept in step through a few update operations guarded against feedback.
// The controls live in the UI object (ui()); the window is the hub that holds the colour state
// and runs the updates. Collaborators that serve one area of the window are owned here, get the
// hub's interface and the UI object when they are made, and follow the colour through its signal.
class TForm1 : public TColorHub {
    Q_OBJECT

public:
    static constexpr int HistoryCount = 10;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    const TForm1Ui& ui() const { return m_ui; }
    TPickerOpener& pickerOpener() { return *m_pickerOpener; }
    TSampleControls& sampleControls() { return *m_sampleControls; }
    // Start-up, the stored settings, activation and close.
    TStartup& startup() { return *m_startup; }
    TCommands& commands() { return *m_commands; }
    // The options several parts of the window read; their one owner.
    TWindowOptions& options() override { return m_options; }
    const TWindowOptions& options() const override { return m_options; }

    // Colour state.
    ColorValue currentColor() const override { return m_currentColor; }
    ColorValue valueFieldColor() const { return m_valueFieldColor; }
    ColorValue clickedColor() const { return m_clickedColor; }
    bool updateGuard() const { return m_updateGuard; }
    // Whether the deferred start-up work has run.
    bool loaded() const { return m_loaded; }
    bool rgbOrder() const override { return m_rgbOrder; }
    void setRgbOrder(bool rgb) override;
    void setClickedColor(ColorValue c) override { m_clickedColor = c & kColorMask; }
    int pastel() const override { return m_pastel; }
    void setValueFieldText(const QString& text) override;
    const QString& pasteColor() const override { return m_pasteColor; }
    std::array<ColorValue, HistoryCount> history() const;
    // The user and history slots and the colour set commands.
    TUserSlots& userSlots() const { return *m_slots; }

    // Update operations every change of the current colour goes through.
    void SetCurrentColor(ColorValue c);
    void RefreshValuePanels(ColorValue c);
    void ApplyCurrentColor(ColorValue c) override;
    void ApplyValueFieldColor(ColorValue c) override;
    void FollowOnPalette(int h, int s, int l);
    void ApplyPastel(int p) override;

    // Picks: the history and the copy chosen by the modifier keys or the click action.
    void ZodudIroBoxColorPickLeft(QObject* sender, ColorValue c) override;
    void PushHistory(ColorValue c);
    void CopyOnClick(ColorValue c) override;
    void UpdateCaption(bool withBuildTime);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectControls();
    void setCurrent(ColorValue c, const HlsTriple& hls);
    void pick(ColorValue c, CopyStyle style);
    void copyOnClick(ColorValue c, CopyStyle style);
    void moveRgbSliders(ColorValue c);
    void moveHlsSliders(const HlsTriple& hls);
    void showOnSampleTile(ColorValue c);

    // Event handlers.
    void ZodudIroBoxColorChange(QObject* sender, ColorValue c);
    void SliderHueChangePos(QObject* sender);
    void SliderRedChangePos(QObject* sender);
    void EdClValueChange();
    void showValueNote(const QString& note);
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

    TForm1Ui m_ui;
    TWindowOptions m_options;
    std::unique_ptr<TSampleControls> m_sampleControls;
    ColorValue m_currentColor = kNoColor;
    // The HLS triple the current colour is shown as: the sliders' own values when they chose
    // the colour, which a conversion back from the colour does not always give.
    HlsTriple m_currentHls;
    ColorValue m_valueFieldColor = TForm1Ui::DesignValueFieldColor;
    ColorValue m_clickedColor = kNoColor;
    bool m_updateGuard = false;
    bool m_rgbOrder = true;
    bool m_resized = false;
    bool m_loaded = false;
    int m_pastel = 0;
    QString m_pasteColor;
    std::unique_ptr<TUserSlots> m_slots;
    std::unique_ptr<TPickerOpener> m_pickerOpener;
    std::unique_ptr<TStartup> m_startup;
    std::unique_ptr<TCommands> m_commands;
};
