#include "pixels/KxImages.h"

#include "pixels/KxPngRC.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Every picture is drawn on a 48-unit square, scaled to the requested side.
constexpr qreal kUnits = 48.0;

struct Canvas {
    QImage image;
    QPainter p;
    explicit Canvas(int side) : image(side, side, QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::transparent);
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / kUnits, side / kUnits);
    }
    QImage done() {
        p.end();
        return image.convertToFormat(QImage::Format_ARGB32);
    }
};

QLinearGradient vertical(qreal top, qreal bottom, QColor a, QColor b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

void drawBrowse(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(vertical(8, 40, QColor(255, 220, 120), QColor(230, 170, 40)));
    QPainterPath back;
    back.moveTo(4, 40);
    back.lineTo(4, 10);
    back.lineTo(17, 10);
    back.lineTo(21, 15);
    back.lineTo(40, 15);
    back.lineTo(40, 40);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(vertical(20, 42, QColor(255, 236, 170), QColor(240, 190, 70)));
    QPainterPath front;
    front.moveTo(4, 40);
    front.lineTo(11, 22);
    front.lineTo(46, 22);
    front.lineTo(40, 40);
    front.closeSubpath();
    p.drawPath(front);
}

void drawEditSample(QPainter& p) {
    p.setPen(QPen(QColor(110, 110, 120), 1.5));
    p.setBrush(QColor(252, 252, 255));
    p.drawRect(QRectF(6, 4, 28, 38));
    p.setPen(QPen(QColor(150, 160, 190), 2));
    for (int y = 12; y <= 32; y += 6)
        p.drawLine(QPointF(11, y), QPointF(29, y));
    p.save();
    p.translate(36, 28);
    p.rotate(45);
    p.setPen(QPen(QColor(70, 60, 40), 1.2));
    p.setBrush(QColor(250, 190, 40));
    p.drawRect(QRectF(-4, -18, 8, 26));
    p.setBrush(QColor(240, 200, 160));
    QPainterPath tip;
    tip.moveTo(-4, 8);
    tip.lineTo(4, 8);
    tip.lineTo(0, 16);
    tip.closeSubpath();
    p.drawPath(tip);
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(-4, -22, 8, 4));
    p.restore();
}

void drawEyeDropper(QPainter& p, bool pointLeft) {
    p.save();
    p.translate(28, 24);
    p.rotate(45);
    // Bulb, collar, glass tube with a drop of colour, tip.
    p.setPen(QPen(QColor(60, 30, 30), 1.2));
    p.setBrush(vertical(-22, -8, QColor(240, 80, 80), QColor(170, 20, 30)));
    p.drawRoundedRect(QRectF(-6, -22, 12, 14), 6, 6);
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(-7.5, -9, 15, 4));
    p.setBrush(QColor(215, 235, 250, 220));
    p.drawRect(QRectF(-4, -5, 8, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 230));
    p.drawRect(QRectF(-3, 5, 6, 8));
    p.setPen(QPen(QColor(60, 30, 30), 1.2));
    p.setBrush(QColor(215, 235, 250, 220));
    QPainterPath tip;
    tip.moveTo(-4, 13);
    tip.lineTo(4, 13);
    tip.lineTo(1, 21);
    tip.lineTo(-1, 21);
    tip.closeSubpath();
    p.drawPath(tip);
    p.restore();
    // The arrow tells which way the tune panel goes.
    p.setPen(QPen(QColor(20, 70, 170), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal x = pointLeft ? 5 : 13;
    const qreal d = pointLeft ? 7 : -7;
    QPainterPath arrow;
    arrow.moveTo(x + d, 4);
    arrow.lineTo(x, 10);
    arrow.lineTo(x + d, 16);
    p.drawPath(arrow);
}

void drawLock(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 125, 135), 5, Qt::SolidLine, Qt::FlatCap));
    QPainterPath shackle;
    shackle.moveTo(14, 24);
    shackle.lineTo(14, 15);
    shackle.arcTo(QRectF(14, 5, 20, 20), 180, -180);
    shackle.lineTo(34, 24);
    p.drawPath(shackle);
    p.setPen(QPen(QColor(150, 100, 10), 1.5));
    p.setBrush(vertical(22, 44, QColor(255, 215, 90), QColor(215, 150, 20)));
    p.drawRoundedRect(QRectF(8, 22, 32, 22), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 10));
    p.drawEllipse(QPointF(24, 31), 3.5, 3.5);
    p.drawRect(QRectF(22.5, 31, 3, 8));
}

void drawOk(QPainter& p) {
    QPainterPath tick;
    tick.moveTo(7, 26);
    tick.lineTo(19, 38);
    tick.lineTo(41, 11);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 90, 20), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.setPen(QPen(QColor(60, 190, 60), 6.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void drawCross(QPainter& p, QColor edge, QColor fill, qreal from, qreal to, qreal width) {
    for (const auto& [colour, w] : {std::pair{edge, width + 3.5}, std::pair{fill, width}}) {
        p.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(from, from), QPointF(to, to));
        p.drawLine(QPointF(from, to), QPointF(to, from));
    }
}

void drawTemplates(QPainter& p) {
    p.setPen(QPen(QColor(90, 100, 130), 1.5));
    p.setBrush(QColor(250, 250, 255));
    p.drawRoundedRect(QRectF(5, 5, 38, 38), 3, 3);
    const QColor swatches[] = {QColor(220, 60, 60), QColor(60, 170, 70), QColor(50, 100, 220)};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 11 + i * 11;
        p.setPen(Qt::NoPen);
        p.setBrush(swatches[i]);
        p.drawRect(QRectF(10, y, 7, 7));
        p.setPen(QPen(QColor(110, 110, 120), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(21, y + 3.5), QPointF(38, y + 3.5));
    }
}

// A round badge with a soft highlight.
void drawBadge(QPainter& p, QColor light, QColor dark) {
    QRadialGradient g(QPointF(18, 14), 34);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(dark.darker(140), 1.5));
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 42, 42));
}

void drawInformation(QPainter& p) {
    drawBadge(p, QColor(120, 180, 255), QColor(20, 80, 190));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 14), 3.5, 3.5);
    p.drawRoundedRect(QRectF(20.5, 20, 7, 18), 2, 2);
}

void drawQuestion(QPainter& p) {
    drawBadge(p, QColor(120, 200, 255), QColor(20, 100, 170));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath hook;
    hook.moveTo(16.5, 18);
    hook.arcTo(QRectF(16.5, 10, 15, 15), 180, -230);
    hook.quadTo(24, 25, 24, 30);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 37.5), 3.5, 3.5);
}

void drawExclamation(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(24, 3);
    triangle.lineTo(46, 43);
    triangle.lineTo(2, 43);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(170, 110, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(3, 43, QColor(255, 230, 90), QColor(245, 170, 0)));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 10));
    QPainterPath bar;
    bar.moveTo(20.5, 15);
    bar.lineTo(27.5, 15);
    bar.lineTo(25.5, 31);
    bar.lineTo(22.5, 31);
    bar.closeSubpath();
    p.drawPath(bar);
    p.drawEllipse(QPointF(24, 37), 3.2, 3.2);
}

void drawError(QPainter& p) {
    drawBadge(p, QColor(255, 120, 110), QColor(190, 20, 20));
    drawCross(p, QColor(255, 255, 255, 0), Qt::white, 16, 32, 5.5);
}

} // namespace

QImage KxMainImage(int index, int side) {
    Canvas c(std::max(side, 1));
    switch (index) {
    case kxiBrowse:
        drawBrowse(c.p);
        break;
    case kxiEditSample:
        drawEditSample(c.p);
        break;
    case kxiEyeDropHide:
        drawEyeDropper(c.p, false);
        break;
    case kxiEyeDropShow:
        drawEyeDropper(c.p, true);
        break;
    case kxiLock:
        drawLock(c.p);
        break;
    case kxiOk:
        drawOk(c.p);
        break;
    case kxiCancel:
        drawCross(c.p, QColor(140, 10, 10), QColor(230, 50, 40), 11, 37, 6.5);
        break;
    case kxiTemplates:
        drawTemplates(c.p);
        break;
    default:
        break;
    }
    return c.done();
}

TKxImageList KxMainImageList(int side) {
    TKxImageList list(side, side);
    for (int i = 0; i < kxiMainImageCount; ++i)
        list.add(KxMainImage(i, side));
    return list;
}

QByteArray KxMessageIconPng(TKxMessageIcon icon) {
    Canvas c(48);
    switch (icon) {
    case kxmInformation:
        drawInformation(c.p);
        break;
    case kxmQuestion:
        drawQuestion(c.p);
        break;
    case kxmExclamation:
        drawExclamation(c.p);
        break;
    case kxmError:
        drawError(c.p);
        break;
    }
    return TKxPngImage::fromImage(c.done(), true).saveToData();
}
