#pragma once

#include "app/SampleRow.h"
#include "colour/ColorContrast.h"
#include "colour/ColorValue.h"
#include "sample/SampleOwner.h"
#include "sample/SampleSettings.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TColorHub;
class TForm1Ui;
class TKxButton;
class TKxPanel;
class TSampleForm;

// What the main window's sample row does, and the sample settings behind it: the font and size
// lists, bold and italic, the colour locks and colour fields, the show/hide button, the text and
// transparency switches, and in the same rows the palette's hot-track button and the tune panel
// button. It creates the sample window on demand, hands it the settings and every new current
// colour, and releases it again. One per main window.
class TSampleControls : public QObject, public TSampleOwner, public TSampleRow {
    Q_OBJECT

public:
    TSampleControls(TColorHub& hub, TForm1Ui& ui);
    ~TSampleControls() override;

    const TSampleSettings& settings() const { return m_settings; }
    // The sample window while it exists (shown, or hidden by its own close command).
    TSampleForm* sampleWindow() const;
    bool tunePanelShown() const;

    // Brings the controls and the settings to stored values. Check boxes run their handlers, as
    // their design does when set; the lock buttons are only set down.
    void ApplySettings(const TSampleSettings& stored);
    // Fills the font list with the installed scalable families, each once, and selects the font
    // setting; when that is not installed, the fallback family (the system's sans-serif face),
    // else the first entry. The setting keeps its name until the user picks another font, and
    // the sample window draws the one the list shows.
    void FillFontList();
    void FillFontList(const QStringList& families, const QString& fallback);

    // Handlers of the controls.
    void ButHotTrackClick();
    void ButShowSampleClick();
    void CbxShowTextClick();
    void CbxTransparentClick();
    void CmbFontsChange();
    void CmbSizesChange();
    // The end of editing the size (Enter, or the focus leaving): a text that is no size gives
    // the box back the size in effect, with a message when it is not a number.
    void CmbSizesExit();
    void ButFontDownClick();
    void ButSizeDownClick();
    void ButBoldClick();
    void ButItalicClick();
    void ButLockTextClClick();
    void ButLockBkgClClick();
    void EdTextColorChange();
    void EdBkgColorChange();
    void ButEyeDropPanelClick();
    void StoreSampleTextColor(ColorValue c);
    void StoreSampleBkgColor(ColorValue c);

    // Operations for keyboard commands.
    void ToggleShowText();
    // Also while the check box is disabled (no text shown).
    void ToggleTransparent();
    // Moves the font (size) list's selection by step, within the list, and applies it.
    void StepFont(int step);
    void StepSize(int step);
    // Moves the text colour's lightness (its hue kept) by the least that makes it reach `level`
    // on the background for the text as shown; says so and changes nothing when no lightness
    // does. The text as the sample window shows it when it exists, else as stored.
    void MakeTextReadable(ColorContrast::TLevel level);
    // The sample row's keyboard shortcuts; true when the key was one of them and was used.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);

    // Activation of the program as a whole.
    void ApplicationDeactivate();
    void ApplicationActivate();

    // Makes the sample window; tests put a recording window in its place.
    std::function<TSampleForm*(TSampleOwner* owner, QWidget* parent)> createSampleWindow;

    // TSampleOwner.
    const TSampleSettings& sampleSettings() const override { return m_settings; }
    QRect sampleOwnerFrame() const override;
    void samplePlacementChanged(const QRect& placement) override;
    void sampleTextFileChosen(const QString& path) override;
    void sampleHideRequested() override;
    void sampleArrowKey(int key) override;
    void sampleKeyForwarded(QKeyEvent* event) override;
    void sampleReadableTextRequested(ColorContrast::TLevel level) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the see-through background can be shown on this desktop.
    static bool seeThroughPossible();

    void connectControls();
    void showColourOnField(QLineEdit* field, ColorValue c);
    bool EdTextColorKeyPress(QLineEdit* field, QKeyEvent* event);
    void storeColour(bool text, ColorValue c);
    void reportBadSize(const QString& text);
    // The font the list shows, which the sample window draws; the setting before the list is
    // filled.
    QString shownFontName() const;
    void updateContrast();

    TColorHub& m_hub;
    TForm1Ui& m_ui;
    TSampleSettings m_settings;
    QPointer<TSampleForm> m_sample;
    bool m_appDeactivated = false;
    // The last size text that was taken, shown again when editing ends on one that was not.
    QString m_sizeInEffect;
};
