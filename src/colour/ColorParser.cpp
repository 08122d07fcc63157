#include "colour/ColorParser.h"

#include "colour/CssColorReader.h"
#include "platform/Platform.h"

#include <array>

#include <QStringView>

namespace {

bool isDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isUpperHexDigit(QChar c) {
    return isDecimalDigit(c) || (c >= u'A' && c <= u'F');
}

int hexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

// Six or eight upper-case hexadecimal digits, the first pair after an optional alpha pair red.
std::optional<ColorValue> readHex(QStringView digits) {
    if (digits.size() != 6 && digits.size() != 8) return std::nullopt;
    ColorValue value = 0;
    for (const QChar c : digits) {
        if (!isUpperHexDigit(c)) return std::nullopt;
        value = (value << 4) | static_cast<ColorValue>(hexDigitValue(c));
    }
    return SwapRedBlue(value);
}

// A non-empty run of decimal digits worth 0 to 255; any number of leading zeros is fine.
std::optional<int> readByte(QStringView digits) {
    if (digits.isEmpty()) return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        if (!isDecimalDigit(c)) return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 255) return std::nullopt;
    }
    return value;
}

qsizetype findSeparator(QStringView text, qsizetype from) {
    for (qsizetype i = from; i < text.size(); ++i)
        if (text[i] == u' ' || text[i] == u',') return i;
    return -1;
}

// Three numbers with exactly one blank or comma between neighbours.
std::optional<ColorValue> readDecimalTriple(QStringView text) {
    const qsizetype first = findSeparator(text, 0);
    if (first < 0) return std::nullopt;
    const qsizetype second = findSeparator(text, first + 1);
    if (second < 0) return std::nullopt;
    const auto red = readByte(text.first(first));
    const auto green = readByte(text.sliced(first + 1, second - first - 1));
    const auto blue = readByte(text.sliced(second + 1));
    if (!red || !green || !blue) return std::nullopt;
    return MakeColor(*red, *green, *blue);
}

// The program's own R:G:B copy format, "R:255 G:026 B:184", in any letter case.
std::optional<ColorValue> readRgbValues(QStringView text) {
    const QStringView t = text.trimmed();
    std::array<int, 3> channel{};
    constexpr std::array<char16_t, 3> kLetters{u'R', u'G', u'B'};
    qsizetype pos = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        if (k > 0) {
            if (pos >= t.size() || t[pos] != u' ') return std::nullopt;
            ++pos;
        }
        if (pos + 2 > t.size() || t[pos].toUpper() != kLetters[k] || t[pos + 1] != u':')
            return std::nullopt;
        pos += 2;
        const qsizetype start = pos;
        while (pos < t.size() && isDecimalDigit(t[pos]) && pos - start < 3)
            ++pos;
        const auto value = readByte(t.sliced(start, pos - start));
        if (!value) return std::nullopt;
        channel[k] = *value;
    }
    if (pos < t.size() && t[pos] == u';') ++pos;
    if (pos != t.size()) return std::nullopt;
    return MakeColor(channel[0], channel[1], channel[2]);
}

std::optional<ColorValue> parseLegacy(const QString& text) {
    // Upper-casing follows the user's locale, as everywhere else text is upper-cased.
    const QString upper = Platform::toUpper(text);
    // Trailing punctuation (";", ")", blanks) goes; the first character always stays.
    qsizetype n = upper.size();
    while (n > 1 && !isUpperHexDigit(upper[n - 1]))
        --n;
    if (n < 5) return std::nullopt;
    const QStringView t = QStringView(upper).first(n);

    if (t[0] == u'R') {
        if (n < 9 || t[1] != u'G' || t[2] != u'B' || t[3] != u'(') return std::nullopt;
        return readDecimalTriple(t.sliced(4));
    }
    if (t[0] == u'#') {
        if (n != 7) return std::nullopt;
        return readHex(t.sliced(1));
    }
    if (t[0] == u'$') {
        if (n != 7 && n != 9) return std::nullopt;
        return readHex(t.sliced(1));
    }
    if (t[0] == u'0' && t[1] == u'X') {
        if (n != 8 && n != 10) return std::nullopt;
        return readHex(t.sliced(2));
    }
    if (const auto triple = readDecimalTriple(t)) return triple;
    if (n != 6 && n != 8) return std::nullopt;
    return readHex(t);
}

} // namespace

ColorTextReading ReadColorText(const QString& text) {
    // The notations read before style-sheet colours came keep their exact meaning.
    if (const auto legacy = parseLegacy(text)) return {legacy, {}};
    if (const auto values = readRgbValues(text)) return {values, {}};
    const CssColorReading css = ReadCssColor(text);
    ColorTextReading reading{css.color, {}};
    if (css.keywordWithoutColor)
        reading.note = QStringLiteral("Not a colour value: transparent, currentcolor and system "
                                      "colours have no colour of their own. Type a colour such "
                                      "as #663399 or rebeccapurple.");
    else if (css.outOfGamut && css.alphaIgnored)
        reading.note = QStringLiteral("Out of the sRGB gamut: mapped to the nearest colour the "
                                      "screen can show. Alpha ignored: colours here are opaque.");
    else if (css.outOfGamut)
        reading.note = QStringLiteral("Out of the sRGB gamut: mapped to the nearest colour the "
                                      "screen can show.");
    else if (css.alphaIgnored)
        reading.note = QStringLiteral("Alpha ignored: colours here are opaque.");
    return reading;
}

std::optional<ColorValue> ParseColorText(const QString& text) {
    return ReadColorText(text).color;
}

ColorValue ParseHexSix(const QString& text) {
    ColorValue value = 0;
    for (const QChar c : text) {
        const int digit = hexDigitValue(c);
        if (digit >= 0) value = (value << 4) | static_cast<ColorValue>(digit);
    }
    return SwapRedBlue(value);
}

QString ValueExamplesHint() {
    return QStringLiteral(" Value examples: \r\n   $AA77FF\r\n   $00AAFF77\r\n   #FFAA77\r\n"
                          "   0xFFAA77\r\n   0x00AAFF77\r\n   FFAA77\r\n   rgb(0,255,125)\r\n"
                          "   255,0,125\r\n   255 0 125");
}
