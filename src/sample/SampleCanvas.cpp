#include "sample/SampleCanvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cstring>

namespace {

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

TSampleCanvas::TSampleCanvas() {
    FBack = QImage(10, 10, QImage::Format_RGB32);
    FBack.fill(Qt::black);
}

QString TSampleCanvas::cutText(const QString& text, qsizetype length) {
    if (text.size() <= length) return text;
    if (length > 0 && text.at(length - 1).isHighSurrogate()) --length;
    return text.left(length);
}

void TSampleCanvas::setScreen(Platform::TDesktopPicture picture) {
    if (!picture.ok()) return;
    picture.image = picture.image.convertToFormat(QImage::Format_RGB32);
    // The background is laid out in window pixels: take one picture pixel per window pixel from a
    // high-density picture, without smoothing.
    if (const qreal ratio = picture.image.devicePixelRatio(); ratio != 1.0) {
        picture.image = picture.image.scaled(
            (QSizeF(picture.image.size()) / ratio).toSize().expandedTo(QSize(1, 1)),
            Qt::IgnoreAspectRatio, Qt::FastTransformation);
        picture.image.setDevicePixelRatio(1.0);
    }
    FScreen = std::move(picture);
}

void TSampleCanvas::fitTo(QSize size) {
    const QSize wanted = size.expandedTo(QSize(1, 1));
    if (FBackground.size() == wanted && FBack.size() == wanted) return;
    FBackground = QImage(wanted, QImage::Format_RGB32);
    FBackground.fill(Qt::black);
    FBack = QImage(wanted, QImage::Format_RGB32);
    FLayoutValid = false;
    FStale = true;
}

void TSampleCanvas::refillBackground(QSize size, QPoint topLeft) {
    fitTo(size);
    FBackground.fill(Qt::black);
    if (!FScreen.ok()) return;
    // The window may stand partly off the desktop or left of and above the primary screen: only
    // the part the picture covers is copied, the rest stays black.
    const QRect wanted(topLeft - FScreen.origin, FBackground.size());
    const QRect source = wanted.intersected(FScreen.image.rect());
    if (source.isEmpty()) return;
    const int dx = source.x() - wanted.x();
    const int dy = source.y() - wanted.y();
    const std::size_t bytes = std::size_t(source.width()) * 4;
    for (int y = 0; y < source.height(); ++y) {
        const uchar* from =
            FScreen.image.constScanLine(source.y() + y) + std::size_t(source.x()) * 4;
        uchar* to = FBackground.scanLine(dy + y) + std::size_t(dx) * 4;
        std::memcpy(to, from, bytes);
    }
}

void TSampleCanvas::render(QSize size, const TLook& look, const QStringList& paragraphs) {
    fitTo(size);
    if (look.transparent && look.showText)
        std::memcpy(FBack.bits(), FBackground.constBits(), std::size_t(FBack.sizeInBytes()));
    else
        FBack.fill(toQColor(look.bkgColor));
    if (look.showText) {
        if (!FLayoutValid) layoutText(look.font, paragraphs);
        QPainter painter(&FBack);
        painter.setPen(toQColor(look.textColor));
        painter.setClipRect(
            FBack.rect().adjusted(TextMargin, TextMargin, -TextMargin, -TextMargin));
        for (const auto& layout : FLayouts)
            layout->draw(&painter, QPointF(TextMargin, 0));
    }
    FStale = false;
}

void TSampleCanvas::layoutText(const QFont& font, const QStringList& paragraphs) {
    FLayouts.clear();
    FLayoutValid = true;
    ++FLayoutCount;
    const QRect inner = FBack.rect().adjusted(TextMargin, TextMargin, -TextMargin, -TextMargin);
    if (inner.width() <= 0 || inner.height() <= 0) return;
    const QFontMetrics metrics(font, &FBack);
    const qreal bottom = inner.bottom() + 1;
    // Only what can show is laid out. A paragraph is first cut to about twice what the visible
    // lines hold at the font's average width; only when that runs out before the window's bottom
    // is a longer piece tried, so a huge text costs about what a short one does.
    const qsizetype visibleLines = inner.height() / std::max(1, metrics.height()) + 1;
    const qsizetype perLine = 2 * inner.width() / std::max(1, metrics.averageCharWidth()) + 8;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = inner.top();
    for (const QString& paragraph : paragraphs) {
        if (y >= bottom) break;
        qsizetype take = visibleLines * perLine;
        for (;;) {
            const QString piece = cutText(paragraph, take);
            auto layout = std::make_unique<QTextLayout>(piece, font, &FBack);
            layout->setTextOption(option);
            layout->setCacheEnabled(true);
            layout->beginLayout();
            qreal lineY = y;
            qsizetype laidOut = 0;
            for (;;) {
                QTextLine line = layout->createLine();
                if (!line.isValid()) break;
                line.setLineWidth(inner.width());
                line.setPosition(QPointF(0, lineY));
                lineY += line.height();
                laidOut = line.textStart() + line.textLength();
                if (lineY >= bottom) break;
            }
            layout->endLayout();
            // A piece that ended before the bottom (or within the last line) may have broken
            // its lines differently from the whole paragraph: take more of it.
            const bool complete = piece.size() == paragraph.size() || laidOut < piece.size();
            if (complete) {
                y = lineY;
                FLayouts.push_back(std::move(layout));
                break;
            }
            take *= 2;
        }
    }
}
