#include "colour/CssColorWriter.h"

#include "colour/ColorSpaces.h"
#include "colour/CssColorReader.h"

#include <QStringView>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// Room for the longest text: "oklch(" and three numbers of at most a dozen characters each.
class TextBuffer {
public:
    void append(std::string_view text) {
        for (const char c : text)
            if (m_size < m_chars.size()) m_chars[m_size++] = c;
    }

    void append(int value) {
        std::array<char, 12> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
        append(
            std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
    }

    // The value with the given number of decimals, then without trailing zeros.
    void appendFixed(double value, int decimals) {
        std::array<char, 48> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                          std::chars_format::fixed, decimals);
        std::string_view text(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
        if (text.find('.') != std::string_view::npos) {
            while (text.back() == '0')
                text.remove_suffix(1);
            if (text.back() == '.') text.remove_suffix(1);
        }
        if (text == "-0") text = "0";
        append(text);
    }

    QString toString() const {
        return QString::fromLatin1(m_chars.data(), static_cast<qsizetype>(m_size));
    }

    // The text as UTF-16 without an allocation, for reading it back.
    bool readsBackAs(ColorValue color) const {
        std::array<char16_t, 64> wide{};
        for (std::size_t i = 0; i < m_size; ++i)
            wide[i] = static_cast<char16_t>(m_chars[i]);
        const CssColorReading reading =
            ReadCssColor(QStringView(wide.data(), static_cast<qsizetype>(m_size)));
        return reading.color == color;
    }

private:
    std::array<char, 64> m_chars{};
    std::size_t m_size = 0;
};

// Decimals that show the value with the given number of significant digits.
int decimalsFor(double value, int significant) {
    if (value == 0.0) return 0;
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    return std::max(0, significant - 1 - magnitude);
}

ColorTriple srgbOf(ColorValue color) {
    return {RedOf(color) / 255.0, GreenOf(color) / 255.0, BlueOf(color) / 255.0};
}

// More digits always get closer to the exact value, so a few more always read back; the limit
// only guards against a conversion that never does.
constexpr int kMoreDigits = 8;

} // namespace

QString FormatCssRgb(ColorValue color) {
    TextBuffer text;
    text.append("rgb(");
    text.append(RedOf(color));
    text.append(" ");
    text.append(GreenOf(color));
    text.append(" ");
    text.append(BlueOf(color));
    text.append(")");
    return text.toString();
}

QString FormatCssHsl(ColorValue color) {
    color &= kColorMask;
    const ColorTriple hsl = SrgbToHsl(srgbOf(color));
    const auto build = [&](int decimals) {
        TextBuffer text;
        text.append("hsl(");
        text.appendFixed(hsl[0], decimals);
        text.append(" ");
        text.appendFixed(hsl[1] * 100.0, decimals);
        text.append("% ");
        text.appendFixed(hsl[2] * 100.0, decimals);
        text.append("%)");
        return text;
    };
    for (int decimals = 0; decimals < kMoreDigits; ++decimals) {
        const TextBuffer text = build(decimals);
        if (text.readsBackAs(color)) return text.toString();
    }
    return build(kMoreDigits).toString();
}

QString FormatOkLch(ColorValue color) {
    color &= kColorMask;
    const ColorTriple rgb = srgbOf(color);
    ColorTriple lch = LabToLch(
        LinearSrgbToOkLab({SrgbToLinear(rgb[0]), SrgbToLinear(rgb[1]), SrgbToLinear(rgb[2])}));
    if (RedOf(color) == GreenOf(color) && GreenOf(color) == BlueOf(color)) lch[1] = lch[2] = 0.0;
    const auto build = [&](int significant) {
        TextBuffer text;
        text.append("oklch(");
        text.appendFixed(lch[0], decimalsFor(lch[0], significant));
        text.append(" ");
        const int chromaDecimals = decimalsFor(lch[1], significant);
        text.appendFixed(lch[1], chromaDecimals);
        text.append(" ");
        // A chroma that shows as 0 makes the hue meaningless.
        const bool grey = std::round(lch[1] * std::pow(10.0, chromaDecimals)) == 0.0;
        text.appendFixed(grey ? 0.0 : lch[2], decimalsFor(lch[2], significant));
        text.append(")");
        return text;
    };
    for (int significant = 4; significant < 4 + kMoreDigits; ++significant) {
        const TextBuffer text = build(significant);
        if (text.readsBackAs(color)) return text.toString();
    }
    return build(4 + kMoreDigits).toString();
}

QString FormatShortHex(ColorValue color) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    TextBuffer text;
    text.append("#");
    if (r % 17 == 0 && g % 17 == 0 && b % 17 == 0) {
        for (const int c : {r, g, b})
            text.append(digits.substr(static_cast<std::size_t>(c / 17), 1));
    } else {
        for (const int c : {r, g, b}) {
            text.append(digits.substr(static_cast<std::size_t>(c >> 4), 1));
            text.append(digits.substr(static_cast<std::size_t>(c & 15), 1));
        }
    }
    return text.toString();
}
