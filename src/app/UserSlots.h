#pragma once

#include "app/Extra.h"
#include "colorsets/ColorSetStore.h"
#include "colour/ColorValue.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QMenu;
class TColorSetForm;
class TColorHub;
class TForm1Ui;

// The main window's bottom row: 20 user slots showing the current colour set,
// 10 history slots holding the last picks, and the colour set commands that
// tie the slots to their file (open, new, save, manage, and the question
// before unsaved changes would be dropped). Slot colours are always plain
// 24-bit colours.
class TUserSlots : public QObject {
    Q_OBJECT

public:
    static constexpr int UserCount = kColorSetSize;
    static constexpr int HistoryCount = 10;
    static constexpr int TagUserSlot = 104;
    static constexpr int TagHistorySlot = 106;
    using THistory = std::array<ColorValue, HistoryCount>;

    TUserSlots(TColorHub& hub, TForm1Ui& ui);
    ~TUserSlots() override;

    // The width the row needs: the window's minimum client width.
    int minimumRowWidth() const { return m_minimumWidth; }

    TColorLabel* userSlot(int index) const;
    TColorLabel* historySlot(int index) const;
    // Which user slot a label is, or -1.
    int userIndexOf(const QObject* label) const;
    TColorLabel* selectedLabel() const { return m_selected; }

    // --- slots -----------------------------------------------------------
    void SelectLabel(TColorLabel* label);
    // The slot takes the colour; the set is marked changed.
    void StoreIntoSlot(int index, ColorValue color);
    // Makes the slot's colour current, copies it in the click action's
    // notation and selects the slot.
    void SelectUserColor(int index);
    void PushHistory(ColorValue color);
    // Ten random colours, but only when all ten history colours are equal.
    void FillRandomHistory();
    // Asks for the slot's name in the colour name editor; true when it was set.
    bool EditColorName(TColorLabel* slot);
    void ColorLabelsMouseDown(TColorLabel* slot, Qt::MouseButton button);
    void ColorLabelsMouseMove(TColorLabel* slot);

    // "Store Color As": 20 entries, "Color 0  [ Alt + 0 ]" to "Color J  [ Alt + J ]".
    void BuildStoreColorMenu(QMenu* menu);
    // Stores the popup control's colour, or the current colour when it has none.
    void MenuColorClick(int tag, std::optional<ColorValue> popupColor);
    // The colour of the control the popup menu was opened on, if it has one.
    std::function<std::optional<ColorValue>()> PopupColor;

    // The history as plain values for the settings (oldest first).
    THistory history() const;
    // Stored values are untrusted: the no-colour value becomes black, a
    // system colour its present colour, anything else its low 24 bits.
    void setHistory(const THistory& colors);

    // --- colour sets -----------------------------------------------------
    // The data folder; the set list is read from it. A folder known to be read-only (the user
    // was told at start-up) gets no attempt to write a missing default set.
    void setDataFolder(const QString& folder, bool writable = true);
    const TColorSetStore& store() const { return m_store; }
    // The set list: the built-ins, then the other sets.
    const TColorSetList& sets() const { return m_sets; }
    // The entry of the current set in sets(), or -1.
    int chosenSet() const;
    const QString& currentPath() const { return m_currentPath; }
    bool changed() const { return m_changed; }
    // Sets the changed flag, but only while there is a file to save to.
    void MarkSetChanged(bool value);
    TColorSetEntries userEntries() const;

    // True when the caller may go on: nothing unsaved, saved, or the user
    // chose not to save. "Question for You".
    bool AskSaveChangedSet();
    // The same at the window's close, with the close question's own text.
    bool AskSaveBeforeClose();
    // Start-up, after setDataFolder, whose set list it uses: the stored set, or the default set
    // when there is none (and random history colours when the history is unusable).
    void OpenStartSet(const QString& storedPath);
    // The commands of the popup menu; each returns whether it succeeded.
    bool OpenBuiltInSet(const QString& name);
    bool OpenSet(const QString& path);
    bool NewSet();
    bool SaveSet();
    void ManageSets();

    // Asks for a new set name; by default the name dialog.
    std::function<std::optional<QString>(const QStringList& taken)> AskName;
    // Runs the manager and returns its result; by default modally.
    std::function<int(TColorSetForm& manager)> RunManager;

signals:
    // The current set path or the changed flag changed.
    void setStateChanged();

private:
    void createSlots();
    void layoutSlots();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEntries(const TColorSetEntries& entries);
    bool readIntoSlots(const QString& path);
    bool writeSlots(const QString& path);
    void openDefaultFallback();
    void setCurrent(const QString& path);
    bool confirmDelete(const QString& path);
    void showError(const TColorSetError& error);

    TColorHub& m_hub;
    TForm1Ui& m_ui;
    std::array<TColorLabel*, UserCount> m_user{};
    std::array<TColorLabel*, HistoryCount> m_history{};
    QLabel* m_separator = nullptr;
    QPointer<TColorLabel> m_selected;
    int m_minimumWidth = 0;

    TColorSetStore m_store{QString()};
    bool m_folderWritable = true;
    TColorSetList m_sets;
    QString m_currentPath;
    // The current set's file as it was when read or written here.
    QByteArray m_diskVersion;
    bool m_changed = false;
};
