#include "controls/KxImageList.h"

int TKxImageList::add(const QImage& image) {
    if (image.isNull() || image.width() != FWidth || image.height() != FHeight) return -1;
    FImages.push_back(image.convertToFormat(QImage::Format_ARGB32));
    return count() - 1;
}

QImage TKxImageList::image(int index) const {
    if (index < 0 || index >= count()) return {};
    return FImages[static_cast<std::size_t>(index)];
}
