// Off-screen bitmap fills and copies against the memory-bandwidth limit: each operation runs next
// to a plain memset or memcpy of the same number of bytes, so bytes_per_second compares directly.

#include "pixels/Kxbmp.h"

#include "FloorClock.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({768, 410})->Args({3840, 2160});
}

std::int64_t bytesOf(const benchmark::State& state) {
    return state.range(0) * state.range(1) * 4;
}

void BM_Memset(benchmark::State& state) {
    std::vector<std::uint32_t> buffer(std::size_t(state.range(0) * state.range(1)));
    for (auto _ : state) {
        std::memset(buffer.data(), 0x5A, buffer.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytesOf(state));
}
BENCHMARK(BM_Memset)->Apply(sizes);

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint32_t> from(std::size_t(state.range(0) * state.range(1)), 7);
    std::vector<std::uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytesOf(state));
}
BENCHMARK(BM_Memcpy)->Apply(sizes);

void BM_KxbmpFill(benchmark::State& state) {
    TKxBmp bmp(int(state.range(0)), int(state.range(1)));
    std::uint8_t shade = 0;
    TFloorClock clock = TFloorClock::memsetOf(std::size_t(bytesOf(state)));
    for (auto _ : state)
        clock.pass([&] {
            bmp.fill(TKxColor(shade++, 100, 200));
            benchmark::ClobberMemory();
        });
    clock.report(state);
    state.SetBytesProcessed(state.iterations() * bytesOf(state));
}
BENCHMARK(BM_KxbmpFill)->Apply(sizes);

void BM_KxbmpGradientRect(benchmark::State& state, bool vertical) {
    TKxBmp bmp(int(state.range(0)), int(state.range(1)));
    TFloorClock clock = TFloorClock::memsetOf(std::size_t(bytesOf(state)));
    for (auto _ : state)
        clock.pass([&] {
            bmp.gradientRect(vertical, TKxColor(10, 20, 30), TKxColor(250, 200, 100), bmp.bounds());
            benchmark::ClobberMemory();
        });
    clock.report(state);
    state.SetBytesProcessed(state.iterations() * bytesOf(state));
}
BENCHMARK_CAPTURE(BM_KxbmpGradientRect, vertical, true)->Apply(sizes);
BENCHMARK_CAPTURE(BM_KxbmpGradientRect, horizontal, false)->Apply(sizes);

void BM_KxbmpPipeRect(benchmark::State& state, bool vertical) {
    TKxBmp bmp(int(state.range(0)), int(state.range(1)));
    TFloorClock clock = TFloorClock::memsetOf(std::size_t(bytesOf(state)));
    for (auto _ : state)
        clock.pass([&] {
            bmp.pipeRect(vertical, 60, false, TKxColor(90, 140, 200), TKxColor(230, 240, 250),
                         bmp.bounds());
            benchmark::ClobberMemory();
        });
    clock.report(state);
    state.SetBytesProcessed(state.iterations() * bytesOf(state));
}
BENCHMARK_CAPTURE(BM_KxbmpPipeRect, vertical, true)->Apply(sizes);
BENCHMARK_CAPTURE(BM_KxbmpPipeRect, horizontal, false)->Apply(sizes);

// Mode 0 over a source of half-transparent pixels (every pixel mixes), of opaque ones (a copy
// that keeps the target's alpha), of clear ones (nothing to write), and of a control's usual
// picture: an opaque face with an anti-aliased clear margin of 8 pixels each side.
void BM_KxbmpDrawToBmpMode0(benchmark::State& state, int alpha) {
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    TKxBmp source(w, h);
    TKxBmp target(w, h);
    source.fill(TKxColor(200, 100, 50, alpha < 0 ? 255 : alpha));
    if (alpha < 0)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < 8; ++x) {
                source.pixelRow(y)[x] &= 0x00FFFFFFu | TKxPixel(x * 30) << 24;
                source.pixelRow(y)[w - 1 - x] &= 0x00FFFFFFu | TKxPixel(x * 30) << 24;
            }
    TFloorClock clock = TFloorClock::memcpyOf(std::size_t(bytesOf(state)));
    for (auto _ : state)
        clock.pass([&] {
            source.drawToBmp(&target, 0, 0, 0);
            benchmark::ClobberMemory();
        });
    clock.report(state);
    state.SetBytesProcessed(state.iterations() * bytesOf(state));
}
BENCHMARK_CAPTURE(BM_KxbmpDrawToBmpMode0, mixed, 128)->Apply(sizes);
BENCHMARK_CAPTURE(BM_KxbmpDrawToBmpMode0, opaque, 255)->Apply(sizes);
BENCHMARK_CAPTURE(BM_KxbmpDrawToBmpMode0, clear, 0)->Apply(sizes);
BENCHMARK_CAPTURE(BM_KxbmpDrawToBmpMode0, face, -1)->Apply(sizes);

// The button overlays and frames on a 16 x 16 bitmap for rectangles from its own size up to far
// past it: the time must stay that of the pixels on the bitmap, whatever the rectangle's size.
void BM_KxbmpShadeRectangleBeyondTheBitmap(benchmark::State& state) {
    TKxBmp bmp(16, 16);
    const int reach = int(state.range(0));
    const QRect rect(-reach, -reach, 16 + 2 * reach, 16 + 2 * reach);
    for (auto _ : state) {
        bmp.flatHot(rect);
        bmp.flatPressed(rect);
        bmp.frameRect(4, TKxColor(10, 20, 30), rect);
        bmp.roundedBorder(TKxColor(10, 20, 30), rect);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KxbmpShadeRectangleBeyondTheBitmap)->Arg(0)->Arg(1 << 12)->Arg(1 << 28);

} // namespace
