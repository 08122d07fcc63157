#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <optional>

// Moves the pointer onto the centre of a control once a delay has passed.
// The worker only waits; the move itself runs on the user-interface thread,
// which alone may look at the control, and is dropped when the control has
// gone by then.
class TKxMouseSnapThread : public QThread {
    Q_OBJECT
public:
    // Starts at once and frees itself when done; the caller does not wait.
    static void Start(QWidget* control, int delayMs);
    // How many snaps have started and not yet been freed (tests wait for none before they end).
    static int Alive();
    ~TKxMouseSnapThread() override;

protected:
    void run() override;

private:
    TKxMouseSnapThread(QWidget* control, int delayMs);

    QPointer<QWidget> FControl;
    int FDelay;
};

// Whether the desktop asks for the pointer to jump onto default buttons.
// Desktops without such a setting count as off; tests may override the answer.
bool KxSnapToDefaultButton();
void KxSetSnapToDefaultButtonOverride(std::optional<bool> value);

// Snaps the pointer onto a form's default button when the form becomes the
// active window, honouring the desktop setting. It snaps at most once.
class TKxMouseSnap : public QObject {
    Q_OBJECT
public:
    explicit TKxMouseSnap(QObject* owner = nullptr);
    ~TKxMouseSnap() override;

    QWidget* MouseControl() const { return FMouseControl; }
    void setMouseControl(QWidget* control) { FMouseControl = control; }
    QWidget* ParentForm() const { return FParentForm; }
    void setParentForm(QWidget* form) { FParentForm = form; }

    // Takes the owner's window as ParentForm when none was set.
    void Loaded();
    // Takes the form's focused button when no control was set; true when a
    // control to snap to is known.
    bool findMousControl();
    // Whether it still waits for its form to become active.
    bool isHooked() const { return static_cast<bool>(FHook); }

    // Called on every change of the active window while hooked.
    void activeFormChange();

private:
    void unhook();

    QPointer<QWidget> FMouseControl;
    QPointer<QWidget> FParentForm;
    QMetaObject::Connection FHook;
};
