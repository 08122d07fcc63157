#include "picker/FrozenPick.h"

#include "picker/FrozenOverlay.h"
#include "picker/Pickfrm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

TFrozenPick::TFrozenPick(const TPickerValues& values, THslMaxima maxima, QObject* parent)
    : QObject(parent), FPicker(std::make_unique<TFrmPick>(values, maxima, nullptr)) {
    connect(FPicker.get(), &QDialog::finished, this, &TFrozenPick::pickerDone);
}

TFrozenPick::~TFrozenPick() {
    FPicker.reset();
    FOverlays.clear();
}

void TFrozenPick::start(const Platform::TDesktopPicture& picture) {
    FPicker->SetPicture(picture);
    for (QScreen* screen : QGuiApplication::screens()) {
        auto overlay =
            std::make_unique<TFrozenOverlay>(picture.image, picture.origin, screen->geometry());
        TFrozenOverlay* raw = overlay.get();
        connect(raw, &TFrozenOverlay::pointerMoved, this,
                [this, raw](QPoint global) { pointerMoved(raw, global); });
        raw->showOn(screen);
        FOverlays.push_back(std::move(overlay));
    }
    if (FOverlays.empty()) {
        QTimer::singleShot(0, this, [this] { emit finished(TFrmPick::kResultCancel); });
        return;
    }
    QPoint pointer = Platform::cursorPos();
    FCurrent = FOverlays.front().get();
    bool onDesktop = false;
    for (const auto& overlay : FOverlays)
        if (overlay->screenGeometry().contains(pointer)) {
            FCurrent = overlay.get();
            onDesktop = true;
            break;
        }
    if (!onDesktop) pointer = FCurrent->screenGeometry().center();
    FPicker->SetFramePointer(pointer);
    FPicker->EmbedIn(FCurrent, FCurrent->screenGeometry().topLeft());
    FPicker->show();
    FPicker->setFocus(Qt::OtherFocusReason);
    FCurrent->raise();
    FCurrent->activateWindow();
}

void TFrozenPick::pointerMoved(TFrozenOverlay* overlay, QPoint global) {
    if (overlay != FCurrent) {
        FCurrent = overlay;
        FPicker->SetFramePointer(global);
        FPicker->EmbedIn(overlay, overlay->screenGeometry().topLeft());
        overlay->activateWindow();
        return;
    }
    FPicker->SetFramePointer(global);
}

void TFrozenPick::pickerDone(int result) {
    // Told while an overlay still has the keyboard: a Wayland compositor takes clipboard text
    // only from a program in focus. The picker's values and colour stay readable afterwards.
    emit finished(result);
    for (const auto& overlay : FOverlays)
        overlay->hide();
}
