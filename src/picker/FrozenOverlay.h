#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QPainter;
class QScreen;

// One screen's part of a frozen desktop picture, shown full-screen and frameless on that screen,
// so the picker can run over a picture that no longer changes and read the pointer from this
// window's own mouse events.
class TFrozenOverlay : public QWidget {
    Q_OBJECT
public:
    // `picture` holds the whole desktop with its global top-left at `origin`; its device pixel
    // ratio is the number of picture pixels per desktop pixel. `screenGeometry` is this overlay's
    // part of the desktop.
    TFrozenOverlay(const QImage& picture, QPoint origin, QRect screenGeometry);
    ~TFrozenOverlay() override;

    // Shows the overlay full-screen on the screen (its geometry when there is none, as in tests).
    void showOn(QScreen* screen);

    QRect screenGeometry() const { return FScreenGeometry; }
    // The picture pixels this overlay shows, in picture pixels.
    QRect sourceRect() const { return FSource; }

    // Paints the overlay's part of the picture into `target` (in this widget's coordinates) over
    // `painter`: picture pixels are device pixels when the ratios agree, repeated otherwise,
    // never smoothed. Used by the paint event and by anything that needs a frame without a
    // window.
    void paintPicture(QPainter& painter, QRect target) const;

signals:
    // The pointer moved over the overlay itself (not over a child), to a desktop position.
    void pointerMoved(QPoint global);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    QImage FPicture;
    QRect FScreenGeometry;
    QRect FSource;
};
