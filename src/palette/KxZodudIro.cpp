#include "palette/KxZodudIro.h"

#include "colour/ColorQt.h"
#include "palette/ChannelPermute.h"
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

inline Px swapRG(Px p) {
    return {p.b, p.r, p.g};
}
// Red becomes green, green becomes blue, blue becomes red.
inline Px rotateForward(Px p) {
    return {p.g, p.r, p.b};
}
inline Px maxPx(Px a, Px b) {
    return {std::max(a.b, b.b), std::max(a.g, b.g), std::max(a.r, b.r)};
}

constexpr int kFraction = 22;

inline Px same(Px p) {
    return p;
}

// A straight line from a to b over n pixels in fixed point, passed through Op and written in
// reverse when asked. The first pixel of the line is exactly a; a single pixel gets a, since a
// line needs two ends.
template <Px (*Op)(Px) = same, bool Reverse = false>
void ramp(Px* out, int n, Px a, Px b) {
    if (n <= 0) return;
    if (n == 1) {
        out[0] = Op(a);
        return;
    }
    std::int32_t sb = std::int32_t(a.b) << kFraction;
    std::int32_t sg = std::int32_t(a.g) << kFraction;
    std::int32_t sr = std::int32_t(a.r) << kFraction;
    std::int32_t db = (sb - (std::int32_t(b.b) << kFraction)) / (n - 1);
    std::int32_t dg = (sg - (std::int32_t(b.g) << kFraction)) / (n - 1);
    std::int32_t dr = (sr - (std::int32_t(b.r) << kFraction)) / (n - 1);
    if constexpr (Reverse) {
        // Start from the last pixel and step back: the same integers, in a forward loop.
        sb -= (n - 1) * db, sg -= (n - 1) * dg, sr -= (n - 1) * dr;
        db = -db, dg = -dg, dr = -dr;
    }
    // Pixel k is start − k × step, summed up step by step. Neither the sum nor the one step taken
    // past the last pixel leaves 32 bits: each is at most twice 255 × 2^22.
    for (int k = 0; k < n; ++k) {
        out[k] = Op(Px{std::uint8_t(sb >> kFraction), std::uint8_t(sg >> kFraction),
                       std::uint8_t(sr >> kFraction)});
        sb -= db, sg -= dg, sr -= dr;
    }
}

// Where the pure colour sits on the lightness axis: the length of the part from the start colour.
int firstPartLength(int n, bool white2Black, int pastel) {
    const int half = n / 2;
    const int k = pastel * half / 256;
    return white2Black ? n - (half + k) : half + k;
}

void lightnessLine(Px* out, int n, int firstPart, Px start, Px colour, Px end) {
    if (firstPart >= 2) {
        ramp(out, firstPart, start, colour);
        ramp(out + firstPart, n - firstPart, colour, end);
    } else {
        ramp(out, n, colour, end);
    }
}

// Two pixels of a line of hue are the least a ramp can draw.
constexpr int kMinHueSixth = 2;

inline Px* pxRow(TKxZodudIroBitmap& bitmap, int y) {
    return reinterpret_cast<Px*>(bitmap.scanLine(y));
}

// The channel exchanges as byte permutations of blue, green, red.
inline void permuted(ChannelPermute::TOrder order, Px* d, const Px* s, int n) {
    ChannelPermute::permute(order, reinterpret_cast<std::uint8_t*>(d),
                            reinterpret_cast<const std::uint8_t*>(s), n);
}
inline void copySwapRG(Px* d, const Px* s, int n) {
    permuted(ChannelPermute::TOrder::SwapRG, d, s, n);
}
inline void copySwapBG(Px* d, const Px* s, int n) {
    permuted(ChannelPermute::TOrder::SwapBG, d, s, n);
}
inline void copySwapRB(Px* d, const Px* s, int n) {
    permuted(ChannelPermute::TOrder::SwapRB, d, s, n);
}
inline void copyRotateForward(Px* d, const Px* s, int n) {
    permuted(ChannelPermute::TOrder::RotateForward, d, s, n);
}
inline void copyRotateBackward(Px* d, const Px* s, int n) {
    permuted(ChannelPermute::TOrder::RotateBackward, d, s, n);
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
    for (int y = 0; y < H; ++y) {
        Px* const row = pxRow(bitmap, y);
        ramp(row, m, red[std::size_t(y)], yellow[std::size_t(y)]);
        // Pixels m + 1 ... 2m mirror the first m with red and green exchanged; recomputing them
        // keeps the loop running forwards.
        ramp<swapRG, true>(row + m + 1, m, red[std::size_t(y)], yellow[std::size_t(y)]);
        row[m] = maxPx(row[m - 1], row[m + 1]);
        // Pixel 2m is both the end of the first third and the start of the rotated copy; the
        // copy is written first so the later reads of it see what a single pass would.
        row[2 * m] = rotateForward(row[0]);
        copyRotateForward(row + 2 * m + 1, row + 1, 2 * m);
        copyRotateBackward(row + 4 * m + 1, row, 2 * m + 1);
        std::fill(row + hueLen, row + W, gray[std::size_t(y)]);
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
    for (int i = 0; i < o; ++i) {
        lightnessLine(row(i), W, firstPart, start, hue[std::size_t(i)], end);
        copySwapRG(row(2 * o - i), row(i), W);
        copyRotateForward(row(2 * o + i), row(i), W);
        copyRotateForward(row(4 * o + i), row(2 * o + i), W);
        copySwapBG(row(4 * o - i), row(2 * o + i), W);
        copySwapRB(row(6 * o - i), row(4 * o + i), W);
    }
    for (int y : {o, 3 * o, 5 * o}) {
        Px* dst = row(y);
        const Px* above = row(y - 1);
        const Px* below = row(y + 1);
        for (int x = 0; x < W; ++x)
            dst[x] = maxPx(above[x], below[x]);
    }
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
