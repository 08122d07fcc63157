#pragma once

#include "app/SettingsCodec.h"

#include <QObject>
#include <QString>

class TColorHub;
class TForm1Ui;
class TPickerOpener;
class TSampleControls;
class TUserSlots;

// The main window's life from its first show to its close: the stored settings put into the
// window and its collaborators, the window's placement, the deferred start-up work (pastel,
// start colour, data folder, colour set), the application's activation state, and at close the
// question about unsaved slot edits and the saving of the settings.
//
// Values whose owner is not part of the window yet are kept here as they were loaded, so a
// close never writes back less than the start read.
class TStartup : public QObject {
    Q_OBJECT

public:
    // The caption of the boxes that report a settings value that could not be read or written.
    static constexpr QLatin1StringView BoxCaption{"Vextora's Color Picker"};

    TStartup(TColorHub& hub, TForm1Ui& ui, TUserSlots& userSlots, TSampleControls& sample,
             TPickerOpener& picker);
    ~TStartup() override;

    // Once, while the window is first shown: reads the store, applies what it held and places
    // the window (sized and centred on a first run).
    void FormShow();
    // Once, right after the first show.
    void LoadTimerTimer();
    // The window is about to close: false keeps it open (the user cancelled, or the slots
    // could not be saved). Otherwise the settings have been written.
    bool FormCloseQuery();

    // True between the application losing and regaining activation.
    bool isApplicationDeactivated() const { return m_deactivated; }
    // The settings as loaded, with what the window changed since collected at the last close.
    const TStoredSettings& settings() const { return m_settings; }
    bool firstRun() const { return m_settings.firstRun; }
    // Where colour sets and template lists live; empty until start-up found it, and empty
    // when the system offers no folder for per-user data.
    const QString& dataFolder() const { return m_dataFolder; }

    // Takes the window's current state into settings(): placement (the normal rectangle when
    // minimised or maximised) and every value whose owner is present.
    void CollectPlacement();
    void SaveSettings();

    // Where the data folder comes from; by default the platform's per-user data folder.
    std::function<QString()> FindDataFolder;

signals:
    // The application lost activation (another program came to the front).
    void applicationDeactivated();
    // It came back after having lost it.
    void applicationActivated();
    // The data folder is known and the colour set is loaded; handed to the users of the folder
    // (template lists, sample texts).
    void dataFolderReady(const QString& folder);

private:
    void applicationStateChanged(Qt::ApplicationState state);
    // Reads the store into settings() and puts what it held into the window, or the defaults
    // when there is nothing stored.
    void LoadSettings();
    void ApplySettings();
    void ApplyDefaults();
    void placeWindow();
    void report(const QString& text);

    TColorHub& m_hub;
    TForm1Ui& m_ui;
    TUserSlots& m_slots;
    TSampleControls& m_sample;
    TPickerOpener& m_picker;
    TStoredSettings m_settings;
    QString m_dataFolder;
    bool m_deactivated = false;
};
