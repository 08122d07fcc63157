#pragma once

// The owner-drawn slider: a lane and a thumb, each painted in a bitmap of its own in one of
// several styles, and a fractional position between Min and Max that the mouse, the wheel and
// the arrow keys move. A slider is horizontal when it is at least as wide as it is high; on a
// vertical one Min is at the top.

#include "controls/KxMovers.h"
#include "pixels/Kxbmpround.h"

#include <functional>
#include <memory>

enum TKxDirection { tgdDownToUp, tgdUpToDown, tgdLeftToRight, tgdRightToLeft };
enum TKxSliderBkgStyle {
    tbsPipe,
    tbsRoundPipe,
    tbsGrove,
    tbsRoundGrove,
    tbsGradi,
    tbsSolid,
    tbsCustom
};
enum TKxSliderStyle {
    tssBall,
    tssHole,
    tssPipe,
    tssRoundPipe,
    tssGrove,
    tssRoundGrove,
    tssGradi,
    tssSolid,
    tssCustom
};
enum TKxSliderEdgeStyle { tesNone, tseSoftEnds, tseSoftButton, tesButton, tesButton3D };

class TKxSlider : public TKxMovers {
    Q_OBJECT

public:
    using TChangingPosEvent =
        std::function<void(TKxSlider* sender, double dPos, int iPos, bool& accept)>;
    using TDrawEvent = std::function<void(TKxSlider* sender, TRoundBmp* bmp, QRect rect)>;

    explicit TKxSlider(QWidget* parent = nullptr);
    ~TKxSlider() override;

    int BkgEndMargin() const noexcept { return FBkgEndMargin; }
    void setBkgEndMargin(int value);
    int BkgSideMargin() const noexcept { return FBkgSideMargin; }
    void setBkgSideMargin(int value);
    bool BkgSoftEnds() const noexcept { return FBkgSoftEnds; }
    void setBkgSoftEnds(bool value) { store(FBkgSoftEnds, value); }
    TKxDirection ColorDirectionBkg() const noexcept { return FColorDirectionBkg; }
    void setColorDirectionBkg(TKxDirection value) { store(FColorDirectionBkg, value); }
    TKxDirection ColorDirectionSlider() const noexcept { return FColorDirectionSlider; }
    void setColorDirectionSlider(TKxDirection value) { store(FColorDirectionSlider, value); }
    // The thumb's length along the lane in pixels (the lane's thickness for round thumbs).
    int LengthSlider() const noexcept { return FLengthSlider; }
    void setLengthSlider(int value);
    // The wheel leaves the position alone and goes to the parent.
    bool NoScroll() const noexcept { return FNoScroll; }
    void setNoScroll(bool value) { store(FNoScroll, value); }
    // Clamped to Min … Max; OnChangingPos may refuse it, changePos reports it.
    void setPosition(double value);
    // The position rounded half up, negative positions included.
    int getPosAsInt() const { return posDoubleToPosInt(FPosition); }
    // A dotted line along the lane while the slider has the focus.
    bool ShowFocus() const noexcept { return FShowFocus; }
    void setShowFocus(bool value) { store(FShowFocus, value); }
    // Grooves across the thumb (not on round thumbs).
    bool SliderGrib() const noexcept { return FSliderGrib; }
    void setSliderGrib(bool value);
    double StepSizeKey() const noexcept { return FStepSizeKey; }
    void setStepSizeKey(double value) { FStepSizeKey = value; }
    double StepSizeWheel() const noexcept { return FStepSizeWheel; }
    void setStepSizeWheel(double value) { FStepSizeWheel = value; }
    TKxSliderBkgStyle StyleBkg() const noexcept { return FStyleBkg; }
    void setStyleBkg(TKxSliderBkgStyle value) { store(FStyleBkg, value); }
    TKxSliderStyle StyleSlider() const noexcept { return FStyleSlider; }
    void setStyleSlider(TKxSliderStyle value);
    TKxSliderEdgeStyle StyleSliderEdge() const noexcept { return FStyleSliderEdge; }
    void setStyleSliderEdge(TKxSliderEdgeStyle value) { store(FStyleSliderEdge, value); }
    // Room for scroll buttons at both ends, and for a corner at the lower end of a vertical
    // slider: each shortens the lane.
    bool ShowScrollButtons() const noexcept { return FShowScrollButtons; }
    void setShowScrollButtons(bool value);
    bool ShowingDeadCorner() const noexcept { return FShowingDeadCorner; }
    void setShowingDeadCorner(bool value);

    // Answers whether a new position is accepted, so it is a handler rather than a signal.
    TChangingPosEvent OnChangingPos;
    TDrawEvent OnDrawBkg;
    TDrawEvent OnDrawSlider;

    bool MouseIsIn(int x, int y) override;

    // Whether any slider of the program is being dragged right now.
    static bool Dragging() noexcept { return FDragSlider != nullptr; }

    // Layout as last computed: the background's rectangle, the thumb's rectangle in its own
    // bitmap and the thumb's top-left in the control.
    QRect bkgRect() const noexcept { return FBkgRect; }
    QRect sliderRect() const noexcept { return FSliderRect; }
    QPoint sliderPlace() const noexcept { return FSliderPlace; }
    bool isHorizontal() const noexcept { return FHorizontal; }
    int getLaneLengthInPix() const;
    int posDoubleToPosInt(double x) const;

signals:
    // The position changed, by the user or by setPosition.
    void changePos(double dPos, int iPos);

protected:
    virtual void calculateBkgRect();
    virtual void calculateSliderPos(int pixel);
    virtual void calculateSliderPosInPix();
    void rangeChanged() override;

    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void PrepareBitmaps(int width, int height) override;
    void KxPaint(TKxBmp& bitmap, const QRect& rect) override;
    void FocusChanged() override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    bool DoMouseWheelDown();
    bool DoMouseWheelUp();

private:
    template <typename T>
    void store(T& field, T value) {
        if (field == value) return;
        field = value;
        update();
    }
    void doWheelAndKeyPosChange(double x);
    void paintBitmaps();
    void paintBackground();
    void paintThumb();
    bool isRoundThumb() const noexcept;
    int thickness() const noexcept;

    std::unique_ptr<TRoundBmp> FSliderBmp;
    std::unique_ptr<TRoundBmp> FBkgBmp;
    QRect FBkgRect;
    QRect FSliderRect;
    QPoint FSliderPlace;
    int FSliderOffset = 0;
    int FSavedLengthSlider = 0;
    bool FShowScrollButtons = false;
    bool FShowingDeadCorner = false;
    bool FBkgSoftEnds = true;
    bool FVertical = false;
    bool FShowFocus = false;
    bool FNoScroll = false;
    bool FHorizontal = true;
    int FBkgEndMargin = 0;
    int FBkgSideMargin = 0;
    TKxDirection FColorDirectionBkg = tgdDownToUp;
    TKxDirection FColorDirectionSlider = tgdDownToUp;
    int FLengthSlider = 16;
    bool FSliderGrib = true;
    double FStepSizeKey = 1.0;
    double FStepSizeWheel = 0.5;
    TKxSliderBkgStyle FStyleBkg = tbsRoundGrove;
    TKxSliderStyle FStyleSlider = tssBall;
    TKxSliderEdgeStyle FStyleSliderEdge = tesNone;
    int FWheelRemainder = 0;

    // Only one slider can be dragged at a time; this is it, or null.
    static TKxSlider* FDragSlider;
    static int FLastDragCoordinate;
};
