#pragma once

#include <array>

// Three components of a colour in one of the spaces below, unbounded: a colour outside the sRGB
// gamut keeps its out-of-range values until it is mapped.
using ColorTriple = std::array<double, 3>;

// sRGB transfer function and its inverse, extended to negative values by symmetry so an
// out-of-gamut colour survives the trip.
double SrgbToLinear(double channel) noexcept;
double LinearToSrgb(double channel) noexcept;

// Linear-light sRGB and display-p3 to and from CIE XYZ relative to D65.
ColorTriple LinearSrgbToXyz(const ColorTriple& rgb) noexcept;
ColorTriple XyzToLinearSrgb(const ColorTriple& xyz) noexcept;
ColorTriple LinearDisplayP3ToXyz(const ColorTriple& rgb) noexcept;

// Bradford chromatic adaptation between the D50 and D65 white points.
ColorTriple XyzD50ToD65(const ColorTriple& xyz) noexcept;
ColorTriple XyzD65ToD50(const ColorTriple& xyz) noexcept;

// CIE Lab (L 0-100) relative to D50.
ColorTriple LabToXyzD50(const ColorTriple& lab) noexcept;
ColorTriple XyzD50ToLab(const ColorTriple& xyz) noexcept;

// OKLab (L 0-1) from and to XYZ relative to D65.
ColorTriple XyzToOkLab(const ColorTriple& xyz) noexcept;
ColorTriple OkLabToXyz(const ColorTriple& lab) noexcept;

// OKLab directly from and to linear-light sRGB, the path every sRGB colour takes.
ColorTriple LinearSrgbToOkLab(const ColorTriple& rgb) noexcept;
ColorTriple OkLabToLinearSrgb(const ColorTriple& lab) noexcept;

// Rectangular (L, a, b) to polar (L, chroma, hue in degrees 0-360) and back; shared by Lab/LCH
// and OKLab/OKLCH.
ColorTriple LabToLch(const ColorTriple& lab) noexcept;
ColorTriple LchToLab(const ColorTriple& lch) noexcept;

// Gamma-encoded sRGB (0-1) from hue in degrees and saturation, lightness, whiteness, blackness
// as fractions 0-1.
ColorTriple HslToSrgb(double hue, double sat, double light) noexcept;
ColorTriple HwbToSrgb(double hue, double white, double black) noexcept;

// Hue in degrees 0-360, saturation and lightness as fractions; greys get hue 0 and saturation 0.
ColorTriple SrgbToHsl(const ColorTriple& rgb) noexcept;
