// Shading and ornaments of the off-screen bitmap: edges, frames, rounded borders, button faces,
// grips and marks. Every shape is cut to the pixels before it is walked and its edges are worked
// out in 64 bits, so a rectangle of any size or position is safe, costs no more than the pixels
// it touches, and may be too small for the whole shape.

#include "pixels/Kxbmp.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

using KxPixel::darken;
using KxPixel::lighten;

// Negative amounts darken by their magnitude, the others lighten (lightening by 0 still costs a
// little brightness, which the groove tables rely on).
inline TKxPixel shade(TKxPixel p, int amount) noexcept {
    return amount < 0 ? darken(p, -amount) : lighten(p, amount);
}

// A mirrored corner: the pixel offset (i, j) from a corner of rect, counted inwards.
struct Corner {
    int x;
    int y;
    int dx;
    int dy;
};

std::array<Corner, 4> cornersOf(const QRect& r) {
    const int right = r.right();
    const int bottom = r.bottom();
    return {Corner{r.x(), r.y(), 1, 1}, Corner{right, r.y(), -1, 1}, Corner{r.x(), bottom, 1, -1},
            Corner{right, bottom, -1, -1}};
}

// A rectangle by its inclusive edges in 64 bits, so that no arithmetic on the edges of an int
// rectangle, however large or far off, can overflow.
struct Box {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = -1;
    std::int64_t bottom = -1;
    bool empty() const noexcept { return right < left || bottom < top; }
};

Box boxOf(const QRect& r) noexcept {
    return {r.left(), r.top(), r.right(), r.bottom()};
}

Box intersected(const Box& a, const Box& b) noexcept {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Box deflated(const Box& b) noexcept {
    return {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1};
}

// The pixels a shape may touch: those inside both the bitmap and a clip box. Every run is cut to
// them before it is walked, so a shape costs what it touches, never what it was asked to cover.
class PixelWindow {
public:
    PixelWindow(TKxPixel* pixels, const QRect& bounds, const Box& clip) noexcept
        : FPixels(pixels), FWidth(bounds.width()),
          FClip(pixels ? intersected(clip, boxOf(bounds)) : Box{}) {}

    bool empty() const noexcept { return FClip.empty(); }

    // f(pixel) for row y, columns from ... to.
    template <class F>
    void row(std::int64_t y, std::int64_t from, std::int64_t to, F f) const {
        if (y < FClip.top || y > FClip.bottom) return;
        from = std::max(from, FClip.left);
        to = std::min(to, FClip.right);
        TKxPixel* line = FPixels + y * FWidth;
        for (std::int64_t x = from; x <= to; ++x)
            f(line[x]);
    }

    // f(pixel) for column x, rows from ... to.
    template <class F>
    void column(std::int64_t x, std::int64_t from, std::int64_t to, F f) const {
        if (x < FClip.left || x > FClip.right) return;
        from = std::max(from, FClip.top);
        to = std::min(to, FClip.bottom);
        for (std::int64_t y = from; y <= to; ++y)
            f(FPixels[y * FWidth + x]);
    }

    template <class F>
    void at(std::int64_t x, std::int64_t y, F f) const {
        if (x >= FClip.left && x <= FClip.right && y >= FClip.top && y <= FClip.bottom)
            f(FPixels[y * FWidth + x]);
    }

private:
    TKxPixel* FPixels;
    std::int64_t FWidth;
    Box FClip;
};

// The outline of a rounded rectangle: the straight edges from each side's fourth pixel on, then
// at every corner seven pixels that round it off in three strengths: 0 next to the edges, 1 on the
// curve, 2 just inside it.
template <class Edge, class Round>
void forRoundedOutline(const PixelWindow& window, const Box& r, Edge edge, Round round) {
    if (r.empty() || window.empty()) return;
    window.row(r.top, r.left + 3, r.right - 3, edge);
    window.row(r.bottom, r.left + 3, r.right - 3, edge);
    window.column(r.left, r.top + 3, r.bottom - 3, edge);
    window.column(r.right, r.top + 3, r.bottom - 3, edge);
    static constexpr std::array<std::array<int, 3>, 7> kRounding = {
        {{1, 0, 0}, {2, 0, 1}, {0, 1, 0}, {1, 1, 1}, {2, 1, 2}, {0, 2, 1}, {1, 2, 2}}};
    const std::array<std::array<std::int64_t, 4>, 4> corners = {{{r.left, r.top, 1, 1},
                                                                 {r.right, r.top, -1, 1},
                                                                 {r.left, r.bottom, 1, -1},
                                                                 {r.right, r.bottom, -1, -1}}};
    for (const auto& [x, y, dx, dy] : corners)
        for (const auto& [i, j, strength] : kRounding)
            window.at(x + dx * i, y + dy * j, [&round, s = strength](TKxPixel& p) { round(p, s); });
}

// The border ring of r without its corner pixels lightened by amount, then the four pixels
// diagonally inside the corners by five sevenths of it.
void highlightRing(const PixelWindow& window, const Box& r, int amount) {
    if (r.empty() || window.empty()) return;
    const auto by = [](int a) { return [a](TKxPixel& p) { p = lighten(p, a); }; };
    window.row(r.top, r.left + 1, r.right - 1, by(amount));
    window.row(r.bottom, r.left + 1, r.right - 1, by(amount));
    window.column(r.left, r.top + 1, r.bottom - 1, by(amount));
    window.column(r.right, r.top + 1, r.bottom - 1, by(amount));
    const int inside = int(std::int64_t(amount) * 5 / 7);
    window.at(r.left + 1, r.top + 1, by(inside));
    window.at(r.right - 1, r.top + 1, by(inside));
    window.at(r.left + 1, r.bottom - 1, by(inside));
    window.at(r.right - 1, r.bottom - 1, by(inside));
}

void shadowOutline(const PixelWindow& window, const Box& r, int amount) {
    const std::array<int, 3> byStrength = {int(std::int64_t(amount) * 4 / 9),
                                           int(std::int64_t(amount) * 6 / 7), amount / 4};
    forRoundedOutline(
        window, r, [&](TKxPixel& p) { p = darken(p, amount); },
        [&](TKxPixel& p, int strength) { p = darken(p, byStrength[std::size_t(strength)]); });
}

// A rectangle for the guards: the part of box inside bounds, or an empty rectangle.
QRect rectWithin(const Box& box, const QRect& bounds) {
    const Box inside = intersected(box, boxOf(bounds));
    if (inside.empty()) return {};
    return QRect(QPoint(int(inside.left), int(inside.top)),
                 QPoint(int(inside.right), int(inside.bottom)));
}

// Coverage of the soft corner's triangle: row 0 at the edge, position 0 the corner pixel.
constexpr std::array<std::array<int, 4>, 4> kSoftCorner = {{
    {255, 255, 168, 64},
    {255, 120, 15, 0},
    {168, 15, 0, 0},
    {64, 0, 0, 0},
}};

// Rows 1 to 11 of the hot and pressed overlays.
constexpr std::array<int, 11> kHotLighten = {130, 120, 105, 85, 65, 45, 25, 10, 10, 10, 10};
constexpr std::array<int, 11> kPressedDarken = {76, 56, 39, 29, 22, 17, 13, 10, 10, 14, 18};

// ------------------------------------------------------------------------------------------
// Grip grooves

struct GripSize {
    int length; // pattern length P
    int line;   // line width B
    int repeat; // repeat R of the middle table row
    int width2; // two grooves
    int width3; // three grooves
};

constexpr std::array<GripSize, 3> kGripSizes = {{
    {9, 4, 3, 7, 10},
    {12, 5, 6, 9, 13},
    {14, 6, 8, 11, 16},
}};

// Vertical grooves: 7 rows of B amounts (B = 4, 5, 6), padded to 6.
using VerticalTable = std::array<std::array<int, 6>, 7>;
constexpr std::array<VerticalTable, 3> kVerticalGrooves = {{
    {{{80, 80, 80, 80},
      {65, -125, -145, 65},
      {55, -95, -125, 55},
      {45, -85, -120, 45},
      {25, -70, -120, 25},
      {15, -50, -90, 15},
      {0, 15, 15, 0}}},
    {{{80, 80, 80, 80, 80},
      {65, -105, -125, -145, 65},
      {55, -65, -95, -125, 55},
      {45, -45, -85, -120, 45},
      {25, -40, -70, -120, 25},
      {15, -35, -50, -90, 15},
      {0, 15, 15, 15, 0}}},
    {{{80, 80, 80, 80, 80, 80},
      {65, -80, -105, -125, -145, 65},
      {55, -45, -65, -95, -125, 55},
      {45, -30, -45, -85, -120, 45},
      {25, -25, -40, -70, -120, 25},
      {15, -30, -35, -50, -90, 15},
      {0, 15, 15, 15, 15, 0}}},
}};

// Horizontal grooves: B rows of 7 amounts.
using HorizontalTable = std::array<std::array<int, 7>, 6>;
constexpr std::array<HorizontalTable, 3> kHorizontalGrooves = {{
    {{{80, 65, 55, 45, 25, 15, 0},
      {80, -145, -125, -120, -120, -90, 15},
      {80, -120, -95, -85, -70, -50, 15},
      {80, 65, 55, 45, 25, 15, 0}}},
    {{{80, 65, 55, 45, 25, 15, 0},
      {80, -145, -125, -120, -120, -90, 15},
      {80, -120, -95, -85, -70, -50, 15},
      {80, -105, -65, -45, -40, -35, 15},
      {80, 65, 55, 45, 25, 15, 0}}},
    {{{80, 65, 55, 45, 25, 15, 0},
      {80, -145, -125, -120, -120, -90, 15},
      {80, -120, -95, -85, -70, -50, 15},
      {80, -105, -65, -45, -40, -35, 15},
      {80, -80, -45, -30, -25, -30, 15},
      {80, 65, 55, 45, 25, 15, 0}}},
}};

// The size whose pattern fits `along` (the groove length direction) and `across`, or -1.
int gripSizeFor(int along, int across) {
    if (along >= 15 && across > 10) return 2;
    if (along >= 13 && along < 15 && across > 8) return 1;
    if (along >= 9 && along < 13 && across > 6) return 0;
    return -1;
}

// ------------------------------------------------------------------------------------------
// Mark masks

constexpr std::array<std::uint8_t, 7 * 7> kCircleSmall = {
    0,   91,  219, 255, 215, 91,  0,   //
    91,  255, 255, 255, 255, 255, 91,  //
    215, 255, 255, 255, 255, 255, 215, //
    255, 255, 255, 255, 255, 255, 255, //
    215, 255, 255, 255, 255, 255, 215, //
    91,  255, 255, 255, 255, 255, 91,  //
    0,   91,  219, 255, 219, 91,  0,
};

constexpr std::array<std::uint8_t, 9 * 9> kCircleMedium = {
    0,   11,  132, 223, 255, 223, 132, 11,  0,   //
    11,  200, 255, 255, 255, 255, 255, 200, 11,  //
    132, 255, 255, 255, 255, 255, 255, 255, 132, //
    223, 255, 255, 255, 255, 255, 255, 255, 223, //
    255, 255, 255, 255, 255, 255, 255, 255, 255, //
    223, 255, 255, 255, 255, 255, 255, 255, 223, //
    132, 255, 255, 255, 255, 255, 255, 255, 132, //
    11,  200, 255, 255, 255, 255, 255, 200, 11,  //
    0,   11,  132, 223, 255, 223, 132, 11,  0,
};

constexpr std::array<std::uint8_t, 11 * 11> kCircleLarge = {
    0,   0,   35,  158, 229, 255, 229, 158, 35,  0,   0,   //
    0,   76,  244, 255, 255, 255, 255, 255, 244, 76,  0,   //
    35,  244, 255, 255, 255, 255, 255, 255, 255, 244, 35,  //
    158, 255, 255, 255, 255, 255, 255, 255, 255, 255, 158, //
    229, 255, 255, 255, 255, 255, 255, 255, 255, 255, 229, //
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, //
    229, 255, 255, 255, 255, 255, 255, 255, 255, 255, 229, //
    158, 255, 255, 255, 255, 255, 255, 255, 255, 255, 158, //
    35,  244, 255, 255, 255, 255, 255, 255, 255, 244, 35,  //
    0,   76,  244, 255, 255, 255, 255, 255, 244, 76,  0,   //
    0,   0,   35,  158, 229, 255, 229, 158, 35,  0,   0,
};

// Diamonds, stars and squares follow simple rules around the centre pixel c = (n − 1) / 2.
constexpr std::uint8_t diamondCoverage(int n, int x, int y) {
    const int c = (n - 1) / 2;
    const int d = (x > c ? x - c : c - x) + (y > c ? y - c : c - y);
    return d < c ? 255 : d == c ? 243 : 0;
}

// Eight points: the axes taper to 176 and 121 at their tips, the diagonals end in 121 and carry
// a faint fringe of 19 beside them.
constexpr std::uint8_t starCoverage(int n, int x, int y) {
    const int c = (n - 1) / 2;
    const int dx = x > c ? x - c : c - x;
    const int dy = y > c ? y - c : c - y;
    const int m = std::max(dx, dy);
    if (dx == 0 || dy == 0) return m <= c - 2 ? 255 : m == c - 1 ? 176 : 121;
    if (dx == dy) return m <= c - 1 ? 255 : 121;
    if ((dx - dy == 1 || dy - dx == 1) && m <= c - 1) return 19;
    return 0;
}

constexpr std::uint8_t squareCoverage(int n, int x, int y) {
    return ((x == 0 || x == n - 1) && (y == 0 || y == n - 1)) ? 0 : 255;
}

template <int N, typename F>
constexpr std::array<std::uint8_t, N * N> makeMask(F coverage) {
    std::array<std::uint8_t, N * N> mask{};
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            mask[std::size_t(y * N + x)] = coverage(N, x, y);
    return mask;
}

constexpr auto kDiamondSmall = makeMask<9>(diamondCoverage);
constexpr auto kDiamondMedium = makeMask<11>(diamondCoverage);
constexpr auto kDiamondLarge = makeMask<13>(diamondCoverage);
constexpr auto kStarSmall = makeMask<9>(starCoverage);
constexpr auto kStarMedium = makeMask<11>(starCoverage);
constexpr auto kStarLarge = makeMask<13>(starCoverage);
constexpr auto kSquareSmall = makeMask<7>(squareCoverage);
constexpr auto kSquareMedium = makeMask<9>(squareCoverage);
constexpr auto kSquareLarge = makeMask<11>(squareCoverage);

struct Mask {
    const std::uint8_t* data;
    int size;
};

Mask maskFor(TKxMarkShape shape, TKxMarkSize size) {
    const int s = static_cast<int>(size);
    switch (shape) {
    case TKxMarkShape::Circle:
        return s == 0   ? Mask{kCircleSmall.data(), 7}
               : s == 1 ? Mask{kCircleMedium.data(), 9}
                        : Mask{kCircleLarge.data(), 11};
    case TKxMarkShape::Square:
        return s == 0   ? Mask{kSquareSmall.data(), 7}
               : s == 1 ? Mask{kSquareMedium.data(), 9}
                        : Mask{kSquareLarge.data(), 11};
    case TKxMarkShape::Diamond:
        return s == 0   ? Mask{kDiamondSmall.data(), 9}
               : s == 1 ? Mask{kDiamondMedium.data(), 11}
                        : Mask{kDiamondLarge.data(), 13};
    case TKxMarkShape::Star:
        break;
    }
    return s == 0   ? Mask{kStarSmall.data(), 9}
           : s == 1 ? Mask{kStarMedium.data(), 11}
                    : Mask{kStarLarge.data(), 13};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Helpers

TKxPixel* TKxBmp::pixelIn(const QRect& area, int x, int y) noexcept {
    if (x < area.x() || y < area.y() || x - area.x() >= area.width() ||
        y - area.y() >= area.height())
        return nullptr;
    return pixelAt(x, y);
}

// Top: row 0, columns 0 … w − 2. Bottom: row h − 1, all columns. Left: column 0, rows
// 0 … h − 2. Right: column w − 1, all rows. The short sides leave the far corner to the other
// edge, so a frame of two colours meets cleanly.
void TKxBmp::shadeEdge(Side side, bool lightenIt, int amount, const QRect& rect) {
    const int w = rect.width();
    const int h = rect.height();
    if (w <= 0 || h <= 0) return;
    int x = rect.x();
    int y = rect.y();
    int dx = 0;
    int dy = 0;
    int count = 0;
    switch (side) {
    case Side::Top:
        dx = 1;
        count = w - 1;
        break;
    case Side::Bottom:
        y += h - 1;
        dx = 1;
        count = w;
        break;
    case Side::Left:
        dy = 1;
        count = h - 1;
        break;
    case Side::Right:
        x += w - 1;
        dy = 1;
        count = h;
        break;
    }
    for (int i = 0; i < count; ++i, x += dx, y += dy) {
        if (TKxPixel* p = pixelAt(x, y)) *p = lightenIt ? lighten(*p, amount) : darken(*p, amount);
    }
}

void TKxBmp::blendMask(const std::uint8_t* mask, int size, int x, int y, TKxPixel colour) {
    if (!FBits) return;
    for (int j = 0; j < size; ++j) {
        const std::int64_t py = std::int64_t(y) + j;
        if (py < 0 || py >= FHeight) continue;
        TKxPixel* line = pixelRow(int(py));
        for (int i = 0; i < size; ++i) {
            const std::int64_t px = std::int64_t(x) + i;
            if (px >= 0 && px < FWidth)
                line[px] = KxPixel::blendColour(line[px], colour, mask[j * size + i]);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Edges and frames

void TKxBmp::edge3D(bool twoRings, bool raised, QRect rect) {
    if (!pixelGuard(rect)) return;
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    if (!twoRings && !raised) {
        shadeEdge(Side::Left, false, 60, rect);
        shadeEdge(Side::Top, false, 90, rect);
        shadeEdge(Side::Right, true, 120, rect);
        shadeEdge(Side::Bottom, true, 150, rect);
    } else if (!twoRings) {
        shadeEdge(Side::Left, true, 120, rect);
        shadeEdge(Side::Top, true, 150, rect);
        shadeEdge(Side::Right, false, 60, rect);
        shadeEdge(Side::Bottom, false, 90, rect);
    } else if (!raised) {
        shadeEdge(Side::Left, false, 90, rect);
        shadeEdge(Side::Top, false, 120, rect);
        shadeEdge(Side::Right, true, 120, rect);
        shadeEdge(Side::Bottom, true, 160, rect);
        shadeEdge(Side::Left, false, 60, inner);
        shadeEdge(Side::Top, false, 90, inner);
    } else {
        shadeEdge(Side::Left, true, 120, rect);
        shadeEdge(Side::Top, true, 150, rect);
        shadeEdge(Side::Right, false, 90, rect);
        shadeEdge(Side::Bottom, false, 120, rect);
        shadeEdge(Side::Right, false, 60, inner);
        shadeEdge(Side::Bottom, false, 90, inner);
    }
}

void TKxBmp::softEdge(bool lengthwise, QRect rect) {
    if (!pixelGuard(rect)) return;
    if (lengthwise) {
        if (rect.width() < rect.height()) {
            shadeEdge(Side::Top, true, 150, rect);
            shadeEdge(Side::Bottom, false, 90, rect);
        } else {
            shadeEdge(Side::Left, true, 120, rect);
            shadeEdge(Side::Right, false, 60, rect);
        }
    } else {
        shadeEdge(Side::Top, true, 150, rect);
        shadeEdge(Side::Bottom, false, 90, rect);
        shadeEdge(Side::Left, true, 120, rect);
        shadeEdge(Side::Right, false, 60, rect);
    }
    fadeCorners(rect);
}

void TKxBmp::fadeCorners(QRect rect) {
    if (!pixelGuard(rect)) return;
    const auto setAlpha = [&](int x, int y, TKxPixel alpha) {
        if (TKxPixel* p = pixelIn(rect, x, y)) *p = (*p & 0x00FFFFFFu) | (alpha << 24);
    };
    for (const Corner& c : cornersOf(rect)) {
        setAlpha(c.x, c.y, 50);
        setAlpha(c.x + c.dx, c.y, 180);
        setAlpha(c.x, c.y + c.dy, 180);
    }
}

void TKxBmp::frameRect(int thickness, TKxColor colour, QRect rect) {
    QRect area = rect;
    if (!contextGuard(area) || !FBits) return;
    const TKxPixel value = colour.toPixel();
    const Box r = boxOf(rect);
    const std::int64_t rings =
        std::min<std::int64_t>(thickness, std::min(r.right - r.left + 1, r.bottom - r.top + 1) / 2);
    if (rings <= 0) return;
    // Ring i is the outline inset by i, so the rings together paint every pixel of the rectangle
    // nearer than `rings` to its border: whole rows near the top and bottom, and in between the
    // left and right bands. Only the part on the bitmap is walked.
    const Box a = boxOf(area);
    for (std::int64_t y = a.top; y <= a.bottom; ++y) {
        TKxPixel* line = pixelRow(int(y));
        const auto fill = [&](std::int64_t from, std::int64_t to) {
            for (std::int64_t x = std::max(from, a.left); x <= std::min(to, a.right); ++x)
                line[x] = value;
        };
        if (std::min(y - r.top, r.bottom - y) < rings) {
            fill(a.left, a.right);
        } else {
            fill(r.left, r.left + rings - 1);
            fill(std::max(r.right - rings + 1, r.left + rings), r.right);
        }
    }
}

void TKxBmp::softCorners(QRect rect) {
    // The rectangle grown by the one pixel of its surroundings meets the bitmap exactly when the
    // rectangle does, so one guard on the rectangle serves both (and grows nothing past int).
    if (!pixelGuard(rect)) return;
    for (const Corner& c : cornersOf(rect)) {
        // The colour around the corner: the pixel beside it along the row and the one beside it
        // along the column. Where the bitmap ends one stands in for the other; a corner with
        // nothing around it has nothing to melt into.
        const TKxPixel* alongRow = pixelAt(c.x - c.dx, c.y);
        const TKxPixel* alongColumn = pixelAt(c.x, c.y - c.dy);
        if (!alongRow && !alongColumn) continue;
        const TKxPixel outside = KxPixel::average(alongRow ? *alongRow : *alongColumn,
                                                  alongColumn ? *alongColumn : *alongRow);
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i + j < 4; ++i)
                if (TKxPixel* p = pixelIn(rect, c.x + c.dx * i, c.y + c.dy * j))
                    *p = KxPixel::blendColour(*p, outside,
                                              kSoftCorner[std::size_t(j)][std::size_t(i)]);
    }
}

void TKxBmp::focusFrame(TKxColor colour, QRect rect) {
    if (!contextGuard(rect)) return;
    const TKxPixel value = colour.toPixel();
    const int w = rect.width();
    const int h = rect.height();
    const int x0 = rect.x();
    const int y0 = rect.y();
    const auto put = [&](int i, int j) {
        if (TKxPixel* p = pixelIn(rect, x0 + i, y0 + j)) *p = value;
    };
    for (int i = 1; i <= w - 2; ++i) {
        put(i, 0);
        put(i, h - 1);
    }
    for (int j = 1; j <= h - 2; ++j) {
        put(0, j);
        put(w - 1, j);
    }
    for (const auto& [i, j] : {std::pair{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}})
        if (TKxPixel* p = pixelIn(rect, x0 + i, y0 + j)) *p = KxPixel::average(*p, value);
}

void TKxBmp::roundedBorder(TKxColor colour, QRect rect) {
    if (!FBits) return;
    const TKxPixel value = colour.toPixel();
    using KxPixel::average;
    const Box r = boxOf(rect);
    forRoundedOutline(
        PixelWindow(FPixels.get(), FBounds, r), r, [&](TKxPixel& p) { p = value; },
        [&](TKxPixel& p, int strength) {
            const TKxPixel half = average(p, value);
            p = strength == 0 ? half : strength == 1 ? average(half, value) : average(p, half);
        });
}

void TKxBmp::roundedShadow(int amount, QRect rect) {
    if (!FBits) return;
    const Box r = boxOf(rect);
    shadowOutline(PixelWindow(FPixels.get(), FBounds, r), r, amount);
}

void TKxBmp::innerHighlight(int amount, QRect rect) {
    if (!FBits) return;
    const Box r = boxOf(rect);
    highlightRing(PixelWindow(FPixels.get(), FBounds, r), r, amount);
}

// ---------------------------------------------------------------------------------------------
// Button faces and overlays

void TKxBmp::buttonFace(int shadeAmount, bool pipe, TKxColor darkColour, TKxColor lightColour,
                        QRect rect) {
    if (!contextGuard(rect)) return;
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    if (inner.width() > 0 && inner.height() > 0) {
        if (pipe)
            pipeRect(true, shadeAmount, false, darkColour, lightColour, inner);
        else
            gradientRect(true, lightColour, darkColour, inner);
    }
    roundedBorder(TKxColor::fromPixel(darken(darkColour.toPixel(), 80)), rect);
    innerHighlight(130, inner);
}

void TKxBmp::buttonFacePressed(int shadeAmount, bool pipe, TKxColor darkColour,
                               TKxColor lightColour, QRect rect) {
    if (!contextGuard(rect)) return;
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    if (inner.width() > 0 && inner.height() > 0) {
        if (pipe)
            pipeRect(true, shadeAmount, false, darkColour, lightColour, inner);
        else
            gradientRect(true, lightColour, darkColour, inner);
    }
    flatPressed(rect);
}

// The overlays shade rows of the whole bitmap's width and height, counted from the rectangle's
// top-left pixel; whatever of that lies outside the pixels is left out. The outline and
// highlight that follow walk only what lies on the bitmap, however large the rectangle.
void TKxBmp::flatHot(QRect rect) {
    const QRect origin = rect;
    if (!contextGuard(rect) || !FBits) return;
    const std::int64_t x0 = origin.x();
    const std::int64_t y0 = origin.y();
    const int w = FWidth;
    const int h = FHeight;
    const auto shadeRow = [&](int row, bool lightenIt, int amount) {
        const std::int64_t y = y0 + row;
        if (y < 0 || y >= h) return;
        const std::int64_t from = std::max<std::int64_t>(x0 + 1, 0);
        const std::int64_t to = std::min<std::int64_t>(x0 + w - 2, w - 1);
        TKxPixel* line = pixelRow(int(y));
        for (std::int64_t x = from; x <= to; ++x)
            line[x] = lightenIt ? lighten(line[x], amount) : darken(line[x], amount);
    };
    for (int i = 0; i < int(kHotLighten.size()); ++i)
        shadeRow(i + 1, true, kHotLighten[std::size_t(i)]);
    TKxByteBuf ramp(h - 14);
    ramp.fillRamp(20, 1);
    for (int i = 0; i < ramp.count(); ++i)
        shadeRow(12 + i, false, ramp[i]);
    const Box r = boxOf(origin);
    shadowOutline(PixelWindow(FPixels.get(), FBounds, r), r, 80);
    const Box inner = deflated(r);
    highlightRing(PixelWindow(FPixels.get(), FBounds, inner), inner, 130);
}

void TKxBmp::flatPressed(QRect rect) {
    const QRect origin = rect;
    if (!contextGuard(rect) || !FBits) return;
    const std::int64_t x0 = origin.x();
    const std::int64_t y0 = origin.y();
    const int w = FWidth;
    const int h = FHeight;
    const auto shadeRow = [&](int row, int amount) {
        const std::int64_t y = y0 + row;
        if (y < 0 || y >= h) return;
        const std::int64_t from = std::max<std::int64_t>(x0 + 1, 0);
        const std::int64_t to = std::min<std::int64_t>(x0 + w - 2, w - 1);
        TKxPixel* line = pixelRow(int(y));
        for (std::int64_t x = from; x <= to; ++x)
            line[x] = darken(line[x], amount);
    };
    for (int i = 0; i < int(kPressedDarken.size()); ++i)
        shadeRow(i + 1, kPressedDarken[std::size_t(i)]);
    // The ramp's last three entries deepen into the bottom edge; a short ramp keeps as many of
    // them as it has entries.
    TKxByteBuf ramp(h - 13);
    ramp.fillRamp(18, 10);
    constexpr std::array<std::uint8_t, 3> kBottom = {10, 25, 56};
    for (int k = 0; k < 3; ++k) {
        const int index = ramp.count() - 3 + k;
        if (index >= 0) ramp.data()[index] = kBottom[std::size_t(k)];
    }
    for (int i = 0; i < ramp.count(); ++i)
        shadeRow(12 + i, ramp[i]);
    const std::int64_t firstRow = std::max<std::int64_t>(1, -y0);
    const std::int64_t lastRow = std::min<std::int64_t>(h - 2, h - 1 - y0);
    for (std::int64_t row = firstRow; row <= lastRow; ++row) {
        TKxPixel* line = pixelRow(int(y0 + row));
        const auto darkenAt = [&](std::int64_t x, int amount) {
            if (x >= 0 && x < w) line[x] = darken(line[x], amount);
        };
        darkenAt(x0 + 1, 39);
        darkenAt(x0 + w - 2, 39);
        darkenAt(x0 + 2, 17);
        darkenAt(x0 + w - 3, 17);
    }
    const Box r = boxOf(origin);
    shadowOutline(PixelWindow(FPixels.get(), FBounds, r), r, 170);
}

// ---------------------------------------------------------------------------------------------
// Marks and grips

void TKxBmp::drawMark(TKxMarkShape shape, TKxMarkSize size, int x, int y, TKxColor colour) {
    const Mask mask = maskFor(shape, size);
    QRect area = rectWithin(
        {x, y, std::int64_t(x) + mask.size - 1, std::int64_t(y) + mask.size - 1}, FBounds);
    if (!contextGuard(area)) return;
    blendMask(mask.data, mask.size, x, y, colour.toPixel());
}

void TKxBmp::squareMark(TKxColor colour, QRect rect) {
    if (!pixelGuard(rect)) return;
    const TKxPixel value = colour.toPixel();
    for (int y = rect.y(); y <= rect.bottom(); ++y) {
        const bool edgeRow = y == rect.y() || y == rect.bottom();
        const int from = edgeRow ? rect.x() + 1 : rect.x();
        const int to = edgeRow ? rect.right() - 1 : rect.right();
        TKxPixel* line = pixelRow(y);
        for (int x = from; x <= to; ++x)
            line[x] = value;
    }
}

void TKxBmp::grip(bool verticalLines, QRect rect) {
    if (!contextGuard(rect) || !FBits) return;
    gripGrooves(verticalLines, rect);
}

void TKxBmp::gripGrooves(bool verticalLines, const QRect& rect) {
    const int insetX = rect.width() > 15 ? 3 : 2;
    const int insetY = rect.height() > 15 ? 3 : 2;
    const QRect area = rect.adjusted(insetX, insetY, -insetX, -insetY);
    const int w = area.width();
    const int h = area.height();
    const int kind = verticalLines ? gripSizeFor(h, w) : gripSizeFor(w, h);
    if (kind < 0) return;
    const GripSize& g = kGripSizes[std::size_t(kind)];
    const int across = verticalLines ? w : h;
    const int offset = across > g.width3 ? (across - g.width3) / 2 : (across - g.width2) / 2;
    const int top = verticalLines ? area.y() + (h - g.length) / 2 : area.y() + offset;
    const int left = verticalLines ? area.x() + offset : area.x() + (w - g.length) / 2;

    // Walk the P pattern positions along the groove: table entries 0, 1, 2, then entry 3 R
    // times, then 4, 5, 6.
    const auto entryAt = [&](int position) {
        if (position < 3) return position;
        if (position < 3 + g.repeat) return 3;
        return position - g.repeat + 1;
    };
    for (int pos = 0; pos < g.length; ++pos) {
        const int entry = entryAt(pos);
        for (int k = 0; k < g.line; ++k) {
            const int x = verticalLines ? left + k : left + pos;
            const int y = verticalLines ? top + pos : top + k;
            const int amount =
                verticalLines
                    ? kVerticalGrooves[std::size_t(kind)][std::size_t(entry)][std::size_t(k)]
                    : kHorizontalGrooves[std::size_t(kind)][std::size_t(k)][std::size_t(entry)];
            if (TKxPixel* p = pixelAt(x, y)) *p = shade(*p, amount);
        }
    }

    // The shaded lines 1 … B − 1 repeat beside the first groove, two or one more times as room
    // allows up to the rectangle's far edge.
    const int period = g.line - 1;
    const int room = verticalLines ? area.x() + w - left : area.y() + h - top;
    const int copies = 3 * period < room ? 2 : 2 * period < room ? 1 : 0;
    for (int copy = 1; copy <= copies; ++copy) {
        for (int pos = 0; pos < g.length; ++pos) {
            for (int k = 1; k <= period; ++k) {
                const int sx = verticalLines ? left + k : left + pos;
                const int sy = verticalLines ? top + pos : top + k;
                const int tx = verticalLines ? sx + copy * period : sx;
                const int ty = verticalLines ? sy : sy + copy * period;
                const TKxPixel* from = pixelAt(sx, sy);
                TKxPixel* to = pixelAt(tx, ty);
                if (from && to) *to = *from;
            }
        }
    }
}
