#include "controls/Kxbmp.h"

// Shading and ornaments of the off-screen bitmap.

void TKxBmp::edge3D(bool, bool, QRect rect) {
    pixelGuard(rect);
}
void TKxBmp::softEdge(bool, QRect rect) {
    pixelGuard(rect);
}
void TKxBmp::fadeCorners(QRect rect) {
    pixelGuard(rect);
}
void TKxBmp::frameRect(int, TKxColor, QRect rect) {
    contextGuard(rect);
}
void TKxBmp::softCorners(QRect rect) {
    pixelGuard(rect);
}
void TKxBmp::focusFrame(TKxColor, QRect rect) {
    contextGuard(rect);
}
void TKxBmp::roundedBorder(TKxColor, QRect) {}
void TKxBmp::roundedShadow(int, QRect) {}
void TKxBmp::innerHighlight(int, QRect) {}
void TKxBmp::buttonFace(int, bool, TKxColor, TKxColor, QRect rect) {
    contextGuard(rect);
}
void TKxBmp::buttonFacePressed(int, bool, TKxColor, TKxColor, QRect rect) {
    contextGuard(rect);
}
void TKxBmp::flatHot(QRect rect) {
    contextGuard(rect);
}
void TKxBmp::flatPressed(QRect rect) {
    contextGuard(rect);
}
void TKxBmp::drawMark(TKxMarkShape, TKxMarkSize, int x, int y, TKxColor) {
    QRect rect(x, y, 7, 7);
    contextGuard(rect);
}
void TKxBmp::squareMark(TKxColor, QRect rect) {
    pixelGuard(rect);
}
void TKxBmp::grip(bool, QRect rect) {
    contextGuard(rect);
}
void TKxBmp::shadeEdge(Side, bool, int, const QRect&) {}
void TKxBmp::shadeRowSpan(int, int, int, bool, int) {}
