#pragma once

#include "picker/Colorhintfrm.h"
#include "picker/PickerValues.h"
#include "platform/Platform.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class TFrmPick;
class TFrozenOverlay;

// The screen picker over a frozen picture of the desktop: one overlay per screen shows its part
// of the picture, and the picker runs as a child of the overlay under the pointer, taking the
// pointer from the overlays' mouse events. Nothing here needs the system's pointer position or
// window placement, so it works where both are refused (Wayland) and, when asked, elsewhere.
// Runs without an event loop of its own: start() returns at once, finished() tells the end.
class TFrozenPick : public QObject {
    Q_OBJECT
public:
    TFrozenPick(const TPickerValues& values, THslMaxima maxima, QObject* parent = nullptr);
    ~TFrozenPick() override;

    // Shows the overlays and the picker over the picture. The pointer starts where the system
    // says it is when that lies on the desktop, else in the middle of the first screen.
    void start(const Platform::TDesktopPicture& picture);

    TFrmPick& picker() { return *FPicker; }
    const std::vector<std::unique_ptr<TFrozenOverlay>>& overlays() const { return FOverlays; }

signals:
    // The picker's result (TFrmPick::kResultOk or kResultCancel); the overlays go right after.
    void finished(int result);

private:
    void pointerMoved(TFrozenOverlay* overlay, QPoint global);
    void pickerDone(int result);

    std::vector<std::unique_ptr<TFrozenOverlay>> FOverlays;
    // Destroyed before the overlays it lies in.
    std::unique_ptr<TFrmPick> FPicker;
    TFrozenOverlay* FCurrent = nullptr;
};
