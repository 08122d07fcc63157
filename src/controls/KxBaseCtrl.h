#pragma once

// The base of the library's owner-drawn controls. A control composes its whole picture in one
// off-screen bitmap of its own size, starting from what its parent shows underneath, and puts it
// on the screen with a single image draw, so nothing flickers and see-through parts of the drawing
// show the parent.

#include "pixels/Kxbmp.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

class TKxCustomControl : public QWidget {
    Q_OBJECT

public:
    explicit TKxCustomControl(QWidget* parent = nullptr);
    ~TKxCustomControl() override;

    // Whether the control reacts to the mouse with a hot look.
    bool Alive() const noexcept { return FAlive; }
    virtual void setAlive(bool value);

    // The mouse is over a live control.
    bool IsHot() const noexcept { return FIsHot; }
    void setIsHot(bool value);

    // Whether (x, y) in client coordinates counts as inside the control.
    virtual bool MouseIsIn(int x, int y);

    // The caption; a change repaints.
    const QString& Text() const noexcept { return FText; }
    void setText(const QString& text);

    // The off-screen bitmap; null until the control first needs it (shown, sized or painted).
    TKxBmp* bitmap() noexcept { return FBmp.get(); }
    // (0, 0, width, height) of the last size the bitmap was given.
    QRect paintRect() const noexcept { return FPaintRect; }

    // Puts the parent's picture under the control into the bitmap.
    void UdateBackground();
    // Draws what the parent chain shows under this control into target (a bitmap of the
    // control's size): see-through containers are looked through down to the first ancestor
    // that paints its whole area.
    void getParentBackground(TKxBmp& target);
    // Gives the bitmap the control's font and transparent text.
    void UpdateBmpFont();

    // The background request: paints the parent's background only when both arguments name the
    // same bitmap, and always reports the background as handled.
    bool eraseBkg(TKxBmp* target, TKxBmp* second);

protected:
    // Makes the bitmaps; runs once, before the first size, show or paint reaches the control.
    virtual void CreateWnd();
    // Frees the bitmaps; the next size, show or paint makes fresh ones.
    virtual void DestroyWindowHandle();
    // Runs after every size change and every show, with the new size.
    virtual void PrepareBitmaps(int width, int height);
    // Composes the picture; descendants call this first and paint over the result.
    virtual void KxPaint(TKxBmp& bitmap, const QRect& rect);
    virtual void FocusChanged();
    virtual void CMTextChanged();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    bool windowCreated() const noexcept { return FCreated; }

private:
    void ensureCreated();
    void WMWindowPosChanged(bool sizedOrShown);

    std::unique_ptr<TKxBmp> FBmp;
    bool FIsHot = false;
    QRect FPaintRect;
    bool FAlive = true;
    bool FCreated = false;
    QString FText;
};
