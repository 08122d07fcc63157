#include "controls/KxButtonLayout.h"

namespace {

// Edges of a rectangle the way the layout arithmetic counts them.
struct TBox {
    int l = 0, t = 0, r = 0, b = 0;
    int w() const { return r - l; }
    int h() const { return b - t; }
    bool empty() const { return r <= l || b <= t; }
    void shift(int dx, int dy) { l += dx, r += dx, t += dy, b += dy; }
    void centreV(int height) { shift(0, (height - h()) / 2); }
    void centreH(int width) { shift((width - w()) / 2, 0); }
    QRect rect() const { return QRect(l, t, r - l, b - t); }
};

// Moves the pair towards the middle, unless the caption follows the image; a caption centred in
// the rest of the face moves alone.
void centrePair(TKxLayoutStyle style, TBox& image, TBox& caption, int dx, int dy) {
    if (style == tlsTextFolowImage) return;
    caption.shift(dx, dy);
    if (style != tlsCenterTextInRest) image.shift(dx, dy);
}

void placeInRow(QSize face, TKxImageAlignment alignment, TKxLayoutStyle style, TBox& image,
                TBox& caption) {
    const int W = face.width();
    const int H = face.height();
    if (alignment == tiaLeft) {
        caption.shift(image.r, 0);
        image.centreV(H);
        caption.centreV(H);
        const int b = (W - caption.r) / 2;
        if (b > 0) centrePair(style, image, caption, b, 0);
    } else {
        image.shift(W - image.w() - image.l, 0);
        caption.shift(image.l - caption.r, 0);
        image.centreV(H);
        caption.centreV(H);
        const int d = caption.l / 2;
        if (d > 0) centrePair(style, image, caption, -d, 0);
    }
}

void placeInColumn(QSize face, TKxImageAlignment alignment, TKxLayoutStyle style, TBox& image,
                   TBox& caption) {
    const int W = face.width();
    const int H = face.height();
    if (alignment == tiaTop) {
        caption.shift(0, image.b);
        image.centreH(W);
        caption.centreH(W);
        const int b = (H - caption.b) / 2;
        if (b > 0) centrePair(style, image, caption, 0, b);
    } else {
        image.shift(0, H - image.h() - image.t);
        caption.shift(0, image.t - caption.b);
        image.centreH(W);
        caption.centreH(W);
        const int d = caption.t / 2;
        if (d > 0) centrePair(style, image, caption, 0, -d);
    }
}

// The caption under the image, both in the middle; alone it sits in the middle.
void placeCentred(QSize face, TBox& image, TBox& caption) {
    caption.centreH(face.width());
    if (!image.empty()) {
        image.centreH(face.width());
        image.centreV(face.height());
        caption.shift(0, image.b - caption.t);
    } else {
        caption.centreV(face.height());
    }
}

} // namespace

TKxButtonPlacement PlaceButtonFace(QSize face, QSize imageBox, QSize captionBox,
                                   TKxImageAlignment alignment, TKxLayoutStyle style) {
    TBox image{0, 0, imageBox.width(), imageBox.height()};
    TBox caption{0, 0, captionBox.width(), captionBox.height()};
    switch (alignment) {
    case tiaLeft:
    case tiaRight:
        placeInRow(face, alignment, style, image, caption);
        break;
    case tiaTop:
    case tiaBottom:
        placeInColumn(face, alignment, style, image, caption);
        break;
    case tiaCenter:
        placeCentred(face, image, caption);
        break;
    }
    return {image.rect(), caption.rect()};
}
