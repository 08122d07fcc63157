#include "dialogs/Hintfrm.h"

#include "controls/KxButton.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// Design sizes at 144 pixels per inch.
constexpr int kDesignClientWidth = 547;
constexpr int kDesignClientHeight = 30;
constexpr int kDesignColorWidth = 30;
constexpr int kDesignOkWidth = 56;
constexpr int kDesignCancelWidth = 85;
constexpr int kDesignFontHeight = 18;
// The frame a pop-up without a caption bar still shows around its client area.
constexpr int kFrame = 2;

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QString withoutControls(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return text;
}

} // namespace

THintForm::THintForm(QWidget* owner) : QDialog(owner) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QFont font;
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(scaled(kDesignFontHeight));
    setFont(font);

    LbColor = new QLabel(this);
    LbColor->setAlignment(Qt::AlignCenter);
    LbColor->setAutoFillBackground(true);
    EdHint = new QLineEdit(this);
    ButOk = new TKxButton(this);
    ButOk->setCaption(QStringLiteral("OK"));
    ButOk->setDefault(true);
    ButOk->setModalResult(tmrOK);
    ButCancel = new TKxButton(this);
    ButCancel->setCaption(QStringLiteral("Cancel"));
    ButCancel->setCancel(true);
    ButCancel->setModalResult(tmrCancel);

    const int height = scaled(kDesignClientHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kFrame, kFrame, kFrame, kFrame);
    row->setSpacing(0);
    LbColor->setFixedSize(scaled(kDesignColorWidth), height);
    EdHint->setFixedHeight(height);
    ButOk->setFixedSize(scaled(kDesignOkWidth), height);
    ButCancel->setFixedSize(scaled(kDesignCancelWidth), height);
    row->addWidget(LbColor);
    row->addWidget(EdHint, 1);
    row->addWidget(ButOk);
    row->addWidget(ButCancel);
    resize(scaled(kDesignClientWidth) + 2 * kFrame, height + 2 * kFrame);

    // A name is one line of its set file: a pasted line break becomes a blank.
    connect(EdHint, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString clean = withoutControls(text);
        if (clean == text) return;
        const int cursor = EdHint->cursorPosition();
        EdHint->setText(clean);
        EdHint->setCursorPosition(cursor);
    });
    EdHint->setFocus();
}

THintForm::~THintForm() = default;

int THintForm::scaled(int designPixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

void THintForm::setColor(ColorValue color, const QString& caption) {
    color &= kColorMask;
    QPalette pal = LbColor->palette();
    pal.setColor(QPalette::Window, toQColor(color));
    pal.setColor(QPalette::WindowText, toQColor(TextColorFor(color)));
    LbColor->setPalette(pal);
    LbColor->setText(caption);
}

void THintForm::setHint(const QString& hint) {
    EdHint->setText(hint);
    EdHint->selectAll();
}

QString THintForm::hint() const {
    return withoutControls(EdHint->text());
}

void THintForm::placeOn(const QRect& slotOnScreen) {
    QScreen* screen = QGuiApplication::screenAt(slotOnScreen.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QSize size = this->size();
    QPoint at(slotOnScreen.left(), slotOnScreen.top() - size.height());
    if (screen) {
        const QRect area = screen->availableGeometry();
        if (at.y() < area.top()) at.setY(slotOnScreen.bottom() + 1);
        at.setY(std::clamp(at.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    }
    move(at);
}

void THintForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
