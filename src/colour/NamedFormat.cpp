#include "colour/NamedFormat.h"

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

constexpr std::array<TNamedFormat, 6> kFormats{{
    {"html", "#RRGGBB, as in HTML and CSS", &html, CopyStyle::Html},
    {"bgr", "0x00BBGGRR, a Windows colour value", &bgr, CopyStyle::BgrHex},
    {"rgb-values", "R:rrr G:ggg B:bbb, three decimal digits each", &rgbValues,
     CopyStyle::RgbValues},
    {"hsl", "the HSL template of the settings", &FormatHsl, CopyStyle::Hsl},
    {"custom", "the custom template of the settings", &FormatCustom, CopyStyle::Custom},
    {"combined", "html, bgr, rgb-values, hsl and custom on one line", &FormatAll, CopyStyle::All},
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
