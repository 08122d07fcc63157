#include "controls/KxCheckLabel.h"

#include "pixels/KxImageList.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kTextFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

} // namespace

TKxCheckLabel::TKxCheckLabel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

TKxCheckLabel::~TKxCheckLabel() = default;

// --- properties -----------------------------------------------------------------------------

void TKxCheckLabel::setImages(TKxImageList* images) {
    if (images == FImages) return;
    if (FImages) disconnect(FImages->notifier(), nullptr, this, nullptr);
    FImages = images;
    if (FImages) {
        connect(FImages->notifier(), &TKxImageListNotifier::changed, this,
                [this] { adjustBounds(); });
        connect(FImages->notifier(), &QObject::destroyed, this, [this] {
            FImages = nullptr;
            FHot = false;
            adjustBounds();
        });
    }
    adjustBounds();
}

void TKxCheckLabel::setIndex(int& field, int value) {
    if (field == value) return;
    field = value;
    update();
}

void TKxCheckLabel::setImageIndex(int value) {
    setIndex(FImageIndex, value);
}

void TKxCheckLabel::setImageHotIndex(int value) {
    setIndex(FImageHotIndex, value);
}

void TKxCheckLabel::setImageCheckedIndex(int value) {
    setIndex(FImageCheckedIndex, value);
}

void TKxCheckLabel::setImageHotCheckedIndex(int value) {
    setIndex(FImageHotCheckedIndex, value);
}

void TKxCheckLabel::setImagePos(TKxImgPos value) {
    if (value == FImagePos) return;
    FImagePos = value;
    update();
}

void TKxCheckLabel::setMarginImage(int value) {
    if (value == FMarginImage) return;
    FMarginImage = value;
    update();
}

void TKxCheckLabel::setMarginTextHorz(int value) {
    if (value == FMarginTextHorz) return;
    FMarginTextHorz = value;
    adjustBounds();
}

void TKxCheckLabel::setMarginTextVert(int value) {
    if (value == FMarginTextVert) return;
    FMarginTextVert = value;
    adjustBounds();
}

void TKxCheckLabel::setChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    update();
}

void TKxCheckLabel::setCaption(const QString& value) {
    if (value == FCaption) return;
    FCaption = value;
    adjustBounds();
    update();
}

void TKxCheckLabel::setAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    update();
}

void TKxCheckLabel::setAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    adjustBounds();
}

void TKxCheckLabel::setHot(bool value) {
    if (value == FHot) return;
    FHot = value;
    update();
}

// --- layout ---------------------------------------------------------------------------------

void TKxCheckLabel::measureCaption() {
    if (FCaption.isEmpty()) {
        FCaptionWidth = FCaptionHeight = 0;
        return;
    }
    const QRect r = QFontMetrics(font()).boundingRect(QRect(), kTextFlags, FCaption);
    FCaptionWidth = r.width();
    FCaptionHeight = r.height();
}

void TKxCheckLabel::adjustBounds() {
    // Before the label is polished its font is not final; the layout waits for it.
    if (!FLoaded) return;
    measureCaption();
    if (FAutoSize) {
        int imageWidth = FImages ? FImages->width() : 0;
        const int imageHeight = FImages ? FImages->height() : 0;
        const int content = std::max(FCaptionHeight, imageHeight);
        if (imageWidth != 0) imageWidth += FMarginImage;
        const int w = imageWidth + FCaptionWidth + 2 * FMarginTextHorz;
        const int h = content + 2 * FMarginTextVert;
        // A right-aligned label keeps its right edge, any other its left edge.
        const int left = FAlignment == taRightJustify ? x() + width() - w : x();
        setGeometry(left, y(), w, h);
    }
    update();
}

int TKxCheckLabel::pictureIndex() const {
    if (!FImages) return -1;
    int index = FHot ? FImageHotIndex : FImageIndex;
    if (FChecked && FImageCheckedIndex >= 0)
        index = FHot ? FImageHotCheckedIndex : FImageCheckedIndex;
    // An index the list does not hold shows no picture.
    return index < FImages->count() ? index : -1;
}

// --- painting -------------------------------------------------------------------------------

void TKxCheckLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    QRect r = rect().adjusted(FMarginTextHorz, FMarginTextVert, -FMarginTextHorz, -FMarginTextVert);
    QRect text = r;
    FImageRect = QRect();
    const int index = pictureIndex();
    if (index >= 0) {
        const int w = FImages->width();
        const int h = FImages->height();
        const int d = FCaptionWidth > 0 ? FCaptionWidth + FMarginImage : 0;
        int left = r.left();
        int right = r.left() + r.width(); // exclusive
        if (FAlignment == taRightJustify)
            left = right - w - d;
        else if (FAlignment == taCenter)
            left += (r.width() - w - d) / 2;
        if (FAlignment != taRightJustify) right = left + w + d;
        const int top = r.top() + (r.height() - h) / 2;
        if (FImagePos == aimpRight) {
            FImageRect = QRect(right - w, top, w, h);
            text = QRect(left, r.top(), right - w - FMarginImage - left, r.height());
        } else {
            FImageRect = QRect(left, top, w, h);
            text = QRect(left + w + FMarginImage, r.top(), right - left - w - FMarginImage,
                         r.height());
        }
        painter.drawImage(FImageRect.topLeft(), FImages->image(index));
    }
    FCaptionRect = text;
    if (FCaption.isEmpty()) return;
    const int horizontal = FAlignment == taRightJustify ? Qt::AlignRight
                           : FAlignment == taCenter     ? Qt::AlignHCenter
                                                        : Qt::AlignLeft;
    painter.drawText(text, horizontal | Qt::AlignVCenter | kTextFlags, FCaption);
}

// --- events ---------------------------------------------------------------------------------

bool TKxCheckLabel::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Laid out once its font is final, before the first paint; never inside a paint.
    if (event->type() == QEvent::Polish && !FLoaded) {
        FLoaded = true;
        adjustBounds();
    }
    return handled;
}

void TKxCheckLabel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (isEnabled() && FImages) setHot(true);
}

void TKxCheckLabel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // Always, so that a label disabled or emptied while hovered does not keep its hot picture.
    setHot(false);
}

void TKxCheckLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            setHot(false);
            FPressed = false;
        }
        update();
        break;
    case QEvent::FontChange:
        adjustBounds();
        break;
    default:
        break;
    }
}

void TKxCheckLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FPressed = true;
    event->accept();
}

void TKxCheckLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && FPressed &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) FPressed = false;
    event->accept();
    if (click) Click();
}

void TKxCheckLabel::Click() {
    if (FCheckedLabel) {
        FChecked = !FChecked;
        update();
    }
    emit clicked();
}
