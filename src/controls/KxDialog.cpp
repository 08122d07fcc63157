#include "controls/KxDialog.h"

#include "controls/KxButton.h"

TKxDialog::TKxDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

TKxButton* TKxDialog::cancelButton() const {
    const auto buttons = findChildren<TKxButton*>();
    for (TKxButton* button : buttons) {
        if (!button->isEnabled() || !button->isVisibleTo(this)) continue;
        if (button->Cancel() || button->ModalResult() == tmrCancel) return button;
    }
    return nullptr;
}

void TKxDialog::reject() {
    // QDialog would close with 0, which no caller can tell from a missing answer.
    if (cancelButton()) done(static_cast<int>(tmrCancel));
}
