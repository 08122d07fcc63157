#include "palette/KxZodudIro.h"

#include "colour/ColorQt.h"
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
#include <bit>
#include <cmath>
#include <cstring>

namespace {

// One pixel of the palette bitmap, in memory order.
struct Px {
    std::uint8_t b, g, r;
};
static_assert(sizeof(Px) == 3);

// A pixel while a row is worked out: blue in bits 0-7, green 8-15, red 16-23. Rows are built in
// words and packed to three bytes a pixel only on their way into the bitmap.
using Word = std::uint32_t;

constexpr Word toWord(Px p) {
    return Word(p.b) | Word(p.g) << 8 | Word(p.r) << 16;
}

constexpr Word kWhite24 = 0xFFFFFF;
constexpr Word kBlack24 = 0;

// Byte t of the result is byte S<t> of w: the channel exchanges of the hue circle.
template <int S0, int S1, int S2>
constexpr Word permuted(Word w) {
    return ((w >> (8 * S0)) & 0xFF) | ((w >> (8 * S1)) & 0xFF) << 8 |
           ((w >> (8 * S2)) & 0xFF) << 16;
}
constexpr Word same(Word w) {
    return w;
}
constexpr Word swapRG(Word w) {
    return permuted<0, 2, 1>(w);
}
// Red becomes green, green becomes blue, blue becomes red.
constexpr Word rotateForward(Word w) {
    return permuted<1, 2, 0>(w);
}
constexpr Word maxWord(Word a, Word b) {
    return std::max(a & 0xFF, b & 0xFF) | std::max(a & 0xFF00, b & 0xFF00) |
           std::max(a & 0xFF0000, b & 0xFF0000);
}

constexpr int kFraction = 22;

// A straight line from a to b over n pixels in fixed point, passed through Op and written in
// reverse when asked. The first pixel of the line is exactly a; a single pixel gets a, since a
// line needs two ends.
template <Word (*Op)(Word) = same, bool Reverse = false>
void ramp(Word* out, int n, Word a, Word b) {
    if (n <= 0) return;
    if (n == 1) {
        out[0] = Op(a);
        return;
    }
    const auto fixed = [](Word w, int shift) {
        return std::int32_t((w >> shift) & 0xFF) << kFraction;
    };
    std::int32_t sb = fixed(a, 0), sg = fixed(a, 8), sr = fixed(a, 16);
    std::int32_t db = (sb - fixed(b, 0)) / (n - 1);
    std::int32_t dg = (sg - fixed(b, 8)) / (n - 1);
    std::int32_t dr = (sr - fixed(b, 16)) / (n - 1);
    if constexpr (Reverse) {
        // Start from the last pixel and step back: the same integers, in a forward loop.
        sb -= (n - 1) * db, sg -= (n - 1) * dg, sr -= (n - 1) * dr;
        db = -db, dg = -dg, dr = -dr;
    }
    // Pixel k is start − k × step, summed up step by step. Neither the sum nor the one step taken
    // past the last pixel leaves 32 bits: each is at most twice 255 × 2^22.
    for (int k = 0; k < n; ++k) {
        out[k] =
            Op(Word(sb >> kFraction) | Word(sg >> kFraction) << 8 | Word(sr >> kFraction) << 16);
        sb -= db, sg -= dg, sr -= dr;
    }
}

// Where the pure colour sits on the lightness axis: the length of the part from the start colour.
int firstPartLength(int n, bool white2Black, int pastel) {
    const int half = n / 2;
    const int k = pastel * half / 256;
    return white2Black ? n - (half + k) : half + k;
}

void lightnessLine(Word* out, int n, int firstPart, Word start, Word colour, Word end) {
    if (firstPart >= 2) {
        ramp(out, firstPart, start, colour);
        ramp(out + firstPart, n - firstPart, colour, end);
    } else {
        ramp(out, n, colour, end);
    }
}

// Two pixels of a line of hue are the least a ramp can draw.
constexpr int kMinHueSixth = 2;

// Packs n words into n three-byte pixels, each through the channel exchange S. Eight pixels go
// out as three 64-bit stores instead of 24 byte stores.
template <int S0, int S1, int S2>
void packRun(std::uint8_t* out, const Word* in, int n) {
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= n; i += 8, out += 24) {
            std::uint64_t p[8];
            for (int k = 0; k < 8; ++k)
                p[k] = permuted<S0, S1, S2>(in[i + k]);
            const std::uint64_t w0 = p[0] | p[1] << 24 | p[2] << 48;
            const std::uint64_t w1 = p[2] >> 16 | p[3] << 8 | p[4] << 32 | p[5] << 56;
            const std::uint64_t w2 = p[5] >> 8 | p[6] << 16 | p[7] << 40;
            std::memcpy(out, &w0, 8);
            std::memcpy(out + 8, &w1, 8);
            std::memcpy(out + 16, &w2, 8);
        }
    }
    for (; i < n; ++i, out += 3) {
        const Word w = permuted<S0, S1, S2>(in[i]);
        out[0] = std::uint8_t(w);
        out[1] = std::uint8_t(w >> 8);
        out[2] = std::uint8_t(w >> 16);
    }
}

// n pixels of one colour; the palette's grays have three equal bytes, which is a memset.
void fillRun(std::uint8_t* out, int n, Word w) {
    if (n <= 0) return;
    const auto b = std::uint8_t(w);
    if (w == (Word(b) * 0x010101u)) {
        std::memset(out, b, std::size_t(n) * 3);
        return;
    }
    for (int i = 0; i < n; ++i, out += 3) {
        out[0] = b;
        out[1] = std::uint8_t(w >> 8);
        out[2] = std::uint8_t(w >> 16);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Bitmap

void TKxZodudIroBitmap::setSize(int width, int height) {
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    FStride = (FWidth * 3 + 3) & ~3;
    FPixels.assign(std::size_t(FStride) * std::size_t(FHeight), 0);
    FPixels.shrink_to_fit();
}

ColorValue TKxZodudIroBitmap::colorAt(int x, int y) const noexcept {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return kNoColor;
    const std::uint8_t* p = scanLine(y) + std::size_t(x) * 3;
    return MakeColor(p[2], p[1], p[0]);
}

QImage TKxZodudIroBitmap::image() const {
    if (FWidth == 0 || FHeight == 0) return {};
    return QImage(FPixels.data(), FWidth, FHeight, FStride, QImage::Format_BGR888);
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

    const Word start = white2Black ? kWhite24 : kBlack24;
    const Word end = white2Black ? kBlack24 : kWhite24;
    const int half = H / 2;
    const int firstPart = firstPartLength(H, white2Black, pastel);
    const auto p = Word(pastel);

    std::vector<Word> red(static_cast<std::size_t>(H)), yellow(red.size()), gray(red.size());
    lightnessLine(red.data(), H, firstPart, start, p | p << 8 | 0xFF0000, end);
    lightnessLine(yellow.data(), H, firstPart, start, p | 0xFFFF00, end);
    ramp(gray.data(), 2 * half, start, end);
    if (2 * half < H) gray[std::size_t(H - 1)] = end;

    const int hueLen = 6 * m + 2;
    // The first third of a row (2m + 1 pixels); the other two are channel exchanges of it.
    std::vector<Word> third(std::size_t(2 * m + 1));
    Word* const t = third.data();
    const std::size_t rowBytes = std::size_t(W) * 3;
    for (int y = 0; y < H; ++y) {
        const auto Y = std::size_t(y);
        std::uint8_t* const row = bitmap.scanLine(y);
        // A row is a function of its three end colours alone; on tall palettes many rows share
        // them, since the lightness steps are then shorter than one level.
        if (y > 0 && red[Y] == red[Y - 1] && yellow[Y] == yellow[Y - 1] && gray[Y] == gray[Y - 1]) {
            std::memcpy(row, bitmap.scanLine(y - 1), rowBytes);
            continue;
        }
        ramp(t, m, red[Y], yellow[Y]);
        // Pixels m + 1 ... 2m mirror the first m with red and green exchanged; recomputing them
        // keeps the loop running forwards.
        ramp<swapRG, true>(t + m + 1, m, red[Y], yellow[Y]);
        t[m] = maxWord(t[m - 1], t[m + 1]);
        // Pixel 2m is both the end of the first third and the start of the rotated copy, which
        // wins.
        t[2 * m] = rotateForward(t[0]);
        packRun<0, 1, 2>(row, t, 2 * m + 1);
        packRun<1, 2, 0>(row + 3 * (2 * m + 1), t + 1, 2 * m);
        packRun<2, 0, 1>(row + 3 * (4 * m + 1), t, 2 * m + 1);
        fillRun(row + 3 * hueLen, W - hueLen, gray[Y]);
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

    const Word start = white2Black ? kWhite24 : kBlack24;
    const Word end = white2Black ? kBlack24 : kWhite24;
    const int half = W / 2;
    const int firstPart = firstPartLength(W, white2Black, pastel);
    const auto p = Word(pastel);

    std::vector<Word> hue(static_cast<std::size_t>(o));
    ramp(hue.data(), o, p | p << 8 | 0xFF0000, p | 0xFFFF00);

    std::vector<Word> lineWords(static_cast<std::size_t>(W));
    Word* const line = lineWords.data();
    const std::size_t rowBytes = std::size_t(W) * 3;
    auto row = [&](int y) { return bitmap.scanLine(y); };
    for (int i = 0; i < o; ++i) {
        // Each hue line is shown six times with its channels exchanged. Where the hue did not
        // change since the last line, all six copy their neighbours; the rows of the first line
        // are left out, as rows 2o and 4o are shared by two of its copies.
        if (i >= 2 && hue[std::size_t(i)] == hue[std::size_t(i - 1)]) {
            for (auto [to, from] : {std::pair{i, i - 1},
                                    {2 * o - i, 2 * o - i + 1},
                                    {2 * o + i, 2 * o + i - 1},
                                    {4 * o + i, 4 * o + i - 1},
                                    {4 * o - i, 4 * o - i + 1},
                                    {6 * o - i, 6 * o - i + 1}})
                std::memcpy(row(to), row(from), rowBytes);
            continue;
        }
        lightnessLine(line, W, firstPart, start, hue[std::size_t(i)], end);
        // In this order the shared rows end as rotations: 2o rotated forward, 4o the mirror of
        // that in blue and red.
        packRun<0, 1, 2>(row(i), line, W);
        packRun<0, 2, 1>(row(2 * o - i), line, W);
        packRun<1, 2, 0>(row(2 * o + i), line, W);
        packRun<2, 0, 1>(row(4 * o + i), line, W);
        packRun<2, 1, 0>(row(4 * o - i), line, W);
        packRun<1, 0, 2>(row(6 * o - i), line, W);
    }
    for (int y : {o, 3 * o, 5 * o}) {
        std::uint8_t* dst = row(y);
        const std::uint8_t* above = row(y - 1);
        const std::uint8_t* below = row(y + 1);
        for (std::size_t x = 0; x < rowBytes; ++x)
            dst[x] = std::max(above[x], below[x]);
    }
    FHueStripLen = 6 * o;
    FGrayStripLen = H - 6 * o;

    ramp(line, 2 * half, start, end);
    if (2 * half < W) line[W - 1] = end;
    packRun<0, 1, 2>(row(6 * o), line, W);
    for (int y = 6 * o + 1; y < H; ++y)
        std::memcpy(row(y), row(6 * o), rowBytes);
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
