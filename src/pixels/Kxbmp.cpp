#include "pixels/Kxbmp.h"

#include "colour/ColorQt.h"
#include "pixels/KxImageList.h"

#include <QDebug>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

using KxPixel::channel;
using KxPixel::mix;
using KxPixel::withChannels;

const char* const kNoBitmap = "No Bitmap Created";
const char* const kNoDibSection = "No DibSection";
const char* const kScanlineRange = "Scanlines Out of Range";
const char* const kPixelYRange = "Pixel Y Value out of Range";
const char* const kPixelXRange = "Pixel X Value out of Range";

// Writes the first pixels one by one and then doubles the filled block with block copies: far
// fewer stores than a plain loop on wide runs.
void fillRun(TKxPixel* p, std::size_t n, TKxPixel value) noexcept {
    const std::size_t head = std::min<std::size_t>(n, 32);
    for (std::size_t i = 0; i < head; ++i)
        p[i] = value;
    std::size_t done = head;
    while (done < n) {
        const std::size_t chunk = std::min(done, n - done);
        std::memcpy(p + done, p, chunk * sizeof(TKxPixel));
        done += chunk;
    }
}

// The grey blend of drawToBmp: (g × a + channel × (255 − a)) >> 8, all three channels g above 240.
constexpr TKxPixel greyMix(TKxPixel target, TKxPixel source, int a) noexcept {
    const int g = KxPixel::grey(source);
    if (a > 240) return withChannels(target, g, g, g);
    const int na = 255 - a;
    return withChannels(target, (g * a + channel(target, 16) * na) >> 8,
                        (g * a + channel(target, 8) * na) >> 8,
                        (g * a + channel(target, 0) * na) >> 8);
}

std::function<void(const QString&)>& messageReporter() {
    static std::function<void(const QString&)> reporter;
    return reporter;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Buffers

void TKxColorBuf::setCount(int count) {
    FCount = std::max(count, 0);
    FData.assign(static_cast<std::size_t>(FCount) + 1, TKxColor());
    FCurrent = FData.data();
}

void TKxByteBuf::setCount(int count) {
    FCount = std::max(count, 0);
    FData.assign(static_cast<std::size_t>(FCount) + 1, 0);
}

void TKxByteBuf::fillRamp(int from, int to) {
    KxPixel::TChannelRamp ramp(from, to, FCount);
    for (int i = 0; i < FCount; ++i)
        FData[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(ramp.next());
}

// ---------------------------------------------------------------------------------------------
// Life cycle

TKxBmp::TKxBmp(int width, int height, const TKxDC* referenceDC) {
    TKxBmp::initHandles();
    FWidth = width;
    FHeight = height;
    TKxBmp::create(referenceDC);
}

TKxBmp::~TKxBmp() {
    freeBitmap(true);
}

void TKxBmp::initHandles() {
    FPixels.reset();
    FDC.reset();
    FBits = nullptr;
    FFontCreated = false;
}

void TKxBmp::create(const TKxDC* /*referenceDC*/) {
    if (FWidth == 0 || FHeight == 0) {
        if (FBits || FDC) freeBitmap(true);
        return;
    }
    // A size that cannot be made is a failed creation: no pixels and no context, nothing said.
    constexpr std::int64_t kMaxPixels = std::numeric_limits<int>::max() / 4;
    if (FWidth < 0 || FHeight < 0 || std::int64_t(FWidth) * FHeight > kMaxPixels) {
        freeBitmap(true);
        return;
    }
    if (!FDC) FDC = std::make_unique<TKxDC>();
    const std::size_t count = std::size_t(FWidth) * std::size_t(FHeight);
    FPixels = std::make_unique_for_overwrite<TKxPixel[]>(count);
    std::memset(FPixels.get(), 255, count * sizeof(TKxPixel));
    FBits = reinterpret_cast<std::uint8_t*>(FPixels.get());
    FStride = FWidth * 4;
    FBounds = QRect(0, 0, FWidth, FHeight);
}

void TKxBmp::assign(const TKxBmp* source) {
    if (!source || source == this) return;
    freeBitmap(false);
    FWidth = source->FWidth;
    FHeight = source->FHeight;
    create(source->dc());
    if (FBits && source->FBits)
        std::memcpy(FBits, source->FBits, std::size_t(FStride) * std::size_t(FHeight));
}

void TKxBmp::freeBitmap(bool deleteDC) {
    FPixels.reset();
    FBits = nullptr;
    if (deleteDC) FDC.reset();
    FBounds = QRect();
}

void TKxBmp::setSize(int width, int height, bool keepContent, bool halftone, bool stretch) {
    if (!FBits) {
        freeBitmap(true);
        FWidth = width;
        FHeight = height;
        create(nullptr);
        return;
    }
    // The old picture stays alive until it has been copied into the new pixels.
    std::unique_ptr<TKxPixel[]> oldPixels = std::move(FPixels);
    const int oldWidth = FWidth;
    const int oldHeight = FHeight;
    FBits = nullptr;
    FBounds = QRect();
    FDC.reset();
    FWidth = width;
    FHeight = height;
    create(nullptr);
    if (!keepContent || !FBits) return;
    if (stretch) {
        stretchInto(oldPixels.get(), oldWidth, oldHeight, halftone);
        return;
    }
    const int w = std::min(oldWidth, FWidth);
    const int h = std::min(oldHeight, FHeight);
    for (int y = 0; y < h; ++y)
        std::memcpy(FBits + std::size_t(y) * FStride, oldPixels.get() + std::size_t(y) * oldWidth,
                    std::size_t(w) * 4);
}

void TKxBmp::stretchInto(const TKxPixel* source, int sourceWidth, int sourceHeight, bool smooth) {
    // The four bytes are scaled each on its own, as a blit of raw pixels does: the toolkit's
    // scaler weighs colour by alpha and would turn see-through pixels black. The colour goes
    // through an opaque image and the alpha through the channels of a grey one.
    QImage colour(sourceWidth, sourceHeight, QImage::Format_RGB32);
    QImage alpha(sourceWidth, sourceHeight, QImage::Format_RGB32);
    // Pictures too large for the toolkit leave the new bitmap white.
    if (colour.isNull() || alpha.isNull()) return;
    for (int y = 0; y < sourceHeight; ++y) {
        const TKxPixel* from = source + std::size_t(y) * std::size_t(sourceWidth);
        auto* c = reinterpret_cast<TKxPixel*>(colour.scanLine(y));
        auto* a = reinterpret_cast<TKxPixel*>(alpha.scanLine(y));
        for (int x = 0; x < sourceWidth; ++x) {
            c[x] = from[x] | 0xFF000000u;
            a[x] = (from[x] >> 24) * 0x010101u | 0xFF000000u;
        }
    }
    const Qt::TransformationMode mode = smooth ? Qt::SmoothTransformation : Qt::FastTransformation;
    const QImage colourScaled = colour.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, mode)
                                    .convertToFormat(QImage::Format_RGB32);
    const QImage alphaScaled = alpha.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, mode)
                                   .convertToFormat(QImage::Format_RGB32);
    if (colourScaled.isNull() || alphaScaled.isNull()) return;
    for (int y = 0; y < FHeight; ++y) {
        const auto* c = reinterpret_cast<const TKxPixel*>(colourScaled.constScanLine(y));
        const auto* a = reinterpret_cast<const TKxPixel*>(alphaScaled.constScanLine(y));
        TKxPixel* to = pixelRow(y);
        for (int x = 0; x < FWidth; ++x)
            to[x] = (c[x] & 0x00FFFFFFu) | ((a[x] & 0xFFu) << 24);
    }
}

void TKxBmp::setBitmapSize(int width, int height, bool keepContent) {
    width = std::abs(width);
    height = std::abs(height);
    if (width == FWidth && height == FHeight) return;
    setSize(width, height, keepContent, false, false);
}

void TKxBmp::setWidth(int width) {
    width = std::abs(width);
    if (width != FWidth) setSize(width, FHeight, true, false, false);
}

void TKxBmp::setHeight(int height) {
    height = std::abs(height);
    if (height != FHeight) setSize(FWidth, height, true, false, false);
}

QImage TKxBmp::imageView() {
    if (!FBits) return {};
    return QImage(FBits, FWidth, FHeight, FStride, QImage::Format_ARGB32);
}

QImage TKxBmp::imageView() const {
    if (!FBits) return {};
    // Read-only: a write to it makes its own copy.
    return QImage(static_cast<const uchar*>(FBits), FWidth, FHeight, FStride,
                  QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------------------------
// Pixel access

const std::uint8_t* TKxBmp::scanLine(int row) const {
    if (!FBits) throw EInvalidGraphicOperation(kNoDibSection);
    if (row > FHeight - 1 || row < 0) {
        qDebug().noquote()
            << QStringLiteral("(Row > FHeight-1 || Row < 0) %1  %2").arg(row).arg(FHeight - 1);
        throw EInvalidGraphicOperation(kScanlineRange);
    }
    return FBits + std::size_t(row) * std::size_t(FStride);
}

std::uint8_t* TKxBmp::scanLine(int row) {
    return const_cast<std::uint8_t*>(std::as_const(*this).scanLine(row));
}

TKxColor TKxBmp::getPixel(int x, int y) const {
    if (!FBits) throw EInvalidGraphicOperation(kNoDibSection);
    if (y < 0 || y > FHeight - 1) throw EInvalidGraphicOperation(kPixelYRange);
    if (x < 0 || x > FWidth - 1) throw EInvalidGraphicOperation(kPixelXRange);
    return TKxColor::fromPixel(FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)]);
}

bool TKxBmp::clipRect(QRect& rect) const {
    // Exclusive edges in 64 bits, so no rectangle can overflow on the way.
    const std::int64_t left = std::max<std::int64_t>(rect.x(), FBounds.x());
    const std::int64_t top = std::max<std::int64_t>(rect.y(), FBounds.y());
    // right() and bottom() rather than the width and height, which overflow for a rectangle
    // spanning more than the int range.
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t(rect.right()) + 1, FBounds.width());
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t(rect.bottom()) + 1, FBounds.height());
    if (right <= left || bottom <= top) {
        rect = QRect(int(left), int(top), 0, 0);
        return false;
    }
    rect = QRect(int(left), int(top), int(right - left), int(bottom - top));
    return true;
}

bool TKxBmp::contextGuard(QRect& rect) const {
    if (!FDC) throw EInvalidGraphicOperation(kNoBitmap);
    return clipRect(rect);
}

bool TKxBmp::pixelGuard(QRect& rect) const {
    if (!FBits) throw EInvalidGraphicOperation(kNoBitmap);
    return clipRect(rect);
}

TKxPixel* TKxBmp::pixelAt(int x, int y) noexcept {
    if (!FBits || x < 0 || y < 0 || x >= FBounds.width() || y >= FBounds.height()) return nullptr;
    return FPixels.get() + std::size_t(y) * std::size_t(FWidth) + std::size_t(x);
}

// ---------------------------------------------------------------------------------------------
// Fills and gradients

void TKxBmp::fill(TKxColor colour) {
    if (!FBits) return;
    fillRun(FPixels.get(), std::size_t(FWidth) * std::size_t(FHeight), colour.toPixel());
}

void TKxBmp::fillRect(TKxColor colour, QRect rect) {
    if (!pixelGuard(rect)) return;
    TKxPixel* first = pixelRow(rect.y()) + rect.x();
    if (rect.width() == FWidth) {
        fillRun(first, std::size_t(FWidth) * std::size_t(rect.height()), colour.toPixel());
        return;
    }
    fillRun(first, std::size_t(rect.width()), colour.toPixel());
    for (int y = 1; y < rect.height(); ++y)
        std::memcpy(first + std::size_t(y) * FWidth, first, std::size_t(rect.width()) * 4);
}

void TKxBmp::clearRect(QRect rect) {
    if (!contextGuard(rect)) return;
    for (int y = rect.y(); y <= rect.bottom(); ++y)
        std::memset(pixelRow(y) + rect.x(), 0, std::size_t(rect.width()) * 4);
}

void TKxBmp::gradientRect(bool vertical, TKxColor startColour, TKxColor endColour, QRect rect) {
    if (!pixelGuard(rect)) return;
    if (vertical) {
        KxPixel::TColourRamp ramp(startColour, endColour, rect.height());
        for (int y = rect.y(); y <= rect.bottom(); ++y)
            fillRun(pixelRow(y) + rect.x(), std::size_t(rect.width()), ramp.next());
        return;
    }
    TKxPixel* first = pixelRow(rect.y()) + rect.x();
    KxPixel::ramp(first, rect.width(), startColour, endColour);
    for (int y = 1; y < rect.height(); ++y)
        std::memcpy(first + std::size_t(y) * FWidth, first, std::size_t(rect.width()) * 4);
}

void TKxBmp::pipeRect(bool vertical, int shade, bool mirrored, TKxColor baseColour,
                      TKxColor highlightColour, QRect rect) {
    if (!contextGuard(rect)) return;
    const int length = vertical ? rect.height() : rect.width();
    const int split = mirrored ? length * 3 / 5 : length * 2 / 5;
    const int rest = length - split;
    const TKxColor dark = TKxColor::fromPixel(KxPixel::darken(baseColour.toPixel(), shade));
    const TKxColor first = mirrored ? dark : baseColour;
    const TKxColor last = mirrored ? baseColour : dark;

    if (vertical) {
        int y = rect.y();
        KxPixel::TColourRamp upper(first, highlightColour, split);
        for (int i = 0; i < split; ++i, ++y)
            fillRun(pixelRow(y) + rect.x(), std::size_t(rect.width()), upper.next());
        KxPixel::TColourRamp lower(highlightColour, last, rest);
        for (int i = 0; i < rest; ++i, ++y)
            fillRun(pixelRow(y) + rect.x(), std::size_t(rect.width()), lower.next());
        return;
    }

    TKxPixel* row = pixelRow(rect.y()) + rect.x();
    // split + 1 pixels up to the highlight, but never more than the rectangle holds.
    const int upperCount = std::min(split + 1, length);
    KxPixel::rampCut(row, upperCount, split + 1, first, highlightColour);
    // The falling side starts from the pixel before the highlight (the first pixel when the
    // highlight is the first) and is cut off at the right edge.
    if (split + 1 < length) {
        const TKxColor from = TKxColor::fromPixel(row[std::max(split - 1, 0)]);
        KxPixel::rampCut(row + split + 1, length - split - 1, rest, from, last);
    }
    for (int y = 1; y < rect.height(); ++y)
        std::memcpy(row + std::size_t(y) * FWidth, row, std::size_t(rect.width()) * 4);
}

// ---------------------------------------------------------------------------------------------
// Copying

void TKxBmp::drawTo(QPainter& painter, int x, int y, QRect sourceRect) const {
    const QPoint asked = sourceRect.topLeft();
    if (!FBits || !clipRect(sourceRect)) return;
    // Every pixel lands where it would from the whole rectangle: a part cut off at the left or top
    // moves the destination on by as much.
    x += sourceRect.x() - asked.x();
    y += sourceRect.y() - asked.y();
    // A screen copy ignores alpha. Where every pixel of the area is opaque the pixels go to the
    // painter as they are; otherwise an opaque copy of the area goes instead.
    bool opaque = true;
    for (int row = sourceRect.y(); opaque && row <= sourceRect.bottom(); ++row) {
        const TKxPixel* p = pixelRow(row) + sourceRect.x();
        for (int i = 0; i < sourceRect.width(); ++i) {
            if ((p[i] >> 24) != 0xFF) {
                opaque = false;
                break;
            }
        }
    }
    if (opaque) {
        const QImage view(FBits, FWidth, FHeight, FStride, QImage::Format_RGB32);
        painter.drawImage(QPoint(x, y), view, sourceRect);
        return;
    }
    QImage copy(sourceRect.size(), QImage::Format_RGB32);
    for (int row = 0; row < sourceRect.height(); ++row) {
        const TKxPixel* from = pixelRow(sourceRect.y() + row) + sourceRect.x();
        auto* to = reinterpret_cast<TKxPixel*>(copy.scanLine(row));
        for (int i = 0; i < sourceRect.width(); ++i)
            to[i] = from[i] | 0xFF000000u;
    }
    painter.drawImage(QPoint(x, y), copy);
}

void TKxBmp::drawToBmp(TKxBmp* target, int x, int y, int mode) const {
    if (!target || !FDC || !FBits || !target->FBits) return;
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (std::int64_t(x) + FWidth > target->FWidth) x = target->FWidth - FWidth;
    if (std::int64_t(y) + FHeight > target->FHeight) y = target->FHeight - FHeight;
    if (x < 0 || y < 0) return;

    // The width is read once: a row pointer of pixel words could otherwise alias it.
    const int width = FWidth;
    for (int row = 0; row < FHeight; ++row) {
        const TKxPixel* src = pixelRow(row);
        TKxPixel* dst = target->pixelRow(y + row) + x;
        switch (mode) {
        case 0:
            KxPixel::blendRow(dst, src, width);
            break;
        case 1:
        case 2:
            for (int i = 0; i < width; ++i) {
                const int a = int(src[i] >> 24);
                if (a < 15) continue;
                const TKxPixel b = a > 240 ? src[i] : mix(dst[i], src[i], a);
                const TKxPixel half = KxPixel::average(dst[i], b);
                dst[i] = mode == 1 ? KxPixel::average(half, b) : half;
            }
            break;
        case 4:
            for (int i = 0; i < width; ++i) {
                const int a = int(src[i] >> 24);
                if (a >= 15) dst[i] = greyMix(dst[i], src[i], a);
            }
            break;
        case 5:
        case 6:
            for (int i = 0; i < width; ++i) {
                const int a = int(src[i] >> 24);
                if (a < 15) continue;
                const TKxPixel b = greyMix(dst[i], src[i], a);
                const TKxPixel half = KxPixel::average(dst[i], b);
                dst[i] = mode == 5 ? KxPixel::average(half, b) : half;
            }
            break;
        default:
            // A bitmap may be drawn onto itself.
            std::memmove(dst, src, std::size_t(width) * 4);
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Whole-bitmap conversions

void TKxBmp::greyScale() {
    if (!FBits) return;
    const std::size_t count = std::size_t(FWidth) * std::size_t(FHeight);
    TKxPixel* p = FPixels.get();
    for (std::size_t i = 0; i < count; ++i) {
        const int g = KxPixel::grey(p[i]);
        p[i] = withChannels(p[i], g, g, g);
    }
}

void TKxBmp::premultiplyAlpha() {
    if (!FBits) return;
    const std::size_t count = std::size_t(FWidth) * std::size_t(FHeight);
    TKxPixel* p = FPixels.get();
    for (std::size_t i = 0; i < count; ++i) {
        const int a = int(p[i] >> 24);
        if (a > 250) continue;
        p[i] = withChannels(p[i], channel(p[i], 16) * a >> 8, channel(p[i], 8) * a >> 8,
                            channel(p[i], 0) * a >> 8);
    }
}

bool TKxBmp::copyFromImageList(const TKxImageList& imageList, int index) {
    if (!FBits || imageList.width() != FWidth || imageList.height() != FHeight) return false;
    const QImage image = imageList.image(index);
    if (image.isNull()) {
        reportMessage(QStringLiteral("CopyImageFromImageList\r\nERROR_INVALID_PARAMETER"));
        return false;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(scanLine(y), argb.constScanLine(y), std::size_t(FStride));
    return true;
}

void TKxBmp::setMessageReporter(std::function<void(const QString&)> reporter) {
    messageReporter() = std::move(reporter);
}

void TKxBmp::reportMessage(const QString& message) {
    if (messageReporter())
        messageReporter()(message);
    else
        QMessageBox::warning(nullptr, QString(), message);
}

// ---------------------------------------------------------------------------------------------
// Text

bool TKxBmp::setFont(const QString& name, int size, std::uint32_t colour, int pixelsPerInch,
                     int style) {
    return setFont(QStringList{name}, size, colour, pixelsPerInch, style);
}

bool TKxBmp::setFont(const QStringList& families, int size, std::uint32_t colour, int pixelsPerInch,
                     int style) {
    if (!FDC) return false;
    QStringList names;
    for (const QString& family : families)
        names << family.left(32);
    QFont font;
    font.setFamilies(names);
    // Left to itself, a font mapper may answer a missing face with a serif one (Windows' does).
    font.setStyleHint(QFont::SansSerif);
    const int pixels = size * pixelsPerInch / 72;
    if (pixels > 0) font.setPixelSize(pixels);
    font.setWeight((style & fsBold) ? QFont::Bold : QFont::Normal);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    FFont = font;
    FFontCreated = true;
    if (colour != 1) setTextColor(colour);
    return true;
}

bool TKxBmp::setFontFrom(const QFont& font, std::uint32_t colour, int pixelsPerInch) {
    if (font.pointSize() <= 0) {
        // A font sized in pixels is taken as it is: sharing the widget's font shares the face it
        // has already loaded.
        if (!FDC) return false;
        FFont = font;
        FFontCreated = true;
        if (colour != 1) setTextColor(colour);
        return true;
    }
    int style = 0;
    if (font.bold()) style |= fsBold;
    if (font.italic()) style |= fsItalic;
    if (font.underline()) style |= fsUnderline;
    if (font.strikeOut()) style |= fsStrikeOut;
    return setFont(font.families(), font.pointSize(), colour, pixelsPerInch, style);
}

std::uint32_t TKxBmp::setTextColor(std::uint32_t colour) {
    if (!FDC) {
        throw EInvalidGraphicOperation(
            QStringLiteral("SetFontColor returned CLR_INVALID\r\nGetLastErrer says: ") +
            QString::fromStdString(std::system_category().message(EBADF)));
    }
    const std::uint32_t previous = FDC->textColor;
    FDC->textColor = colour & 0x00FFFFFFu;
    return previous;
}

void TKxBmp::setTextTransparent(bool on) {
    if (FDC) FDC->transparent = on;
}

bool TKxBmp::drawText(const QString& text, int format, QRect rect) {
    if (!contextGuard(rect)) return false;
    QImage view = imageView();
    QPainter painter(&view);
    painter.setClipRect(rect);
    painter.setFont(FFont);
    if (!FDC->transparent) {
        const QRect cell = painter.boundingRect(rect, format, text) & rect;
        painter.fillRect(cell, toQColor(FDC->backColor));
    }
    painter.setPen(toQColor(FDC->textColor));
    painter.drawText(rect, format, text);
    return true;
}

bool TKxBmp::drawTextColoured(const QString& text, int format, std::uint32_t colour, QRect rect) {
    const std::uint32_t previous = setTextColor(colour);
    const bool drawn = drawText(text, format, rect);
    setTextColor(previous);
    return drawn;
}

bool TKxBmp::calcTextRect(QRect& rect, const QString& text, bool singleLine) {
    if (!FDC) throw EInvalidGraphicOperation(kNoBitmap);
    const QFontMetrics metrics(FFont);
    if (singleLine) {
        QString line = text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
        rect.setSize(QSize(metrics.horizontalAdvance(line), metrics.height()));
        return true;
    }
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    rect.setSize(QSize(needed.width(), text.isEmpty() ? metrics.height() : needed.height()));
    return true;
}

void TKxBmp::drawFocusRect(QRect rect) {
    if (!contextGuard(rect)) return;
    // A dotted ring drawn by inverting every other pixel, so drawing it twice removes it.
    const auto invert = [this](int x, int y) {
        if (((x + y) & 1) == 0) {
            TKxPixel& p = pixelRow(y)[x];
            p ^= 0x00FFFFFFu;
        }
    };
    const int left = rect.x();
    const int right = rect.right();
    const int top = rect.y();
    const int bottom = rect.bottom();
    for (int x = left; x <= right; ++x) {
        invert(x, top);
        if (bottom != top) invert(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        invert(left, y);
        if (right != left) invert(right, y);
    }
}
