#include "controls/KxBaseCtrl.h"

#include <QDebug>
#include <QEnterEvent>
#include <QEvent>
#include <QPainter>

#include <exception>
#include <vector>

namespace {

// Whether a widget covers its whole area when it paints, so that nothing behind it can show.
bool paintsWholeArea(const QWidget* widget) {
    if (widget->isWindow() || widget->testAttribute(Qt::WA_OpaquePaintEvent)) return true;
    return widget->autoFillBackground() &&
           widget->palette().brush(widget->backgroundRole()).isOpaque();
}

} // namespace

TKxCustomControl::TKxCustomControl(QWidget* parent) : QWidget(parent) {
    // The control paints every pixel itself from the bitmap; letting the toolkit erase first
    // would only make it flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setAlive(true);
}

TKxCustomControl::~TKxCustomControl() = default;

void TKxCustomControl::setAlive(bool value) {
    FAlive = value;
}

void TKxCustomControl::setIsHot(bool value) {
    if (FIsHot == value) return;
    FIsHot = value;
    update();
}

bool TKxCustomControl::MouseIsIn(int x, int y) {
    return x >= 0 && x < width() && y >= 0 && y < height();
}

void TKxCustomControl::setText(const QString& text) {
    if (FText == text) return;
    FText = text;
    CMTextChanged();
}

void TKxCustomControl::CreateWnd() {
    if (!FBmp) FBmp = std::make_unique<TKxBmp>(width(), height());
}

void TKxCustomControl::DestroyWindowHandle() {
    FBmp.reset();
    FCreated = false;
}

void TKxCustomControl::PrepareBitmaps(int, int) {}

void TKxCustomControl::KxPaint(TKxBmp&, const QRect&) {
    UdateBackground();
}

void TKxCustomControl::FocusChanged() {}

void TKxCustomControl::CMTextChanged() {
    update();
}

void TKxCustomControl::UdateBackground() {
    if (FBmp) eraseBkg(FBmp.get(), FBmp.get());
}

bool TKxCustomControl::eraseBkg(TKxBmp* target, TKxBmp* second) {
    if (target && target == second) getParentBackground(*target);
    return true;
}

void TKxCustomControl::getParentBackground(TKxBmp& target) {
    QWidget* parent = parentWidget();
    if (!parent) return;
    QImage view = target.imageView();
    if (view.isNull()) return;

    // A container that paints nothing of its own would let the window's plain colour through if
    // it were asked alone; so the chain is climbed to the first ancestor that covers its whole
    // area, and that one and every ancestor below it paint, outermost first, each over the last.
    std::vector<QWidget*> chain;
    for (QWidget* w = parent; w; w = w->parentWidget()) {
        chain.push_back(w);
        if (paintsWholeArea(w)) break;
    }

    QPainter painter(&view);
    bool outermost = true;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        QWidget* w = *it;
        const QRect area(mapTo(w, QPoint(0, 0)), QSize(target.width(), target.height()));
        w->render(&painter, QPoint(0, 0), QRegion(area),
                  outermost ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
        outermost = false;
    }
}

void TKxCustomControl::UpdateBmpFont() {
    if (!FBmp) return;
    // Every family and the very size of the control's font, so a caption falls back like the
    // window's other text and shares its loaded face instead of loading one of its own.
    FBmp->setFontFrom(font(), 1, logicalDpiY());
    FBmp->setTextTransparent(true);
}

void TKxCustomControl::ensureCreated() {
    if (FCreated) return;
    FCreated = true;
    CreateWnd();
    WMWindowPosChanged(true);
}

void TKxCustomControl::WMWindowPosChanged(bool sizedOrShown) {
    if (!sizedOrShown) return;
    const int w = width();
    const int h = height();
    if (FBmp) FBmp->setBitmapSize(w, h, false);
    FPaintRect = QRect(0, 0, w, h);
    PrepareBitmaps(w, h);
}

bool TKxCustomControl::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
        if (FCreated)
            WMWindowPosChanged(true);
        else
            ensureCreated();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TKxCustomControl::paintEvent(QPaintEvent*) {
    ensureCreated();
    if (!FBmp || !FBmp->hasPixels() || width() <= 0 || height() <= 0 || !parentWidget() ||
        !isVisible())
        return;
    // An exception must not cross the toolkit's event dispatch; a failed paint leaves the
    // previous picture on the screen.
    try {
        KxPaint(*FBmp, FPaintRect);
    } catch (const std::exception& e) {
        qWarning() << "paint failed:" << e.what();
        return;
    }
    QPainter painter(this);
    FBmp->drawTo(painter, 0, 0, QRect(0, 0, width(), height()));
}

void TKxCustomControl::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    // Entering is judged at the control's origin; the first mouse move judges the real point.
    setIsHot(FAlive && MouseIsIn(0, 0));
}

void TKxCustomControl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setIsHot(false);
}

void TKxCustomControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    FocusChanged();
}

void TKxCustomControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
    FocusChanged();
}
