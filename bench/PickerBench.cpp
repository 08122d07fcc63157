// The magnifier's per-frame work against a plain memcpy of its square: rendering the view, a whole
// follow step (render, grid and pick lines, the copy into a backing-store image) and the average.

#include "picker/PickView.h"

#include "FloorClock.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

const QImage& desktop() {
    static const QImage picture = [] {
        QImage image(1920, 1080, QImage::Format_ARGB32);
        std::mt19937 random(1);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
        }
        return image;
    }();
    return picture;
}

TPickView makeView(int side, int zoom, bool grid) {
    TPickView view;
    view.setPicture(desktop(), QPoint(0, 0));
    view.setSide(side);
    view.setZoom(zoom);
    view.setGridLines(grid);
    view.setPointer(QPoint(960, 540));
    return view;
}

std::int64_t squareBytes(const benchmark::State& state) {
    return state.range(0) * state.range(0) * 4;
}

void BM_PickerMemcpy(benchmark::State& state) {
    std::vector<std::uint32_t> from(std::size_t(state.range(0) * state.range(0)), 7);
    std::vector<std::uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * squareBytes(state));
}
BENCHMARK(BM_PickerMemcpy)->Arg(301)->Arg(1001);

// Args: side, zoom.
void BM_PickViewRender(benchmark::State& state) {
    TPickView view = makeView(int(state.range(0)), int(state.range(1)), false);
    int step = 0;
    TFloorClock clock = TFloorClock::memcpyOf(std::size_t(squareBytes(state)));
    for (auto _ : state)
        clock.pass([&] {
            view.setPointer(QPoint(960 + (step & 15), 540));
            ++step;
            view.render(false);
            benchmark::DoNotOptimize(view.buffer().constBits());
            benchmark::ClobberMemory();
        });
    clock.report(state);
    state.SetBytesProcessed(state.iterations() * squareBytes(state));
}
BENCHMARK(BM_PickViewRender)
    ->Args({301, 3})
    ->Args({301, 2})
    ->Args({301, 48})
    ->Args({1001, 3})
    ->Args({1001, 2})
    ->Args({1001, 48});

// What one follow step costs the window: render with grid and pick lines, then one drawImage into
// an image of the backing store's format.
void BM_PickViewFollowStep(benchmark::State& state) {
    TPickView view = makeView(int(state.range(0)), 3, true);
    QImage store(view.side(), view.side(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    TFloorClock clock = TFloorClock::memcpyOf(std::size_t(squareBytes(state)));
    for (auto _ : state)
        clock.pass([&] {
            view.setPointer(QPoint(960 + (step & 15), 540 + (step & 7)));
            ++step;
            view.render(true);
            QPainter painter(&store);
            painter.drawImage(0, 0, view.buffer());
            painter.end();
            benchmark::DoNotOptimize(store.constBits());
        });
    clock.report(state);
    state.SetBytesProcessed(state.iterations() * squareBytes(state));
}
BENCHMARK(BM_PickViewFollowStep)->Arg(301)->Arg(1001);

void BM_PickViewAverage(benchmark::State& state) {
    TPickView view = makeView(int(state.range(0)), 3, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(view.averageColor());
    state.SetBytesProcessed(state.iterations() * squareBytes(state));
}
BENCHMARK(BM_PickViewAverage)->Arg(301)->Arg(1001);

} // namespace
