#pragma once

#include "colour/CopyFormats.h"

#include <QObject>

// The main window's options as one plain value: what the settings load puts in and the close
// takes out, in one copy each way.
struct TWindowOptionValues {
    // Moving over the palette or a user slot previews its colour without a click.
    bool hotTrack = false;
    bool hideOnPicking = false;
    bool saveSampleAfterPaste = false;
    CopyStyle clickAction = CopyStyle::Html;
    // The screen picker's colour hint: switched off, and HSL instead of RGB.
    bool pickerHintHidden = true;
    bool pickerShowsHsl = false;
    // The templates, hex switches and HSL maxima every notation is written with.
    FormatSettings formats;

    friend bool operator==(const TWindowOptionValues&, const TWindowOptionValues&) = default;
};

// The one owner of the options that several parts of the main window read: the palette, the
// user slots, the sample row, the commands and the picker opener each read them here and follow
// the change signals, so no part keeps a copy to be kept in step. Owned by the main window.
class TWindowOptions : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    const TWindowOptionValues& values() const { return m_values; }
    // Takes every option; each one that changed sends its signal.
    void setValues(const TWindowOptionValues& values);

    bool hotTrack() const { return m_values.hotTrack; }
    void setHotTrack(bool on);
    bool hideOnPicking() const { return m_values.hideOnPicking; }
    void setHideOnPicking(bool on);
    bool saveSampleAfterPaste() const { return m_values.saveSampleAfterPaste; }
    void setSaveSampleAfterPaste(bool on);
    CopyStyle clickAction() const { return m_values.clickAction; }
    // A number outside the styles (a stored value, a menu tag) leaves the action as it is.
    void setClickAction(CopyStyle style);
    bool pickerHintHidden() const { return m_values.pickerHintHidden; }
    void setPickerHintHidden(bool hidden);
    bool pickerShowsHsl() const { return m_values.pickerShowsHsl; }
    void setPickerShowsHsl(bool hsl);
    const FormatSettings& formats() const { return m_values.formats; }
    void setFormats(const FormatSettings& formats);

signals:
    void hotTrackChanged(bool on);
    void hideOnPickingChanged(bool on);
    void saveSampleAfterPasteChanged(bool on);
    void clickActionChanged(CopyStyle style);
    void pickerHintHiddenChanged(bool hidden);
    void pickerShowsHslChanged(bool hsl);
    void formatsChanged(const FormatSettings& formats);

private:
    TWindowOptionValues m_values;
};
