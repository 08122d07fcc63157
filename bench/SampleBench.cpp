#include "platform/Platform.h"
#include "sample/Samplefrm.h"

#include <benchmark/benchmark.h>

#include <algorithm>

// The sample window's two hot paths: a move of a see-through window (refill from the desktop
// picture, render, paint) and a new layout and render of the text, for texts short and huge.

namespace {

class TPictureDesktop : public Platform::TPlatform {
public:
    TPictureDesktop() {
        picture.image = QImage(1920, 1080, QImage::Format_ARGB32);
        for (int y = 0; y < picture.image.height(); ++y) {
            auto* row = reinterpret_cast<quint32*>(picture.image.scanLine(y));
            for (int x = 0; x < picture.image.width(); ++x)
                row[x] = 0xFF000000u | quint32(x * 7) << 8 | quint32(y * 3);
        }
    }
    Platform::TDesktopPicture grabDesktop() const override { return picture; }
    Platform::TDesktopPicture picture;
};

QString sampleText(qsizetype length, bool paragraphs) {
    const QString words =
        QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit. ");
    QString text;
    text.reserve(length + words.size());
    while (text.size() < length) {
        text += words;
        if (paragraphs && text.size() % 400 < words.size()) text += QStringLiteral("\r\n");
    }
    text.truncate(length);
    return text;
}

double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

void BM_SampleSeeThroughMove(benchmark::State& state) {
    TPictureDesktop desktop;
    Platform::TPlatformOverride use(desktop);
    TSampleForm form(nullptr);
    form.SetTransparent(true);
    form.SetSampleText(sampleText(2000, true));
    form.setGeometry(300, 200, 254, 239);
    form.show();
    form.backBuffer();
    int x = 300;
    for (auto _ : state) {
        x = x == 300 ? 301 : 300;
        form.move(x, 200); // refills, renders and paints at once
        benchmark::DoNotOptimize(form.backBuffer().constBits());
    }
    state.counters["layouts"] = form.layoutCount();
}

void BM_SampleTextRender(benchmark::State& state) {
    TPictureDesktop desktop;
    Platform::TPlatformOverride use(desktop);
    TSampleForm form(nullptr);
    form.SetTransparent(false);
    form.SetSampleText(sampleText(state.range(0), state.range(1) != 0));
    form.resize(254, 239);
    form.SetFontSize(9);
    int size = 9;
    for (auto _ : state) {
        size = size == 9 ? 10 : 9;
        form.SetFontSize(size); // a new layout of the text
        benchmark::DoNotOptimize(form.backBuffer().constBits());
    }
    state.SetLabel(std::to_string(state.range(0)) +
                   (state.range(1) ? " chars in lines" : " chars, one line"));
}

} // namespace

BENCHMARK(BM_SampleSeeThroughMove)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_SampleTextRender)
    ->Args({300, 1})
    ->Args({20000, 1})
    ->Args({1024 * 1024, 1})
    ->Args({1024 * 1024, 0})
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", fastest);
