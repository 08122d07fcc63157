#pragma once

#include "colour/ColorValue.h"

#include <QString>
#include <optional>

// The click action: which text a pick puts on the clipboard. The numbers are stored in the
// settings and used as tags of the menu items and radio buttons that choose them; new styles are
// appended, so a stored number keeps its meaning.
enum class CopyStyle : int {
    All = 0,
    Html = 1,
    BgrHex = 2,
    RgbValues = 3,
    Hsl = 4,
    Custom = 5,
    CssRgb = 6,
    CssHsl = 7,
    OkLch = 8,
    ShortHex = 9,
};

inline constexpr int kCopyStyleCount = 10;

// Whether a stored or given number names a copy style.
constexpr bool IsCopyStyle(int style) noexcept {
    return style >= 0 && style < kCopyStyleCount;
}

// The user's settings for the two template formats and the HSL display scale. A default value is
// what a first start without stored settings uses.
struct FormatSettings {
    // "RR", "GG", "BB" are replaced by the channels.
    QString customTemplate = QStringLiteral("rgb( RR, GG, BB );");
    // Hexadecimal (two digits) rather than decimal values in the custom template.
    bool customHex = true;
    // "HH", "SS", "LL" are replaced by the scaled hue, saturation and luminance.
    QString hslTemplate = QStringLiteral("hsl( HH, SS%, LL% );");
    bool hslHex = true;
    // Full-scale values of hue, saturation and luminance as shown to the user.
    int hueMax = 360;
    int satMax = 100;
    int lumMax = 100;

    friend bool operator==(const FormatSettings&, const FormatSettings&) = default;
};

// "#RRGGBB".
QString FormatHtml(ColorValue color);

// "0x" and eight digits: byte 3, blue, green, red.
QString FormatBgrHex(ColorValue color);

// "R:rrr G:ggg B:bbb", each value three decimal digits with leading zeros.
QString FormatRgbValues(ColorValue color);

// Every template may also hold, each replaced at its first occurrence, "{css-rgb}", "{css-hsl}",
// "{oklch}" and "{short-hex}": the colour as FormatCssRgb, FormatCssHsl, FormatOkLch and
// FormatShortHex write it.

// Replaces the first "RR", "GG" and "BB" of the template by red, green and blue, in two upper-case
// hexadecimal digits or in plain decimal. Only the template's own text is searched, never text
// inserted for another placeholder; later occurrences and everything else stay as written.
QString FormatRgbTemplate(ColorValue color, const QString& templateText, bool hex);

// Like FormatRgbTemplate for "HH", "SS" and "LL", with hue, saturation and luminance scaled to the
// given maxima. Hexadecimal values have at least three digits when their maximum exceeds 255 and
// at least two otherwise.
QString FormatHslTemplate(ColorValue color, const QString& templateText, bool hex, int hueMax,
                          int satMax, int lumMax);

// The custom template with its own hexadecimal switch.
QString FormatCustom(ColorValue color, const FormatSettings& settings);

// The HSL template with its switch and the user's maxima.
QString FormatHsl(ColorValue color, const FormatSettings& settings);

// HTML, BGR hex, R:G:B, HSL and custom on one line, separated by single blanks.
QString FormatAll(ColorValue color, const FormatSettings& settings);

// The text of a copy style; nothing for any other number, so nothing is copied.
std::optional<QString> FormatByStyle(ColorValue color, int style, const FormatSettings& settings);
