#include "app/Extra.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

TColorLabel::TColorLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

TColorLabel::~TColorLabel() = default;

void TColorLabel::setColor(ColorValue color) {
    color &= kColorMask;
    if (color == m_color) return;
    m_color = color;
    update();
}

void TColorLabel::setName(const QString& name) {
    m_name = name;
    setToolTip(m_showName ? m_name : QString());
}

void TColorLabel::setShowName(bool show) {
    m_showName = show;
    setToolTip(m_showName ? m_name : QString());
}

void TColorLabel::setSelected(bool selected) {
    if (selected == m_selected) return;
    m_selected = selected;
    update();
}

void TColorLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    const QColor text = toQColor(TextColorFor(m_color));
    painter.fillRect(r, toQColor(m_color));
    painter.setPen(text);
    painter.setFont(font());
    painter.drawText(r, Qt::AlignCenter, this->text());
    // The parent's colour along both edges leaves a gap between neighbours.
    const QColor gap = parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                      : palette().color(QPalette::Window);
    painter.setPen(gap);
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    if (!m_selected) return;
    QRect frame = r.adjusted(1, 0, -1, 0);
    painter.setPen(Qt::black);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    frame.adjust(1, 1, -1, -1);
    painter.setPen(text);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

void TColorLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(this, event->button());
    event->accept();
}

void TColorLabel::mouseMoveEvent(QMouseEvent* event) {
    emit moved(this);
    event->accept();
}
