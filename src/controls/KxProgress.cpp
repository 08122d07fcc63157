#include "controls/KxProgress.h"

#include "pixels/Kxbmpround.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

TKxColor opaque(ColorValue colour) {
    return TKxColor(colour | 0xFF000000u);
}

} // namespace

TKxProgress::TKxProgress(QWidget* parent) : TKxMovers(parent) {
    resize(100, 18);
    setAlive(false);
}

TKxProgress::~TKxProgress() = default;

// --- properties -----------------------------------------------------------------------------

void TKxProgress::rangeChanged() {
    calculatePosInPix();
    update();
}

void TKxProgress::setPosition(double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, FMin, FMax);
    if (value == FPosition) return;
    FPosition = value;
    calculatePosInPix();
    update();
}

void TKxProgress::setPaternType(TPaternType value) {
    if (value == FPaternType) return;
    FPaternType = value;
    update();
}

void TKxProgress::setSoftEdge(bool value) {
    if (value == FSoftEdge) return;
    FSoftEdge = value;
    update();
}

void TKxProgress::setSoftEdgeFront(bool value) {
    if (value == FSoftEdgeFront) return;
    FSoftEdgeFront = value;
    update();
}

// --- positions ------------------------------------------------------------------------------

int TKxProgress::getLaneLengthInPix() const {
    return std::max(width(), height());
}

void TKxProgress::calculatePosInPix() {
    const int lane = getLaneLengthInPix();
    // The ends are exact whatever the range; in between an infinite range gives an undefined
    // quotient, which (like any result outside the lane) must not reach the integer conversion.
    if (FPosition >= FMax) {
        FPosInPix = lane;
        return;
    }
    const double at = double(lane) * ((FPosition - FMin) / (FMax - FMin));
    FPosInPix = !(at > 0) ? 0 : at >= lane ? lane : int(at);
}

void TKxProgress::calculatePosFromPix(int pixels) {
    const int lane = getLaneLengthInPix();
    // Clamped before the comparison: a click beyond the end of a full bar changes nothing and
    // reports nothing.
    pixels = std::clamp(pixels, 0, std::max(lane, 0));
    if (pixels == FPosInPix) return;
    FPosInPix = pixels;
    double position = FMin;
    if (lane > 0 && pixels >= lane)
        position = FMax;
    else if (lane > 0 && pixels > 0)
        position = FMin + double(pixels) * ((FMax - FMin) / double(lane));
    if (std::isnan(position)) position = FMin;
    FPosition = std::clamp(position, FMin, FMax);
    emit posChange(FPosition);
}

// --- window and painting --------------------------------------------------------------------

void TKxProgress::CreateWnd() {
    TKxMovers::CreateWnd();
    const TKxDC* reference = bitmap() ? bitmap()->dc() : nullptr;
    if (!FLaneBmp) FLaneBmp = std::make_unique<TRoundBmp>(reference, width(), height());
    // A fresh picture has no font yet.
    FFontChanged = true;
}

void TKxProgress::DestroyWindowHandle() {
    FLaneBmp.reset();
    TKxMovers::DestroyWindowHandle();
}

void TKxProgress::PrepareBitmaps(int w, int h) {
    if (FLaneBmp && (FLaneBmp->width() != w || FLaneBmp->height() != h))
        FLaneBmp->setBitmapSize(w, h, false);
    calculatePosInPix();
}

void TKxProgress::KxPaint(TKxBmp& bitmap, const QRect& rect) {
    // Without soft edges the lane covers every pixel itself.
    if (FSoftEdge) TKxMovers::KxPaint(bitmap, rect);
    const bool hot = IsHot();
    const ColorValue bkgDark = hot ? ClHotBkgDark() : ClBkgDark();
    const ColorValue bkgLight = hot ? ClHotBkgLight() : ClBkgLight();
    const ColorValue frontDark = hot ? ClHotFrontDark() : ClFrontDark();
    const ColorValue frontLight = hot ? ClHotFrontLight() : ClFrontLight();
    if (FLaneBmp) {
        FLaneBmp->drawProgress(FPosInPix, false, 60, FSoftEdgeFront, FSoftEdge, int(FPaternType),
                               opaque(frontDark), opaque(frontLight), opaque(bkgDark),
                               opaque(bkgLight), rect);
        FLaneBmp->drawToBmp(&bitmap, 0, 0, 0);
    }
    drawCaption(bitmap);
    QImage view = bitmap.imageView();
    if (view.isNull()) return;
    QPainter canvas(&view);
    emit painted(canvas, rect);
}

void TKxProgress::drawCaption(TKxBmp& bitmap) {
    const QColor c = palette().color(QPalette::WindowText);
    const ColorValue colour =
        std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
    if (FFontChanged) {
        bitmap.setFontFrom(font(), colour, logicalDpiY());
        bitmap.setTextTransparent(true);
        FFontChanged = false;
    }
    if (Text().isEmpty()) return;
    bitmap.drawTextColoured(Text(), Qt::AlignCenter | Qt::TextSingleLine, colour,
                            QRect(0, 0, width(), height()));
}

// --- input ----------------------------------------------------------------------------------

void TKxProgress::mousePressEvent(QMouseEvent* event) {
    if (TabStop()) setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && FAcceptClick) {
        const QPoint at = event->position().toPoint();
        calculatePosFromPix(height() > width() ? at.y() : at.x());
        update();
    }
    event->accept();
}

void TKxProgress::mouseMoveEvent(QMouseEvent* event) {
    if (Alive()) {
        const QPoint at = event->position().toPoint();
        setIsHot(MouseIsIn(at.x(), at.y()));
    }
    TKxMovers::mouseMoveEvent(event);
}

void TKxProgress::changeEvent(QEvent* event) {
    TKxMovers::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FFontChanged = true;
        update();
    }
}
