#pragma once

#include "colorsets/ColorSetStore.h"

#include "controls/KxDialog.h"
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QListWidget;
class QScrollArea;
class TColorPnl;
class TKxButton;
class TKxPanel;

// The colour set manager: every set in a list, the selected one as 20 tiles
// whose names can be edited, and the commands that create, rename, copy,
// import, export and delete sets. Edited names are saved when another set is
// selected and on OK. It works on the files only; the opener learns of
// renames, deletions and saves through the signals.
// Where and how the save dialog said to export.
struct TExportChoice {
    QString path;
    TPaletteFormat format = TPaletteFormat::ColorSet;
};

class TColorSetForm : public TKxDialog {
    Q_OBJECT

public:
    TColorSetForm(TColorSetStore store, const TColorSetList& sets, QWidget* owner = nullptr);
    ~TColorSetForm() override;

    // Questions the dialog asks; each returns the answer, or nothing when the
    // user cancelled. By default they show the name dialog and the file dialogs.
    std::function<std::optional<QString>(const QStringList& taken)> AskName;
    std::function<QString()> AskOpenFile;
    // The path as typed (the manager gives it the format's extension) and the
    // format of the chosen filter; an empty path when cancelled.
    std::function<TExportChoice(const QString& proposedName)> AskSaveFile;
    // Whether a set may be deleted; asked before its file goes. Unset: yes.
    std::function<bool(const QString& path)> ConfirmDelete;

    // The list as it stands.
    TColorSetList sets() const;
    const QString& loadedPath() const { return m_loadedPath; }
    bool changed() const { return m_changed; }

    QListWidget* listBox() const { return ListBox; }
    TColorPnl* tile(int index) const { return m_tiles.at(static_cast<std::size_t>(index)); }
    QScrollArea* scrollBox() const { return ScrollBox; }
    TKxButton* butNew() const { return ButNew; }
    TKxButton* butRename() const { return ButRename; }
    TKxButton* butCopy() const { return ButCopy; }
    TKxButton* butImport() const { return ButImport; }
    TKxButton* butExport() const { return ButExport; }
    TKxButton* butDelete() const { return ButDelete; }
    TKxButton* butOk() const { return ButOk; }
    TKxButton* butCancel() const { return ButCancel; }

    // The handlers of the buttons, the popup menu and the list.
    void ListBoxClick();
    void ButNewClick();
    void ButRenameClick();
    void ButCopyClick();
    void ButImportClick();
    void ButExportClick();
    void ButDeleteClick();
    void ButOkClick();

signals:
    void colorSetRenamed(const QString& oldPath, const QString& newPath);
    void colorSetDeleted(const QString& path);
    // The tiles' names were written to this set's file.
    void colorSetSaved(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createTopPanel(const QFont& font);
    void createSetList(const QFont& font);
    QWidget* createButtonColumn();
    void createTileBox();
    QWidget* createBottomRow();
    void createActions();
    TKxButton* addButton(QWidget* parent, const QString& caption, const QString& hint);
    void FormShow();
    void ChangesMade();
    bool saveTiles();
    // Writes pending tile edits first when they belong to the set at path; false when that
    // failed (and was said).
    bool commitEditsOf(const QString& path);
    void showTiles(const TColorSetEntries& entries);
    void enableSelectionButtons();
    void addEntry(int row, const TColorSetRef& ref);
    QStringList names() const;
    QString pathAt(int row) const;
    std::optional<QString> askName() const;
    std::optional<std::vector<TNamedSet>> namedSets(const QString& chosenPath,
                                                    const TSwatchList& palette);
    void showError(const TColorSetError& error);
    void scrollTiles(int notches);
    int scaled(int designPixels) const;

    TColorSetStore m_store;
    QString m_loadedPath;
    bool m_changed = false;
    bool m_shown = false;
    int m_wheelDelta = 0;

    TKxPanel* PnlTop = nullptr;
    QLabel* LbSets = nullptr;
    QListWidget* ListBox = nullptr;
    TKxButton* ButNew = nullptr;
    TKxButton* ButRename = nullptr;
    TKxButton* ButCopy = nullptr;
    TKxButton* ButImport = nullptr;
    TKxButton* ButExport = nullptr;
    TKxButton* ButDelete = nullptr;
    QScrollArea* ScrollBox = nullptr;
    TKxButton* ButOk = nullptr;
    TKxButton* ButCancel = nullptr;
    std::array<TColorPnl*, kColorSetSize> m_tiles{};
    std::array<QAction*, 6> m_actions{};
};
