#pragma once

#include "colour/ColorValue.h"

#include <QString>

// Which of the two template lists a template, a file or a dialog belongs to.
enum class TTemplateKind { Rgb, Hsl };

// One copy template: text with placeholders, the menu text shown for it, and how the values are
// written. A template whose three maxima are all 0 fills "RR", "GG", "BB"; any other fills "HH",
// "SS", "LL" on its own scales, whichever list holds it.
struct TColorTemplate {
    QString text;
    QString name;
    bool hex = true;
    // 0 means "not set"; negative values from hand-edited files are kept as they are.
    int hueMax = 0;
    int satMax = 0;
    int lumMax = 0;

    bool isRgb() const { return hueMax == 0 && satMax == 0 && lumMax == 0; }

    friend bool operator==(const TColorTemplate&, const TColorTemplate&) = default;
};

// The colour in the template's own notation, hex switch and maxima.
QString FormatTemplate(ColorValue color, const TColorTemplate& tmpl);

// Every TAB, CR, LF and NUL turned into one blank: the template file separates fields by TAB and
// templates by line ends, so a text holding them would come back as other templates or fields.
QString SanitizeTemplateField(const QString& text);
