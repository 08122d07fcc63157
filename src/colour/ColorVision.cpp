#include "colour/ColorVision.h"

#include "colour/LinearRgb.h"

#include <algorithm>
#include <cmath>

namespace ColorVision {

namespace {

// Machado, Oliveira and Fernandes 2009, table of the simulation matrices, severity 1.0.
constexpr std::array<TMatrix, kCount> kMatrices{{
    {{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}},
    {{{0.152286, 1.052583, -0.204868},
      {0.114503, 0.786281, 0.099216},
      {-0.003882, -0.048116, 1.051998}}},
    {{{0.367322, 0.860646, -0.227968},
      {0.280085, 0.672501, 0.047413},
      {-0.011820, 0.042940, 0.968881}}},
    {{{1.255528, -0.076749, -0.178779},
      {-0.078411, 0.930809, 0.147602},
      {0.004733, 0.691367, 0.303900}}},
    // Only the luminance is left, the same weights the contrast ratio uses.
    {{{0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}}},
}};

// Linear light back to 8 bits by table: fine enough that every grey comes back to itself (its
// steps are far narrower than the narrowest 8-bit step, near black).
constexpr int kEncodeSteps = 16384;

struct TTables {
    std::array<float, 256> linear{};
    std::array<std::uint8_t, kEncodeSteps + 1> encode{};
};

const TTables& tables() {
    static const TTables t = [] {
        TTables made;
        for (int i = 0; i < 256; ++i)
            made.linear[std::size_t(i)] = float(LinearRgb::channel(i));
        for (int i = 0; i <= kEncodeSteps; ++i)
            made.encode[std::size_t(i)] = std::uint8_t(LinearRgb::toByte(double(i) / kEncodeSteps));
        return made;
    }();
    return t;
}

inline int encodeIndex(float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    return int(v * float(kEncodeSteps) + 0.5f);
}

} // namespace

const TMatrix& Matrix(TColorVision vision) noexcept {
    return kMatrices[std::min<std::size_t>(std::size_t(vision), kCount - 1)];
}

QString Name(TColorVision vision) {
    switch (vision) {
    case TColorVision::Protanopia:
        return QStringLiteral("Protanopia");
    case TColorVision::Deuteranopia:
        return QStringLiteral("Deuteranopia");
    case TColorVision::Tritanopia:
        return QStringLiteral("Tritanopia");
    case TColorVision::Achromatopsia:
        return QStringLiteral("Achromatopsia");
    case TColorVision::Normal:
        break;
    }
    return QStringLiteral("Normal vision");
}

TColorVision Next(TColorVision vision) noexcept {
    const int next = (int(vision) + 1) % kCount;
    return TColorVision(next);
}

ColorValue Simulate(ColorValue color, TColorVision vision) noexcept {
    // Through the same path as the pictures, so a single colour and its pixel always agree.
    const std::uint32_t pixel = 0xFF000000u | (std::uint32_t(RedOf(color)) << 16) |
                                (std::uint32_t(GreenOf(color)) << 8) | std::uint32_t(BlueOf(color));
    std::uint32_t out = 0;
    SimulateRow(&pixel, &out, 1, vision);
    return MakeColor(int((out >> 16) & 0xFF), int((out >> 8) & 0xFF), int(out & 0xFF));
}

void SimulateRow(const std::uint32_t* in, std::uint32_t* out, std::size_t count,
                 TColorVision vision) noexcept {
    if (count == 0) return;
    if (vision == TColorVision::Normal) {
        if (in != out) std::copy(in, in + count, out);
        return;
    }
    const TTables& t = tables();
    const TMatrix& md = Matrix(vision);
    float m[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m[r][c] = float(md[std::size_t(r)][std::size_t(c)]);
    auto convert = [&](std::uint32_t p) {
        const float r = t.linear[(p >> 16) & 0xFF];
        const float g = t.linear[(p >> 8) & 0xFF];
        const float b = t.linear[p & 0xFF];
        const auto channel = [&](const float* row) {
            return std::uint32_t(
                t.encode[std::size_t(encodeIndex(row[0] * r + row[1] * g + row[2] * b))]);
        };
        return (channel(m[0]) << 16) | (channel(m[1]) << 8) | channel(m[2]);
    };
    // A sample is runs of one colour and a few hundred anti-aliasing shades: a run costs one
    // look-up, a shade seen before one cache probe.
    constexpr std::uint32_t kRgb = 0x00FFFFFFu;
    constexpr std::uint32_t kFilled = 0x01000000u;
    std::array<std::uint32_t, 1024> keys{};
    std::array<std::uint32_t, 1024> values{};
    std::uint32_t lastRgb = ~in[0] & kRgb;
    std::uint32_t lastOut = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = in[i];
        const std::uint32_t rgb = p & kRgb;
        if (rgb != lastRgb) {
            const std::size_t slot = (rgb * 2654435761u) >> 22;
            if (keys[slot] != (rgb | kFilled)) {
                keys[slot] = rgb | kFilled;
                values[slot] = convert(p);
            }
            lastRgb = rgb;
            lastOut = values[slot];
        }
        out[i] = (p & ~kRgb) | lastOut;
    }
}

} // namespace ColorVision
