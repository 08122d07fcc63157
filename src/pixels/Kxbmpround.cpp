#include "pixels/Kxbmpround.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr TKxPixel kAlphaMask = 0xFF000000u;
constexpr TKxPixel kColourMask = 0x00FFFFFFu;

int channel(TKxPixel p, int shift) {
    return int((p >> shift) & 0xFF);
}

TKxPixel withAlpha(TKxPixel p, int alpha) {
    return (p & kColourMask) | (TKxPixel(alpha & 0xFF) << 24);
}

// Channel-wise (x × a + y × (255 − a)) >> 8.
TKxPixel mix(TKxPixel x, TKxPixel y, int a) {
    TKxPixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int v = (channel(x, shift) * a + channel(y, shift) * (255 - a)) >> 8;
        out |= TKxPixel(v) << shift;
    }
    return out;
}

// The rounded mean of two pixels in all four channels, alpha included.
TKxPixel halfway(TKxPixel x, TKxPixel y) {
    TKxPixel out = 0;
    for (int shift = 0; shift <= 24; shift += 8)
        out |= TKxPixel((channel(x, shift) + channel(y, shift) + 1) / 2) << shift;
    return out;
}

// k entries from x towards y, each gap one step larger than the one before (10, 11, 12 ... steps
// of (x − y) / (10 + 11 + ... + (k + 9))), so the colour moves slowly at first and fast at the
// end. Written backwards when reversed, which puts the fast end first. Alpha 255.
void acceleratingRamp(TKxColor* out, int k, TKxColor x, TKxColor y, bool reversed) {
    if (k <= 0) return;
    std::int64_t total = 0;
    for (int i = 0; i < k; ++i)
        total += 10 + i;
    const std::array<int, 3> from{x.r, x.g, x.b};
    const std::array<int, 3> to{y.r, y.g, y.b};
    std::array<std::int64_t, 3> step{};
    for (int c = 0; c < 3; ++c)
        step[c] = (std::int64_t(from[c] - to[c]) << 22) / total;
    std::int64_t gaps = 0;
    for (int i = 0; i < k; ++i) {
        if (i > 0) gaps += 9 + i;
        std::array<int, 3> v{};
        for (int c = 0; c < 3; ++c) {
            const std::int64_t value = (std::int64_t(from[c]) << 22) - step[c] * gaps;
            v[c] = std::clamp(int(value / (std::int64_t(1) << 22)), 0, 255);
        }
        out[reversed ? k - 1 - i : i] = TKxColor(v[0], v[1], v[2], 255);
    }
}

// The small balls, by side: the upper triangle of a symmetric table, row by row from the
// diagonal on. Each entry mixes either light with dark (ld) or dark with very dark by `a`.
struct BallCell {
    std::uint8_t a;
    std::uint8_t alpha;
    bool ld;
};

constexpr std::array<BallCell, 10> kBall4{{{70, 40, true},
                                           {150, 180, true},
                                           {40, 180, true},
                                           {140, 40, false},
                                           {200, 255, true},
                                           {130, 255, true},
                                           {180, 180, false},
                                           {220, 255, false},
                                           {140, 180, false},
                                           {100, 40, false}}};

constexpr std::array<BallCell, 15> kBall5{{{128, 20, true},
                                           {210, 110, true},
                                           {150, 180, true},
                                           {123, 110, true},
                                           {225, 20, false},
                                           {240, 255, true},
                                           {160, 255, true},
                                           {80, 230, true},
                                           {200, 100, false},
                                           {130, 255, true},
                                           {245, 255, false},
                                           {230, 160, false},
                                           {240, 235, false},
                                           {160, 100, false},
                                           {20, 20, false}}};

constexpr std::array<BallCell, 21> kBall6{
    {{128, 0, true},   {210, 100, true},  {150, 180, true},  {123, 180, true},  {225, 80, false},
     {160, 0, false},  {220, 255, true},  {206, 255, true},  {130, 255, true},  {240, 255, false},
     {200, 80, false}, {184, 255, true},  {80, 255, true},   {0, 255, true},    {200, 180, false},
     {40, 255, true},  {220, 255, false}, {160, 180, false}, {200, 255, false}, {150, 80, false},
     {80, 0, false}}};

const BallCell* ballTable(int side) {
    switch (side) {
    case 4:
        return kBall4.data();
    case 5:
        return kBall5.data();
    case 6:
        return kBall6.data();
    default:
        return nullptr;
    }
}

// Index of entry (i, j), i <= j, in a table of the given side.
int triangleIndex(int side, int i, int j) {
    return i * side - i * (i - 1) / 2 + (j - i);
}

} // namespace

TRoundBmp::TRoundBmp(const TKxDC* referenceDC, int width, int height)
    : TKxBmp(width, height, referenceDC) {}

TRoundBmp::~TRoundBmp() = default;

// ---------------------------------------------------------------------------------------------
// Supporting passes

void TRoundBmp::rotate180(QRect rect) {
    if (!hasPixels() || !clipRect(rect)) return;
    const int l = rect.x();
    const int t = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    for (int y = 0; y < (h + 1) / 2; ++y) {
        const int mirrorRow = h - 1 - y;
        // The middle row of an odd height pairs with itself: only its first half swaps.
        const int columns = (y == mirrorRow) ? w / 2 : w;
        for (int x = 0; x < columns; ++x)
            std::swap(px(l + x, t + y), px(l + w - 1 - x, t + mirrorRow));
    }
}

void TRoundBmp::smoothRows(QRect rect) {
    if (!hasPixels() || !clipRect(rect)) return;
    for (int y = rect.y(); y <= rect.bottom(); ++y) {
        TKxPixel* row = pixelRow(y) + rect.x();
        for (int i = 2; i <= rect.width() - 2; ++i)
            row[i] = KxPixel::average(row[i - 1], row[i + 1]);
    }
}

void TRoundBmp::smoothRowsKeepAlpha(QRect rect) {
    if (!hasPixels() || !clipRect(rect)) return;
    for (int y = rect.y(); y <= rect.bottom(); ++y) {
        TKxPixel* row = pixelRow(y) + rect.x();
        for (int i = 2; i <= rect.width() - 2; ++i)
            row[i] =
                (KxPixel::average(row[i - 1], row[i + 1]) & kColourMask) | (row[i] & kAlphaMask);
    }
}

void TRoundBmp::smoothColumns(QRect rect) {
    if (!hasPixels() || !clipRect(rect)) return;
    for (int r = 0; r <= rect.height() - 4; ++r) {
        const TKxPixel* above = pixelRow(rect.y() + r) + rect.x();
        TKxPixel* mid = pixelRow(rect.y() + r + 1) + rect.x();
        const TKxPixel* below = pixelRow(rect.y() + r + 2) + rect.x();
        for (int c = 1; c < rect.width(); ++c)
            mid[c] = KxPixel::average(above[c], below[c]);
    }
}

void TRoundBmp::fillGaps(QRect rect) {
    if (!hasPixels() || !clipRect(rect)) return;
    const int w = rect.width();
    const int h = rect.height();
    for (int y = 0; y < h; ++y) {
        TKxPixel* row = pixelRow(rect.y() + y) + rect.x();
        const bool edgeRow = (y == 0 || y == h - 1);
        for (int x = 0; x < w; ++x) {
            if (row[x] != 0) continue;
            if (edgeRow) {
                if (x == 0) {
                    int first = 1;
                    while (first < w && row[first] == 0)
                        ++first;
                    if (first < w) std::fill(row, row + first, row[first]);
                } else if (x == w - 1) {
                    row[x] = row[x - 1];
                } else {
                    row[x] = KxPixel::average(row[x - 1], row[x + 1]);
                }
            } else if (x == 0 || x == w - 1) {
                row[x] = KxPixel::average(px(rect.x() + x, rect.y() + y - 1),
                                          px(rect.x() + x, rect.y() + y + 1));
            } else {
                row[x] = KxPixel::average(row[x - 1], row[x + 1]);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The ball

void TRoundBmp::ballFromTable(TKxColor light, TKxColor dark, int left, int top, int side) {
    const BallCell* table = ballTable(side);
    const TKxPixel lightP = light.toPixel();
    const TKxPixel darkP = dark.toPixel();
    const TKxPixel veryDark = KxPixel::darken(darkP, 220);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const BallCell& cell = table[triangleIndex(side, std::min(x, y), std::max(x, y))];
            const TKxPixel colour =
                cell.ld ? mix(lightP, darkP, cell.a) : mix(darkP, veryDark, cell.a);
            px(left + x, top + y) = withAlpha(colour, cell.alpha);
        }
    }
}

void TRoundBmp::ringColours(TKxColorBuf& rings, int shade, TKxColor light, TKxColor dark, int side,
                            int d) {
    const int n = side - side / 8;
    const int bigD = std::max(d, 2);
    rings.setCount(n);
    rings[0] = TKxColor(light.r, light.g, light.b, 255);
    const TKxColor shadow = TKxColor::fromPixel(KxPixel::darken(dark.toPixel(), shade));
    // From the highlight outwards: light to dark with the fast change next to the highlight, then
    // dark to the shadow with the fast change at the rim.
    acceleratingRamp(rings.data() + 1, std::min(bigD + 2, n), dark, light, true);
    const int outer = (n - bigD - 1) * 9 / 10;
    if (bigD + 1 <= n)
        acceleratingRamp(rings.data() + bigD + 1, std::min(outer, n - bigD), dark, shadow, false);
}

void TRoundBmp::ballBody(int shade, TKxColor light, TKxColor dark, int left, int top, int side) {
    if (side < 4) return;
    if (side <= 6) {
        ballFromTable(light, dark, left, top, side);
        return;
    }

    const QRect square(left, top, side, side);
    clearRect(square);

    // The highlight sits where the circle meets the diagonal towards the top left.
    const int d = (side * 331 + 200) >> 10;
    FHighlightX = left + d;
    FHighlightY = top + d;

    TKxColorBuf rings;
    ringColours(rings, shade, light, dark, side, d);
    const TKxPixel lightP = withAlpha(light.toPixel(), 255);
    px(FHighlightX, FHighlightY) = lightP;

    // Concentric circles around the highlight, drawn on doubled coordinates so the midpoint
    // error stays integral; outer rings overwrite inner ones.
    const auto plot = [&](int dx, int dy, TKxPixel colour) {
        const int x = FHighlightX + dx;
        const int y = FHighlightY + dy;
        if (x >= left && x < left + side && y >= top && y < top + side) px(x, y) = colour;
    };
    const int reach = (side - d) * 23 / 10;
    for (int k = 0; 2 * (k + 1) < reach; ++k) {
        const TKxPixel colour = withAlpha(rings[std::min(k, rings.count())].toPixel(), 255);
        int x = 0;
        int y = 2 * (k + 1);
        int e = 3 - 2 * y;
        while (x < y) {
            const int a = x / 2;
            const int b = y / 2;
            plot(a, b, colour);
            plot(-a, b, colour);
            plot(a, -b, colour);
            plot(-a, -b, colour);
            plot(b, a, colour);
            plot(-b, a, colour);
            plot(b, -a, colour);
            plot(-b, -a, colour);
            if (e < 0) {
                e += 16 * x + 24;
            } else {
                e += 16 * (x - y) + 48;
                y -= 2;
            }
            x += 2;
        }
        if (x == y) {
            const int a = x / 2;
            plot(a, a, colour);
            plot(-a, a, colour);
            plot(a, -a, colour);
            plot(-a, -a, colour);
        }
    }

    fillGaps(square);
    smoothRows(square);
    smoothColumns(square);
    px(FHighlightX, FHighlightY) = lightP;

    circleEdge(left, top, side);
    transparentCorners(left, top, side);
}

void TRoundBmp::circleEdge(int left, int top, int side) {
    const int r = side / 2;
    const int cx = left + r;
    const int cy = top + r;
    FCircleX = cx;
    FCircleY = cy;
    // The right and lower mirror points of an even circle move in by one so both halves match.
    const int o = (side & 1) ? 0 : -1;
    const auto setAlpha = [&](int x, int y, int alpha) {
        if (x >= left && x < left + side && y >= top && y < top + side)
            px(x, y) = withAlpha(px(x, y), alpha);
    };
    const auto plot8 = [&](int x, int y, int alpha) {
        setAlpha(cx - x, cy - y, alpha);
        setAlpha(cx - y, cy - x, alpha);
        setAlpha(cx + y + o, cy - x, alpha);
        setAlpha(cx + x + o, cy - y, alpha);
        setAlpha(cx - y, cy + x + o, alpha);
        setAlpha(cx - x, cy + y + o, alpha);
        setAlpha(cx + x + o, cy + y + o, alpha);
        setAlpha(cx + y + o, cy + x + o, alpha);
    };

    // Walks one octant; each edge pixel's alpha follows how much of it the circle covers, and
    // where the edge steps inwards the pixel left behind gets a fainter alpha.
    int f = 198;
    int s = 0;
    int x = r;
    int y = 0;
    int e = r;
    while (x >= y) {
        plot8(x, y, f);
        const int previousX = x;
        ++y;
        const double under = std::max(0, r * r - y * y);
        const int g = int(std::sqrt(under) * 1024.0);
        const int newX = (g + 512) >> 10;
        const int phi = (g + 512) & 1023;
        if (newX != e) {
            if (newX != previousX) {
                s = ((f * 12) >> 4) / (previousX == r ? 2 : 3);
                e = previousX;
            } else {
                s /= 2;
            }
            plot8(e, y, s);
        } else {
            s = f;
        }
        f = (phi == 0) ? 255 : 95 + ((phi * 160) >> 10);
        x = newX;
    }
}

void TRoundBmp::transparentCorners(int left, int top, int side) {
    const int rows = side / 2 - 1;
    const auto clearRow = [&](int y) {
        TKxPixel* row = pixelRow(y) + left;
        for (int x = 0; x < side && (row[x] >> 24) > 250; ++x)
            row[x] = 0;
        for (int x = side - 1; x >= 0 && (row[x] >> 24) > 250; --x)
            row[x] = 0;
    };
    for (int i = 0; i < rows; ++i) {
        clearRow(top + i);
        clearRow(top + side - 1 - i);
    }
}

void TRoundBmp::drawBall(int shade, TKxColor light, TKxColor dark, QRect rect) {
    if (!pixelGuard(rect) || rect.width() < 4 || rect.height() < 4) return;
    ballBody(shade, light, dark, rect.x(), rect.y(), std::min(rect.width(), rect.height()));
}

void TRoundBmp::drawHole(int shade, TKxColor light, TKxColor dark, QRect rect) {
    if (!pixelGuard(rect) || rect.width() < 4 || rect.height() < 4) return;
    const int side = std::min(rect.width(), rect.height());
    ballBody(shade, light, dark, rect.x(), rect.y(), side);
    rotate180(QRect(rect.x(), rect.y(), side, side));
}

// ---------------------------------------------------------------------------------------------
// Pipes and groves

void TRoundBmp::stretchTall(const QRect& rect, int split) {
    // The body sits in the square at the bottom. Its rows 0 … split become the top end, its rows
    // below split stay as the bottom end, and the middle row fills the gap between them.
    const int s = rect.width();
    const int left = rect.x();
    const int squareTop = rect.bottom() + 1 - s;
    const std::size_t bytes = std::size_t(s) * sizeof(TKxPixel);

    std::vector<TKxPixel> middle(pixelRow(squareTop + s / 2) + left,
                                 pixelRow(squareTop + s / 2) + left + s);
    for (int i = 0; i <= split; ++i)
        std::memmove(pixelRow(rect.y() + i) + left, pixelRow(squareTop + i) + left, bytes);

    const int fillFirst = rect.y() + split + 1;
    const int fillLast = squareTop + split;
    for (int y = fillFirst; y <= fillLast; ++y)
        std::memcpy(pixelRow(y) + left, middle.data(), bytes);

    // Next to each join the fill eases from the end's row to the middle row, so the outline and
    // the shading run on without a step.
    const int ease = s * 10 / 100;
    const auto easeFrom = [&](int joinRow, int direction) {
        const TKxPixel* previous = pixelRow(joinRow) + left;
        for (int j = 1; j <= ease; ++j) {
            const int y = joinRow + direction * j;
            if (y < fillFirst || y > fillLast) break;
            TKxPixel* row = pixelRow(y) + left;
            for (int i = 0; i < s; ++i)
                row[i] = halfway(previous[i], middle[std::size_t(i)]);
            previous = row;
        }
    };
    easeFrom(fillFirst - 1, 1);
    easeFrom(fillLast + 1, -1);
}

void TRoundBmp::stretchWide(const QRect& rect, bool grove) {
    // The body sits in the square at the left. Its right columns become the right end; each row
    // between keeps one colour, taken near the body's middle column.
    const int s = rect.height();
    const int w = rect.width();
    const int left = rect.x();
    const int right = rect.right() + 1;
    const int q = std::min(s * 3 / 4, w / 2);
    const int m = (s - 1) / 2;
    const int maxShift = s * 10 / 100 - 1;

    std::vector<TKxPixel> fillColour(std::size_t(s), 0);
    for (int y = 0; y < s; ++y) {
        const int k = std::max(0, std::min({y, s - 1 - y, maxShift}));
        const int column = grove ? m + k : m - k;
        fillColour[std::size_t(y)] = px(left + column, rect.y() + y);
    }

    for (int y = 0; y < s; ++y) {
        TKxPixel* row = pixelRow(rect.y() + y);
        std::memmove(row + right - q, row + left + s - q, std::size_t(q) * sizeof(TKxPixel));
    }

    const QRect join(right - s, rect.y() + s / 4, s - s / 4, s - 2 - s / 4);
    if (grove) smoothRowsKeepAlpha(join & rect);

    for (int y = 0; y < s; ++y) {
        TKxPixel* row = pixelRow(rect.y() + y);
        for (int x = left + m + 1; x < right - q; ++x)
            row[x] = fillColour[std::size_t(y)];
    }

    if (grove) {
        smoothRowsKeepAlpha(join.translated(-1, 0) & rect);
        smoothRowsKeepAlpha(join.translated(-3, 0) & rect);
    }
}

void TRoundBmp::drawRoundPipe(int shade, TKxColor light, TKxColor dark, QRect rect) {
    if (!pixelGuard(rect) || rect.width() < 4 || rect.height() < 4) return;
    const int s = std::min(rect.width(), rect.height());
    if (rect.width() == rect.height()) {
        ballBody(shade, light, dark, rect.x(), rect.y(), s);
    } else if (rect.width() < rect.height()) {
        ballBody(shade, light, dark, rect.x(), rect.bottom() + 1 - s, s);
        stretchTall(rect, s * 24 / 35);
    } else {
        ballBody(shade, light, dark, rect.x(), rect.y(), s);
        stretchWide(rect, false);
    }
}

void TRoundBmp::drawRoundGrove(int shade, TKxColor light, TKxColor dark, QRect rect) {
    if (!pixelGuard(rect) || rect.width() < 4 || rect.height() < 4) return;
    const int s = std::min(rect.width(), rect.height());
    if (rect.width() == rect.height()) {
        ballBody(shade, light, dark, rect.x(), rect.y(), s);
    } else if (rect.width() < rect.height()) {
        const int squareTop = rect.bottom() + 1 - s;
        ballBody(shade, light, dark, rect.x(), squareTop, s);
        rotate180(QRect(rect.x(), squareTop, s, s));
        // The hole is split at its middle row: the shaded upper half becomes the top end and the
        // lit lower half stays as the bottom end. The middle row that fills the body is the lower
        // end's first row, so the body runs into the lit end without a darker band.
        stretchTall(rect, s / 2 - 1);
    } else {
        ballBody(shade, light, dark, rect.x(), rect.y(), s);
        rotate180(QRect(rect.x(), rect.y(), s, s));
        stretchWide(rect, true);
    }
}

// ---------------------------------------------------------------------------------------------
// Progress lane

void TRoundBmp::edgeLine(const QRect& rect, int side, bool lighten, int amount) {
    // side: 0 top, 1 bottom, 2 left, 3 right; the rectangle is already inside the pixels.
    if (rect.isEmpty()) return;
    const auto shade = [&](int x, int y) {
        TKxPixel& p = px(x, y);
        p = lighten ? KxPixel::lighten(p, amount) : KxPixel::darken(p, amount);
    };
    switch (side) {
    case 0:
        for (int x = rect.x(); x < rect.right(); ++x)
            shade(x, rect.y());
        break;
    case 1:
        for (int x = rect.x(); x <= rect.right(); ++x)
            shade(x, rect.bottom());
        break;
    case 2:
        for (int y = rect.y(); y < rect.bottom(); ++y)
            shade(rect.x(), y);
        break;
    default:
        for (int y = rect.y(); y <= rect.bottom(); ++y)
            shade(rect.right(), y);
        break;
    }
}

void TRoundBmp::drawProgress(int position, bool reversed, int shade, bool softFront, bool softEdges,
                             int pattern, TKxColor frontFirst, TKxColor frontSecond,
                             TKxColor backFirst, TKxColor backSecond, QRect rect) {
    if (!pixelGuard(rect)) return;
    const bool tall = rect.width() < rect.height();
    QRect front = rect;
    if (tall) {
        if (position < rect.y() || position > rect.bottom() + 1) return;
        if (reversed)
            front.setBottom(position - 1);
        else
            front.setTop(rect.bottom() + 1 - position);
    } else {
        if (position < rect.x() || position > rect.right() + 1) return;
        if (reversed)
            front.setLeft(rect.right() + 1 - position);
        else
            front.setRight(position - 1);
    }
    front &= rect;

    const auto opaque = [](TKxColor c) { return TKxColor(c.r, c.g, c.b, 255); };
    const bool across = !tall; // a wide lane changes colour from row to row
    if (pattern == 0) {
        fillRect(opaque(backSecond), rect);
        if (!front.isEmpty()) fillRect(opaque(frontSecond), front);
    } else if (pattern == 1) {
        gradientRect(across, backSecond, backFirst, rect);
        if (!front.isEmpty()) gradientRect(across, frontSecond, frontFirst, front);
    } else {
        pipeRect(across, shade, false, backFirst, backSecond, rect);
        if (!front.isEmpty()) pipeRect(across, shade, false, frontFirst, frontSecond, front);
    }

    if (softFront && !front.isEmpty()) {
        if (!tall)
            reversed ? edgeLine(front, 2, true, 120) : edgeLine(front, 3, false, 60);
        else
            reversed ? edgeLine(front, 1, false, 90) : edgeLine(front, 0, true, 150);
    }
    if (softEdges) softEdge(false, rect);
}
