#include "controls/KxMovers.h"

namespace {

int atLeastFive(int size) {
    return (size != 0 && size < 5) ? 5 : size;
}

} // namespace

TKxMovers::TKxMovers(QWidget* parent) : TKxCustomControl(parent) {
    setTabStop(true);
}

void TKxMovers::setColour(ColorValue& field, std::uint32_t value) {
    if (field == value) return;
    field = value;
    update();
}

void TKxMovers::setTabStop(bool value) {
    FTabStop = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TKxMovers::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, atLeastFive(width), atLeastFive(height));
}
