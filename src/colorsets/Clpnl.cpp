#include "colorsets/Clpnl.h"

#include "colorsets/ColorSetFile.h"

#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>

namespace {

constexpr int kLabelMargin = 1;

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

TColorPnl::TColorPnl(const QString& caption, QWidget* parent) : TKxPanel(parent) {
    setNoPaint(true);
    setBevelOuter(bvNone);
    m_label = new QLabel(caption, this);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAutoFillBackground(true);
    m_edit = new QLineEdit(this);
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        // A pasted line break would split the entry's line in the file.
        const QString clean = ColorSetFile::CleanName(text);
        if (clean != text) {
            const int cursor = m_edit->cursorPosition();
            m_edit->setText(clean);
            m_edit->setCursorPosition(cursor);
            return;
        }
        emit changed(this);
    });
    showColor();
}

TColorPnl::~TColorPnl() = default;

QString TColorPnl::name() const {
    return m_edit->text();
}

void TColorPnl::setName(const QString& name) {
    if (name == m_edit->text()) return;
    m_edit->setText(name);
}

void TColorPnl::setColor(ColorValue color) {
    color &= kColorMask;
    if (color == m_color) return;
    m_color = color;
    showColor();
}

QString TColorPnl::colorText() const {
    return ColorSetFile::KeyOf(m_color);
}

void TColorPnl::showColor() {
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::Window, toQColor(m_color));
    pal.setColor(QPalette::WindowText, toQColor(TextColorFor(m_color)));
    m_label->setPalette(pal);
}

void TColorPnl::resizeEvent(QResizeEvent* event) {
    TKxPanel::resizeEvent(event);
    const int h = height();
    // The caption is a square as high as the tile, inside a one-pixel margin.
    m_label->setGeometry(kLabelMargin, kLabelMargin, h - 2 * kLabelMargin, h - 2 * kLabelMargin);
    m_edit->setGeometry(h, 0, std::max(0, width() - h), h);
}
