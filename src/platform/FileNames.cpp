#include "platform/FileNames.h"

#include <QStringList>

namespace FileNames {

bool samePath(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

bool isSeparator(QChar c) {
#ifdef Q_OS_WIN
    if (c == QLatin1Char('\\')) return true;
#endif
    return c == QLatin1Char('/');
}

QStringView reservedCharacters() {
#ifdef Q_OS_WIN
    return u"<>:\"|?*";
#else
    return {};
#endif
}

QString deviceName(const QString& name) {
#ifdef Q_OS_WIN
    static const QStringList kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const QString stem = name.section(u'.', 0, 0).trimmed();
    if (kDevices.contains(stem, Qt::CaseInsensitive)) return stem;
#else
    Q_UNUSED(name);
#endif
    return {};
}

bool dropsTrailingBlankOrDot() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

} // namespace FileNames
