#include "picker/PickView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kLinePixel = 0xFF000000u;
// Below this zoom the grid would be too dense to see the blocks.
constexpr int kMinGridSpacing = 12;
constexpr int kMaxZoom = TPickView::kZoomCeiling + 2;

int zoomStep(int zoom) {
    if (zoom < 6) return 1;
    if (zoom < 12) return 2;
    if (zoom < 24) return 3;
    return 4;
}

// Rounds towards negative infinity, so positions left of the first block get a negative index.
int floorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

void TPickView::setPicture(const QImage& picture, QPoint origin) {
    FPicture = picture.format() == QImage::Format_ARGB32 || picture.format() == QImage::Format_RGB32
                   ? picture
                   : picture.convertToFormat(QImage::Format_ARGB32);
    FOrigin = origin;
}

void TPickView::setSide(int side) {
    side = std::max(side, 1);
    if (side % 2 == 0) ++side;
    FSide = side;
}

void TPickView::setZoom(int zoom) {
    FZoom = std::clamp(zoom, kMinZoom, kMaxZoom);
}

bool TPickView::zoomIn() {
    if (FZoom >= kZoomCeiling) return false;
    FZoom += zoomStep(FZoom);
    return true;
}

bool TPickView::zoomOut() {
    if (FZoom <= kMinZoom) return false;
    FZoom -= zoomStep(FZoom);
    return true;
}

TPickView::TLayout TPickView::layout() const {
    const int h = half();
    const int z = FZoom;
    TLayout l;
    l.d = h / z + z / 2;
    l.e = l.d * z;
    l.o = h - l.e - z / 2;
    return l;
}

QPoint TPickView::sourceCenter() const {
    const QPoint local = FPointer - FOrigin;
    const qreal ratio = FPicture.devicePixelRatio();
    if (ratio == 1.0) return local;
    return QPoint(int(std::floor(local.x() * ratio)), int(std::floor(local.y() * ratio)));
}

ColorValue TPickView::sourcePixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FPicture.width() || y >= FPicture.height()) return kOutsideColor;
    const auto* row = reinterpret_cast<const std::uint32_t*>(FPicture.constScanLine(y));
    return SwapRedBlue(row[x] & 0x00FFFFFFu);
}

ColorValue TPickView::colorAt(QPoint client) const {
    const TLayout l = layout();
    const QPoint c = sourceCenter();
    const int i = floorDiv(client.x() - l.o, FZoom);
    const int j = floorDiv(client.y() - l.o, FZoom);
    return sourcePixel(c.x() - l.d + i, c.y() - l.d + j);
}

void TPickView::render(bool pickLines) {
    if (FBuffer.width() != FSide || FBuffer.height() != FSide)
        FBuffer = QImage(FSide, FSide, QImage::Format_RGB32);
    drawBlocks();
    if (FGridLines) drawGrid();
    if (pickLines) drawPickLines();
}

namespace {

// Blocks of z pixels each from consecutive source pixels; the zoom is a constant for the common
// small zooms, where the per-block loop would otherwise dominate.
template <int Z>
void blockRun(std::uint32_t* d, const std::uint32_t* s, int count, int z) {
    const int width = Z > 0 ? Z : z;
    int i = 0;
#if defined(__SSE2__)
    // Four source pixels at a time become 4 × z pixels written as whole 16-byte lines: the small
    // zooms from shuffles of the four, the larger ones as one pixel repeated, the last line of a
    // block overlapping the one before rather than writing past the block.
    const __m128i opaque = _mm_set1_epi32(int(kOpaque));
    const auto store = [](std::uint32_t* to, __m128i v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), v);
    };
    for (; i + 4 <= count; i += 4, d += 4 * width) {
        const __m128i v =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), opaque);
        if constexpr (Z == 2) {
            store(d, _mm_unpacklo_epi32(v, v));
            store(d + 4, _mm_unpackhi_epi32(v, v));
        } else if constexpr (Z == 3) {
            store(d, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 0, 0)));
            store(d + 4, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 2, 1, 1)));
            store(d + 8, _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 2)));
        } else if constexpr (Z == 5) {
            store(d, _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 0, 0, 0)));
            store(d + 4, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 1, 1, 0)));
            store(d + 8, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 2, 1, 1)));
            store(d + 12, _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 2, 2, 2)));
            store(d + 16, _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 3)));
        } else {
            const __m128i each[4] = {_mm_shuffle_epi32(v, _MM_SHUFFLE(0, 0, 0, 0)),
                                     _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 1, 1, 1)),
                                     _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 2, 2, 2)),
                                     _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 3))};
            for (int k = 0; k < 4; ++k) {
                std::uint32_t* block = d + k * width;
                for (int x = 0; x + 4 < width; x += 4)
                    store(block + x, each[k]);
                store(block + width - 4, each[k]);
            }
        }
    }
#endif
    for (; i < count; ++i, d += width) {
        const std::uint32_t pixel = s[i] | kOpaque;
        for (int k = 0; k < width; ++k)
            d[k] = pixel;
    }
}

// Writes the blocks first … last of one row: block i covers x = o + i × z … o + i × z + z − 1,
// clipped to the row, and shows source pixel sx0 + i, or `outside` where that lies outside
// 0 … width − 1.
void blockRow(std::uint32_t* row, int side, int o, int z, int first, int last,
              const std::uint32_t* src, int sx0, int width, std::uint32_t outside) {
    const int inFirst = -sx0;
    const int inLast = width - 1 - sx0;
    auto clipped = [&](int i) {
        const std::uint32_t pixel =
            (i >= inFirst && i <= inLast) ? (src[sx0 + i] | kOpaque) : outside;
        const int left = o + i * z;
        std::fill(row + std::max(0, left), row + std::min(side, left + z), pixel);
    };
    // The blocks wholly inside the row with a source inside the picture take the fast path.
    const int a = std::max({first, inFirst, floorDiv(-o + z - 1, z)});
    const int b = std::min({last, inLast, floorDiv(side - o - z, z)});
    if (a > b) {
        for (int i = first; i <= last; ++i)
            clipped(i);
        return;
    }
    for (int i = first; i < a; ++i)
        clipped(i);
    std::uint32_t* d = row + o + a * z;
    const std::uint32_t* s = src + sx0 + a;
    const int count = b - a + 1;
    switch (z) {
    case 2:
        blockRun<2>(d, s, count, z);
        break;
    case 3:
        blockRun<3>(d, s, count, z);
        break;
    case 4:
        blockRun<4>(d, s, count, z);
        break;
    case 5:
        blockRun<5>(d, s, count, z);
        break;
    default:
        blockRun<0>(d, s, count, z);
        break;
    }
    for (int i = b + 1; i <= last; ++i)
        clipped(i);
}

} // namespace

void TPickView::drawBlocks() {
    // One source pixel more than 2d, so the blocks reach the last row and column for every side
    // and zoom; o is never positive, so the first row and column are covered too.
    const TLayout l = layout();
    const int z = FZoom;
    const int n = 2 * l.d + 1;
    const QPoint c = sourceCenter();
    const int sx0 = c.x() - l.d;
    const int sy0 = c.y() - l.d;
    const std::uint32_t outside = SwapRedBlue(kOutsideColor) | kOpaque;
    const int pw = FPicture.width();
    const int ph = FPicture.height();
    const qsizetype rowBytes = qsizetype(FSide) * 4;
    const qsizetype stride = FBuffer.bytesPerLine();
    std::uint8_t* const bits = FBuffer.bits();

    // Only the blocks that reach into the square are visited, so a large zoom costs no more than
    // a small one.
    const int firstBlock = std::max(0, floorDiv(-l.o, z));
    const int lastBlock = std::min(n - 1, floorDiv(FSide - 1 - l.o, z));
    for (int j = firstBlock; j <= lastBlock; ++j) {
        const int top = std::max(0, l.o + j * z);
        const int bottom = std::min(FSide, l.o + (j + 1) * z);
        auto* row = reinterpret_cast<std::uint32_t*>(bits + top * stride);
        const int sy = sy0 + j;
        if (sy < 0 || sy >= ph) {
            std::fill(row, row + FSide, outside);
        } else {
            const auto* src = reinterpret_cast<const std::uint32_t*>(FPicture.constScanLine(sy));
            blockRow(row, FSide, l.o, z, firstBlock, lastBlock, src, sx0, pw, outside);
        }
        for (int y = top + 1; y < bottom; ++y)
            std::memcpy(bits + y * stride, row, size_t(rowBytes));
    }
}

void TPickView::drawGrid() {
    const int h = half();
    const int s = std::max(FZoom, kMinGridSpacing);
    int start = h - s / 2;
    while (start - s > 0)
        start -= s;
    // The rows are addressed from one base: a scanLine call per pixel checks for sharing each time.
    std::uint8_t* const bits = FBuffer.bits();
    const qsizetype stride = FBuffer.bytesPerLine();
    const auto line = [&](int y) { return reinterpret_cast<std::uint32_t*>(bits + y * stride); };
    for (int a = start; a < FSide; a += s) {
        if (a < 0) continue;
        std::fill(line(a), line(a) + FSide, kLinePixel);
        for (int y = 0; y < FSide; ++y)
            line(y)[a] = kLinePixel;
    }
}

void TPickView::drawPickLines() {
    const int h = half();
    const int g = FZoom / 2 + 2;
    drawLine(QPoint(h - g, h - g), QPoint(-1, -1));
    drawLine(QPoint(h + g, h - g), QPoint(FSide, -1));
    drawLine(QPoint(h + g, h + g), QPoint(FSide, FSide));
    drawLine(QPoint(h - g, h + g), QPoint(-1, FSide));
}

void TPickView::drawLine(QPoint a, QPoint b) {
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    const int n = std::max(std::abs(dx), std::abs(dy));
    const int stepX = (dx > 0) - (dx < 0);
    const int stepY = (dy > 0) - (dy < 0);
    int x = a.x();
    int y = a.y();
    for (int k = 0; k < n; ++k, x += stepX, y += stepY) {
        if (x < 0 || y < 0 || x >= FSide || y >= FSide) continue;
        reinterpret_cast<std::uint32_t*>(FBuffer.scanLine(y))[x] = kLinePixel;
    }
}

ColorValue TPickView::averageColor() {
    render(false);
    std::uint64_t red = 0;
    std::uint64_t green = 0;
    std::uint64_t blue = 0;
    for (int y = 0; y < FSide; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(FBuffer.constScanLine(y));
        // A row's sums fit 32 bits (at most 2^16 pixels of 255).
        std::uint32_t r = 0;
        std::uint32_t g = 0;
        std::uint32_t b = 0;
        for (int x = 0; x < FSide; ++x) {
            const std::uint32_t p = row[x];
            r += (p >> 16) & 0xFFu;
            g += (p >> 8) & 0xFFu;
            b += p & 0xFFu;
        }
        red += r;
        green += g;
        blue += b;
    }
    const std::uint64_t count = std::uint64_t(FSide) * std::uint64_t(FSide);
    return MakeColor(int(red / count), int(green / count), int(blue / count));
}
