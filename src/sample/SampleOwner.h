#pragma once

#include "colour/ColorContrast.h"
#include "sample/SampleSettings.h"

#include <QRect>
#include <QString>

class QKeyEvent;

// What the sample window asks of the window that owns it. The owner keeps the settings, takes the
// keys the sample window does not use itself and decides when the window goes away.
class TSampleOwner {
public:
    virtual ~TSampleOwner() = default;

    virtual const TSampleSettings& sampleSettings() const = 0;
    // The owner's own frame in global coordinates; a window without a usable placement is
    // centred on it.
    virtual QRect sampleOwnerFrame() const = 0;

    // The window hid: where it stood.
    virtual void samplePlacementChanged(const QRect& placement) = 0;
    // The user loaded the sample text from this file.
    virtual void sampleTextFileChosen(const QString& path) = 0;
    // Esc in the sample window: the owner's show/hide command. The owner must not delete the
    // window before control returns to the event loop.
    virtual void sampleHideRequested() = 0;
    // An arrow key without Ctrl or Shift, for the palette's cross.
    virtual void sampleArrowKey(int key) = 0;
    // A key the sample window did not use, for the owner's shortcuts.
    virtual void sampleKeyForwarded(QKeyEvent* event) = 0;
    // The window's command to make the text colour readable at `level`. The owner keeps the
    // colours, so it changes them; an owner without colours of its own ignores it.
    virtual void sampleReadableTextRequested(ColorContrast::TLevel level) { (void)level; }
};
