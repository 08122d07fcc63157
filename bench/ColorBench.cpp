#include "colour/ColorParser.h"
#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"

#include <benchmark/benchmark.h>

#include <QStringList>

// Each iteration converts a different colour so that no result can be hoisted out of the loop.

static void BM_RgbToHls(benchmark::State& state) {
    ColorValue color = 0x123456u;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RgbToHls(color));
        color = (color + 0x010305u) & kColorMask;
    }
}
BENCHMARK(BM_RgbToHls);

static void BM_HlsToRgb(benchmark::State& state) {
    int hue = 0;
    int lum = 17;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HlsToRgb(hue, lum, 200));
        hue = hue == 239 ? 0 : hue + 1;
        lum = lum == 240 ? 0 : lum + 1;
    }
}
BENCHMARK(BM_HlsToRgb);

static void BM_ParseColorText(benchmark::State& state) {
    const QStringList texts = {
        QStringLiteral("rgb(119,170,255);"),
        QStringLiteral("#FFAA77"),
        QStringLiteral("0x00AAFF77"),
        QStringLiteral("255 0 125"),
        QStringLiteral("ffaa77"),
        QStringLiteral("not a colour"),
    };
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseColorText(texts[i]));
        i = i + 1 == texts.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_ParseColorText);

static void BM_FormatAll(benchmark::State& state) {
    const FormatSettings settings;
    ColorValue color = 0x123456u;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatAll(color, settings));
        color = (color + 0x010305u) & kColorMask;
    }
}
BENCHMARK(BM_FormatAll);
