// The contrast ratio of one pair, the nearest readable colour, and the colour-vision simulation of
// a full-screen sample against a plain memcpy of the same picture, timed side by side in one run
// (the counter x_memcpy is the simulation's time over the copy's).

#include "colour/ColorContrast.h"
#include "colour/ColorVision.h"
#include "colour/ReadableColor.h"
#include "sample/Samplefrm.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

void BM_ContrastRatio(benchmark::State& state) {
    ColorValue text = 0x777777u;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ColorContrast::Ratio(text, kWhite));
        text = (text + 0x010203u) & kColorMask;
    }
}

void BM_NearestReadableColor(benchmark::State& state) {
    ColorValue text = 0x3366CCu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadableColor::Nearest(text, 0x4080C0u, 450));
        text = (text + 0x030507u) & kColorMask;
    }
}

// A 1920 x 1080 sample as the window draws it, or a picture whose every pixel differs.
QImage picture(bool noise) {
    if (!noise) {
        TSampleForm form(nullptr);
        form.SetTransparent(false);
        form.SetSampleBkgColor(MakeColor(0, 116, 0));
        form.SetSampleTextColor(MakeColor(255, 237, 129));
        form.SetFontSize(12);
        form.resize(1920, 1080 + form.statusHeight());
        return form.backBuffer().copy();
    }
    QImage image(1920, 1080, QImage::Format_RGB32);
    std::uint32_t seed = 29;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = 0xFF000000u | (seed >> 8);
        }
    }
    return image;
}

void BM_ColorVisionSample(benchmark::State& state) {
    const QImage in = picture(state.range(0) != 0);
    const auto count = std::size_t(in.width()) * std::size_t(in.height());
    std::vector<std::uint32_t> out(count);
    const auto* from = reinterpret_cast<const std::uint32_t*>(in.constBits());
    using TClock = std::chrono::steady_clock;
    TClock::duration simulated{};
    TClock::duration copied{};
    for (auto _ : state) {
        const auto start = TClock::now();
        ColorVision::SimulateRow(from, out.data(), count, TColorVision::Deuteranopia);
        benchmark::ClobberMemory();
        const auto middle = TClock::now();
        std::memcpy(out.data(), from, count * 4);
        benchmark::ClobberMemory();
        simulated += middle - start;
        copied += TClock::now() - middle;
    }
    state.counters["x_memcpy"] =
        double(simulated.count()) / double(std::max<TClock::rep>(1, copied.count()));
    state.SetLabel(state.range(0) ? "every pixel different" : "rendered sample");
}

} // namespace

BENCHMARK(BM_ContrastRatio);
BENCHMARK(BM_NearestReadableColor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorVisionSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
