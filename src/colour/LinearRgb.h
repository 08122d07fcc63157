#pragma once

// The sRGB transfer curve, both ways, on channel values 0 to 1. Contrast, the perceptual
// lightness search and the colour-vision simulation all work on linear light.
namespace LinearRgb {

// Encoded 0-1 to linear 0-1: c / 12.92 up to 0.04045, ((c + 0.055) / 1.055)^2.4 above.
double toLinear(double encoded) noexcept;
// Linear 0-1 to encoded 0-1; the inverse of toLinear.
double toEncoded(double linear) noexcept;
// Linear light of an 8-bit channel value (looked up, exact to double precision).
double channel(int value) noexcept;
// The nearest 8-bit channel value of a linear value; values outside 0-1 are clamped.
int toByte(double linear) noexcept;

} // namespace LinearRgb
