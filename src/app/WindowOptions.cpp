#include "app/WindowOptions.h"

void TWindowOptions::setValues(const TWindowOptionValues& values) {
    setHotTrack(values.hotTrack);
    setHideOnPicking(values.hideOnPicking);
    setSaveSampleAfterPaste(values.saveSampleAfterPaste);
    setClickAction(values.clickAction);
    setPickerHintHidden(values.pickerHintHidden);
    setPickerShowsHsl(values.pickerShowsHsl);
    setFormats(values.formats);
}

void TWindowOptions::setHotTrack(bool on) {
    if (on == m_values.hotTrack) return;
    m_values.hotTrack = on;
    emit hotTrackChanged(on);
}

void TWindowOptions::setHideOnPicking(bool on) {
    if (on == m_values.hideOnPicking) return;
    m_values.hideOnPicking = on;
    emit hideOnPickingChanged(on);
}

void TWindowOptions::setSaveSampleAfterPaste(bool on) {
    if (on == m_values.saveSampleAfterPaste) return;
    m_values.saveSampleAfterPaste = on;
    emit saveSampleAfterPasteChanged(on);
}

void TWindowOptions::setClickAction(CopyStyle style) {
    if (!IsCopyStyle(int(style))) return;
    if (style == m_values.clickAction) return;
    m_values.clickAction = style;
    emit clickActionChanged(style);
}

void TWindowOptions::setPickerHintHidden(bool hidden) {
    if (hidden == m_values.pickerHintHidden) return;
    m_values.pickerHintHidden = hidden;
    emit pickerHintHiddenChanged(hidden);
}

void TWindowOptions::setPickerShowsHsl(bool hsl) {
    if (hsl == m_values.pickerShowsHsl) return;
    m_values.pickerShowsHsl = hsl;
    emit pickerShowsHslChanged(hsl);
}

void TWindowOptions::setFormats(const FormatSettings& formats) {
    if (formats == m_values.formats) return;
    m_values.formats = formats;
    emit formatsChanged(m_values.formats);
}
