#include "controls/KxSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

TKxSlider* TKxSlider::FDragSlider = nullptr;
int TKxSlider::FLastDragCoordinate = 0;

namespace {

// One wheel notch.
constexpr int kWheelNotch = 120;

TKxColor opaque(TKxColor c) {
    return TKxColor(c.r, c.g, c.b, 255);
}

// Which colour of the pair comes first and which way it runs, for pipes and gradients.
struct Direction {
    TKxColor first;
    TKxColor second;
    bool vertical;
};

Direction direction(TKxDirection d, TKxColor dark, TKxColor light, bool horizontalSlider) {
    switch (d) {
    case tgdDownToUp:
        return {light, dark, horizontalSlider};
    case tgdUpToDown:
        return {dark, light, horizontalSlider};
    case tgdLeftToRight:
        return {dark, light, !horizontalSlider};
    default:
        return {light, dark, !horizontalSlider};
    }
}

} // namespace

TKxSlider::TKxSlider(QWidget* parent) : TKxMovers(parent) {
    resize(100, 18);
    FHorizontal = width() >= height();
    FVertical = !FHorizontal;
}

TKxSlider::~TKxSlider() {
    if (FDragSlider == this) FDragSlider = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Bitmaps and layout

void TKxSlider::CreateWnd() {
    TKxMovers::CreateWnd();
    const TKxDC* reference = bitmap() ? bitmap()->dc() : nullptr;
    if (!FBkgBmp) FBkgBmp = std::make_unique<TRoundBmp>(reference, width(), height());
    if (!FSliderBmp) {
        const int s = std::min(width(), height());
        FSliderBmp = std::make_unique<TRoundBmp>(reference, s, s);
    }
}

void TKxSlider::DestroyWindowHandle() {
    FSliderBmp.reset();
    FBkgBmp.reset();
    TKxMovers::DestroyWindowHandle();
}

bool TKxSlider::isRoundThumb() const noexcept {
    return FStyleSlider == tssBall || FStyleSlider == tssHole;
}

int TKxSlider::thickness() const noexcept {
    return width() >= height() ? height() : width();
}

void TKxSlider::PrepareBitmaps(int w, int h) {
    FHorizontal = w >= h;
    FVertical = !FHorizontal;
    if (FBkgBmp && (FBkgBmp->width() != w || FBkgBmp->height() != h))
        FBkgBmp->setBitmapSize(w, h, false);
    calculateBkgRect();

    if (FSliderBmp) {
        const int across = FHorizontal ? h : w;
        if (isRoundThumb()) FLengthSlider = across;
        const int thumbW = FHorizontal ? FLengthSlider : w;
        const int thumbH = FHorizontal ? h : FLengthSlider;
        if (FSliderBmp->width() != thumbW || FSliderBmp->height() != thumbH)
            FSliderBmp->setBitmapSize(thumbW, thumbH, false);
        FSliderRect = QRect(0, 0, FSliderBmp->width(), FSliderBmp->height());
    }
    calculateSliderPosInPix();
}

void TKxSlider::calculateBkgRect() {
    FBkgRect = QRect(0, 0, width(), height());
    if (FBkgSideMargin > 0 || FBkgEndMargin > 0) {
        if (FHorizontal)
            FBkgRect.adjust(FBkgEndMargin, FBkgSideMargin, -FBkgEndMargin, -FBkgSideMargin);
        else
            FBkgRect.adjust(FBkgSideMargin, FBkgEndMargin, -FBkgSideMargin, -FBkgEndMargin);
    }
}

int TKxSlider::getLaneLengthInPix() const {
    if (!FSliderBmp) return 0;
    int lane = FHorizontal ? width() - FSliderBmp->width() : height() - FSliderBmp->height();
    if (FVertical && FShowingDeadCorner) lane -= width();
    if (FShowScrollButtons) lane -= 2 * (FHorizontal ? height() : width());
    return std::max(lane, 0);
}

void TKxSlider::calculateSliderPosInPix() {
    if (!FSliderBmp) return;
    const int lane = getLaneLengthInPix();
    // A thumb as long as the lane has nowhere to go: it stays at the start.
    int offset = 0;
    const double range = FMax - FMin;
    if (lane > 0 && range > 0) {
        const double at = (FPosition - FMin) * lane / range;
        // Clamped before the conversion: an infinite or undefined quotient has no integer.
        if (at > 0) offset = at >= lane ? lane : int(at);
    }
    FSliderOffset = offset;
    int start = FBkgEndMargin;
    if (FShowScrollButtons) start = FHorizontal ? FSliderRect.height() : FSliderRect.width();
    FSliderPlace = FHorizontal ? QPoint(offset + start, 0) : QPoint(0, offset + start);
}

void TKxSlider::calculateSliderPos(int pixel) {
    if (!FSliderBmp) return;
    const int lane = getLaneLengthInPix();
    const int p = std::clamp(pixel - FLengthSlider / 2, 0, lane);
    float position = float(FMin);
    if (lane > 0) position = float(double(p) * (FMax - FMin) / double(lane) + FMin);
    setPosition(double(position));
}

// ---------------------------------------------------------------------------------------------
// Properties

void TKxSlider::setPosition(double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, FMin, FMax);
    if (value == FPosition) return;
    bool accept = true;
    if (OnChangingPos) OnChangingPos(this, value, posDoubleToPosInt(value), accept);
    if (accept) {
        FPosition = value;
        emit changePos(value, posDoubleToPosInt(value));
    }
    calculateSliderPosInPix();
    update();
}

int TKxSlider::posDoubleToPosInt(double x) const {
    // Positions beyond a billion report that instead of overflowing.
    constexpr double kLimit = 1e9;
    if (std::isnan(x)) return 0;
    x = std::clamp(x, -kLimit, kLimit);
    if (FMin >= 0) return int(x + 0.5);
    // Shifted into the positive range first, so that negative halves round up as well.
    const int shift = int(std::min(-FMin, kLimit));
    return int(shift + x + 0.5) - shift;
}

void TKxSlider::rangeChanged() {
    calculateSliderPosInPix();
    update();
}

void TKxSlider::setLengthSlider(int value) {
    if (value == FLengthSlider) return;
    const int along = width() >= height() ? width() : height();
    FLengthSlider = std::clamp(value, 0, along);
    FSavedLengthSlider = 0;
    if (FBkgBmp) PrepareBitmaps(width(), height());
    update();
}

void TKxSlider::setStyleSlider(TKxSliderStyle value) {
    if (value == FStyleSlider) return;
    const bool wasRound = isRoundThumb();
    const bool toRound = value == tssBall || value == tssHole;
    const int across = thickness();
    if (!wasRound && toRound) {
        const bool square =
            FSliderBmp ? FSliderBmp->width() == FSliderBmp->height() : FLengthSlider == across;
        if (!square) {
            FSavedLengthSlider = FLengthSlider;
            FLengthSlider = across;
            if (FSliderBmp) {
                if (width() >= height())
                    FSliderBmp->setWidth(across);
                else
                    FSliderBmp->setHeight(across);
            }
        }
    } else if (wasRound && !toRound && FSavedLengthSlider != 0) {
        FLengthSlider = FSavedLengthSlider;
        FSavedLengthSlider = 0;
    }
    FStyleSlider = value;
    // The thumb's bitmap and place follow the new length at once, not only at the next resize.
    if (FBkgBmp) PrepareBitmaps(width(), height());
    update();
}

// Both change the lane's length and start, so the thumb moves with them at once instead of
// being drawn over the reserved room until the position next changes.
void TKxSlider::setShowScrollButtons(bool value) {
    if (value == FShowScrollButtons) return;
    FShowScrollButtons = value;
    calculateSliderPosInPix();
    update();
}

void TKxSlider::setShowingDeadCorner(bool value) {
    if (value == FShowingDeadCorner) return;
    FShowingDeadCorner = value;
    calculateSliderPosInPix();
    update();
}

void TKxSlider::setSliderGrib(bool value) {
    if (value == FSliderGrib) return;
    FSliderGrib = value;
    if (!isRoundThumb()) update();
}

// Margins beyond the largest widget mean nothing, and a margin near the int limit would overflow
// the lane's layout arithmetic.
void TKxSlider::setBkgEndMargin(int value) {
    value = std::clamp(value, 0, QWIDGETSIZE_MAX);
    if (value == FBkgEndMargin) return;
    FBkgEndMargin = value;
    calculateBkgRect();
    calculateSliderPosInPix();
    update();
}

void TKxSlider::setBkgSideMargin(int value) {
    value = std::clamp(value, 0, QWIDGETSIZE_MAX);
    if (value == FBkgSideMargin) return;
    FBkgSideMargin = value;
    calculateBkgRect();
    update();
}

bool TKxSlider::MouseIsIn(int x, int y) {
    // Transparent corners and margins of the lane do not count; neither does anything outside
    // the control, where a captured pointer may be during a drag.
    if (!FBkgBmp || !FBkgBmp->hasPixels() || x < 0 || y < 0 || x >= FBkgBmp->width() ||
        y >= FBkgBmp->height())
        return false;
    return FBkgBmp->getPixel(x, y).a > 50;
}

void TKxSlider::FocusChanged() {
    update();
}

// ---------------------------------------------------------------------------------------------
// Mouse, wheel and keys

void TKxSlider::mousePressEvent(QMouseEvent* event) {
    if (TabStop()) setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        FDragSlider = this;
        const QPoint at = event->position().toPoint();
        FLastDragCoordinate = FHorizontal ? at.x() : at.y();
        calculateSliderPos(FLastDragCoordinate);
        update();
    }
    // Accepted, so that the rest of the drag comes here and not to the parent.
    event->accept();
}

void TKxSlider::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (Dragging() && IsHot()) {
        FLastDragCoordinate = FHorizontal ? at.x() : at.y();
        calculateSliderPos(FLastDragCoordinate);
        update();
    } else {
        setIsHot(MouseIsIn(at.x(), at.y()));
    }
    event->accept();
}

void TKxSlider::mouseReleaseEvent(QMouseEvent* event) {
    FDragSlider = nullptr;
    event->accept();
}

void TKxSlider::hideEvent(QHideEvent* event) {
    // A hidden slider gets no button release: its drag ends here.
    if (FDragSlider == this) FDragSlider = nullptr;
    TKxMovers::hideEvent(event);
}

void TKxSlider::doWheelAndKeyPosChange(double x) {
    x = std::clamp(x, FMin, FMax);
    if (x != FPosition) setPosition(x);
}

bool TKxSlider::DoMouseWheelDown() {
    if (FNoScroll) return false;
    doWheelAndKeyPosChange(FHorizontal ? FPosition - FStepSizeWheel : FPosition + FStepSizeWheel);
    return true;
}

bool TKxSlider::DoMouseWheelUp() {
    if (FNoScroll) return false;
    doWheelAndKeyPosChange(FHorizontal ? FPosition + FStepSizeWheel : FPosition - FStepSizeWheel);
    return true;
}

void TKxSlider::wheelEvent(QWheelEvent* event) {
    if (FNoScroll) {
        event->ignore();
        return;
    }
    // Fine-grained wheels report parts of a notch; a step is made for every whole notch.
    const QPoint delta = event->angleDelta();
    FWheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
    while (FWheelRemainder >= kWheelNotch) {
        FWheelRemainder -= kWheelNotch;
        DoMouseWheelUp();
    }
    while (FWheelRemainder <= -kWheelNotch) {
        FWheelRemainder += kWheelNotch;
        DoMouseWheelDown();
    }
    event->accept();
}

void TKxSlider::keyPressEvent(QKeyEvent* event) {
    double step = 0;
    const int key = event->key();
    if (FHorizontal) {
        if (key == Qt::Key_Right)
            step = FStepSizeKey;
        else if (key == Qt::Key_Left)
            step = -FStepSizeKey;
    } else {
        if (key == Qt::Key_Up)
            step = -FStepSizeKey;
        else if (key == Qt::Key_Down)
            step = FStepSizeKey;
    }
    if (step == 0) {
        TKxMovers::keyPressEvent(event);
        return;
    }
    doWheelAndKeyPosChange(FPosition + step);
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TKxSlider::KxPaint(TKxBmp& bitmap, const QRect& rect) {
    TKxMovers::KxPaint(bitmap, rect);
    paintBitmaps();
    if (FBkgBmp) FBkgBmp->drawToBmp(&bitmap, 0, 0, 0);
    if (hasFocus() && FShowFocus) {
        const int d = std::min(width(), height()) / 2 - 1;
        bitmap.drawFocusRect(rect.adjusted(d, d, 1 - d, 1 - d));
    }
    if (FSliderBmp) FSliderBmp->drawToBmp(&bitmap, FSliderPlace.x(), FSliderPlace.y(), 0);
}

void TKxSlider::paintBitmaps() {
    paintBackground();
    paintThumb();
}

void TKxSlider::paintBackground() {
    if (!FBkgBmp || !FBkgBmp->hasPixels()) return;
    const bool hot = IsHot() && Alive();
    const TKxColor dark(hot ? ClHotBkgDark() : ClBkgDark());
    const TKxColor light(hot ? ClHotBkgLight() : ClBkgLight());
    TRoundBmp& bmp = *FBkgBmp;
    // Margins and the outside of round shapes stay see-through.
    bmp.clearRect(bmp.bounds());

    const Direction dir = direction(FColorDirectionBkg, dark, light, FHorizontal);
    switch (FStyleBkg) {
    case tbsPipe:
        bmp.pipeRect(dir.vertical, 60, false, dir.first, dir.second, FBkgRect);
        break;
    case tbsGrove:
        bmp.pipeRect(dir.vertical, 60, true, dir.first, dir.second, FBkgRect);
        break;
    case tbsGradi:
        bmp.gradientRect(dir.vertical, dir.first, dir.second, FBkgRect);
        break;
    case tbsSolid:
        bmp.fill(opaque(dark));
        break;
    case tbsRoundPipe:
        bmp.drawRoundPipe(240, light, dark, FBkgRect);
        break;
    case tbsRoundGrove:
        bmp.drawRoundGrove(240, light, dark, FBkgRect);
        break;
    case tbsCustom:
        if (OnDrawBkg) OnDrawBkg(this, &bmp, FBkgRect);
        break;
    }
    const bool ownEnds =
        FStyleBkg == tbsRoundPipe || FStyleBkg == tbsRoundGrove || FStyleBkg == tbsCustom;
    if (!ownEnds && FBkgSoftEnds) bmp.softEdge(true, FBkgRect);
}

void TKxSlider::paintThumb() {
    if (!FSliderBmp || !FSliderBmp->hasPixels()) return;
    const bool hot = IsHot() && Alive();
    const TKxColor dark(hot ? ClHotFrontDark() : ClFrontDark());
    const TKxColor light(hot ? ClHotFrontLight() : ClFrontLight());
    TRoundBmp& bmp = *FSliderBmp;
    const QRect r = FSliderRect;
    bmp.clearRect(bmp.bounds());

    const Direction dir = direction(FColorDirectionSlider, dark, light, FHorizontal);
    switch (FStyleSlider) {
    case tssBall:
        bmp.drawBall(160, light, dark, r);
        break;
    case tssHole:
        bmp.drawHole(120, light, dark, r);
        break;
    case tssPipe:
        bmp.pipeRect(dir.vertical, 60, false, dir.second, dir.first, r);
        break;
    case tssGrove:
        bmp.pipeRect(dir.vertical, 60, true, dir.second, dir.first, r);
        break;
    case tssRoundPipe:
        bmp.drawRoundPipe(80, light, dark, r);
        break;
    case tssRoundGrove:
        bmp.drawRoundGrove(160, light, dark, r);
        break;
    case tssSolid:
        bmp.fill(opaque(dark));
        break;
    case tssCustom:
        if (OnDrawSlider) OnDrawSlider(this, &bmp, QRect(0, 0, bmp.width(), bmp.height()));
        break;
    case tssGradi:
    default:
        bmp.gradientRect(dir.vertical, dir.first, dir.second, r);
        break;
    }

    const bool edged = FStyleSlider == tssPipe || FStyleSlider == tssGrove ||
                       FStyleSlider == tssGradi || FStyleSlider == tssSolid ||
                       FStyleSlider == tssCustom;
    if (edged) {
        switch (FStyleSliderEdge) {
        case tseSoftEnds:
            bmp.softEdge(true, r);
            break;
        case tseSoftButton:
            bmp.softEdge(false, r);
            break;
        case tesButton:
            bmp.edge3D(false, true, r);
            break;
        case tesButton3D:
            bmp.edge3D(true, true, r);
            break;
        case tesNone:
            break;
        }
    }
    if (FSliderGrib && !isRoundThumb()) bmp.grip(FHorizontal, r);
}
