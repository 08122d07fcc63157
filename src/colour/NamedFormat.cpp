#include "colour/NamedFormat.h"

#include "colour/CssColorWriter.h"

namespace {

QString html(ColorValue color, const FormatSettings&) {
    return FormatHtml(color);
}
QString bgr(ColorValue color, const FormatSettings&) {
    return FormatBgrHex(color);
}
QString rgbValues(ColorValue color, const FormatSettings&) {
    return FormatRgbValues(color);
}
QString cssRgb(ColorValue color, const FormatSettings&) {
    return FormatCssRgb(color);
}
QString cssHsl(ColorValue color, const FormatSettings&) {
    return FormatCssHsl(color);
}
QString okLch(ColorValue color, const FormatSettings&) {
    return FormatOkLch(color);
}
QString shortHex(ColorValue color, const FormatSettings&) {
    return FormatShortHex(color);
}

constexpr std::array<TNamedFormat, 10> kFormats{{
    {"html", "#RRGGBB, as in HTML and CSS", &html, CopyStyle::Html},
    {"bgr", "0x00BBGGRR, a Windows colour value", &bgr, CopyStyle::BgrHex},
    {"rgb-values", "R:rrr G:ggg B:bbb, three decimal digits each", &rgbValues,
     CopyStyle::RgbValues},
    {"hsl", "the HSL template of the settings", &FormatHsl, CopyStyle::Hsl},
    {"custom", "the custom template of the settings", &FormatCustom, CopyStyle::Custom},
    {"combined", "html, bgr, rgb-values, hsl and custom on one line", &FormatAll, CopyStyle::All},
    {"css-rgb", "rgb(r g b), the style sheets' rgb()", &cssRgb, CopyStyle::CssRgb},
    {"css-hsl", "hsl(h s% l%), the style sheets' hsl()", &cssHsl, CopyStyle::CssHsl},
    {"oklch", "oklch(l c h), the style sheets' oklch()", &okLch, CopyStyle::OkLch},
    {"short-hex", "#RGB where that is exact, else #RRGGBB", &shortHex, CopyStyle::ShortHex},
}};

} // namespace

std::span<const TNamedFormat> NamedFormats() {
    return kFormats;
}

const TNamedFormat* FindNamedFormat(QStringView name) {
    for (const TNamedFormat& format : kFormats) {
        if (name == QLatin1StringView(format.name.data(), qsizetype(format.name.size())))
            return &format;
    }
    return nullptr;
}

const TNamedFormat& NamedFormatOf(CopyStyle style) {
    for (const TNamedFormat& format : kFormats) {
        if (format.style == style) return format;
    }
    return kFormats.front();
}

QString NamedFormatList() {
    QString list;
    for (const TNamedFormat& format : kFormats) {
        if (!list.isEmpty()) list += QStringLiteral(", ");
        list += QLatin1StringView(format.name.data(), qsizetype(format.name.size()));
    }
    return list;
}
