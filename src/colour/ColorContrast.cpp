#include "colour/ColorContrast.h"

#include "colour/LinearRgb.h"

#include <algorithm>
#include <cmath>

namespace ColorContrast {

namespace {

// Floating-point noise only: black on white must show 21:1, not 20.99:1.
constexpr double kNoise = 1e-9;

QString formatHundredths(int h) {
    return QStringLiteral("%1.%2:1").arg(h / 100).arg(h % 100, 2, 10, QLatin1Char('0'));
}

QString verdictWord(bool passes) {
    return passes ? QStringLiteral("pass") : QStringLiteral("fail");
}

} // namespace

double RelativeLuminance(ColorValue color) noexcept {
    return 0.2126 * LinearRgb::channel(RedOf(color)) + 0.7152 * LinearRgb::channel(GreenOf(color)) +
           0.0722 * LinearRgb::channel(BlueOf(color));
}

double Ratio(ColorValue a, ColorValue b) noexcept {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int Hundredths(double ratio) noexcept {
    if (!(ratio >= 1.0)) return 100;
    return std::clamp(static_cast<int>(std::floor(ratio * 100.0 + kNoise)), 100, 2100);
}

QString FormatRatio(double ratio) {
    return formatHundredths(Hundredths(ratio));
}

TVerdict Judge(ColorValue text, ColorValue background, bool largeText) noexcept {
    return {Hundredths(Ratio(text, background)), largeText};
}

QString Summary(const TVerdict& verdict) {
    auto mark = [](bool passes) {
        return passes ? QStringLiteral("\u2713") : QStringLiteral("\u2717");
    };
    QString line = QStringLiteral("%1  AA %2  AAA %3")
                       .arg(formatHundredths(verdict.hundredths), mark(verdict.passes(TLevel::AA)),
                            mark(verdict.passes(TLevel::AAA)));
    if (verdict.largeText) line += QStringLiteral("  large text");
    return line;
}

QString Report(double ratio) {
    const TVerdict normal{Hundredths(ratio), false};
    const TVerdict large{Hundredths(ratio), true};
    return QStringLiteral("Contrast ratio %1\n"
                          "AA normal text: %2\n"
                          "AA large text: %3\n"
                          "AAA normal text: %4\n"
                          "AAA large text: %5\n"
                          "Non-text: %6")
        .arg(FormatRatio(ratio), verdictWord(normal.passes(TLevel::AA)),
             verdictWord(large.passes(TLevel::AA)), verdictWord(normal.passes(TLevel::AAA)),
             verdictWord(large.passes(TLevel::AAA)), verdictWord(normal.passesNonText()));
}

} // namespace ColorContrast
