#pragma once

#include "colour/ColorValue.h"
#include "colour/Oklab.h"

// The nearest text colour that reaches a contrast level on a background: same OKLCH hue, only the
// lightness moved (and the chroma lowered where the sRGB gamut has no room for it at the new
// lightness), in whichever direction needs the smaller move.
namespace ReadableColor {

// The lightness is searched in steps of this size away from the text's own.
inline constexpr double kLightnessStep = 0.001;

// `text` at `lightness` (0 to 1): its hue kept, its chroma lowered only as far as the gamut
// needs, rounded to 8 bits.
ColorValue AtLightness(const TOklch& text, double lightness) noexcept;

struct TResult {
    // False when neither direction reaches the level; `color` is then the text unchanged.
    bool reached = false;
    ColorValue color = 0;
    // The searched lightness the colour was made at.
    double lightness = 0;
};

// The colour of the smallest lightness move from `text` whose ratio on `background` reaches
// `requiredHundredths` (see ColorContrast); the text itself when it already does. On a tie the
// higher ratio wins.
TResult Nearest(ColorValue text, ColorValue background, int requiredHundredths) noexcept;

} // namespace ReadableColor
