#pragma once

// The bitmap of the slider and the progress bar, with their round shapes: a shaded ball with a
// highlight, the hole (the ball turned upside down), pipes and groves with round ends, and the
// progress bar's lane. The shapes are anti-aliased by alpha and transparent outside, so blending
// the bitmap onto a control's picture (drawToBmp mode 0) shows the parent around them.
//
// Every shape takes a light colour, a dark colour and a shade (0-255): the darkest tone of a shape
// is the dark colour darkened by the shade.

#include "pixels/Kxbmp.h"

#include <cstddef>

class TRoundBmp : public TKxBmp {
public:
    TRoundBmp(const TKxDC* referenceDC, int width, int height);
    ~TRoundBmp() override;

    // The ball in the square of side min(width, height) at the rectangle's top-left; nothing on
    // rectangles narrower or lower than 4 pixels.
    void drawBall(int shade, TKxColor light, TKxColor dark, QRect rect);
    // The ball turned by half a turn: the highlight sits at the bottom right and it looks sunken.
    void drawHole(int shade, TKxColor light, TKxColor dark, QRect rect);
    // A raised pipe with round ends along the rectangle's long side (a ball on a square).
    void drawRoundPipe(int shade, TKxColor light, TKxColor dark, QRect rect);
    // A sunken groove with round ends along the rectangle's long side (a ball on a square).
    void drawRoundGrove(int shade, TKxColor light, TKxColor dark, QRect rect);

    // A progress lane along the rectangle's long side with its front part filled up to position
    // (from the left, or from the bottom on a tall lane; from the other end when reversed).
    // pattern 0 solid, 1 gradient across the lane, 2 and above a pipe. A position outside the
    // lane draws nothing at all.
    void drawProgress(int position, bool reversed, int shade, bool softFront, bool softEdges,
                      int pattern, TKxColor frontFirst, TKxColor frontSecond, TKxColor backFirst,
                      TKxColor backSecond, QRect rect);

    // Supporting passes of the shapes; each works on the rectangle clipped to the pixels.
    // Swaps pixel (x, y) with (width - 1 - x, height - 1 - y).
    void rotate180(QRect rect);
    // Each pixel from column 2 to width - 2 becomes the average of its (already smoothed) left
    // and its right neighbour, opaque.
    void smoothRows(QRect rect);
    // Row r + 1 becomes the average of rows r (already smoothed) and r + 2, from column 1 on.
    void smoothColumns(QRect rect);
    // As smoothRows, but every pixel keeps its alpha.
    void smoothRowsKeepAlpha(QRect rect);
    // Gives every all-zero pixel a colour from its neighbours.
    void fillGaps(QRect rect);

    // Where the last ball (of side 7 or more) had its circle centre and its highlight.
    QPoint circleCentre() const noexcept { return {FCircleX, FCircleY}; }
    QPoint highlightCentre() const noexcept { return {FHighlightX, FHighlightY}; }

private:
    // Unchecked: callers stay inside the pixels.
    TKxPixel& px(int x, int y) {
        return reinterpret_cast<TKxPixel*>(bits() + std::ptrdiff_t(y) * stride())[x];
    }
    void ballBody(int shade, TKxColor light, TKxColor dark, int left, int top, int side);
    void ballFromTable(TKxColor light, TKxColor dark, int left, int top, int side);
    void ringColours(TKxColorBuf& rings, int shade, TKxColor light, TKxColor dark, int side, int d);
    void circleEdge(int left, int top, int side);
    void transparentCorners(int left, int top, int side);
    void stretchTall(const QRect& rect, int split);
    void stretchWide(const QRect& rect, bool grove);
    void edgeLine(const QRect& rect, int side, bool lighten, int amount);

    int FCircleX = 0;
    int FCircleY = 0;
    int FHighlightX = 0;
    int FHighlightY = 0;
};
