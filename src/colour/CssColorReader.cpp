#include "colour/CssColorReader.h"

#include "colour/ColorSpaces.h"
#include "colour/GamutMapping.h"
#include "colour/NamedColors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>

namespace {

bool isCssSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isIdentChar(QChar c) {
    return isLetter(c) || isDigit(c) || c == u'-';
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

bool equalsAscii(QStringView text, std::string_view lower) {
    if (static_cast<std::size_t>(text.size()) != lower.size()) return false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        char16_t u = text[static_cast<qsizetype>(i)].unicode();
        if (u >= u'A' && u <= u'Z') u = static_cast<char16_t>(u - u'A' + u'a');
        if (u != static_cast<char16_t>(lower[i])) return false;
    }
    return true;
}

// Components beyond this size mean nothing for an sRGB colour; capping them keeps every
// conversion finite.
constexpr double kMagnitudeCap = 1e9;

enum class Kind { Number, Percent, Angle, None, Ident, Comma, Slash };

struct Token {
    Kind kind = Kind::Number;
    double value = 0; // degrees for an angle
    QStringView ident;
};

// Room for the longest valid list (color(space a b c / alpha)); anything longer is no colour.
constexpr std::size_t kMaxTokens = 7;

class ArgumentReader {
public:
    explicit ArgumentReader(QStringView text) : m_text(text) {}

    // Reads tokens up to the closing parenthesis; false for anything else, including trailing
    // text other than blanks and one ";".
    bool read(std::array<Token, kMaxTokens>& tokens, std::size_t& count) {
        count = 0;
        bool needsGap = false; // two values need a blank, comma or slash between them
        for (;;) {
            const bool gap = skipSpace();
            if (m_pos >= m_text.size()) return false;
            const QChar c = m_text[m_pos];
            if (c == u')') {
                ++m_pos;
                return atEnd();
            }
            if (count == tokens.size()) return false;
            Token& token = tokens[count++];
            if (c == u',' || c == u'/') {
                token.kind = c == u',' ? Kind::Comma : Kind::Slash;
                ++m_pos;
                needsGap = false;
                continue;
            }
            if (needsGap && !gap) return false;
            if (isDigit(c) || c == u'.' || c == u'+' || c == u'-') {
                if (c == u'-' && m_pos + 1 < m_text.size() && isLetter(m_text[m_pos + 1]))
                    return false; // identifiers starting with a dash name nothing here
                if (!readNumber(token)) return false;
            } else if (isLetter(c)) {
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && isIdentChar(m_text[m_pos]))
                    ++m_pos;
                token.ident = m_text.sliced(start, m_pos - start);
                token.kind = equalsAscii(token.ident, "none") ? Kind::None : Kind::Ident;
            } else {
                return false;
            }
            needsGap = true;
        }
    }

private:
    bool skipSpace() {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && isCssSpace(m_text[m_pos]))
            ++m_pos;
        return m_pos > start;
    }

    bool atEnd() {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == u';') ++m_pos;
        skipSpace();
        return m_pos == m_text.size();
    }

    qsizetype skipDigits() {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
            ++m_pos;
        return m_pos - start;
    }

    // A number as style sheets write it, then "%" or an angle unit.
    bool readNumber(Token& token) {
        const qsizetype start = m_pos;
        if (m_text[m_pos] == u'+' || m_text[m_pos] == u'-') ++m_pos;
        qsizetype digits = skipDigits();
        if (m_pos < m_text.size() && m_text[m_pos] == u'.') {
            ++m_pos;
            const qsizetype fraction = skipDigits();
            if (fraction == 0) return false;
            digits += fraction;
        }
        if (digits == 0) return false;
        if (m_pos + 1 < m_text.size() && (m_text[m_pos] == u'e' || m_text[m_pos] == u'E')) {
            qsizetype after = m_pos + 1;
            if (m_text[after] == u'+' || m_text[after] == u'-') ++after;
            if (after < m_text.size() && isDigit(m_text[after])) {
                m_pos = after;
                skipDigits();
            }
        }
        // The digits are ASCII already; from_chars wants them as bytes.
        std::array<char, 64> ascii{};
        const qsizetype length = m_pos - start;
        if (length > static_cast<qsizetype>(ascii.size())) return false;
        for (qsizetype i = 0; i < length; ++i)
            ascii[static_cast<std::size_t>(i)] = static_cast<char>(m_text[start + i].unicode());
        const char* first = ascii.data() + (ascii[0] == '+' ? 1 : 0);
        const char* last = ascii.data() + length;
        double value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc::result_out_of_range)
            value = std::abs(value) < 1 ? 0.0 : std::copysign(kMagnitudeCap, value);
        else if (error != std::errc() || end != last)
            return false;
        token.value = std::clamp(value, -kMagnitudeCap, kMagnitudeCap);
        token.kind = Kind::Number;

        if (m_pos < m_text.size() && m_text[m_pos] == u'%') {
            ++m_pos;
            token.kind = Kind::Percent;
        } else if (m_pos < m_text.size() && isLetter(m_text[m_pos])) {
            const qsizetype unitStart = m_pos;
            while (m_pos < m_text.size() && isLetter(m_text[m_pos]))
                ++m_pos;
            const QStringView unit = m_text.sliced(unitStart, m_pos - unitStart);
            token.kind = Kind::Angle;
            if (equalsAscii(unit, "deg")) {
            } else if (equalsAscii(unit, "grad")) {
                token.value *= 0.9;
            } else if (equalsAscii(unit, "rad")) {
                token.value *= 180.0 / std::numbers::pi;
            } else if (equalsAscii(unit, "turn")) {
                token.value *= 360.0;
            } else {
                return false;
            }
        }
        return true;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

enum class Function { Rgb, Hsl, Hwb, Lab, Lch, OkLab, OkLch, Color };

std::optional<Function> functionNamed(QStringView name) {
    struct Entry {
        std::string_view name;
        Function function;
    };
    constexpr Entry kFunctions[] = {
        {"rgb", Function::Rgb},     {"rgba", Function::Rgb},    {"hsl", Function::Hsl},
        {"hsla", Function::Hsl},    {"hwb", Function::Hwb},     {"lab", Function::Lab},
        {"lch", Function::Lch},     {"oklab", Function::OkLab}, {"oklch", Function::OkLch},
        {"color", Function::Color},
    };
    for (const Entry& e : kFunctions)
        if (equalsAscii(name, e.name)) return e.function;
    return std::nullopt;
}

enum class Space { Srgb, SrgbLinear, DisplayP3, XyzD65, XyzD50 };

std::optional<Space> spaceNamed(QStringView name) {
    struct Entry {
        std::string_view name;
        Space space;
    };
    constexpr Entry kSpaces[] = {
        {"srgb", Space::Srgb},
        {"srgb-linear", Space::SrgbLinear},
        {"display-p3", Space::DisplayP3},
        {"xyz", Space::XyzD65},
        {"xyz-d65", Space::XyzD65},
        {"xyz-d50", Space::XyzD50},
    };
    for (const Entry& e : kSpaces)
        if (equalsAscii(name, e.name)) return e.space;
    return std::nullopt;
}

// How one component may be written: which kinds it takes and what 100% stands for.
struct Slot {
    bool hue = false;    // a number of degrees or an angle
    bool percent = true; // a percentage
    bool number = true;  // a plain number
    double hundredPercent = 1.0;
};

constexpr Slot kHue{true, false, true, 0};

std::optional<double> valueOf(const Token& token, const Slot& slot) {
    switch (token.kind) {
    case Kind::None:
        return 0.0;
    case Kind::Number:
        if (slot.hue || slot.number) return token.value;
        return std::nullopt;
    case Kind::Percent:
        if (!slot.percent) return std::nullopt;
        return token.value / 100.0 * slot.hundredPercent;
    case Kind::Angle:
        if (!slot.hue) return std::nullopt;
        return token.value;
    default:
        return std::nullopt;
    }
}

double normalisedHue(double degrees) {
    double hue = std::fmod(degrees, 360.0);
    if (hue < 0) hue += 360.0;
    return hue;
}

struct Components {
    std::array<Token, 3> values;
    std::optional<Token> alpha;
    bool legacy = false;
    std::optional<Space> space;
};

// Splits the token list into three components and an alpha, in the comma or the slash syntax.
std::optional<Components> splitComponents(Function function, const std::array<Token, kMaxTokens>& t,
                                          std::size_t count) {
    Components c;
    std::size_t i = 0;
    if (function == Function::Color) {
        if (count == 0 || t[0].kind != Kind::Ident) return std::nullopt;
        c.space = spaceNamed(t[0].ident);
        if (!c.space) return std::nullopt;
        i = 1;
    }
    const auto isValue = [](const Token& token) {
        return token.kind != Kind::Comma && token.kind != Kind::Slash && token.kind != Kind::Ident;
    };
    const bool commas = std::any_of(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(count),
                                    [](const Token& token) { return token.kind == Kind::Comma; });
    if (commas) {
        if (function != Function::Rgb && function != Function::Hsl) return std::nullopt;
        // v , v , v [, v]
        if (count != 5 && count != 7) return std::nullopt;
        for (std::size_t k = 0; k < count; ++k) {
            const bool wantValue = k % 2 == 0;
            if (wantValue ? (!isValue(t[k]) || t[k].kind == Kind::None) : t[k].kind != Kind::Comma)
                return std::nullopt;
        }
        c.values = {t[0], t[2], t[4]};
        if (count == 7) c.alpha = t[6];
        c.legacy = true;
        return c;
    }
    // v v v [/ v]
    const std::size_t n = count - i;
    if (n != 3 && n != 5) return std::nullopt;
    for (std::size_t k = 0; k < 3; ++k)
        if (!isValue(t[i + k])) return std::nullopt;
    c.values = {t[i], t[i + 1], t[i + 2]};
    if (n == 5) {
        if (t[i + 3].kind != Kind::Slash || !isValue(t[i + 4])) return std::nullopt;
        c.alpha = t[i + 4];
    }
    return c;
}

ColorTriple encode(const ColorTriple& linear) {
    return {LinearToSrgb(linear[0]), LinearToSrgb(linear[1]), LinearToSrgb(linear[2])};
}

// Gamma-encoded sRGB, unbounded, of the three component values in the function's space.
ColorTriple toSrgb(Function function, std::optional<Space> space, const ColorTriple& v) {
    switch (function) {
    case Function::Rgb:
        return v;
    case Function::Hsl:
        return HslToSrgb(normalisedHue(v[0]), std::clamp(v[1], 0.0, 1.0),
                         std::clamp(v[2], 0.0, 1.0));
    case Function::Hwb:
        return HwbToSrgb(normalisedHue(v[0]), std::clamp(v[1], 0.0, 1.0),
                         std::clamp(v[2], 0.0, 1.0));
    case Function::Lab:
    case Function::Lch: {
        const ColorTriple lab = function == Function::Lab
                                    ? v
                                    : LchToLab({v[0], std::max(v[1], 0.0), normalisedHue(v[2])});
        const ColorTriple clampedLab{std::clamp(lab[0], 0.0, 100.0), lab[1], lab[2]};
        return encode(XyzToLinearSrgb(XyzD50ToD65(LabToXyzD50(clampedLab))));
    }
    case Function::OkLab:
    case Function::OkLch: {
        const ColorTriple lab = function == Function::OkLab
                                    ? v
                                    : LchToLab({v[0], std::max(v[1], 0.0), normalisedHue(v[2])});
        return encode(OkLabToLinearSrgb({std::clamp(lab[0], 0.0, 1.0), lab[1], lab[2]}));
    }
    case Function::Color:
        break;
    }
    switch (space.value_or(Space::Srgb)) {
    case Space::Srgb:
        return v;
    case Space::SrgbLinear:
        return encode(v);
    case Space::DisplayP3:
        return encode(XyzToLinearSrgb(
            LinearDisplayP3ToXyz({SrgbToLinear(v[0]), SrgbToLinear(v[1]), SrgbToLinear(v[2])})));
    case Space::XyzD65:
        return encode(XyzToLinearSrgb(v));
    case Space::XyzD50:
        return encode(XyzToLinearSrgb(XyzD50ToD65(v)));
    }
    return v;
}

// The slots of each function's components, in order.
std::array<Slot, 3> slotsOf(Function function) {
    switch (function) {
    case Function::Rgb:
        return {Slot{false, true, true, 255}, Slot{false, true, true, 255},
                Slot{false, true, true, 255}};
    case Function::Hsl:
    case Function::Hwb:
        return {kHue, Slot{false, true, true, 100}, Slot{false, true, true, 100}};
    case Function::Lab:
        return {Slot{false, true, true, 100}, Slot{false, true, true, 125},
                Slot{false, true, true, 125}};
    case Function::Lch:
        return {Slot{false, true, true, 100}, Slot{false, true, true, 150}, kHue};
    case Function::OkLab:
        return {Slot{false, true, true, 1}, Slot{false, true, true, 0.4},
                Slot{false, true, true, 0.4}};
    case Function::OkLch:
        return {Slot{false, true, true, 1}, Slot{false, true, true, 0.4}, kHue};
    case Function::Color:
        break;
    }
    return {Slot{}, Slot{}, Slot{}};
}

CssColorReading readFunction(Function function, QStringView arguments) {
    std::array<Token, kMaxTokens> tokens{};
    std::size_t count = 0;
    if (!ArgumentReader(arguments).read(tokens, count)) return {};
    const std::optional<Components> parts = splitComponents(function, tokens, count);
    if (!parts) return {};

    const std::array<Slot, 3> rules = slotsOf(function);
    ColorTriple values{};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto value = valueOf(parts->values[k], rules[k]);
        if (!value) return {};
        values[k] = *value;
    }
    if (parts->legacy) {
        // The comma syntax takes rgb() all in numbers or all in percentages, and hsl() with
        // percentages for saturation and lightness.
        const std::array<Token, 3>& v = parts->values;
        if (function == Function::Rgb && (v[0].kind != v[1].kind || v[1].kind != v[2].kind))
            return {};
        if (function == Function::Hsl && (v[1].kind != Kind::Percent || v[2].kind != Kind::Percent))
            return {};
    }
    // Unlike the other spaces, rgb() and the slider-like hsl() and hwb() clamp at reading.
    if (function == Function::Rgb)
        for (double& c : values)
            c = std::clamp(c / 255.0, 0.0, 1.0);
    if (function == Function::Hsl || function == Function::Hwb) {
        values[1] /= 100.0;
        values[2] /= 100.0;
    }

    CssColorReading reading;
    if (parts->alpha) {
        const auto alpha = valueOf(*parts->alpha, Slot{});
        if (!alpha || (parts->legacy && parts->alpha->kind == Kind::None)) return {};
        reading.alphaIgnored = *alpha < 1.0;
    }
    const GamutResult mapped = MapSrgbToColor(toSrgb(function, parts->space, values));
    reading.color = mapped.color;
    reading.outOfGamut = mapped.outOfGamut;
    return reading;
}

CssColorReading readHash(QStringView digits) {
    const qsizetype n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8) return {};
    std::array<int, 4> channel{0, 0, 0, 255};
    for (qsizetype i = 0; i < n; ++i)
        if (hexValue(digits[i]) < 0) return {};
    const bool shortForm = n <= 4;
    for (qsizetype k = 0; k < (n == 3 || n == 6 ? 3 : 4); ++k) {
        if (shortForm) {
            const int d = hexValue(digits[k]);
            channel[static_cast<std::size_t>(k)] = d * 17;
        } else {
            channel[static_cast<std::size_t>(k)] =
                hexValue(digits[2 * k]) * 16 + hexValue(digits[2 * k + 1]);
        }
    }
    CssColorReading reading;
    reading.color = MakeColor(channel[0], channel[1], channel[2]);
    reading.alphaIgnored = channel[3] < 255;
    return reading;
}

} // namespace

CssColorReading ReadCssColor(QStringView text) noexcept {
    qsizetype begin = 0;
    while (begin < text.size() && isCssSpace(text[begin]))
        ++begin;
    const QStringView rest = text.sliced(begin);
    if (rest.isEmpty()) return {};

    if (rest[0] == u'#') {
        // The digits run to the first blank or ";"; readHash checks what they are.
        qsizetype stop = 1;
        while (stop < rest.size() && !isCssSpace(rest[stop]) && rest[stop] != u';')
            ++stop;
        qsizetype after = stop;
        while (after < rest.size() && isCssSpace(rest[after]))
            ++after;
        if (after < rest.size() && rest[after] == u';') ++after;
        while (after < rest.size() && isCssSpace(rest[after]))
            ++after;
        if (after != rest.size()) return {};
        return readHash(rest.sliced(1, stop - 1));
    }

    qsizetype nameEnd = 0;
    while (nameEnd < rest.size() && isIdentChar(rest[nameEnd]))
        ++nameEnd;
    const QStringView name = rest.first(nameEnd);
    if (name.isEmpty()) return {};
    if (nameEnd < rest.size() && rest[nameEnd] == u'(') {
        const auto function = functionNamed(name);
        if (!function) return {};
        return readFunction(*function, rest.sliced(nameEnd + 1));
    }

    qsizetype after = nameEnd;
    while (after < rest.size() && isCssSpace(rest[after]))
        ++after;
    if (after < rest.size() && rest[after] == u';') ++after;
    while (after < rest.size() && isCssSpace(rest[after]))
        ++after;
    if (after != rest.size()) return {};
    CssColorReading reading;
    reading.color = FindNamedColor(name);
    reading.keywordWithoutColor = !reading.color && IsKeywordWithoutColor(name);
    return reading;
}
