#pragma once

// The pixel arithmetic all drawing shares. Pixels are 0xAARRGGBB words; alpha is left alone
// unless a function says otherwise.

#include "pixels/KxColor.h"

#include <cstdint>
#include <vector>

namespace KxPixel {

// The 8-bit channel at bit `shift` (16 red, 8 green, 0 blue).
constexpr int channel(TKxPixel p, int shift) noexcept {
    return int((p >> shift) & 0xFF);
}

// r, g and b with the alpha of alphaFrom.
constexpr TKxPixel withChannels(TKxPixel alphaFrom, int r, int g, int b) noexcept {
    return (alphaFrom & 0xFF000000u) | (TKxPixel(r) << 16) | (TKxPixel(g) << 8) | TKxPixel(b);
}

// (target × (255 − a) + source × a) >> 8 on each colour channel; target alpha kept. Red and blue
// are mixed together in one word: each product stays below 2^16, so the lanes never meet.
constexpr TKxPixel mix(TKxPixel target, TKxPixel source, int a) noexcept {
    const std::uint32_t ua = std::uint32_t(a);
    const std::uint32_t na = 255u - ua;
    const std::uint32_t rb =
        (((target & 0x00FF00FFu) * na + (source & 0x00FF00FFu) * ua) >> 8) & 0x00FF00FFu;
    const std::uint32_t g =
        (((target & 0x0000FF00u) * na + (source & 0x0000FF00u) * ua) >> 8) & 0x0000FF00u;
    return (target & 0xFF000000u) | rb | g;
}

// Each channel × (255 − amount) / 255.
TKxPixel darken(TKxPixel pixel, int amount) noexcept;
// Each channel (channel × (255 − amount) + amount × 255) >> 8; amount 0 still loses a little.
TKxPixel lighten(TKxPixel pixel, int amount) noexcept;
// Channel-wise ⌊x/2⌋ + ⌊y/2⌋ with alpha 255.
constexpr TKxPixel average(TKxPixel x, TKxPixel y) noexcept {
    return (((x >> 1) & 0x7F7F7Fu) + ((y >> 1) & 0x7F7F7Fu)) | 0xFF000000u;
}
// (red × 320 + green × 576 + blue × 128) >> 10.
constexpr int grey(TKxPixel p) noexcept {
    return int((((p >> 16) & 0xFF) * 320 + ((p >> 8) & 0xFF) * 576 + (p & 0xFF) * 128) >> 10);
}
// a < 8 keeps the pixel, a > 240 takes the colour's three channels, otherwise mixes them as
// (pixel × (255 − a) + colour × a) >> 8.
TKxPixel blendColour(TKxPixel pixel, TKxPixel colour, int a) noexcept;

// blendColour(target[i], source[i], alpha of source[i]) for n pixels: drawToBmp's mode 0.
// blendRowPlain is that loop as written; blendRow takes the fastest path this processor has,
// which skips clear groups, copies opaque ones and mixes the rest several pixels at a time, with
// the same result.
void blendRow(TKxPixel* target, const TKxPixel* source, int n) noexcept;
void blendRowPlain(TKxPixel* target, const TKxPixel* source, int n) noexcept;
enum class TBlendPath { Plain, Sse2, Avx2 };
// The paths this build and processor can take, slowest first.
std::vector<TBlendPath> blendPaths();
// blendRow along one of blendPaths().
void blendRowWith(TBlendPath path, TKxPixel* target, const TKxPixel* source, int n) noexcept;

// One channel's running value of an n-step ramp in 22-bit fixed point. The step truncates towards
// zero, so the running value never passes the end value and stays non-negative.
class TChannelRamp {
public:
    TChannelRamp(int start, int end, int n) noexcept
        : FValue(std::int64_t(start) << kShift),
          FStep(n > 1 ? (std::int64_t(start - end) << kShift) / (n - 1) : 0) {}
    int next() noexcept {
        const int v = int(FValue >> kShift);
        FValue -= FStep;
        return v;
    }

private:
    static constexpr int kShift = 22;
    std::int64_t FValue;
    std::int64_t FStep;
};

// The three channels of an n-step ramp from start to end, as opaque pixels.
class TColourRamp {
public:
    TColourRamp(TKxColor start, TKxColor end, int n) noexcept
        : FRed(start.r, end.r, n), FGreen(start.g, end.g, n), FBlue(start.b, end.b, n) {}
    TKxPixel next() noexcept {
        const TKxPixel red = TKxPixel(FRed.next());
        const TKxPixel green = TKxPixel(FGreen.next());
        const TKxPixel blue = TKxPixel(FBlue.next());
        return 0xFF000000u | (red << 16) | (green << 8) | blue;
    }

private:
    TChannelRamp FRed, FGreen, FBlue;
};

// n pixels from start to end, alpha 255; a single pixel gets start.
void ramp(TKxPixel* pixels, int n, TKxColor start, TKxColor end) noexcept;
// The first `count` pixels of an n-step ramp (count may be less than n: the ramp is cut short).
void rampCut(TKxPixel* pixels, int count, int n, TKxColor start, TKxColor end) noexcept;

} // namespace KxPixel
