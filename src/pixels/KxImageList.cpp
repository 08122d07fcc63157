#include "pixels/KxImageList.h"

TKxImageList::TKxImageList(const TKxImageList& other)
    : FWidth(other.FWidth), FHeight(other.FHeight), FImages(other.FImages) {}

TKxImageList& TKxImageList::operator=(const TKxImageList& other) {
    if (this == &other) return *this;
    FWidth = other.FWidth;
    FHeight = other.FHeight;
    FImages = other.FImages;
    emit FNotifier->changed();
    return *this;
}

// The notifier goes first, while the pictures are still there.
TKxImageList::~TKxImageList() {
    FNotifier.reset();
}

int TKxImageList::add(const QImage& image) {
    if (image.isNull() || image.width() != FWidth || image.height() != FHeight) return -1;
    FImages.push_back(image.convertToFormat(QImage::Format_ARGB32));
    emit FNotifier->changed();
    return count() - 1;
}

QImage TKxImageList::image(int index) const {
    if (index < 0 || index >= count()) return {};
    return FImages[static_cast<std::size_t>(index)];
}

void TKxImageList::clear() {
    if (FImages.empty()) return;
    FImages.clear();
    emit FNotifier->changed();
}
