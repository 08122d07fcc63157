#include "colour/NamedFormat.h"

#include "colour/CssColorWriter.h"

namespace {

// The notations that need no settings, in the shape of those that do.
template <QString (*Format)(ColorValue)>
QString withoutSettings(ColorValue color, const FormatSettings&) {
    return Format(color);
}

constexpr std::array<TNamedFormat, 10> kFormats{{
    {"html", "#RRGGBB, as in HTML and CSS", &withoutSettings<FormatHtml>, CopyStyle::Html},
    {"bgr", "0x00BBGGRR, a Windows colour value", &withoutSettings<FormatBgrHex>,
     CopyStyle::BgrHex},
    {"rgb-values", "R:rrr G:ggg B:bbb, three decimal digits each",
     &withoutSettings<FormatRgbValues>, CopyStyle::RgbValues},
    {"hsl", "the HSL template of the settings", &FormatHsl, CopyStyle::Hsl},
    {"custom", "the custom template of the settings", &FormatCustom, CopyStyle::Custom},
    {"combined", "html, bgr, rgb-values, hsl and custom on one line", &FormatAll, CopyStyle::All},
    {"css-rgb", "rgb(r g b), the style sheets' rgb()", &withoutSettings<FormatCssRgb>,
     CopyStyle::CssRgb},
    {"css-hsl", "hsl(h s% l%), the style sheets' hsl()", &withoutSettings<FormatCssHsl>,
     CopyStyle::CssHsl},
    {"oklch", "oklch(l c h), the style sheets' oklch()", &withoutSettings<FormatOkLch>,
     CopyStyle::OkLch},
    {"short-hex", "#RGB where that is exact, else #RRGGBB", &withoutSettings<FormatShortHex>,
     CopyStyle::ShortHex},
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
