#pragma once

#include <QDialog>

class TKxButton;

// A modal window (caption and close button, by default) answering with the library's result
// numbers (OK 1, Cancel 2, Abort 3, Retry 4, Ignore 5, Yes 6, No 7, ...) of the button that
// closed it. Esc and the close button give Cancel (2) while an enabled cancel button shows (Cancel
// set or the modal result Cancel), else the answer of a lone enabled answer button, else nothing,
// so a window that must be answered cannot be dismissed with an answer nobody gave.
class TKxDialog : public QDialog {
    Q_OBJECT
public:
    explicit TKxDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // The button that stands for Cancel now, or null.
    TKxButton* cancelButton() const;

    // What Esc (when no button took it) and the window's close button do.
    void reject() override;
};
