#pragma once

#include "colour/ColorSpaces.h"
#include "colour/ColorValue.h"

// An sRGB colour value made from unbounded components, and whether the components lay outside
// what sRGB can show.
struct GamutResult {
    ColorValue color = kBlack;
    bool outOfGamut = false;

    friend bool operator==(const GamutResult&, const GamutResult&) = default;
};

// Rounds gamma-encoded sRGB (0-1 per channel) to a colour value. A channel that rounding would
// not bring back into 0-255 marks the colour out of gamut, and then the whole colour is mapped by
// reducing its OKLCH chroma until it fits (the style sheets' gamut-mapping rule), which keeps
// its lightness and hue.
GamutResult MapSrgbToColor(const ColorTriple& srgb) noexcept;

// The style sheets' gamut mapping of an OKLCH colour into gamma-encoded sRGB, every channel in
// 0-1. Lightness at or beyond 0 and 1 gives black and white.
ColorTriple MapOkLchToSrgb(const ColorTriple& oklch) noexcept;

// Rounds gamma-encoded sRGB channels, already within 0-1, to a colour value.
ColorValue RoundSrgb(const ColorTriple& srgb) noexcept;
