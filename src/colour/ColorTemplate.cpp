#include "colour/ColorTemplate.h"

#include "colour/CopyFormats.h"

QString FormatTemplate(ColorValue color, const TColorTemplate& tmpl) {
    if (tmpl.isRgb()) return FormatRgbTemplate(color, tmpl.text, tmpl.hex);
    return FormatHslTemplate(color, tmpl.text, tmpl.hex, tmpl.hueMax, tmpl.satMax, tmpl.lumMax);
}

QString SanitizeTemplateField(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\r' || u == u'\n' || u == u'\0') c = u' ';
    }
    return result;
}
