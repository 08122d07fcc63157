#include "palette/KxZodudIro.h"

#include "colour/ColorQt.h"
#include "palette/Ramp.h"
#include "platform/Platform.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleHints>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// One pixel of the palette bitmap, in memory order.
struct Px {
    std::uint8_t b, g, r;
};
static_assert(sizeof(Px) == 3);

constexpr Px kWhitePx{255, 255, 255};
constexpr Px kBlackPx{0, 0, 0};

// The channel exchanges, as byte permutations of blue, green, red.
constexpr Px swapRG(Px p) {
    return {p.b, p.r, p.g};
}
constexpr Px swapBG(Px p) {
    return {p.g, p.b, p.r};
}
constexpr Px swapRB(Px p) {
    return {p.r, p.g, p.b};
}
// Red becomes green, green becomes blue, blue becomes red.
constexpr Px rotateForward(Px p) {
    return {p.g, p.r, p.b};
}
constexpr Px rotateBackward(Px p) {
    return {p.r, p.b, p.g};
}
constexpr bool operator==(Px a, Px b) {
    return a.b == b.b && a.g == b.g && a.r == b.r;
}
inline Px maxPx(Px a, Px b) {
    return {std::max(a.b, b.b), std::max(a.g, b.g), std::max(a.r, b.r)};
}

// Exchanges applied to the channel numbers say which channel of a line each byte of the exchanged
// pixel shows: a line is drawn once and written exchanged wherever the picture repeats it.
constexpr Px kChannels{0, 1, 2};
constexpr std::array<std::uint8_t, 3> order(Px p) {
    return {p.b, p.g, p.r};
}

using Ramp::kFraction;

// A straight line from a to b over n pixels in fixed point. The first pixel of the line is exactly
// a; a single pixel gets a, since a line needs two ends. Written field by field in place: a piece
// built elsewhere and copied whole would be read back before its parts reach memory.
void setRamp(Ramp::TPiece& piece, int n, Px a, Px b) {
    piece.n = std::max(0, n);
    const std::int32_t from[3] = {a.b, a.g, a.r}, to[3] = {b.b, b.g, b.r};
    for (std::size_t c = 0; c < 3; ++c) {
        const std::int32_t start = from[c] << kFraction;
        piece.start[c] = start;
        piece.step[c] = n <= 1 || from[c] == to[c] ? 0 : (start - (to[c] << kFraction)) / (n - 1);
    }
    // Pixel k is start − k × step. Neither leaves 32 bits: each is at most 255 × 2^22 apart from
    // the start.
}

// The piece drawn from its far end, with its channels exchanged as the order says: starting from
// its last pixel and stepping back gives the same integers in a forward loop.
void setReversed(Ramp::TPiece& piece, const Ramp::TPiece& line,
                 std::array<std::uint8_t, 3> channels) {
    piece.n = line.n;
    for (std::size_t t = 0; t < 3; ++t) {
        const std::size_t c = channels[t];
        piece.start[t] = line.start[c] - std::max(0, line.n - 1) * line.step[c];
        piece.step[t] = -line.step[c];
    }
}

Ramp::TPiece rampPiece(int n, Px a, Px b) {
    Ramp::TPiece piece;
    setRamp(piece, n, a, b);
    return piece;
}

// Pixel k of a piece, as the line draws it.
Px pixelOf(const Ramp::TPiece& piece, int k) {
    auto channel = [&](std::size_t c) {
        const auto v =
            std::uint32_t(piece.start[c]) - std::uint32_t(k) * std::uint32_t(piece.step[c]);
        return std::uint8_t(std::int32_t(v) >> kFraction);
    };
    return {channel(0), channel(1), channel(2)};
}

inline std::uint8_t* bytesOf(Px* p) {
    return reinterpret_cast<std::uint8_t*>(p);
}

void ramp(Px* out, int n, Px a, Px b) {
    Ramp::lines(bytesOf(out), rampPiece(n, a, b));
}

// Where the pure colour sits on the lightness axis: the length of the part from the start colour.
int firstPartLength(int n, bool white2Black, int pastel) {
    const int half = n / 2;
    const int k = pastel * half / 256;
    return white2Black ? n - (half + k) : half + k;
}

// The pieces of a lightness line; gives how many.
int lightnessLine(Ramp::TPiece (&pieces)[2], int n, int firstPart, Px start, Px colour, Px end) {
    if (firstPart >= 2) {
        setRamp(pieces[0], firstPart, start, colour);
        setRamp(pieces[1], n - firstPart, colour, end);
        return 2;
    }
    setRamp(pieces[0], n, colour, end);
    return 1;
}

void lightnessLine(Px* out, int n, int firstPart, Px start, Px colour, Px end) {
    Ramp::TPiece pieces[2];
    const int count = lightnessLine(pieces, n, firstPart, start, colour, end);
    const Ramp::TCopy copy{bytesOf(out)};
    Ramp::lines(pieces, count, &copy, 1);
}

// Two pixels of a line of hue are the least a ramp can draw.
constexpr int kMinHueSixth = 2;

// n bytes of one value. The gray strip is usually a few dozen bytes a row, fewer than a call to
// memset costs.
void fillBytes(std::uint8_t* out, std::size_t n, std::uint8_t value) {
    if (n < 8 || n > 256) {
        std::memset(out, value, n);
        return;
    }
    const std::uint64_t word = 0x0101010101010101u * value;
    for (std::size_t i = 0; i + 8 < n; i += 8)
        std::memcpy(out + i, &word, 8);
    std::memcpy(out + n - 8, &word, 8);
}

inline Px* pxRow(TKxZodudIroBitmap& bitmap, int y) {
    return reinterpret_cast<Px*>(bitmap.scanLine(y));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Bitmap

void TKxZodudIroBitmap::setSize(int width, int height) {
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    FStride = (FWidth * 3 + 3) & ~3;
    const std::size_t bytes = std::size_t(FStride) * std::size_t(FHeight);
    FPixels.assign(bytes == 0 ? 0 : bytes + 63, 0);
    FPixels.shrink_to_fit();
    const auto address = reinterpret_cast<std::uintptr_t>(FPixels.data());
    FFirst = FPixels.data() + ((64 - address % 64) % 64);
}

ColorValue TKxZodudIroBitmap::colorAt(int x, int y) const noexcept {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return kNoColor;
    const std::uint8_t* p = scanLine(y) + std::size_t(x) * 3;
    return MakeColor(p[2], p[1], p[0]);
}

QImage TKxZodudIroBitmap::image() const {
    if (FWidth == 0 || FHeight == 0) return {};
    return QImage(FFirst, FWidth, FHeight, FStride, QImage::Format_BGR888);
}

// ---------------------------------------------------------------------------------------------
// Construction and properties

TKxZodudIro::TKxZodudIro(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Half the size of the system's double-click rectangle, which is what Qt reports as the
    // double-click distance where the system has such a rectangle. A tolerance of 0 would turn
    // every click into a drag, so it is at least 1.
    FClickTolerance = std::max(1, QGuiApplication::styleHints()->mouseDoubleClickDistance() / 2);
    resize(200, 100);
}

void TKxZodudIro::imageChanged() {
    FRebuild = true;
    FReportPending = true;
    update();
}

void TKxZodudIro::setGraySize(int value) {
    // A negative strip would make the hue rows longer than the bitmap row; one wider than any
    // control could be leaves the layout arithmetic free of overflow.
    value = std::clamp(value, 0, kMaxGraySize);
    if (value == FGraySize) return;
    FGraySize = value;
    imageChanged();
}

void TKxZodudIro::setOrientation(THsOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    imageChanged();
}

void TKxZodudIro::setWhite2Black(bool value) {
    if (value == FWhite2Black) return;
    FWhite2Black = value;
    imageChanged();
}

void TKxZodudIro::setPastel(int value) {
    value = std::clamp(value, 0, 255);
    if (value == FPastel) return;
    FPastel = std::uint8_t(value);
    imageChanged();
}

void TKxZodudIro::setHotTrack(bool value) {
    if (value == FHotTrack) return;
    FHotTrack = value;
    update();
}

void TKxZodudIro::setNoRightSelect(bool value) {
    if (value == FNoRightSelect) return;
    FNoRightSelect = value;
    update();
}

// ---------------------------------------------------------------------------------------------
// Building the picture

bool TKxZodudIro::CreateZodudIroHorz(TKxZodudIroBitmap& bitmap, int W, int H, bool white2Black,
                                     int pastel) {
    if (bitmap.width() < W || bitmap.height() < H || H < 4 || W < FGraySize + 6) return false;
    const int m = (W - 3 - FGraySize) / 6;
    if (m < kMinHueSixth) return false;
    pastel = std::clamp(pastel, 0, 255);

    const Px start = white2Black ? kWhitePx : kBlackPx;
    const Px end = white2Black ? kBlackPx : kWhitePx;
    const int half = H / 2;
    const int firstPart = firstPartLength(H, white2Black, pastel);
    const auto p = std::uint8_t(pastel);

    std::vector<Px> red(static_cast<std::size_t>(H)), yellow(red.size()), gray(red.size());
    lightnessLine(red.data(), H, firstPart, start, Px{p, p, 255}, end);
    lightnessLine(yellow.data(), H, firstPart, start, Px{p, 255, 255}, end);
    ramp(gray.data(), 2 * half, start, end);
    if (2 * half < H) gray[std::size_t(H - 1)] = end;

    const int hueLen = 6 * m + 2;
    // The first third of the row is the line of the first sixth, the pixel between, the second
    // sixth (the first one mirrored with red and green exchanged) and the rotated start; the
    // other two thirds are the same line with its channels rotated forwards and backwards. So the
    // row is one line of 2m + 1 pixels written three times: the first two copies share pixel 2m,
    // where both show the rotated start.
    constexpr auto kRotF = order(rotateForward(kChannels));
    constexpr auto kRotB = order(rotateBackward(kChannels));
    constexpr auto kSwapRG = order(swapRG(kChannels));
    auto sameAsAbove = [&](int y) {
        const auto Y = std::size_t(y);
        return y > 0 && red[Y] == red[Y - 1] && yellow[Y] == yellow[Y - 1] &&
               gray[Y] == gray[Y - 1];
    };
    // Rows go to the line code in batches: each call costs a little besides its pixels. Tall
    // pictures have runs of rows of one lightness, which are copied instead.
    constexpr int kBatch = 32;
    Ramp::TPiece pieces[kBatch][4];
    const auto stride = std::ptrdiff_t(bitmap.stride());
    for (int y0 = 0; y0 < H;) {
        if (sameAsAbove(y0)) {
            std::memcpy(pxRow(bitmap, y0), pxRow(bitmap, y0 - 1), std::size_t(W) * sizeof(Px));
            ++y0;
            continue;
        }
        int y1 = y0;
        for (; y1 < H && y1 - y0 < kBatch && (y1 == y0 || !sameAsAbove(y1)); ++y1) {
            const auto Y = std::size_t(y1);
            Ramp::TPiece(&line)[4] = pieces[y1 - y0];
            setRamp(line[0], m, red[Y], yellow[Y]);
            // Pixels m + 1 ... 2m − 1 are drawn from the far end, keeping the line running
            // forwards.
            setReversed(line[2], line[0], kSwapRG);
            line[2].n = m - 1;
            setRamp(line[1], 1, maxPx(pixelOf(line[0], m - 1), pixelOf(line[2], 0)), kBlackPx);
            setRamp(line[3], 1, rotateForward(red[Y]), kBlackPx);
        }
        auto at = [&](int x) { return reinterpret_cast<std::uint8_t*>(pxRow(bitmap, y0) + x); };
        const Ramp::TCopy thirds[3] = {{at(0)}, {at(2 * m), kRotF}, {at(4 * m + 1), kRotB}};
        Ramp::rows(&pieces[0][0], 4, y1 - y0, thirds, 3, stride);
        // A gray pixel's three bytes are equal.
        for (int y = y0; y < y1; ++y)
            fillBytes(bitmap.scanLine(y) + 3 * std::size_t(hueLen),
                      std::size_t(W - hueLen) * sizeof(Px), gray[std::size_t(y)].b);
        y0 = y1;
    }
    FHueStripLen = hueLen;
    FGrayStripLen = W - hueLen;
    return true;
}

bool TKxZodudIro::CreateZodudIroVert(TKxZodudIroBitmap& bitmap, int W, int H, bool white2Black,
                                     int pastel) {
    if (bitmap.width() < W || bitmap.height() < H || W < 4 || H < FGraySize + 6) return false;
    const int o = (H - 3 - FGraySize) / 6;
    if (o < kMinHueSixth) return false;
    pastel = std::clamp(pastel, 0, 255);

    const Px start = white2Black ? kWhitePx : kBlackPx;
    const Px end = white2Black ? kBlackPx : kWhitePx;
    const int half = W / 2;
    const int firstPart = firstPartLength(W, white2Black, pastel);
    const auto p = std::uint8_t(pastel);

    std::vector<Px> hue(static_cast<std::size_t>(o));
    ramp(hue.data(), o, Px{p, p, 255}, Px{p, 255, 255});

    auto row = [&](int y) { return pxRow(bitmap, y); };
    auto bytes = [&](int y) { return bitmap.scanLine(y); };
    // The six rows of a hue are the first sixth's row with its channels exchanged, each written
    // as the line is drawn. Where two of them are the same row (the first hue), the later one is
    // what stays.
    constexpr auto kSwapRG = order(swapRG(kChannels));
    constexpr auto kRotF = order(rotateForward(kChannels));
    constexpr auto kRotF2 = order(rotateForward(rotateForward(kChannels)));
    constexpr auto kSwapBGRotF = order(swapBG(rotateForward(kChannels)));
    constexpr auto kSwapRBRotF2 = order(swapRB(rotateForward(rotateForward(kChannels))));
    constexpr auto kSwapRBSwapBGRotF = order(swapRB(swapBG(rotateForward(kChannels))));
    for (int i = 0; i < o; ++i) {
        // Where the hue repeats, so do its six rows (those of the first hue are placed apart).
        if (i > 1 && hue[std::size_t(i)] == hue[std::size_t(i - 1)]) {
            const std::size_t bytes = std::size_t(W) * sizeof(Px);
            std::memcpy(row(i), row(i - 1), bytes);
            std::memcpy(row(2 * o - i), row(2 * o - i + 1), bytes);
            std::memcpy(row(2 * o + i), row(2 * o + i - 1), bytes);
            std::memcpy(row(4 * o + i), row(4 * o + i - 1), bytes);
            std::memcpy(row(4 * o - i), row(4 * o - i + 1), bytes);
            std::memcpy(row(6 * o - i), row(6 * o - i + 1), bytes);
            continue;
        }
        Ramp::TPiece pieces[2];
        const int count = lightnessLine(pieces, W, firstPart, start, hue[std::size_t(i)], end);
        const Ramp::TCopy copies[6] = {{bytes(i)},
                                       {bytes(2 * o - i), kSwapRG},
                                       {bytes(2 * o + i), kRotF},
                                       {bytes(4 * o + i), kRotF2},
                                       {bytes(4 * o - i), kSwapBGRotF},
                                       {bytes(6 * o - i), kSwapRBRotF2}};
        const Ramp::TCopy firstHue[4] = {{bytes(0)},
                                         {bytes(2 * o), kRotF},
                                         {bytes(4 * o), kSwapBGRotF},
                                         {bytes(6 * o), kSwapRBSwapBGRotF}};
        if (i == 0)
            Ramp::lines(pieces, count, firstHue, 4);
        else
            Ramp::lines(pieces, count, copies, 6);
    }
    for (int y : {o, 3 * o, 5 * o})
        Ramp::maxBytes(bitmap.scanLine(y), bitmap.scanLine(y - 1), bitmap.scanLine(y + 1),
                       std::size_t(W) * sizeof(Px));
    FHueStripLen = 6 * o;
    FGrayStripLen = H - 6 * o;

    Px* grayRow = row(6 * o);
    ramp(grayRow, 2 * half, start, end);
    if (2 * half < W) grayRow[W - 1] = end;
    for (int y = 6 * o + 1; y < H; ++y)
        std::memcpy(row(y), grayRow, std::size_t(W) * sizeof(Px));
    return true;
}

void TKxZodudIro::CreateZodudIro(const QRect& rect) {
    FBuildRect = rect;
    const std::uint32_t started = Platform::milliseconds();
    if (FOrientation == thsHorizontal)
        CreateZodudIroHorz(FBitmap, rect.width(), rect.height(), FWhite2Black, FPastel);
    else
        CreateZodudIroVert(FBitmap, rect.width(), rect.height(), FWhite2Black, FPastel);
    FCreateTime = int(Platform::milliseconds() - started);
    FRebuild = false;
}

int TKxZodudIro::getColorCount() const {
    const int w = FBitmap.width();
    const int h = FBitmap.height();
    if (w == 0 || h == 0) return 0;
    // One bit for every possible colour. The picture is mostly runs of equal pixels, so a pixel
    // equal to its predecessor is skipped before touching the set.
    std::vector<std::uint64_t> seen(std::size_t(1) << 18, 0);
    int count = 0;
    std::uint32_t previous = kNoColor;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = FBitmap.scanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const std::uint32_t c =
                std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
            if (c == previous) continue;
            previous = c;
            std::uint64_t& word = seen[c >> 6];
            const std::uint64_t bit = std::uint64_t(1) << (c & 63);
            count += (word & bit) == 0;
            word |= bit;
        }
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// Painting and resizing

void TKxZodudIro::buildIfNeeded() {
    // A control that was never shown has had no resize event to size its bitmap yet.
    fitBitmap(size());
    if (rect() != FBuildRect || FRebuild) CreateZodudIro(rect());
}

void TKxZodudIro::paintEvent(QPaintEvent* e) {
    buildIfNeeded();

    QPainter painter(this);
    const QRect area = e->rect() & FBuildRect;
    const QImage image = FBitmap.image();
    if (!area.isEmpty() && !image.isNull())
        painter.drawImage(area.topLeft(), image, area.translated(-FBuildRect.topLeft()));

    const QColor pen = toQColor(TextColorFor(colorAt(FCrossX, FCrossY)));
    const int x = FCrossX;
    const int y = FCrossY;
    painter.fillRect(QRect(x - 14, y, 13, 1), pen);
    painter.fillRect(QRect(x + 2, y, 13, 1), pen);
    painter.fillRect(QRect(x, y - 14, 1, 13), pen);
    painter.fillRect(QRect(x, y + 2, 1, 13), pen);

    // The colour now under the cross is reported once the paint is over, so handlers are free to
    // change any view, this one included. A paint that only shows again what was reported (an
    // uncovered window) reports nothing: it would replace a colour chosen elsewhere with its
    // nearest neighbour on the palette.
    if (!FPaintReportQueued) {
        FPaintReportQueued = true;
        QMetaObject::invokeMethod(this, &TKxZodudIro::reportPaint, Qt::QueuedConnection);
    }
}

void TKxZodudIro::reportPaint() {
    FPaintReportQueued = false;
    if (FReportPending) {
        FReportPending = false;
        fireColorChange(colorAt(FCrossX, FCrossY));
    }
    emit paintDone();
}

void TKxZodudIro::deliverPendingReport() {
    buildIfNeeded();
    if (!FReportPending) return;
    FReportPending = false;
    fireColorChange(colorAt(FCrossX, FCrossY));
}

void TKxZodudIro::resizeEvent(QResizeEvent* e) {
    fitBitmap(e->size());
    QWidget::resizeEvent(e);
}

void TKxZodudIro::fitBitmap(QSize size) {
    const int cx = size.width();
    const int cy = size.height();
    if (cx == FBitmap.width() && cy == FBitmap.height()) return;
    // Each axis scales on its own: a side that was 0 has nothing to scale from, yet the cross
    // must still end inside the new size, or the next paint reads no colour.
    const auto scaled = [](int pos, int from, int to) {
        const double s = from > 0 ? double(to) * pos / from + 0.5 : double(pos);
        return int(std::clamp(s, 0.0, double(std::max(0, to - 1))));
    };
    FCrossX = scaled(FCrossX, FBitmap.width(), cx);
    FCrossY = scaled(FCrossY, FBitmap.height(), cy);
    FBitmap.setSize(0, 0);
    FBitmap.setSize(cx, cy);
    FRebuild = true;
    FReportPending = true;
}

// ---------------------------------------------------------------------------------------------
// Cross and colour lookup

int TKxZodudIro::findPastel(int /*H*/, int S, int L) {
    S = std::clamp(S, 0, kHlsMax);
    L = std::clamp(L, 0, kHlsMax);
    const int clientHeight = height();
    const int half = clientHeight / 2;
    const int R = RedOf(HlsToRgb(0, L, S));
    const double lp = L <= 0 ? 0.1 : double(std::int64_t(clientHeight) * L / kHlsMax);
    // The distance from the dark end at which the pure colour must sit for the red ramp to pass
    // through R at lp. A black red channel means an unreachable colour: the steepest ramp.
    const double D = R > 0 ? 255.0 * lp / R : 255.0 / std::tan(0.1);
    double level;
    if (half > 0)
        level = (D - half) / half * 256.0;
    else
        level = D > 0 ? 255.0 : 0.0; // no lightness axis to place it on
    // Clamp before the conversion: the level can be far outside the int range for tiny controls.
    const int pastel = int(std::clamp(level, -1.0, 256.0));
    setPastel(pastel);
    return FPastel;
}

int TKxZodudIro::FindColor(int H, int S, int L, bool SetPastel) {
    // The hue strip's length comes from the build; a stale one would put the cross at x = 0.
    if (rect() != FBuildRect) buildIfNeeded();
    H = std::clamp(H, 0, kHlsMax);
    S = std::clamp(S, 0, kHlsMax);
    L = std::clamp(L, 0, kHlsMax);
    int p;
    if (S == 0)
        p = 255;
    else if (S == kHlsMax)
        p = 0;
    else
        p = findPastel(H, S, L);
    if (SetPastel) setPastel(p);

    // A control can be wider than 240 times the int range allows.
    const int h = int(std::int64_t(H) * FHueStripLen / kHlsMax);
    const int extent = FOrientation == thsHorizontal ? height() : width();
    const int d = L <= 0 ? 0 : int(std::int64_t(L) * extent / kHlsMax);
    const int lightness = FWhite2Black ? extent - d : d;
    if (FOrientation == thsHorizontal)
        moveCursor(h, lightness);
    else
        moveCursor(lightness, h);
    return p;
}

TKxColor TKxZodudIro::getColor() {
    FCurrentColor = TKxColor(colorAt(FCrossX, FCrossY));
    return FCurrentColor;
}

void TKxZodudIro::fireColorChange(ColorValue color) {
    // A palette without pixels (a zero side) has no colour to report; the no-colour value would
    // otherwise become everyone's current colour.
    if (color == kNoColor) return;
    FCurrentColor = TKxColor(color);
    emit colorChange(FCurrentColor.value());
}

void TKxZodudIro::SetCrossPos(int X, int Y) {
    // The reported colour is the one the cross will sit on, also for a position outside.
    const int x = std::clamp(X, 0, std::max(0, width() - 1));
    const int y = std::clamp(Y, 0, std::max(0, height() - 1));
    fireColorChange(colorAt(x, y));
    moveCursor(x, y);
}

void TKxZodudIro::moveCursor(int X, int Y) {
    X = std::clamp(X, 0, std::max(0, width() - 1));
    Y = std::clamp(Y, 0, std::max(0, height() - 1));
    if (X == FCrossX && Y == FCrossY) return;
    eraseCursor(FCrossX, FCrossY);
    FCrossX = X;
    FCrossY = Y;
    FReportPending = true;
    drawCursor(X, Y);
}

void TKxZodudIro::eraseCursor(int X, int Y) {
    update(QRect(X - 15, Y - 15, 30, 30));
}

void TKxZodudIro::drawCursor(int X, int Y) {
    update(QRect(X - 14, Y - 14, 29, 29));
}

void TKxZodudIro::changeCursor(bool Hidden) {
    setCursor(Hidden ? Qt::BlankCursor : Qt::ArrowCursor);
}

// ---------------------------------------------------------------------------------------------
// Input

bool TKxZodudIro::tracking(Qt::KeyboardModifiers modifiers) const noexcept {
    return FHotTrack != modifiers.testFlag(Qt::ControlModifier);
}

void TKxZodudIro::mousePressEvent(QMouseEvent* e) {
    // A resize since the last paint leaves the pixels of the old size; a pick reads the new ones.
    buildIfNeeded();
    const QPoint pos = e->position().toPoint();
    const ColorValue picked = colorAt(pos.x(), pos.y());
    if (e->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        FLeftDown = true;
        FPressPos = pos;
        moveCursor(pos.x(), pos.y());
        if (tracking(e->modifiers()) && FBuildRect.contains(pos)) {
            // A point outside the pixels has no colour to pick.
            if (picked != kNoColor) {
                FLeftPick = TKxColor(picked);
                emit colorPickLeft(FLeftPick.value());
            }
        } else {
            fireColorChange(picked);
        }
    } else if (e->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        if (!FNoRightSelect && FBuildRect.contains(pos) && picked != kNoColor) {
            FRightPick = TKxColor(picked);
            emit colorPickRight(FRightPick.value());
            moveCursor(pos.x(), pos.y());
        }
    }
    QWidget::mousePressEvent(e);
}

void TKxZodudIro::mouseMoveEvent(QMouseEvent* e) {
    buildIfNeeded();
    const QPoint pos = e->position().toPoint();
    const bool track = tracking(e->modifiers());
    changeCursor(track);
    if ((FLeftDown || track) && FBuildRect.contains(pos)) {
        moveCursor(pos.x(), pos.y());
        fireColorChange(colorAt(FCrossX, FCrossY));
    }
    QWidget::mouseMoveEvent(e);
}

void TKxZodudIro::mouseReleaseEvent(QMouseEvent* e) {
    buildIfNeeded();
    if (e->button() == Qt::LeftButton) {
        const QPoint pos = e->position().toPoint();
        if (!tracking(e->modifiers()) && std::abs(pos.x() - FPressPos.x()) < FClickTolerance &&
            std::abs(pos.y() - FPressPos.y()) < FClickTolerance) {
            const ColorValue picked = colorAt(FPressPos.x(), FPressPos.y());
            if (picked != kNoColor) {
                FLeftPick = TKxColor(picked);
                emit colorPickLeft(FLeftPick.value());
                moveCursor(FPressPos.x(), FPressPos.y());
                fireColorChange(picked);
            }
        }
        FLeftDown = false;
    }
    QWidget::mouseReleaseEvent(e);
}

void TKxZodudIro::enterEvent(QEnterEvent* e) {
    if (!Platform::ctrlDown()) changeCursor(true);
    QWidget::enterEvent(e);
}

void TKxZodudIro::leaveEvent(QEvent* e) {
    changeCursor(false);
    QWidget::leaveEvent(e);
}

namespace {
bool arrowStep(int key, QPoint& step) {
    switch (key) {
    case Qt::Key_Left:
        step = {-1, 0};
        return true;
    case Qt::Key_Up:
        step = {0, -1};
        return true;
    case Qt::Key_Right:
        step = {1, 0};
        return true;
    case Qt::Key_Down:
        step = {0, 1};
        return true;
    default:
        return false;
    }
}
} // namespace

bool TKxZodudIro::event(QEvent* e) {
    // Arrow keys belong to the palette, even where a window binds them to a shortcut.
    if (e->type() == QEvent::ShortcutOverride) {
        QPoint step;
        if (arrowStep(static_cast<QKeyEvent*>(e)->key(), step)) {
            e->accept();
            return true;
        }
    }
    return QWidget::event(e);
}

void TKxZodudIro::keyPressEvent(QKeyEvent* e) {
    QPoint step;
    if (!arrowStep(e->key(), step)) {
        QWidget::keyPressEvent(e);
        return;
    }
    if (FHotTrack) {
        // The pointer moves, and the mouse move it causes moves the cross.
        QPoint target = mapFromGlobal(Platform::cursorPos() + step);
        if (!rect().contains(target)) target = crossPos();
        target.setX(std::clamp(target.x(), 0, std::max(0, width() - 1)));
        target.setY(std::clamp(target.y(), 0, std::max(0, height() - 1)));
        Platform::setCursorPos(mapToGlobal(target));
    } else {
        moveCursor(FCrossX + step.x(), FCrossY + step.y());
        fireColorChange(colorAt(FCrossX, FCrossY));
    }
    e->accept();
}

void TKxZodudIro::ArrowKey(int Key, Qt::KeyboardModifiers Shift) {
    QKeyEvent event(QEvent::KeyPress, Key, Shift);
    keyPressEvent(&event);
}
