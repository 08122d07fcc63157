#include "controls/KxDialog.h"

#include "controls/KxButton.h"

namespace {

// A caption and a close button; a dialog is neither minimised nor maximised on its own.
constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowCloseButtonHint;

// The one shown button with a modal result, when it is enabled; null when none or several show.
const TKxButton* onlyAnswerButton(const TKxDialog& dialog) {
    const TKxButton* only = nullptr;
    const auto buttons = dialog.findChildren<TKxButton*>();
    for (const TKxButton* button : buttons) {
        if (!button->isVisibleTo(&dialog) || button->ModalResult() == tmrNone) continue;
        if (only) return nullptr;
        only = button;
    }
    return only && only->isEnabled() ? only : nullptr;
}

} // namespace

TKxDialog::TKxDialog(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags ? flags : kDialogFlags) {}

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
    if (cancelButton())
        done(static_cast<int>(tmrCancel));
    else if (const TKxButton* only = onlyAnswerButton(*this))
        done(static_cast<int>(only->ModalResult()));
}
