#pragma once

#include <QObject>

class TColorHub;
class TForm1Ui;
class TSampleControls;

// Opens the screen picker from the main window ("Pick on Screen", Ctrl+P): loads the picker's
// stored values, hides the main window during the pick when asked to, and takes a picked colour
// into the value field, where it becomes current, then picks it as a click on the value-field
// tile would.
class TPickerOpener : public QObject {
    Q_OBJECT
public:
    // The sample row is read for the colour the picker's contrast line measures against.
    TPickerOpener(TColorHub& hub, TForm1Ui& ui, const TSampleControls& sample);

    void OpenScreenPicker();

private:
    void waitUntilHidden();

    TColorHub& m_hub;
    TForm1Ui& m_ui;
    const TSampleControls& m_sample;
};
