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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The AVX2 blend is compiled for that one function and taken only where the processor has it.
// Not on Windows: mingw-w64 keeps the stack 16-byte aligned, and GCC spills 32-byte registers
// there with aligned moves.
#if defined(__x86_64__) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
#define HUESPLINTER_BLEND_AVX2 1
#include <immintrin.h>
#else
#define HUESPLINTER_BLEND_AVX2 0
#endif

namespace {

const char* const kNoBitmap = "No Bitmap Created";
const char* const kNoDibSection = "No DibSection";
const char* const kScanlineRange = "Scanlines Out of Range";
const char* const kPixelYRange = "Pixel Y Value out of Range";
const char* const kPixelXRange = "Pixel X Value out of Range";

constexpr int kFixedShift = 22;

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

// One channel's running value of a ramp in 22-bit fixed point. The step truncates towards zero,
// so the running value never passes the end value and stays non-negative.
struct ChannelRamp {
    std::int64_t value;
    std::int64_t step;
    ChannelRamp(int start, int end, int n) noexcept
        : value(std::int64_t(start) << kFixedShift),
          step(n > 1 ? (std::int64_t(start - end) << kFixedShift) / (n - 1) : 0) {}
    int next() noexcept {
        const int v = int(value >> kFixedShift);
        value -= step;
        return v;
    }
};

struct ColourRamp {
    ChannelRamp r, g, b;
    ColourRamp(TKxColor start, TKxColor end, int n) noexcept
        : r(start.r, end.r, n), g(start.g, end.g, n), b(start.b, end.b, n) {}
    TKxPixel next() noexcept {
        const TKxPixel red = TKxPixel(r.next());
        const TKxPixel green = TKxPixel(g.next());
        const TKxPixel blue = TKxPixel(b.next());
        return 0xFF000000u | (red << 16) | (green << 8) | blue;
    }
};

// Writes `count` entries of an n-step ramp (count may be less than n: the ramp is cut short).
void rampCut(TKxPixel* out, int count, int n, TKxColor start, TKxColor end) noexcept {
    ColourRamp ramp(start, end, n);
    for (int i = 0; i < count; ++i)
        out[i] = ramp.next();
}

constexpr int channel(TKxPixel p, int shift) noexcept {
    return int((p >> shift) & 0xFF);
}

constexpr TKxPixel withChannels(TKxPixel alphaFrom, int r, int g, int b) noexcept {
    return (alphaFrom & 0xFF000000u) | (TKxPixel(r) << 16) | (TKxPixel(g) << 8) | TKxPixel(b);
}

// (target × (255 − a) + source × a) >> 8 on each colour channel; target alpha kept. Red and blue
// are mixed together in one word: each product stays below 2^16, so the lanes never meet.
constexpr TKxPixel mix(TKxPixel target, TKxPixel source, int a) noexcept {
    const std::uint32_t ua = std::uint32_t(a);
    const std::uint32_t na = 255u - ua;
    const std::uint32_t rb =
        (((target & 0x00FF00FFu) * na + (source & 0x00FF00FFu) * ua) >> 8) & 0x00FF00FFu;
    const std::uint32_t g =
        (((target & 0x0000FF00u) * na + (source & 0x0000FF00u) * ua) >> 8) & 0x0000FF00u;
    return (target & 0xFF000000u) | rb | g;
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
// Buffers and arithmetic

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
    ChannelRamp ramp(from, to, FCount);
    for (int i = 0; i < FCount; ++i)
        FData[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(ramp.next());
}

namespace KxPixel {

TKxPixel darken(TKxPixel p, int amount) noexcept {
    const int k = 255 - amount;
    return withChannels(p, channel(p, 16) * k / 255, channel(p, 8) * k / 255,
                        channel(p, 0) * k / 255);
}

TKxPixel lighten(TKxPixel p, int amount) noexcept {
    const int k = 255 - amount;
    const int add = amount * 255;
    return withChannels(p, (channel(p, 16) * k + add) >> 8, (channel(p, 8) * k + add) >> 8,
                        (channel(p, 0) * k + add) >> 8);
}

TKxPixel blendColour(TKxPixel pixel, TKxPixel colour, int a) noexcept {
    if (a < 8) return pixel;
    if (a > 240) return (pixel & 0xFF000000u) | (colour & 0x00FFFFFFu);
    return mix(pixel, colour, a);
}

void ramp(TKxPixel* pixels, int n, TKxColor start, TKxColor end) noexcept {
    if (n > 0) rampCut(pixels, n, n, start, end);
}

void blendRowPlain(TKxPixel* target, const TKxPixel* source, int n) noexcept {
    for (int i = 0; i < n; ++i)
        target[i] = blendColour(target[i], source[i], int(source[i] >> 24));
}

namespace {

#if defined(__SSE2__)
// Four pixels at a time. Clear and opaque groups, the bulk of any control's picture, take a
// compare and a store; mixed ones widen to 16-bit lanes, where d × (255 − a) + s × a stays below
// 2^16, so no lane needs 32 bits. Answers how many pixels it did, a multiple of four.
int blendSse2(TKxPixel* target, const TKxPixel* source, int n) noexcept {
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    const __m128i clearBelow = _mm_set1_epi32(8);
    const __m128i opaqueAbove = _mm_set1_epi32(240);
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i a = _mm_srli_epi32(s, 24);
        const __m128i clear = _mm_cmplt_epi32(a, clearBelow);
        if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
        auto* out = reinterpret_cast<__m128i*>(target + i);
        const __m128i d = _mm_loadu_si128(out);
        const __m128i dAlpha = _mm_and_si128(d, alphaMask);
        const __m128i copied = _mm_or_si128(dAlpha, _mm_andnot_si128(alphaMask, s));
        const __m128i opaque = _mm_cmpgt_epi32(a, opaqueAbove);
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            _mm_storeu_si128(out, copied);
            continue;
        }
        // Each pixel's alpha in all four of its 16-bit lanes.
        const __m128i a2 = _mm_or_si128(a, _mm_slli_epi32(a, 16));
        const __m128i aLo = _mm_unpacklo_epi32(a2, a2);
        const __m128i aHi = _mm_unpackhi_epi32(a2, a2);
        const __m128i mixLo = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(c255, aLo)),
                          _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), aLo)),
            8);
        const __m128i mixHi = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(c255, aHi)),
                          _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), aHi)),
            8);
        const __m128i mixed =
            _mm_or_si128(dAlpha, _mm_andnot_si128(alphaMask, _mm_packus_epi16(mixLo, mixHi)));
        const __m128i chosen =
            _mm_or_si128(_mm_and_si128(opaque, copied), _mm_andnot_si128(opaque, mixed));
        _mm_storeu_si128(out,
                         _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, chosen)));
    }
    return i;
}
#endif

#if HUESPLINTER_BLEND_AVX2
// The same steps on eight pixels. The byte and word unpacks work within each 128-bit half, so
// the halves are two independent groups of four, put back in order by the final pack.
__attribute__((target("avx2"))) int blendAvx2(TKxPixel* target, const TKxPixel* source,
                                              int n) noexcept {
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i clearBelow = _mm256_set1_epi32(8);
    const __m256i opaqueAbove = _mm256_set1_epi32(240);
    const __m256i c255 = _mm256_set1_epi16(255);
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i a = _mm256_srli_epi32(s, 24);
        const __m256i clear = _mm256_cmpgt_epi32(clearBelow, a);
        if (_mm256_movemask_epi8(clear) == -1) continue;
        auto* out = reinterpret_cast<__m256i*>(target + i);
        const __m256i d = _mm256_loadu_si256(out);
        const __m256i dAlpha = _mm256_and_si256(d, alphaMask);
        const __m256i copied = _mm256_or_si256(dAlpha, _mm256_andnot_si256(alphaMask, s));
        const __m256i opaque = _mm256_cmpgt_epi32(a, opaqueAbove);
        if (_mm256_movemask_epi8(opaque) == -1) {
            _mm256_storeu_si256(out, copied);
            continue;
        }
        const __m256i a2 = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
        const __m256i aLo = _mm256_unpacklo_epi32(a2, a2);
        const __m256i aHi = _mm256_unpackhi_epi32(a2, a2);
        const __m256i mixLo = _mm256_srli_epi16(
            _mm256_add_epi16(
                _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(c255, aLo)),
                _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), aLo)),
            8);
        const __m256i mixHi = _mm256_srli_epi16(
            _mm256_add_epi16(
                _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(c255, aHi)),
                _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), aHi)),
            8);
        const __m256i mixed = _mm256_or_si256(
            dAlpha, _mm256_andnot_si256(alphaMask, _mm256_packus_epi16(mixLo, mixHi)));
        const __m256i chosen =
            _mm256_or_si256(_mm256_and_si256(opaque, copied), _mm256_andnot_si256(opaque, mixed));
        _mm256_storeu_si256(
            out, _mm256_or_si256(_mm256_and_si256(clear, d), _mm256_andnot_si256(clear, chosen)));
    }
    return i;
}
#endif

} // namespace

std::vector<TBlendPath> blendPaths() {
    std::vector<TBlendPath> paths{TBlendPath::Plain};
#if defined(__SSE2__)
    paths.push_back(TBlendPath::Sse2);
#endif
#if HUESPLINTER_BLEND_AVX2
    if (__builtin_cpu_supports("avx2")) paths.push_back(TBlendPath::Avx2);
#endif
    return paths;
}

void blendRowWith(TBlendPath path, TKxPixel* target, const TKxPixel* source, int n) noexcept {
    int done = 0;
#if HUESPLINTER_BLEND_AVX2
    if (path == TBlendPath::Avx2) done = blendAvx2(target, source, n);
#endif
#if defined(__SSE2__)
    if (path != TBlendPath::Plain) done += blendSse2(target + done, source + done, n - done);
#endif
    blendRowPlain(target + done, source + done, n - done);
}

void blendRow(TKxPixel* target, const TKxPixel* source, int n) noexcept {
    // Chosen once, for the processor the program runs on.
    static const TBlendPath fastest = blendPaths().back();
    blendRowWith(fastest, target, source, n);
}

} // namespace KxPixel

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
        ColourRamp ramp(startColour, endColour, rect.height());
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
        ColourRamp upper(first, highlightColour, split);
        for (int i = 0; i < split; ++i, ++y)
            fillRun(pixelRow(y) + rect.x(), std::size_t(rect.width()), upper.next());
        ColourRamp lower(highlightColour, last, rest);
        for (int i = 0; i < rest; ++i, ++y)
            fillRun(pixelRow(y) + rect.x(), std::size_t(rect.width()), lower.next());
        return;
    }

    TKxPixel* row = pixelRow(rect.y()) + rect.x();
    // split + 1 pixels up to the highlight, but never more than the rectangle holds.
    const int upperCount = std::min(split + 1, length);
    rampCut(row, upperCount, split + 1, first, highlightColour);
    // The falling side starts from the pixel before the highlight (the first pixel when the
    // highlight is the first) and is cut off at the right edge.
    if (split + 1 < length) {
        const TKxColor from = TKxColor::fromPixel(row[std::max(split - 1, 0)]);
        rampCut(row + split + 1, length - split - 1, rest, from, last);
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
    if (!FDC) return false;
    QFont font(name.left(32));
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
    int style = 0;
    if (font.bold()) style |= fsBold;
    if (font.italic()) style |= fsItalic;
    if (font.underline()) style |= fsUnderline;
    if (font.strikeOut()) style |= fsStrikeOut;
    // A font sized in pixels keeps its pixels: its size counts at 72 pixels per inch.
    if (font.pointSize() > 0)
        return setFont(font.family(), font.pointSize(), colour, pixelsPerInch, style);
    return setFont(font.family(), font.pixelSize(), colour, 72, style);
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
