#include "sample/SampleExport.h"

#include "pixels/KxPngRC.h"
#include "pixels/Kxbmp.h"
#include "support/FileOps.h"
#include "support/Kxfunctions.h"
#include "support/TextFile.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace SampleExport {

namespace {

constexpr TKxPixel kGround = 0x404040u;
constexpr TKxPixel kInk = 0xFFFFFFu;

// The picture's pixels as RGB32 words; converted only when it is in another format.
QImage asRgb32(const QImage& image) {
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

bool rowDiffers(const TKxPixel* row, int from, int to, TKxPixel key, int& first, int& last) {
    int x = from;
    while (x < to && (row[x] & 0xFFFFFFu) == key)
        ++x;
    if (x == to) return false;
    int y = to - 1;
    while ((row[y] & 0xFFFFFFu) == key)
        --y;
    first = x;
    last = y;
    return true;
}

} // namespace

QString ForcePng(const QString& name) {
    return EnsureExtension(name, QStringLiteral(".png"));
}

QString NextFreeName(const QString& path) {
    if (path.isEmpty()) return {};
    const TNumberedName parts = SplitNumberedName(path);
    qint64 n = parts.number;
    for (int tries = 0; tries < kMaxNumberedTries; ++tries) {
        ++n;
        const QString candidate = ForcePng(parts.stem + QString::number(n) + parts.suffix);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink()) return candidate;
    }
    return {};
}

QRect CropRect(const QImage& source, ColorValue key) {
    if (source.isNull()) return {};
    const QImage image = asRgb32(source);
    const TKxPixel keyPixel = SwapRedBlue(key) & 0xFFFFFFu;
    const int w = image.width();
    const int h = image.height();
    auto row = [&](int y) { return reinterpret_cast<const TKxPixel*>(image.constScanLine(y)); };

    int top = 0;
    int left = 0;
    int right = 0;
    while (top < h && !rowDiffers(row(top), 0, w, keyPixel, left, right))
        ++top;
    if (top == h) return {};
    int bottom = h - 1;
    int first = 0;
    int last = 0;
    while (bottom > top && !rowDiffers(row(bottom), 0, w, keyPixel, first, last))
        --bottom;
    if (bottom > top) {
        left = std::min(left, first);
        right = std::max(right, last);
    }
    // Rows in between can only widen the bounds, so only their parts outside them are read.
    for (int y = top + 1; y < bottom; ++y) {
        const TKxPixel* pixels = row(y);
        for (int x = 0; x < left; ++x)
            if ((pixels[x] & 0xFFFFFFu) != keyPixel) {
                left = x;
                break;
            }
        for (int x = w - 1; x > right; --x)
            if ((pixels[x] & 0xFFFFFFu) != keyPixel) {
                right = x;
                break;
            }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage TextAloneImage(const QString& text, const QFont& font, ColorValue textColor, QSize size) {
    if (size.isEmpty() || text.isEmpty()) return {};
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(kGround);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255));
        const QFontMetrics metrics(font, &canvas);
        const int lineHeight = std::max(1, metrics.height());
        // No glyph that draws anything is narrower than half a pixel, so characters beyond twice
        // the width can only land past the right edge; a huge line is not shaped to no purpose.
        const qsizetype maxChars = qsizetype(size.width()) * 2 + 16;
        int y = 0;
        for (const QString& line : TextFile::splitLines(text)) {
            if (y >= size.height()) break;
            if (!line.isEmpty())
                painter.drawText(QPointF(0, y + metrics.ascent()), line.left(maxChars));
            y += lineHeight;
        }
    }

    const TKxPixel ink = SwapRedBlue(textColor) & 0xFFFFFFu;
    QImage out(size, QImage::Format_ARGB32);
    int left = size.width();
    int right = -1;
    int top = size.height();
    int bottom = -1;
    for (int y = 0; y < size.height(); ++y) {
        const auto* in = reinterpret_cast<const TKxPixel*>(canvas.constScanLine(y));
        auto* dst = reinterpret_cast<TKxPixel*>(out.scanLine(y));
        int rowLeft = -1;
        int rowRight = -1;
        for (int x = 0; x < size.width(); ++x) {
            const TKxPixel p = in[x] & 0xFFFFFFu;
            if (p == kGround) {
                dst[x] = 0;
                continue;
            }
            const TKxPixel alpha = p == kInk ? 255u : TKxPixel(KxPixel::grey(p));
            dst[x] = ink | (alpha << 24);
            if (rowLeft < 0) rowLeft = x;
            rowRight = x;
        }
        if (rowLeft < 0) continue;
        left = std::min(left, rowLeft);
        right = std::max(right, rowRight);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0) return {};
    return out.copy(QRect(QPoint(left, top), QPoint(right, bottom)));
}

TWriteResult WritePng(const QImage& image, bool withAlpha, const QString& path, TWriteMode mode) {
    TWriteResult result;
    const QByteArray data = TKxPngImage::fromImage(image, withAlpha).saveToData();
    if (data.isEmpty()) {
        result.error = QStringLiteral("The picture could not be encoded as PNG");
        return result;
    }
    // Both go through the checked writer: a full disk must leave the old
    // picture in place and say so, never leave a cut-off file behind.
    const FileOps::TResult written = mode == TWriteMode::NewOnly ? FileOps::writeNewFile(path, data)
                                                                 : FileOps::writeFile(path, data);
    result.ok = written.ok;
    result.error = written.error;
    return result;
}

} // namespace SampleExport
