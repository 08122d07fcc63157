#pragma once

#include <QRect>
#include <QSize>

enum TKxImageAlignment { tiaLeft, tiaRight, tiaTop, tiaBottom, tiaCenter };
enum TKxLayoutStyle { tlsCenterTextAndImageClose, tlsCenterTextInRest, tlsTextFolowImage };

// Where a button's face puts its image and its caption.
struct TKxButtonPlacement {
    // The image with its margins, and the caption.
    QRect image;
    QRect caption;
};

// Places an image box (the image with its margins; empty without an image) and a caption box of
// the sizes measured on a face of `face`: the image on the side `alignment` names, the caption
// beside, over or under it, and the pair moved to the middle as `style` says.
TKxButtonPlacement PlaceButtonFace(QSize face, QSize imageBox, QSize captionBox,
                                   TKxImageAlignment alignment, TKxLayoutStyle style);
