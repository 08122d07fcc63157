#include "controls/KxMovers.h"

#include <cmath>

namespace {

// x + 1 and x - 1, or the next representable value where 1 is lost in x's magnitude (beyond
// 2^53), so that the range never closes to nothing.
double above(double x) {
    const double y = x + 1;
    return y > x ? y : std::nextafter(x, HUGE_VAL);
}

double below(double x) {
    const double y = x - 1;
    return y < x ? y : std::nextafter(x, -HUGE_VAL);
}

int atLeastFive(int size) {
    return (size != 0 && size < 5) ? 5 : size;
}

} // namespace

TKxMovers::TKxMovers(QWidget* parent) : TKxCustomControl(parent) {
    setTabStop(true);
}

void TKxMovers::setMax(double value) {
    if (value == FMax || std::isnan(value)) return;
    FMax = value <= FMin ? above(FMin) : value;
    if (FPosition > FMax) FPosition = FMax;
    rangeChanged();
}

void TKxMovers::setMin(double value) {
    if (value == FMin || std::isnan(value)) return;
    FMin = value >= FMax ? below(FMax) : value;
    if (FPosition < FMin) FPosition = FMin;
    rangeChanged();
}

void TKxMovers::setColour(ColorValue& field, ColorValue value) {
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
