#pragma once

#include "colour/ColorValue.h"

#include <QString>
#include <QWidget>

class TWindowOptions;

// The main window as its collaborators see it: the colour state they read, the update operations
// they call and the signal they hear. Collaborators hold this, never the window's own class, and
// never reach one another through it, so each can be made in a test on a stand-in window.
class TColorHub : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual TWindowOptions& options() = 0;
    virtual const TWindowOptions& options() const = 0;

    virtual ColorValue currentColor() const = 0;
    // True when the value field reads RRGGBB, false for BBGGRR.
    virtual bool rgbOrder() const = 0;
    // Puts the order buttons and the order in place without converting the value field.
    virtual void setRgbOrder(bool rgb) = 0;
    virtual void setClickedColor(ColorValue c) = 0;
    virtual int pastel() const = 0;
    // The value text remembered for the next start: the last text that parsed, or empty.
    virtual const QString& pasteColor() const = 0;

    // Makes the colour current and moves every view to it.
    virtual void ApplyCurrentColor(ColorValue c) = 0;
    // The same, from the value field's side: its tile shows the colour too.
    virtual void ApplyValueFieldColor(ColorValue c) = 0;
    // Puts text into the value field, which parses it; a text equal to the field's own is
    // applied as a change would be, so its colour still becomes current.
    virtual void setValueFieldText(const QString& text) = 0;
    virtual void ApplyPastel(int p) = 0;
    // A pick: into the history, then the copy chosen by the modifier keys or the click action.
    virtual void ZodudIroBoxColorPickLeft(QObject* sender, ColorValue c) = 0;
    // Only the copy of a pick.
    virtual void CopyOnClick(ColorValue c) = 0;

signals:
    // The current colour changed; sent once for every change, with the new colour.
    void currentColorChanged(ColorValue color);
};
