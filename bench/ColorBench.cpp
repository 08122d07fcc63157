#include "colour/ColorParser.h"
#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"
#include "colour/CssColorWriter.h"

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

// One benchmark per notation, so a slow one cannot hide behind fast ones. The legacy notations
// are what typing in the value field meets most; they must stay under a microsecond.
static void BM_ParseNotation(benchmark::State& state, const char* text) {
    const QString value = QString::fromUtf8(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseColorText(value));
}
BENCHMARK_CAPTURE(BM_ParseNotation, legacy_rgb, "rgb(119,170,255);");
BENCHMARK_CAPTURE(BM_ParseNotation, legacy_hash, "#FFAA77");
BENCHMARK_CAPTURE(BM_ParseNotation, legacy_0x, "0x00AAFF77");
BENCHMARK_CAPTURE(BM_ParseNotation, legacy_triple, "255 0 125");
BENCHMARK_CAPTURE(BM_ParseNotation, rgb_values, "R:255 G:026 B:184");
BENCHMARK_CAPTURE(BM_ParseNotation, hash_short, "#abc");
BENCHMARK_CAPTURE(BM_ParseNotation, rgb_commas, "rgb(10, 20, 30)");
BENCHMARK_CAPTURE(BM_ParseNotation, rgb_slash, "rgb(10% 20% 30% / 50%)");
BENCHMARK_CAPTURE(BM_ParseNotation, hsl, "hsl(270deg 50% 40%)");
BENCHMARK_CAPTURE(BM_ParseNotation, hwb, "hwb(270 20% 40%)");
BENCHMARK_CAPTURE(BM_ParseNotation, lab, "lab(29.2345% 39.3825 20.0664)");
BENCHMARK_CAPTURE(BM_ParseNotation, lch, "lch(29.2345% 44.2 27)");
BENCHMARK_CAPTURE(BM_ParseNotation, oklab, "oklab(40.101% 0.1147 0.0453)");
BENCHMARK_CAPTURE(BM_ParseNotation, oklch, "oklch(40.101% 0.12332 21.555)");
BENCHMARK_CAPTURE(BM_ParseNotation, oklch_out_of_gamut, "oklch(0.7 0.4 145)");
BENCHMARK_CAPTURE(BM_ParseNotation, display_p3, "color(display-p3 1 0 0)");
BENCHMARK_CAPTURE(BM_ParseNotation, named, "rebeccapurple");
BENCHMARK_CAPTURE(BM_ParseNotation, not_a_colour, "not a colour");

static void BM_FormatNew(benchmark::State& state, QString (*format)(ColorValue)) {
    ColorValue color = 0x123456u;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format(color));
        color = (color + 0x010305u) & kColorMask;
    }
}
BENCHMARK_CAPTURE(BM_FormatNew, css_rgb, FormatCssRgb);
BENCHMARK_CAPTURE(BM_FormatNew, css_hsl, FormatCssHsl);
BENCHMARK_CAPTURE(BM_FormatNew, oklch, FormatOkLch);
BENCHMARK_CAPTURE(BM_FormatNew, short_hex, FormatShortHex);
