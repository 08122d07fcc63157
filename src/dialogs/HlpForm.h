#pragma once

#include "colour/ColorTemplateList.h"
#include "colour/CopyFormats.h"
#include "dialogs/ShortcutTable.h"
#include "pixels/KxImageList.h"

#include "controls/KxDialog.h"

#include <array>
#include <optional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;
class QTreeWidget;
class TKxButton;
class TKxPanel;

// The settings the dialog edits and gives back on OK.
struct TSettingsValues {
    FormatSettings formats;
    // A copy style (CopyStyle as a number).
    int clickAction = static_cast<int>(CopyStyle::Html);
    QString sampleTextPath;
    bool saveAfterPaste = false;

    friend bool operator==(const TSettingsValues&, const TSettingsValues&) = default;
};

// The modal settings and shortcuts dialog: a read-only list of every shortcut, the click
// action, the custom and HSL templates (chosen in the template list dialog) with their hex
// switches and HSL maxima, and the sample text file. It takes the values and gives them back on
// OK only. The template lists are another matter: the template list dialog's OK replaces a list
// and writes its file at once, whatever this dialog's result, and templatesReplaced() says so.
// The controls are public, as the window's published parts, so tests drive them directly.
class THlpForm : public TKxDialog {
    Q_OBJECT
public:
    THlpForm(const TSettingsValues& values, const TColorTemplateList& rgbTemplates,
             const TColorTemplateList& hslTemplates, const QString& dataFolder,
             std::vector<TShortcutGroup> shortcuts = DefaultShortcutGroups(),
             QWidget* parent = nullptr);
    ~THlpForm() override;

    // Shows the dialog; the values on OK, nothing on Cancel.
    std::optional<TSettingsValues> Execute();

    // What OK gives back as the dialog stands. When a maximum field does not hold an integer,
    // neither the maxima nor the HSL template and its hex switch are taken.
    TSettingsValues Values() const;
    const TColorTemplateList& Templates(TTemplateKind kind) const;

    TKxPanel* PnlBottom = nullptr;
    TKxButton* ButOk = nullptr;
    TKxButton* ButCancel = nullptr;
    TKxPanel* PnlHsl = nullptr;
    QCheckBox* CbxHslHex = nullptr;
    QLineEdit* EdHueMax = nullptr;
    QLineEdit* EdSatMax = nullptr;
    QLineEdit* EdLumMax = nullptr;
    QLineEdit* EdHslTemplate = nullptr;
    TKxButton* ButHslTemplates = nullptr;
    TKxPanel* PnlLeftClick = nullptr;
    TKxPanel* PnlCssClick = nullptr;
    // By copy style: All, HTML, BGRHex, R:G:B:, HSL, Custom.
    std::array<QRadioButton*, kCopyStyleCount> Rdb{};
    TKxPanel* PnlCustomClick = nullptr;
    QCheckBox* CbxRgbHex = nullptr;
    QLineEdit* EdTemplate = nullptr;
    TKxButton* ButRgbTemplates = nullptr;
    TKxPanel* PnlMumble = nullptr;
    QCheckBox* CbxSaveAfterPaste = nullptr;
    QLineEdit* EdFileName = nullptr;
    TKxButton* ButBrowse = nullptr;
    TKxButton* ButEditSample = nullptr;
    QTreeWidget* LvShortCuts = nullptr;
    QTimer* LoadTimer = nullptr;

    // Event handlers.
    void LoadTimerTimer();
    void RdbCopyStylesClick(int tag);
    void CbxRgbHexClick();
    void CbxHslHexClick();
    void ButRgbTemplatesClick();
    void ButHslTemplatesClick();
    void ButBrowseClick();
    void ButEditSampleClick();

signals:
    // A template list was replaced in the template list dialog (and its file written, or the
    // failure reported). Anything that shows or refers to the templates must take the new list.
    void templatesReplaced(TTemplateKind kind, const TColorTemplateList& list);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int scaled(int designPixels) const;
    void createControls();
    void applyLook();
    QTreeWidget* createShortcutList();
    TKxPanel* createSampleFileRow();
    TKxPanel* createCustomTemplateRow();
    TKxPanel* createClickActionRow();
    TKxPanel* createHslRow();
    QLineEdit* maximumField(const QString& hint);
    TKxPanel* createBottomRow();
    void createLoadTimer();
    void connectHandlers();
    TKxPanel* addRow(QWidget* parent, ColorValue colour);
    TKxButton* imageButton(QWidget* parent, int image);
    void chooseTemplate(TTemplateKind kind);

    TSettingsValues FValues;
    TColorTemplateList FRgbTemplates;
    TColorTemplateList FHslTemplates;
    QString FDataFolder;
    std::vector<TShortcutGroup> FShortcuts;
    bool FRgbHex;
    bool FHslHex;
    int FClickAction;
    bool FShown = false;
    TKxImageList FImages;
    QButtonGroup* FRdbGroup = nullptr;
};
