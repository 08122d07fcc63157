#include "colour/ReadableColor.h"

#include "colour/ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace ReadableColor {

ColorValue AtLightness(const TOklch& text, double lightness) noexcept {
    TOklch lch{std::clamp(lightness, 0.0, 1.0), text.C, text.h};
    if (!Oklab::inGamut(Oklab::toLinear(Oklab::fromLch(lch)))) {
        // The gamut at one lightness and hue is a single chroma range from grey outwards, so
        // halving finds its edge; the in-gamut end is kept. Fourteen halvings of a chroma below
        // 0.4 leave less than 8-bit rounding moves.
        double inside = 0.0;
        double outside = lch.C;
        for (int i = 0; i < 14; ++i) {
            const double mid = (inside + outside) / 2;
            lch.C = mid;
            (Oklab::inGamut(Oklab::toLinear(Oklab::fromLch(lch))) ? inside : outside) = mid;
        }
        lch.C = inside;
    }
    return Oklab::toColor(Oklab::fromLch(lch));
}

TResult Nearest(ColorValue text, ColorValue background, int requiredHundredths) noexcept {
    text &= kColorMask;
    const TOklch start = Oklab::toLch(Oklab::fromColor(text));
    if (ColorContrast::Hundredths(ColorContrast::Ratio(text, background)) >= requiredHundredths)
        return {true, text, start.L};

    bool upOpen = start.L < 1.0;
    bool downOpen = start.L > 0.0;
    for (int k = 1; upOpen || downOpen; ++k) {
        TResult best{false, text, start.L};
        double bestRatio = 0;
        auto consider = [&](double lightness) {
            const ColorValue candidate = AtLightness(start, lightness);
            const double ratio = ColorContrast::Ratio(candidate, background);
            if (ColorContrast::Hundredths(ratio) < requiredHundredths) return;
            // A direction cut short at black or white moved less than the other at this step.
            const double move = std::abs(lightness - start.L);
            const double bestMove = std::abs(best.lightness - start.L);
            if (best.reached && (move > bestMove || (move == bestMove && ratio <= bestRatio)))
                return;
            best = {true, candidate, lightness};
            bestRatio = ratio;
        };
        if (upOpen) {
            const double up = std::min(1.0, start.L + k * kLightnessStep);
            consider(up);
            upOpen = up < 1.0;
        }
        if (downOpen) {
            const double down = std::max(0.0, start.L - k * kLightnessStep);
            consider(down);
            downOpen = down > 0.0;
        }
        if (best.reached) return best;
    }
    return {false, text, start.L};
}

} // namespace ReadableColor
