#include "picker/FrozenOverlay.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

TFrozenOverlay::TFrozenOverlay(const QImage& picture, QPoint origin, QRect screenGeometry)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FPicture(picture), FScreenGeometry(screenGeometry) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setWindowTitle(QStringLiteral("Pick on Screen"));
    const qreal ratio = picture.isNull() ? 1.0 : picture.devicePixelRatio();
    const auto scaled = [ratio](int v) { return static_cast<int>(std::floor(v * ratio)); };
    const QPoint local = screenGeometry.topLeft() - origin;
    FSource = QRect(scaled(local.x()), scaled(local.y()), scaled(screenGeometry.width()),
                    scaled(screenGeometry.height()));
    setGeometry(screenGeometry);
}

TFrozenOverlay::~TFrozenOverlay() = default;

void TFrozenOverlay::showOn(QScreen* screen) {
    if (screen) setScreen(screen);
    setGeometry(FScreenGeometry);
    showFullScreen();
}

void TFrozenOverlay::paintPicture(QPainter& painter, QRect target) const {
    const QRect visible = target & rect();
    if (visible.isEmpty()) return;
    // The part of the source under the target, so a small repaint copies a small area.
    const qreal sx = qreal(FSource.width()) / std::max(1, width());
    const qreal sy = qreal(FSource.height()) / std::max(1, height());
    const QRectF source(FSource.x() + visible.x() * sx, FSource.y() + visible.y() * sy,
                        visible.width() * sx, visible.height() * sy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // What the picture does not cover (a picture smaller than the desktop) stays black.
    const QRectF inside = source & QRectF(FPicture.rect());
    if (inside != source) painter.fillRect(visible, Qt::black);
    if (inside.isEmpty()) return;
    const QRectF drawn(visible.x() + (inside.x() - source.x()) / sx,
                       visible.y() + (inside.y() - source.y()) / sy, inside.width() / sx,
                       inside.height() / sy);
    painter.drawImage(drawn, FPicture, inside);
}

void TFrozenOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintPicture(painter, event->rect());
}

void TFrozenOverlay::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(FScreenGeometry.topLeft() + event->position().toPoint());
}

void TFrozenOverlay::enterEvent(QEnterEvent* event) {
    // Only the system's own enter tells where the pointer came in; the ones Qt makes up when a
    // child moves away carry the system's idea of the pointer, which on Wayland is stale.
    if (event->spontaneous())
        emit pointerMoved(FScreenGeometry.topLeft() + event->position().toPoint());
}
