#pragma once

#include <QDialog>

class TKxButton;

// A modal window that answers with the library's result numbers (OK 1, Cancel 2, Abort 3,
// Retry 4, Ignore 5, Yes 6, No 7, ...): its buttons close it with their modal result. Esc and
// the window's close button give Cancel (2) only while it shows an enabled cancel button (a
// button with Cancel set or with the modal result Cancel); without one they do nothing, so a
// window that must be answered cannot be dismissed with an answer nobody gave.
class TKxDialog : public QDialog {
    Q_OBJECT
public:
    explicit TKxDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // The button that stands for Cancel now, or null.
    TKxButton* cancelButton() const;

    // What Esc (when no button took it) and the window's close button do.
    void reject() override;
};
