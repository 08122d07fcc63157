#include "support/FontFamilies.h"

#include "platform/SystemFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

QString UntaggedFontFamily(const QString& family) {
    if (!family.endsWith(QLatin1Char(']'))) return family;
    const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
    return open > 0 ? family.left(open) : family;
}

QString DefaultSansSerifFamily() {
    for (const QString& family : SystemFonts::PreferredSansSerifFamilies())
        if (QFontDatabase::hasFamily(family)) return family;
    // The generic name lets the font system pick its configured default.
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    return UntaggedFontFamily(QFontInfo(font).family());
}
