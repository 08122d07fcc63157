#include "colour/CopyFormats.h"

#include "colour/CssColorWriter.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

QString hexDigits(unsigned value, int minDigits) {
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::array<char16_t, 8> buffer{};
    std::size_t start = buffer.size();
    do {
        buffer[--start] = digits[value & 0xFu];
        value >>= 4;
    } while (value != 0);
    const auto width = std::min(static_cast<std::size_t>(minDigits), buffer.size());
    while (buffer.size() - start < width)
        buffer[--start] = u'0';
    return QString(reinterpret_cast<const QChar*>(buffer.data() + start),
                   static_cast<qsizetype>(buffer.size() - start));
}

struct Placeholder {
    QStringView name;
    QString value;
};

// The whole-colour placeholders every template may hold, with their formats.
struct ColorPlaceholder {
    QStringView name;
    QString (*format)(ColorValue);
};
constexpr std::array<ColorPlaceholder, 4> kColorPlaceholders{{
    {u"{css-rgb}", FormatCssRgb},
    {u"{css-hsl}", FormatCssHsl},
    {u"{oklch}", FormatOkLch},
    {u"{short-hex}", FormatShortHex},
}};

constexpr std::size_t kMaxPlaceholders = 3 + kColorPlaceholders.size();

// Every placeholder is replaced at its first position in the original template, so inserted
// values are never searched. The names of one template share no letter and the whole-colour names
// alone hold braces, so no two can overlap.
QString substitute(ColorValue color, const QString& templateText,
                   const std::array<Placeholder, 3>& channels) {
    struct Hit {
        qsizetype pos;
        QStringView name;
        QString value;
    };
    std::array<Hit, kMaxPlaceholders> hits{};
    std::size_t count = 0;
    for (const Placeholder& p : channels) {
        const qsizetype pos = templateText.indexOf(p.name);
        if (pos >= 0) hits[count++] = {pos, p.name, p.value};
    }
    // Formatted only when present: most templates hold none of them.
    for (const ColorPlaceholder& p : kColorPlaceholders) {
        const qsizetype pos = templateText.indexOf(p.name);
        if (pos >= 0) hits[count++] = {pos, p.name, p.format(color)};
    }
    // At most seven hits: an insertion sort by position.
    for (std::size_t i = 1; i < count; ++i)
        for (std::size_t k = i; k > 0 && hits[k].pos < hits[k - 1].pos; --k)
            std::swap(hits[k], hits[k - 1]);

    QString result;
    result.reserve(templateText.size() + 16);
    qsizetype copied = 0;
    for (std::size_t i = 0; i < count; ++i) {
        result += QStringView(templateText).sliced(copied, hits[i].pos - copied);
        result += hits[i].value;
        copied = hits[i].pos + hits[i].name.size();
    }
    result += QStringView(templateText).sliced(copied);
    return result;
}

QString rgbValueText(int channel, bool hex) {
    return hex ? hexDigits(static_cast<unsigned>(channel), 2) : QString::number(channel);
}

QString hslValueText(std::uint16_t value, int maximum, bool hex) {
    return hex ? hexDigits(value, maximum > 255 ? 3 : 2) : QString::number(value);
}

} // namespace

QString FormatHtml(ColorValue color) {
    return u'#' + hexDigits(static_cast<unsigned>(RedOf(color)), 2) +
           hexDigits(static_cast<unsigned>(GreenOf(color)), 2) +
           hexDigits(static_cast<unsigned>(BlueOf(color)), 2);
}

QString FormatBgrHex(ColorValue color) {
    return QStringLiteral("0x") + hexDigits(color, 8);
}

QString FormatRgbValues(ColorValue color) {
    const auto field = [](int channel) { return QString::number(channel).rightJustified(3, u'0'); };
    return QStringLiteral("R:") + field(RedOf(color)) + QStringLiteral(" G:") +
           field(GreenOf(color)) + QStringLiteral(" B:") + field(BlueOf(color));
}

QString FormatRgbTemplate(ColorValue color, const QString& templateText, bool hex) {
    return substitute(color, templateText,
                      {{
                          {u"RR", rgbValueText(RedOf(color), hex)},
                          {u"GG", rgbValueText(GreenOf(color), hex)},
                          {u"BB", rgbValueText(BlueOf(color), hex)},
                      }});
}

QString FormatHslTemplate(ColorValue color, const QString& templateText, bool hex, int hueMax,
                          int satMax, int lumMax) {
    const HlsTriple hls = RgbToHls(color);
    const std::uint16_t h = ScaleHlsComponent(hueMax, hls.hue);
    const std::uint16_t s = ScaleHlsComponent(satMax, hls.sat);
    const std::uint16_t l = ScaleHlsComponent(lumMax, hls.lum);
    return substitute(color, templateText,
                      {{
                          {u"HH", hslValueText(h, hueMax, hex)},
                          {u"SS", hslValueText(s, satMax, hex)},
                          {u"LL", hslValueText(l, lumMax, hex)},
                      }});
}

QString FormatCustom(ColorValue color, const FormatSettings& settings) {
    return FormatRgbTemplate(color, settings.customTemplate, settings.customHex);
}

QString FormatHsl(ColorValue color, const FormatSettings& settings) {
    return FormatHslTemplate(color, settings.hslTemplate, settings.hslHex, settings.hueMax,
                             settings.satMax, settings.lumMax);
}

QString FormatAll(ColorValue color, const FormatSettings& settings) {
    return FormatHtml(color) + u' ' + FormatBgrHex(color) + u' ' + FormatRgbValues(color) + u' ' +
           FormatHsl(color, settings) + u' ' + FormatCustom(color, settings);
}

std::optional<QString> FormatByStyle(ColorValue color, int style, const FormatSettings& settings) {
    switch (style) {
    case static_cast<int>(CopyStyle::All):
        return FormatAll(color, settings);
    case static_cast<int>(CopyStyle::Html):
        return FormatHtml(color);
    case static_cast<int>(CopyStyle::BgrHex):
        return FormatBgrHex(color);
    case static_cast<int>(CopyStyle::RgbValues):
        return FormatRgbValues(color);
    case static_cast<int>(CopyStyle::Hsl):
        return FormatHsl(color, settings);
    case static_cast<int>(CopyStyle::Custom):
        return FormatCustom(color, settings);
    case static_cast<int>(CopyStyle::CssRgb):
        return FormatCssRgb(color);
    case static_cast<int>(CopyStyle::CssHsl):
        return FormatCssHsl(color);
    case static_cast<int>(CopyStyle::OkLch):
        return FormatOkLch(color);
    case static_cast<int>(CopyStyle::ShortHex):
        return FormatShortHex(color);
    default:
        return std::nullopt;
    }
}
