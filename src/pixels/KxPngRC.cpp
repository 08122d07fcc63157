#include "pixels/KxPngRC.h"

#include "pixels/KxImageList.h"
#include "support/FileOps.h"

#include <QDebug>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

int gScreenPpi = 0;

QImage opaqueCopy(const QImage& source) {
    QImage out = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    return out;
}

// The canvas area at `at` of the given size; what lies outside the canvas
// stays white, like a fresh bitmap.
QImage grabBackground(const QImage& canvas, QPoint at, QSize size) {
    QImage background(size, QImage::Format_ARGB32);
    background.fill(0xFFFFFFFFu);
    const QRect area = QRect(at, size) & canvas.rect();
    for (int row = area.top(); row <= area.bottom(); ++row) {
        const auto* in = reinterpret_cast<const quint32*>(canvas.constScanLine(row));
        auto* out = reinterpret_cast<quint32*>(background.scanLine(row - at.y()));
        std::memcpy(out + (area.left() - at.x()), in + area.left(),
                    static_cast<size_t>(area.width()) * 4);
    }
    return background;
}

bool isReadable(const QImage& canvas) {
    const auto f = canvas.format();
    return f == QImage::Format_ARGB32 || f == QImage::Format_RGB32;
}

} // namespace

TKxPngImage TKxPngImage::fromImage(const QImage& image, bool withAlpha) {
    TKxPngImage png;
    if (image.isNull()) return png;
    // Non-premultiplied first, so that colours under low alpha survive.
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    png.FPixels = withAlpha ? straight : opaqueCopy(straight);
    png.FHasAlpha = withAlpha;
    return png;
}

bool TKxPngImage::loadFromData(const QByteArray& data) {
    FError.clear();
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.constData(),
                                          static_cast<size_t>(data.size()))) {
        FError = QString::fromLatin1(image.message);
        png_image_free(&image);
        return false;
    }
    if (static_cast<qint64>(image.width) * image.height > MaxPixels) {
        FError = QStringLiteral("The picture is too large: %1 x %2 pixels, at most %3 are read.")
                     .arg(image.width)
                     .arg(image.height)
                     .arg(MaxPixels);
        png_image_free(&image);
        return false;
    }
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_BGRA;
    QImage pixels(static_cast<int>(image.width), static_cast<int>(image.height),
                  QImage::Format_ARGB32);
    if (pixels.isNull()) {
        FError = QStringLiteral("Out of memory");
        png_image_free(&image);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, pixels.bits(),
                               static_cast<png_int_32>(pixels.bytesPerLine()), nullptr)) {
        FError = QString::fromLatin1(image.message);
        png_image_free(&image);
        return false;
    }
    FPixels = std::move(pixels);
    FHasAlpha = alpha;
    return true;
}

bool TKxPngImage::loadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        FError = file.errorString();
        return false;
    }
    return loadFromData(file.readAll());
}

QByteArray TKxPngImage::saveToData() const {
    if (FPixels.isNull()) return {};
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(FPixels.width());
    image.height = static_cast<png_uint_32>(FPixels.height());
    QImage rows;
    if (FHasAlpha) {
        image.format = PNG_FORMAT_BGRA;
        rows = FPixels;
    } else {
        image.format = PNG_FORMAT_RGB;
        rows = FPixels.convertToFormat(QImage::Format_RGB888);
    }
    const auto stride = static_cast<png_int_32>(rows.bytesPerLine());
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows.constBits(), stride, nullptr)) {
        png_image_free(&image);
        return {};
    }
    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rows.constBits(), stride,
                                   nullptr)) {
        png_image_free(&image);
        return {};
    }
    out.resize(static_cast<qsizetype>(size));
    return out;
}

bool TKxPngImage::saveToFile(const QString& path) {
    FError.clear();
    const QByteArray data = saveToData();
    if (data.isEmpty()) {
        FError = FPixels.isNull() ? QStringLiteral("There is no picture to save.")
                                  : QStringLiteral("The picture could not be encoded as PNG.");
        return false;
    }
    const FileOps::TResult written = FileOps::writeFile(path, data);
    FError = written.error;
    return written.ok;
}

TKxPngRC::TKxPngRC(QObject* owner) : QObject(owner) {}

int TKxPngRC::screenPixelsPerInch() {
    if (gScreenPpi <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        gScreenPpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
        if (gScreenPpi <= 0) gScreenPpi = 96;
    }
    return gScreenPpi;
}

void TKxPngRC::setScreenPixelsPerInch(int ppi) {
    gScreenPpi = ppi;
}

void TKxPngRC::setAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    if (FAutoSize && !FLoading) resizePng();
}

void TKxPngRC::imageChanged() {
    FCache = QImage();
    if (FAutoSize && !FLoading) resizePng();
}

void TKxPngRC::setImage(const TKxPngImage& image) {
    FImage = image;
    imageChanged();
}

bool TKxPngRC::LoadFromFile(const QString& path) {
    TKxPngImage image;
    if (!image.loadFromFile(path)) return false;
    setImage(image);
    return true;
}

bool TKxPngRC::LoadFromData(const QByteArray& data) {
    TKxPngImage image;
    FLoading = true;
    const bool ok = image.loadFromData(data);
    if (ok) FImage = image;
    FLoading = false;
    if (ok) imageChanged();
    return ok;
}

void TKxPngRC::resizePng() {
    const int ppi = screenPixelsPerInch();
    if (FImage.isNull() || FSourceDPI <= 0 || ppi >= FSourceDPI) return;
    // A picture never shrinks to nothing: a pixel or two stays at least one.
    const int w = std::max(1, FImage.width() * ppi / FSourceDPI);
    const int h = std::max(1, FImage.height() * ppi / FSourceDPI);
    FSourceDPI = ppi;
    FCache = QImage();
    const QImage& src = FImage.pixels();
    // Colours and alpha are stretched apart, so that colours of transparent
    // pixels never bleed into their visible neighbours through the alpha.
    QImage colours = opaqueCopy(src).scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    colours = colours.convertToFormat(QImage::Format_ARGB32);
    if (!FImage.hasAlpha()) {
        FImage = TKxPngImage::fromImage(colours, false);
        return;
    }
    QImage alpha(src.width(), src.height(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const quint32*>(src.constScanLine(y));
        auto* out = reinterpret_cast<quint32*>(alpha.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const quint32 a = in[x] >> 24;
            out[x] = 0xFF000000u | (a << 16) | (a << 8) | a;
        }
    }
    alpha = alpha.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* c = reinterpret_cast<quint32*>(colours.scanLine(y));
        const auto* a = reinterpret_cast<const quint32*>(alpha.constScanLine(y));
        for (int x = 0; x < w; ++x)
            c[x] = (c[x] & 0x00FFFFFFu) | ((a[x] & 0xFFu) << 24);
    }
    FImage = TKxPngImage::fromImage(colours, true);
}

void TKxPngRC::blendOver(const QImage& background) {
    const QImage& src = FImage.pixels();
    FCache = background;
    if (!FImage.hasAlpha()) {
        FCache = src;
        return;
    }
    for (int y = 0; y < FCache.height(); ++y) {
        auto* out = reinterpret_cast<quint32*>(FCache.scanLine(y));
        const auto* in = reinterpret_cast<const quint32*>(src.constScanLine(y));
        for (int x = 0; x < FCache.width(); ++x)
            out[x] = KxPngBlendPixel(out[x], in[x]);
    }
}

void TKxPngRC::Draw(QImage& canvas, int x, int y, bool refreshBackground) {
    if (!isReadable(canvas)) {
        QPainter p(&canvas);
        Draw(p, x, y, refreshBackground);
        return;
    }
    if (FAutoSize && !FLoading) resizePng();
    if (FImage.isNull()) return;
    if (FCache.isNull() || refreshBackground || !FCacheFromBackground) {
        blendOver(grabBackground(canvas, QPoint(x, y), FImage.pixels().size()));
        FCacheFromBackground = true;
    }
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x, y), FCache);
}

void TKxPngRC::Draw(QPainter& canvas, int x, int y, bool refreshBackground) {
    QPaintDevice* device = canvas.device();
    const QTransform& t = canvas.worldTransform();
    if (device && device->devType() == QInternal::Image &&
        isReadable(*static_cast<const QImage*>(device)) && t.type() <= QTransform::TxTranslate) {
        // Read the background straight from the image under the painter.
        const auto* image = static_cast<const QImage*>(device);
        if (FAutoSize && !FLoading) resizePng();
        if (FImage.isNull()) return;
        if (FCache.isNull() || refreshBackground || !FCacheFromBackground) {
            const QPoint at = t.map(QPoint(x, y));
            blendOver(grabBackground(*image, at, FImage.pixels().size()));
            FCacheFromBackground = true;
        }
        const auto mode = canvas.compositionMode();
        canvas.setCompositionMode(QPainter::CompositionMode_Source);
        canvas.drawImage(QPoint(x, y), FCache);
        canvas.setCompositionMode(mode);
        return;
    }
    // A window cannot be read back: keep the thresholds by snapping the alpha
    // and let the painter blend.
    if (FAutoSize && !FLoading) resizePng();
    if (FImage.isNull()) return;
    if (FCache.isNull() || FCacheFromBackground) {
        FCache = FImage.pixels();
        for (int row = 0; row < FCache.height(); ++row) {
            auto* px = reinterpret_cast<quint32*>(FCache.scanLine(row));
            for (int col = 0; col < FCache.width(); ++col) {
                const quint32 a = px[col] >> 24;
                if (a < 8)
                    px[col] &= 0x00FFFFFFu;
                else if (a > 240)
                    px[col] |= 0xFF000000u;
            }
        }
        FCacheFromBackground = false;
    }
    canvas.drawImage(QPoint(x, y), FCache);
}

int TKxPngRC::AddToImageList(TKxImageList& list) {
    if (FAutoSize && !FLoading) resizePng();
    if (FImage.isNull()) return -1;
    return list.add(opaqueCopy(FImage.pixels()));
}
