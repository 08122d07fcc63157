#include "controls/KxMousSnap.h"

#include "controls/KxButton.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QPushButton>
#include <QWindow>

#include <atomic>

namespace {

std::optional<bool> gSnapOverride;
std::atomic<int> gAliveSnaps{0};

QPoint centreOnScreen(const QWidget* control) {
    return control->mapToGlobal(QPoint(control->width() / 2, control->height() / 2));
}

} // namespace

TKxMouseSnapThread::TKxMouseSnapThread(QWidget* control, int delayMs)
    : FControl(control), FDelay(delayMs) {
    ++gAliveSnaps;
}

TKxMouseSnapThread::~TKxMouseSnapThread() {
    --gAliveSnaps;
}

int TKxMouseSnapThread::Alive() {
    return gAliveSnaps.load();
}

void TKxMouseSnapThread::Start(QWidget* control, int delayMs) {
    auto* thread = new TKxMouseSnapThread(control, delayMs);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TKxMouseSnapThread::run() {
    if (FDelay > 0) QThread::msleep(static_cast<unsigned long>(FDelay));
    QPointer<QWidget> control = FControl;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [control] {
            if (control) Platform::setCursorPos(centreOnScreen(control));
        },
        Qt::QueuedConnection);
}

bool KxSnapToDefaultButton() {
    return gSnapOverride.value_or(false);
}

void KxSetSnapToDefaultButtonOverride(std::optional<bool> value) {
    gSnapOverride = value;
}

TKxMouseSnap::TKxMouseSnap(QObject* owner) : QObject(owner) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        FHook = connect(app, &QGuiApplication::focusWindowChanged, this,
                        [this] { activeFormChange(); });
}

TKxMouseSnap::~TKxMouseSnap() {
    unhook();
}

void TKxMouseSnap::unhook() {
    if (FHook) disconnect(FHook);
    FHook = {};
}

void TKxMouseSnap::Loaded() {
    if (FParentForm) return;
    if (auto* widget = qobject_cast<QWidget*>(parent())) FParentForm = widget->window();
}

bool TKxMouseSnap::findMousControl() {
    Loaded();
    if (FParentForm) {
        QWidget* active = FParentForm->focusWidget();
        if (qobject_cast<TKxButton*>(active) || qobject_cast<QPushButton*>(active))
            FMouseControl = active;
    }
    return FMouseControl != nullptr;
}

void TKxMouseSnap::activeFormChange() {
    if (!FHook) return;
    Loaded();
    if (!FMouseControl) findMousControl();
    if (FMouseControl && KxSnapToDefaultButton()) {
        if (FParentForm && QApplication::activeWindow() != FParentForm) return;
        Platform::setCursorPos(centreOnScreen(FMouseControl));
    }
    unhook();
}
