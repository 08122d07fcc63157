#include "pixels/Kx6ImagesRC.h"

TKx6ImagesRC::TKx6ImagesRC(QObject* owner) : QObject(owner) {}

const QImage& TKx6ImagesRC::Picture(int index) const {
    static const QImage none;
    if (index < 0 || index >= Count) return none;
    return FPictures[static_cast<size_t>(index)];
}

void TKx6ImagesRC::setPicture(int index, const QImage& picture) {
    if (index < 0 || index >= Count) return;
    QImage& held = FPictures[static_cast<size_t>(index)];
    if (&held == &picture) return;
    held = picture.copy();
}
