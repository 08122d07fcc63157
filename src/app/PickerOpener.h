#pragma once

#include "picker/PickerValues.h"
#include "picker/ScreenPick.h"

#include <QObject>

#include <optional>

class TColorHub;
class TForm1Ui;
class TSampleControls;

// Opens the screen picker from the main window ("Pick on Screen", Ctrl+P): loads the picker's
// stored values, hides the main window during the pick when asked to, and takes a picked colour
// into the value field, where it becomes current, then picks it as a click on the value-field
// tile would. The pick may end after this returns (the frozen picker, the desktop portal); a
// second request while one runs does nothing.
class TPickerOpener : public QObject {
    Q_OBJECT
public:
    // The sample row is read for the colour the picker's contrast line measures against.
    TPickerOpener(TColorHub& hub, TForm1Ui& ui, const TSampleControls& sample);

    void OpenScreenPicker();

    // The picker over a frozen picture in full-screen overlays, as on Wayland, also where the
    // screen could be read live (the command line's --frozen; the setting "PickerFrozen").
    bool frozen() const { return m_frozen; }
    void setFrozen(bool on) { m_frozen = on; }
    TScreenPick& screenPick() { return m_pick; }

private:
    void waitUntilHidden();
    void pickFinished(std::optional<ColorValue> picked, const TPickerValues& kept);

    TColorHub& m_hub;
    TForm1Ui& m_ui;
    const TSampleControls& m_sample;
    bool m_frozen = false;
    bool m_hidden = false;
    TScreenPick m_pick;
};
