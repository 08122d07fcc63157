#include "colour/LinearRgb.h"

#include "colour/ColorSpaces.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace LinearRgb {

double toLinear(double encoded) noexcept {
    return SrgbToLinear(encoded);
}

double toEncoded(double linear) noexcept {
    return LinearToSrgb(linear);
}

double channel(int value) noexcept {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[std::size_t(i)] = toLinear(i / 255.0);
        return t;
    }();
    return table[std::size_t(std::clamp(value, 0, 255))];
}

int toByte(double linear) noexcept {
    if (!(linear > 0.0)) return 0;
    if (linear >= 1.0) return 255;
    return static_cast<int>(std::lround(toEncoded(linear) * 255.0));
}

} // namespace LinearRgb
