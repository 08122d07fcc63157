#include "pixels/KxImageRC.h"

TKxImageRC::TKxImageRC(QObject* owner) : QObject(owner) {}

// A deep copy, so that later changes to the caller's picture never reach ours.
void TKxImageRC::setPicture(const QImage& picture) {
    FPicture = picture.copy();
}
