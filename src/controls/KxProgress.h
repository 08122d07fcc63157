#pragma once

// The library's progress bar: a lane whose front part, from the left (lying bar) or from the
// bottom (standing bar), shows where Position lies between Min and Max, painted solid, as a
// gradient or as a pipe, with the caption centred over it. A click can set the position.

#include "controls/KxMovers.h"

#include <QRect>

#include <memory>

class QPainter;
class TRoundBmp;

enum TPaternType { tptSolid, tptGradiant, tptPipe };

class TKxProgress : public TKxMovers {
    Q_OBJECT

public:
    explicit TKxProgress(QWidget* parent = nullptr);
    ~TKxProgress() override;

    // A left click sets the position.
    bool AcceptClick() const noexcept { return FAcceptClick; }
    void setAcceptClick(bool value) { FAcceptClick = value; }
    // Clamped to Min ... Max; reports nothing.
    void setPosition(double value);
    TPaternType PaternType() const noexcept { return FPaternType; }
    void setPaternType(TPaternType value);
    // Shade the lane's four sides and fade its corners, so the parent shows through them.
    bool SoftEdge() const noexcept { return FSoftEdge; }
    void setSoftEdge(bool value);
    // Shade the front's leading edge.
    bool SoftEdgeFront() const noexcept { return FSoftEdgeFront; }
    void setSoftEdgeFront(bool value);

    // The larger of width and height.
    int getLaneLengthInPix() const;
    // How long the front is, in pixels (0 ... lane length).
    int posInPix() const noexcept { return FPosInPix; }

signals:
    // A click changed the position.
    void posChange(double value);
    // The end of every paint, on the control's picture before it reaches the screen.
    void painted(QPainter& canvas, QRect rect);

protected:
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void PrepareBitmaps(int width, int height) override;
    void KxPaint(TKxBmp& bitmap, const QRect& rect) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void rangeChanged() override;

private:
    void calculatePosInPix();
    void calculatePosFromPix(int pixels);
    void drawCaption(TKxBmp& bitmap);

    std::unique_ptr<TRoundBmp> FLaneBmp;
    int FPosInPix = 0;
    bool FFontChanged = true;

    bool FAcceptClick = false;
    TPaternType FPaternType = tptPipe;
    bool FSoftEdge = true;
    bool FSoftEdgeFront = true;
};
