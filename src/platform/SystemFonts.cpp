#include "platform/SystemFonts.h"

namespace SystemFonts {

QStringList PreferredSansSerifFamilies() {
#ifdef Q_OS_WIN
    return {QStringLiteral("Segoe UI"),
            QStringLiteral("Tahoma"),
            QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Arial"),
            QStringLiteral("Liberation Sans"),
            QStringLiteral("DejaVu Sans")};
#else
    return {};
#endif
}

} // namespace SystemFonts
