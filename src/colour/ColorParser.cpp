#include "colour/ColorParser.h"

#include "platform/Platform.h"

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

} // namespace

std::optional<ColorValue> ParseColorText(const QString& text) {
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
