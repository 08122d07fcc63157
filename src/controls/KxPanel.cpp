#include "controls/KxPanel.h"

#include "colour/ColorQt.h"
#include "pixels/Kxbmp.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

// The system's 3D highlight and shadow, as the classic panel edge shows them.
constexpr ColorValue kEdgeHighlight = 0xFFFFFF;
constexpr ColorValue kEdgeShadow = 0xA0A0A0;

// Opaque, so that anti-aliased text drawn later mixes with the fill.
TKxColor opaque(ColorValue colour) {
    return TKxColor(colour | 0xFF000000u);
}

bool isLineMark(QChar c) {
    return c == u'|' || c == u'*' || c == u'\u00A4';
}

} // namespace

QString KxLineMarksToBreaks(const QString& text, qsizetype from) {
    QString out;
    out.reserve(text.size());
    out += text.left(std::max<qsizetype>(from, 0));
    for (qsizetype i = std::max<qsizetype>(from, 0); i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isLineMark(c) && i + 1 < text.size() && text.at(i + 1) == c) {
            out += u'\n';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

TKxPanel::TKxPanel(QWidget* parent)
    : QWidget(parent), FColor(fromQColor(palette().color(QPalette::Button))) {
    updateOpaque();
}

TKxPanel::~TKxPanel() = default;

void TKxPanel::changed() {
    update();
}

void TKxPanel::updateOpaque() {
    // A painting panel covers every pixel itself; a plain container lets its parent show.
    setAttribute(Qt::WA_OpaquePaintEvent, !FNoPaint);
    setAttribute(Qt::WA_NoSystemBackground, !FNoPaint);
}

#define KX_PANEL_SETTER(Name, Type, Field)                                                         \
    void TKxPanel::set##Name(Type value) {                                                         \
        if (Field == value) return;                                                                \
        Field = value;                                                                             \
        changed();                                                                                 \
    }

KX_PANEL_SETTER(Alignment, TAlignment, FAlignment)
KX_PANEL_SETTER(BevelInner, TBevelCut, FBevelInner)
KX_PANEL_SETTER(BevelOuter, TBevelCut, FBevelOuter)
KX_PANEL_SETTER(Caption, const QString&, FCaption)
KX_PANEL_SETTER(Color, ColorValue, FColor)
KX_PANEL_SETTER(FontColor, ColorValue, FFontColor)
KX_PANEL_SETTER(Padding, QMargins, FPadding)
KX_PANEL_SETTER(ShowCaption, bool, FShowCaption)
KX_PANEL_SETTER(AlignmentVertical, TTextLayout, FAlignmentVertical)
KX_PANEL_SETTER(BorderSoftInner, bool, FBorderSoftInner)
KX_PANEL_SETTER(ClBegin, ColorValue, FClBegin)
KX_PANEL_SETTER(ClEnd, ColorValue, FClEnd)
KX_PANEL_SETTER(ClBorder, ColorValue, FClBorder)
KX_PANEL_SETTER(DontEraceBkg, bool, FDontEraceBkg)
KX_PANEL_SETTER(GradientPipe, bool, FGradientPipe)

#undef KX_PANEL_SETTER

void TKxPanel::setBevelWidth(int value) {
    value = std::max(value, 1);
    if (FBevelWidth == value) return;
    FBevelWidth = value;
    changed();
}

void TKxPanel::setBorderWidth(int value) {
    value = std::max(value, 0);
    if (FBorderWidth == value) return;
    FBorderWidth = value;
    changed();
}

void TKxPanel::setBkgdefaultPaint(bool value) {
    if (FBkgdefaultPaint == value) return;
    FBkgdefaultPaint = value;
    if (value) FGradientFill = false;
    changed();
}

void TKxPanel::setGradientFill(bool value) {
    if (FGradientFill == value) return;
    FGradientFill = value;
    if (value) FBkgdefaultPaint = false;
    changed();
}

void TKxPanel::setGradientDarkerEnd(int value) {
    value = std::clamp(value, 0, 255);
    if (FGradientDarkerEnd == value) return;
    FGradientDarkerEnd = value;
    changed();
}

void TKxPanel::setGradientDirection(TGradientDirection value) {
    if (FGradientDirection == value) return;
    FGradientDirection = value;
    if (FGradientFill) changed();
}

void TKxPanel::setNoPaint(bool value) {
    if (FNoPaint == value) return;
    FNoPaint = value;
    updateOpaque();
    changed();
}

void TKxPanel::setTextPadLeft(int value) {
    if (FTextPad.left() == value) return;
    FTextPad.setLeft(value);
    changed();
}

void TKxPanel::setTextPadTop(int value) {
    if (FTextPad.top() == value) return;
    FTextPad.setTop(value);
    changed();
}

void TKxPanel::setTextPadRight(int value) {
    if (FTextPad.right() == value) return;
    FTextPad.setRight(value);
    changed();
}

void TKxPanel::setTextPadBottom(int value) {
    if (FTextPad.bottom() == value) return;
    FTextPad.setBottom(value);
    changed();
}

void TKxPanel::paintEvent(QPaintEvent*) {
    if (FNoPaint) return;
    QPainter painter(this);
    Paint(painter);
}

void TKxPanel::Paint(QPainter& painter) {
    if (FNoPaint || width() <= 0 || height() <= 0) return;
    if (!FBmp)
        FBmp = std::make_unique<TKxBmp>(width(), height());
    else
        FBmp->setBitmapSize(width(), height(), false);

    QRect r = rect();
    if (OnPaintBegin) {
        bool handled = false;
        {
            QImage view = FBmp->imageView();
            QPainter cnv(&view);
            OnPaintBegin(this, cnv, r, handled);
        }
        if (handled) {
            FBmp->drawTo(painter, 0, 0, FBmp->bounds());
            return;
        }
    }

    if (FBevelOuter != bvNone)
        for (int i = 0; i < FBevelWidth; ++i)
            drawBevel(FBevelOuter, r);
    for (int i = 0; i < FBorderWidth && !r.isEmpty(); ++i) {
        const TKxColor border = opaque(FClBorder);
        FBmp->fillRect(border, QRect(r.left(), r.top(), r.width(), 1));
        FBmp->fillRect(border, QRect(r.left(), r.bottom(), r.width(), 1));
        FBmp->fillRect(border, QRect(r.left(), r.top(), 1, r.height()));
        FBmp->fillRect(border, QRect(r.right(), r.top(), 1, r.height()));
        r.adjust(1, 1, -1, -1);
    }
    if (FBevelInner != bvNone)
        for (int i = 0; i < FBevelWidth; ++i)
            drawBevel(FBevelInner, r);

    if (FGradientFill && !FBkgdefaultPaint)
        paintGradient(r);
    else
        FBmp->fillRect(opaque(FColor), r);
    if (!FBkgdefaultPaint && FBorderSoftInner && FBorderWidth > 0) drawSoftInnerCorners(r);

    {
        QImage view = FBmp->imageView();
        QPainter cnv(&view);
        if (FShowCaption && !FCaption.isEmpty()) drawCaption(cnv, r);
        if (OnPainted) OnPainted(this, cnv, r);
    }
    FBmp->drawTo(painter, 0, 0, FBmp->bounds());
}

void TKxPanel::drawBevel(TBevelCut cut, QRect& r) const {
    if (r.isEmpty()) return;
    const bool lowered = cut == bvLowered;
    const TKxColor topLeft = opaque(lowered ? kEdgeShadow : kEdgeHighlight);
    const TKxColor bottomRight = opaque(lowered ? kEdgeHighlight : kEdgeShadow);
    FBmp->fillRect(topLeft, QRect(r.left(), r.top(), r.width() - 1, 1));
    FBmp->fillRect(topLeft, QRect(r.left(), r.top(), 1, r.height() - 1));
    FBmp->fillRect(bottomRight, QRect(r.left(), r.bottom(), r.width(), 1));
    FBmp->fillRect(bottomRight, QRect(r.right(), r.top(), 1, r.height()));
    r.adjust(1, 1, -1, -1);
}

void TKxPanel::paintGradient(QRect r) {
    if (r.isEmpty()) return;
    const bool vertical = FGradientDirection == gdVertical;
    if (!FGradientPipe) {
        FBmp->gradientRect(vertical, opaque(FClBegin), opaque(FClEnd), r);
        return;
    }
    const int keep = 255 - FGradientDarkerEnd;
    const ColorValue dark = ((FClEnd & 0xFF) * keep / 255) |
                            ((((FClEnd >> 8) & 0xFF) * keep / 255) << 8) |
                            ((((FClEnd >> 16) & 0xFF) * keep / 255) << 16);
    // The split follows the far coordinate of the area, kept inside it so
    // that neither part spills over the bevels and borders.
    if (vertical) {
        const int end = r.top() + r.height();
        const int split = std::clamp(end * 4 / 10, r.top(), end);
        FBmp->gradientRect(true, opaque(FClEnd), opaque(FClBegin),
                           QRect(r.left(), r.top(), r.width(), split - r.top()));
        FBmp->gradientRect(true, opaque(FClBegin), opaque(dark),
                           QRect(r.left(), split, r.width(), end - split));
    } else {
        const int end = r.left() + r.width();
        const int split = std::clamp(end * 4 / 10, r.left(), end);
        FBmp->gradientRect(false, opaque(FClEnd), opaque(FClBegin),
                           QRect(r.left(), r.top(), split - r.left(), r.height()));
        FBmp->gradientRect(false, opaque(FClBegin), opaque(dark),
                           QRect(split, r.top(), end - split, r.height()));
    }
}

void TKxPanel::drawSoftInnerCorners(QRect r) {
    if (r.width() < 10 || r.height() < 10) return;
    TKxBmp corner(10, 10);
    corner.frameRect(1, opaque(FClBorder), QRect(0, 0, 10, 10));

    const bool vertical = FGradientDirection == gdVertical;
    const ColorValue first = FGradientFill ? FClBegin : FColor;
    const ColorValue last = FGradientFill ? FClEnd : FColor;
    const int n = vertical ? r.height() : r.width();
    std::vector<TKxPixel> ramp(static_cast<size_t>(n));
    KxPixel::ramp(ramp.data(), n, opaque(first), opaque(last));
    TKxPixel colours[8];
    for (int i = 0; i < 4; ++i) {
        colours[i] = ramp[static_cast<size_t>(i)];
        colours[4 + i] = ramp[static_cast<size_t>(n - 4 + i)];
    }
    for (int y = 1; y <= 8; ++y) {
        TKxPixel* row = corner.pixelRow(y);
        for (int x = 1; x <= 8; ++x)
            row[x] = colours[vertical ? y - 1 : x - 1];
    }
    corner.softCorners(QRect(1, 1, 8, 8));

    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    // The area may come from a paint hook, so only pixels on the bitmap are written.
    const QRect bounds = FBmp->bounds();
    auto copyQuarter = [&](int sx, int sy, int dx, int dy) {
        for (int row = 0; row < 4; ++row) {
            const TKxPixel* in = corner.pixelRow(sy + row) + sx;
            for (int col = 0; col < 4; ++col)
                if (bounds.contains(dx + col, dy + row))
                    FBmp->pixelRow(dy + row)[dx + col] = in[col];
        }
    };
    copyQuarter(1, 1, r.left(), r.top());
    copyQuarter(1, 5, r.left(), bottom - 4);
    copyQuarter(5, 1, right - 4, r.top());
    copyQuarter(5, 5, right - 4, bottom - 4);
}

QRect TKxPanel::adjustTextRect(QRect r) const {
    return r.adjusted(FPadding.left() + FTextPad.left(), FPadding.top() + FTextPad.top(),
                      -(FPadding.right() + FTextPad.right()),
                      -(FPadding.bottom() + FTextPad.bottom()));
}

QRect TKxPanel::positionRectInRect(QRect outer, QRect inner) const {
    const int halfHeight = (outer.height() - inner.height()) / 2;
    if (halfHeight > 0) {
        switch (FAlignmentVertical) {
        case tlTop:
            inner.moveTop(outer.top());
            break;
        case tlCenter:
            inner.setTop(outer.top() + halfHeight);
            inner.setBottom(outer.bottom() - halfHeight);
            break;
        case tlBottom:
            inner.moveBottom(outer.bottom());
            break;
        }
    }
    const int halfWidth = (outer.width() - inner.width()) / 2;
    if (halfWidth >= 1) {
        switch (FAlignment) {
        case taLeftJustify:
            inner.moveLeft(outer.left());
            break;
        case taCenter:
            inner.setLeft(outer.left() + halfWidth);
            inner.setRight(outer.right() - halfWidth);
            break;
        case taRightJustify:
            inner.moveRight(outer.right());
            break;
        }
    }
    return inner;
}

void TKxPanel::drawCaption(QPainter& p, QRect r) {
    int flags = FAlignment == taLeftJustify    ? Qt::AlignLeft
                : FAlignment == taRightJustify ? Qt::AlignRight
                                               : Qt::AlignHCenter;
    flags |= Qt::AlignTop;
    QString text = FCaption;
    const qsizetype mark = text.indexOf(QStringLiteral("||"));
    if (mark >= 0) {
        text = KxLineMarksToBreaks(text, mark);
        flags |= Qt::TextWordWrap;
    } else {
        flags |= Qt::TextSingleLine;
    }

    QFont f = font();
    if (f.pointSize() > 0) f.setPixelSize(std::max(1, f.pointSize() * logicalDpiY() / 72));
    p.setFont(f);
    p.setPen(toQColor(FFontColor));

    const QRect textRect = adjustTextRect(r);
    const QFontMetrics fm(f);
    const QRect measureFrom(0, 0, std::max(textRect.width(), 1), 15);
    const QSize measured =
        fm.boundingRect(measureFrom, (flags & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft, text)
            .size();
    const QRect box = positionRectInRect(textRect, QRect(textRect.topLeft(), measured));
    p.drawText(box, flags, text);
}

void TKxPanel::mousePressEvent(QMouseEvent* event) {
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TKxPanel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = FPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    FPressed = false;
    event->accept();
    if (click) emit clicked();
}

void TKxPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) update();
    QWidget::changeEvent(event);
}
