#pragma once

#include "colour/ColorValue.h"

#include <QString>

// Contrast between a text colour and its background as the accessibility guidelines define it
// (WCAG 2): relative luminance, the ratio, the levels and how the ratio is shown.
namespace ColorContrast {

// Relative luminance 0 (black) to 1 (white) of the low 24 bits.
double RelativeLuminance(ColorValue color) noexcept;

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours up to 21 for black and white, the same
// whichever colour is given first.
double Ratio(ColorValue a, ColorValue b) noexcept;

// The ratio in hundredths, truncated (never rounded up), 100 to 2100. What is shown and what
// passes are both decided on this figure, so the two can never disagree.
int Hundredths(double ratio) noexcept;

// "4.47:1": two decimals, truncated.
QString FormatRatio(double ratio);

enum class TLevel { AA, AAA };

// Text at least 18 pt, or at least 14 pt and bold, counts as large.
constexpr bool IsLargeText(double points, bool bold) noexcept {
    return points >= 18.0 || (bold && points >= 14.0);
}

// What a level asks of text, in hundredths: AA 4.5 (3 for large text), AAA 7 (4.5 for large
// text).
constexpr int RequiredHundredths(TLevel level, bool largeText) noexcept {
    if (level == TLevel::AA) return largeText ? 300 : 450;
    return largeText ? 450 : 700;
}
// What icons, borders and other non-text parts ask.
inline constexpr int kNonTextHundredths = 300;

constexpr double RequiredRatio(TLevel level, bool largeText) noexcept {
    return RequiredHundredths(level, largeText) / 100.0;
}

// A text and background pair judged for text of one size.
struct TVerdict {
    int hundredths = 100;
    bool largeText = false;

    bool passes(TLevel level) const noexcept {
        return hundredths >= RequiredHundredths(level, largeText);
    }
    bool passesNonText() const noexcept { return hundredths >= kNonTextHundredths; }
};

TVerdict Judge(ColorValue text, ColorValue background, bool largeText) noexcept;

// One short line for a status display, a tick or a cross per level for the text's size:
// "4.47:1  AA ✗  AAA ✗", with "  large text" added for large text.
QString Summary(const TVerdict& verdict);

// Every level at once, one per line, for a tooltip or the command line: the ratio, AA and AAA for
// normal and for large text, and non-text contrast.
QString Report(double ratio);

} // namespace ColorContrast
