#include "colour/GamutMapping.h"

#include <algorithm>
#include <cmath>

namespace {

// Half a step of the 8-bit scale: anything closer to the gamut rounds to the same colour.
constexpr double kRoundingSlack = 0.5 / 255.0;

// The rule's just-noticeable difference and the precision of its chroma search.
constexpr double kJnd = 0.02;
constexpr double kEpsilon = 0.0001;

ColorTriple okLchToSrgb(const ColorTriple& oklch) noexcept {
    const ColorTriple linear = OkLabToLinearSrgb(LchToLab(oklch));
    return {LinearToSrgb(linear[0]), LinearToSrgb(linear[1]), LinearToSrgb(linear[2])};
}

bool inGamut(const ColorTriple& srgb) noexcept {
    return std::all_of(srgb.begin(), srgb.end(), [](double c) { return c >= 0.0 && c <= 1.0; });
}

ColorTriple clip(const ColorTriple& srgb) noexcept {
    return {std::clamp(srgb[0], 0.0, 1.0), std::clamp(srgb[1], 0.0, 1.0),
            std::clamp(srgb[2], 0.0, 1.0)};
}

double deltaEOk(const ColorTriple& srgbA, const ColorTriple& oklabB) noexcept {
    const ColorTriple a =
        LinearSrgbToOkLab({SrgbToLinear(srgbA[0]), SrgbToLinear(srgbA[1]), SrgbToLinear(srgbA[2])});
    return std::hypot(a[0] - oklabB[0], a[1] - oklabB[1], a[2] - oklabB[2]);
}

} // namespace

ColorValue RoundSrgb(const ColorTriple& srgb) noexcept {
    const auto channel = [](double c) {
        if (std::isnan(c)) return 0;
        return static_cast<int>(std::floor(std::clamp(c, 0.0, 1.0) * 255.0 + 0.5));
    };
    return MakeColor(channel(srgb[0]), channel(srgb[1]), channel(srgb[2]));
}

ColorTriple MapOkLchToSrgb(const ColorTriple& origin) noexcept {
    if (std::isnan(origin[0]) || origin[0] <= 0.0) return {0.0, 0.0, 0.0};
    if (origin[0] >= 1.0) return {1.0, 1.0, 1.0};
    ColorTriple current = origin;
    const ColorTriple direct = okLchToSrgb(current);
    if (inGamut(direct)) return direct;

    ColorTriple clipped = clip(direct);
    if (deltaEOk(clipped, LchToLab(current)) < kJnd) return clipped;
    double low = 0.0;
    double high = std::isfinite(origin[1]) ? origin[1] : 0.0;
    bool lowInGamut = true;
    // Halving from at most the chroma of the input; the loop ends after a few dozen steps.
    while (high - low > kEpsilon) {
        const double chroma = (low + high) / 2.0;
        current[1] = chroma;
        const ColorTriple candidate = okLchToSrgb(current);
        if (lowInGamut && inGamut(candidate)) {
            low = chroma;
            continue;
        }
        clipped = clip(candidate);
        const double e = deltaEOk(clipped, LchToLab(current));
        if (e < kJnd) {
            if (kJnd - e < kEpsilon) return clipped;
            lowInGamut = false;
            low = chroma;
        } else {
            high = chroma;
        }
    }
    return clipped;
}

GamutResult MapSrgbToColor(const ColorTriple& srgb) noexcept {
    const bool fits = std::all_of(srgb.begin(), srgb.end(), [](double c) {
        return c >= -kRoundingSlack && c <= 1.0 + kRoundingSlack;
    });
    if (fits) return {RoundSrgb(srgb), false};
    const ColorTriple linear{SrgbToLinear(srgb[0]), SrgbToLinear(srgb[1]), SrgbToLinear(srgb[2])};
    const ColorTriple oklch = LabToLch(LinearSrgbToOkLab(linear));
    return {RoundSrgb(MapOkLchToSrgb(oklch)), true};
}
