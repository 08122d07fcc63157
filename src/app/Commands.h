#pragma once

#include "colour/ColorTemplateList.h"
#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QAction;
class QActionGroup;
class QEvent;
class QKeyEvent;
class QMenu;
class QWheelEvent;
class QWidget;
class TColorHub;
class TForm1Ui;
class TPickerOpener;
class TSampleControls;
class TUserSlots;

// The main window's keyboard, wheel and popup menu: every key of the window
// runs through one handler (before the focused control sees it), every wheel
// notch over the window moves the pastel bar, and every control of the window
// opens the one popup menu, whose commands act on the colour of the control it
// was opened on.
class TCommands : public QObject {
    Q_OBJECT

public:
    static constexpr int WheelStep = 4;
    static constexpr int PageStep = 25;

    TCommands(TColorHub& hub, TForm1Ui& ui, TUserSlots& userSlots, TPickerOpener& picker,
              TSampleControls& sample);
    ~TCommands() override;

    QMenu* popupMenu() const { return PopupMenu; }

    // The window's key handler; true when the key was consumed (the focused
    // control then never sees it).
    bool FormKeyDown(QKeyEvent* event);
    // Wheel notches over the window; 120 angle units make one notch.
    void FormMouseWheel(QWheelEvent* event);

    // The colour of the control the menu acts on: a panel's or slot's fill,
    // the palette's current colour, or none.
    std::optional<ColorValue> PopupColor(const QObject* control) const;
    void PopupMenuPopup(QWidget* control);
    void showPopup(QWidget* control, const QPoint& globalPos);

    void PasteCommand();
    void OpenSettings();
    void OpenHelp();
    void OpenAbout();

    // The sample text file ("MumbleFile") lives with the sample settings.
    QString sampleTextFile() const;
    void setSampleTextFile(const QString& path);

    // The template lists, read at start-up from the data folder (or written
    // from the built-ins); the submenu follows every change, rebuilt when it
    // is next shown.
    void LoadTemplates(const QString& dataFolder);
    const TColorTemplateList& rgbTemplates() const { return m_rgbTemplates; }
    const TColorTemplateList& hslTemplates() const { return m_hslTemplates; }
    void BuildTemplateMenu();

    // Window size keys: a tenth more or less of each side the modifiers allow.
    void resizeByTenth(bool grow, bool ctrl, bool shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenu();
    void copy(const std::optional<QString>& text);
    void copyPopup(int which);
    bool ctrlShiftStage(char16_t key);
    bool ctrlStage(int qtKey, char16_t key);
    bool altStage(char16_t key);
    bool shiftStage(QKeyEvent* event, char16_t key);
    bool anyStage(QKeyEvent* event);
    void moveScrollBar(int delta);
    bool belongsToWindow(const QObject* watched) const;
    void saveSampleText(const QString& text);
    void showClickAction(CopyStyle style);
    void fillTemplateMenu();

    TColorHub& m_hub;
    TForm1Ui& m_ui;
    TUserSlots& m_slots;
    TPickerOpener& m_picker;
    TSampleControls& m_sample;

    QMenu* PopupMenu = nullptr;
    QAction* MnuCopyRGBToClipboard = nullptr;
    QAction* MnuCopyBgrToClipboard = nullptr;
    QAction* MnuCopyHtmlToClipboard = nullptr;
    QMenu* MnuCopytoClipAsTemplate = nullptr;
    QMenu* MnuSaveColorAs = nullptr;
    QAction* MnuHideMainform = nullptr;
    QAction* MnuSaveSampletextafterpaste = nullptr;
    QAction* MnuReadableTextAA = nullptr;
    QAction* MnuReadableTextAAA = nullptr;
    QMenu* MnuSetClickAction = nullptr;
    QActionGroup* m_clickActions = nullptr;
    QMenu* MnuColorSets = nullptr;
    QAction* MnuSetColorHint = nullptr;

    QPointer<QWidget> m_popupControl;
    struct TSeenKey {
        const QKeyEvent* event = nullptr;
        quint64 timestamp = 0;
        QPointer<QWidget> receiver;
    } m_lastKey;
    int m_wheelAngle = 0;
    QString m_dataFolder;
    TColorTemplateList m_rgbTemplates;
    TColorTemplateList m_hslTemplates;
    bool m_templateMenuFilled = false;
};
