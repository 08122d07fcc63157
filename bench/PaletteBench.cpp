#include "palette/KxZodudIro.h"

#include "FloorClock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

// Builds and colour counts at the main window's design size and at a 4K screen, each next to a
// memset of the same bytes: the floor any build that writes every pixel once must stand on.

namespace {

void setSizeLabel(benchmark::State& state, int w, int h) {
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * w * h * 3);
}

void BM_PaletteBuild(benchmark::State& state) {
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const bool vertical = state.range(2) != 0;
    TKxZodudIro palette;
    TKxZodudIroBitmap bitmap;
    bitmap.setSize(w, h);
    TFloorClock clock = TFloorClock::memsetOf(std::size_t(bitmap.stride()) * std::size_t(h));
    for (auto _ : state)
        clock.pass([&] {
            const bool drawn = vertical ? palette.CreateZodudIroVert(bitmap, w, h, true, 64)
                                        : palette.CreateZodudIroHorz(bitmap, w, h, true, 64);
            benchmark::DoNotOptimize(drawn);
            benchmark::ClobberMemory();
        });
    clock.report(state);
    setSizeLabel(state, w, h);
}

void BM_PaletteMemset(benchmark::State& state) {
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    TKxZodudIroBitmap bitmap;
    bitmap.setSize(w, h);
    int value = 0;
    for (auto _ : state) {
        std::memset(bitmap.scanLine(0), ++value & 0xFF, std::size_t(bitmap.stride()) * h);
        benchmark::ClobberMemory();
    }
    setSizeLabel(state, w, h);
}

void BM_PaletteColorCount(benchmark::State& state) {
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    TKxZodudIro palette;
    palette.setPastel(64);
    palette.resize(w, h);
    palette.show(); // delivers the resize that sizes the bitmap
    palette.CreateZodudIro(palette.rect());
    int count = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(count = palette.getColorCount());
    state.counters["colours"] = count;
    setSizeLabel(state, w, h);
}

// The machine is shared: with --benchmark_repetitions the fastest run is the honest figure.
double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({768, 410, 0})->Args({3840, 2160, 0});
    b->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
}

} // namespace

BENCHMARK(BM_PaletteMemset)->Apply(sizes);
BENCHMARK(BM_PaletteBuild)
    ->Args({768, 410, 0})
    ->Args({768, 410, 1})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 1})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_PaletteColorCount)->Apply(sizes);
