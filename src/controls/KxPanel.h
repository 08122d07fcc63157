#pragma once

#include "colour/ColorValue.h"
#include <QMargins>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class TKxBmp;

// Horizontal caption placement.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Vertical caption placement.
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TGradientDirection { gdHorizontal, gdVertical };

// Turns every pair of equal line marks ("||", "**" or "¤¤") from the 0-based
// position `from` onward into a line break.
QString KxLineMarksToBreaks(const QString& text, qsizetype from);

// The library's container panel: plain colour, two-colour or pipe gradient,
// bevels, a border with softened inner corners and a caption, all composed in
// an off-screen bitmap and shown in one copy. With NoPaint it is an invisible
// container. Colours are colour values 0x00BBGGRR.
class TKxPanel : public QWidget {
    Q_OBJECT
public:
    // The handler may change the rectangle, or set handled to paint everything itself.
    using TPaintBeginEvent =
        std::function<void(TKxPanel* sender, QPainter& cnv, QRect& r, bool& handled)>;
    using TPaintedEvent = std::function<void(TKxPanel* sender, QPainter& cnv, QRect r)>;

    explicit TKxPanel(QWidget* parent = nullptr);
    ~TKxPanel() override;

    // The usual panel properties.
    TAlignment Alignment() const { return FAlignment; }
    void setAlignment(TAlignment value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void setBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void setBevelOuter(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void setBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void setBorderWidth(int value);
    QString Caption() const { return FCaption; }
    void setCaption(const QString& value);
    ColorValue Color() const { return FColor; }
    void setColor(ColorValue value);
    ColorValue FontColor() const { return FFontColor; }
    void setFontColor(ColorValue value);
    QMargins Padding() const { return FPadding; }
    void setPadding(QMargins value);
    bool ShowCaption() const { return FShowCaption; }
    void setShowCaption(bool value);

    // Its own properties.
    TTextLayout AlignmentVertical() const { return FAlignmentVertical; }
    void setAlignmentVertical(TTextLayout value);
    bool BkgdefaultPaint() const { return FBkgdefaultPaint; }
    void setBkgdefaultPaint(bool value);
    bool BorderSoftInner() const { return FBorderSoftInner; }
    void setBorderSoftInner(bool value);
    ColorValue ClBegin() const { return FClBegin; }
    void setClBegin(ColorValue value);
    ColorValue ClEnd() const { return FClEnd; }
    void setClEnd(ColorValue value);
    ColorValue ClBorder() const { return FClBorder; }
    void setClBorder(ColorValue value);
    bool DontEraceBkg() const { return FDontEraceBkg; }
    void setDontEraceBkg(bool value);
    int GradientDarkerEnd() const { return FGradientDarkerEnd; }
    void setGradientDarkerEnd(int value);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void setGradientDirection(TGradientDirection value);
    bool GradientFill() const { return FGradientFill; }
    void setGradientFill(bool value);
    bool GradientPipe() const { return FGradientPipe; }
    void setGradientPipe(bool value);
    bool NoPaint() const { return FNoPaint; }
    void setNoPaint(bool value);
    int TextPadLeft() const { return FTextPad.left(); }
    void setTextPadLeft(int value);
    int TextPadTop() const { return FTextPad.top(); }
    void setTextPadTop(int value);
    int TextPadRight() const { return FTextPad.right(); }
    void setTextPadRight(int value);
    int TextPadBottom() const { return FTextPad.bottom(); }
    void setTextPadBottom(int value);

    TPaintBeginEvent OnPaintBegin;
    TPaintedEvent OnPainted;

    // Paints the whole panel (bevels, border, fill, caption, hooks) with the
    // painter's origin at the panel's top-left.
    void Paint(QPainter& painter);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void drawBevel(TBevelCut cut, QRect& r) const;
    void paintGradient(QRect r);
    void drawSoftInnerCorners(QRect r);
    void drawCaption(QPainter& p, QRect r);
    QRect adjustTextRect(QRect r) const;
    QRect positionRectInRect(QRect outer, QRect inner) const;
    void updateOpaque();
    void changed();

    std::unique_ptr<TKxBmp> FBmp;
    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    QString FCaption;
    ColorValue FColor;
    ColorValue FFontColor = 0x000000;
    QMargins FPadding;
    bool FShowCaption = true;
    TTextLayout FAlignmentVertical = tlCenter;
    bool FBkgdefaultPaint = false;
    bool FBorderSoftInner = true;
    ColorValue FClBegin = 16643557;
    ColorValue FClEnd = 12498604;
    ColorValue FClBorder = 0;
    bool FDontEraceBkg = false;
    int FGradientDarkerEnd = 20;
    TGradientDirection FGradientDirection = gdVertical;
    bool FGradientFill = false;
    bool FGradientPipe = false;
    bool FNoPaint = false;
    QMargins FTextPad;
    bool FPressed = false;
};
