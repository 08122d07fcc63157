#pragma once

#include "colour/ColorValue.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

// How a picture looks to people with a colour-vision deficiency: the three dichromacies as
// simulated by Machado, Oliveira and Fernandes (2009) at severity 1.0, and achromatopsia as
// relative luminance alone. Every simulation is a 3 x 3 matrix applied to linear-light RGB.
enum class TColorVision : std::uint8_t {
    Normal,
    Protanopia,
    Deuteranopia,
    Tritanopia,
    Achromatopsia,
};

namespace ColorVision {

inline constexpr int kCount = 5;

using TMatrix = std::array<std::array<double, 3>, 3>;

// Row by row: output red, green, blue from input red, green, blue (linear light).
const TMatrix& Matrix(TColorVision vision) noexcept;

// "Protanopia", or "Normal vision".
QString Name(TColorVision vision);

// The next in the order above, back to Normal after the last.
TColorVision Next(TColorVision vision) noexcept;

// One colour as the simulation shows it.
ColorValue Simulate(ColorValue color, TColorVision vision) noexcept;

// Pixels 0xAARRGGBB (the 32-bit layouts of the off-screen pictures); alpha is kept. `in` and `out`
// may be the same row.
void SimulateRow(const std::uint32_t* in, std::uint32_t* out, std::size_t count,
                 TColorVision vision) noexcept;

} // namespace ColorVision
