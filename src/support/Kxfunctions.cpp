#include "support/Kxfunctions.h"

#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "platform/UserStore.h"
#include "support/FontFamilies.h"

#include <QFileInfo>
#include <QFontDatabase>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

qsizetype fileNameStart(const QString& path) {
    for (qsizetype i = path.size(); i > 0; --i)
        if (FileNames::isSeparator(path[i - 1])) return i;
    return 0;
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// More digits than this would overflow the number; the leading ones then stay
// in the stem, so the names made from the parts still count up.
constexpr qsizetype MaxNumberDigits = 18;

} // namespace

QString WithTrailingBackslash(const QString& path) {
    if (path.isEmpty() || FileNames::isSeparator(path.back())) return path;
    return path + QLatin1Char('/');
}

QString WithoutTrailingBackslash(const QString& path) {
    if (!path.isEmpty() && FileNames::isSeparator(path.back())) return path.left(path.size() - 1);
    return path;
}

QString UniqueFileName(const QString& base, const QString& extension) {
    QString name = base + extension;
    for (qint64 n = 1; QFileInfo::exists(name); ++n)
        name = base + QLatin1Char('(') + QString::number(n) + QLatin1Char(')') + extension;
    return name;
}

TNumberedName SplitNumberedName(const QString& path) {
    const qsizetype start = fileNameStart(path);
    qsizetype end = path.size();
    while (end > start && !isDigit(path[end - 1]))
        --end;
    TNumberedName parts;
    if (end > start) {
        qsizetype first = end;
        while (first > start && isDigit(path[first - 1]) && end - first < MaxNumberDigits)
            --first;
        parts.stem = path.left(first);
        parts.number = QStringView(path).mid(first, end - first).toLongLong();
        parts.suffix = path.mid(end);
        return parts;
    }
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot >= start) {
        parts.stem = path.left(dot);
        parts.suffix = path.mid(dot);
    } else {
        parts.stem = path;
    }
    return parts;
}

QString EnsureExtension(const QString& fileName, const QString& extension) {
    if (fileName.isEmpty() || extension.isEmpty()) return fileName;
    const QString wanted =
        extension.startsWith(QLatin1Char('.')) ? extension : QLatin1Char('.') + extension;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QStringView current =
        dot >= fileNameStart(fileName) ? QStringView(fileName).mid(dot) : QStringView();
    if (current.compare(wanted, Qt::CaseInsensitive) == 0) return fileName;
    return fileName + wanted;
}

QString SystemErrorText(int code) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
    // The C library makes up "Unknown error N" for numbers it has no message for; such a number
    // has no text.
    if (strerrorname_np(code) == nullptr) return {};
#endif
    return QString::fromStdString(std::system_category().message(code)).left(999);
}

QString LastErrorText() {
    const int code = errno;
    // Qt refuses some calls without touching errno; "Success" would then be
    // shown as the reason of a failure.
    if (code == 0) return {};
    return SystemErrorText(code);
}

QString ReadUserRegistryString(const QString& keyPath, const QString& valueName) {
    TUserStore store;
    if (!store.openKeyReadOnly(keyPath)) return {};
    return store.readString(valueName).value;
}

void WriteUserRegistryString(const QString& keyPath, const QString& valueName,
                             const QString& text) {
    TUserStore store;
    if (store.openKey(keyPath, true)) store.writeString(valueName, text);
}

quint32 ParseHexLenient(QStringView text) {
    quint32 value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            value = value * 16 + (u - u'0');
        else if (u >= u'A' && u <= u'F')
            value = value * 16 + (u - u'A' + 10);
        else if (u >= u'a' && u <= u'f')
            value = value * 16 + (u - u'a' + 10);
    }
    return value;
}

void AddTrueTypeFontName(const QString& tagged, bool smoothlyScalable, QStringList& list) {
    const QString family = UntaggedFontFamily(tagged);
    if (!smoothlyScalable || family.isEmpty() || family.startsWith(QLatin1Char('@'))) return;
    const auto before = [](const QString& a, const QString& b) {
        return Platform::compareText(a, b, Qt::CaseInsensitive) < 0;
    };
    const auto pos = std::lower_bound(list.begin(), list.end(), family, before);
    const auto same = [&](QStringList::iterator it) {
        return it != list.end() && it->compare(family, Qt::CaseInsensitive) == 0;
    };
    if (same(pos) || (pos != list.begin() && same(pos - 1))) return;
    list.insert(pos, family);
}

QStringList TrueTypeFontNames() {
    QStringList list;
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families)
        AddTrueTypeFontName(family, QFontDatabase::isSmoothlyScalable(family), list);
    return list;
}

QChar FlagChar(bool flag) {
    return flag ? QLatin1Char('1') : QLatin1Char('0');
}

bool CharFlag(QChar c) {
    return c != QLatin1Char('0');
}
