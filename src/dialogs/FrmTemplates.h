#pragma once

#include "colour/ColorTemplateList.h"
#include "pixels/KxImageList.h"

#include "controls/KxDialog.h"

#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QTableWidget;
class TKxButton;
class TKxPanel;

// What OK of the template list dialog gives back: the edited list, and the template last made
// the custom one in that run, if any (as it is when the dialog closes).
struct TTemplateDialogResult {
    TColorTemplateList list;
    std::optional<TColorTemplate> custom;
};

// The modal dialog that edits one template list (RGB or HSL) and chooses the custom template.
// It works on its own copy of the list; nothing changes for the caller unless it closes with OK.
// The controls are public, as the window's published parts, so tests drive them directly.
class TFrmTemplates : public TKxDialog {
    Q_OBJECT
public:
    TFrmTemplates(TTemplateKind mode, const TColorTemplateList& list, QWidget* owner = nullptr);
    ~TFrmTemplates() override;

    // Shows the dialog for the list with the first template that matches `current` marked as the
    // custom one (RGB: text and hex flag; HSL: also the three maxima). Empty on Cancel.
    static std::optional<TTemplateDialogResult> Edit(TTemplateKind mode,
                                                     const TColorTemplateList& list,
                                                     const std::optional<TColorTemplate>& current,
                                                     QWidget* owner);

    TTemplateKind Mode() const { return FMode; }
    // Makes the first template matching `current` (as for Edit) the custom one; false when none.
    bool MarkMatchingCustom(const TColorTemplate& current);
    // The working list as it stands.
    TColorTemplateList WorkingList() const;
    std::optional<TColorTemplate> LastCustomChoice() const;
    TTemplateDialogResult Result() const { return {WorkingList(), LastCustomChoice()}; }
    // Whether the row shows the custom mark.
    bool IsCustomRow(int row) const;
    int SelectedRow() const;

    TKxPanel* PnlTop = nullptr;
    TKxButton* ButClear = nullptr;
    QLineEdit* EdTemplate = nullptr;
    QLineEdit* EdMenuText = nullptr;
    QCheckBox* CbxHex = nullptr;
    QLineEdit* EdHue = nullptr;
    QLineEdit* EdSatur = nullptr;
    QLineEdit* EdLumi = nullptr;
    QTableWidget* Lv = nullptr;
    TKxButton* ButAdd = nullptr;
    TKxButton* ButEdit = nullptr;
    TKxButton* ButUp = nullptr;
    TKxButton* ButDown = nullptr;
    TKxButton* ButDelete = nullptr;
    TKxPanel* PnlBottom = nullptr;
    TKxButton* ButSetCustom = nullptr;
    TKxButton* ButOk = nullptr;
    TKxButton* ButCancel = nullptr;

    // Event handlers.
    void LvSelectItem();
    void LvDblClick(bool onRow);
    void EditsChange();
    void ButClearClick();
    void ButAddClick();
    void ButEditClick();
    void ButUpClick();
    void ButDownClick();
    void ButDeleteClick();
    void ButSetCustomClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct TRow {
        TColorTemplate tmpl;
        bool custom = false;
    };

    int scaled(int designPixels) const;
    bool isHsl() const { return FMode == TTemplateKind::Hsl; }
    void createControls();
    void createFieldRow();
    void createRowButtons();
    void createList();
    void createBottomRow();
    void connectHandlers();
    void layoutControls();
    void fitColumns();
    // Replaces the rows of the list by one row per template.
    void FillListView(const TColorTemplateList& list);
    void writeRow(int row);
    void appendRow();
    void selectRow(int row);
    void enableRowButtons(bool enabled);
    void copyToFields(const TColorTemplate& tmpl);
    bool fieldsDiffer(const TColorTemplate& tmpl) const;
    void setCustom(int row);
    void moveSelected(int by, TKxButton* button);

    TTemplateKind FMode;
    std::vector<TRow> FRows;
    int FLastCustom = -1;
    bool FShown = false;
    TKxImageList FImages;
};
