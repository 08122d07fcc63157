#include "colorsets/ColorSetFile.h"

#include "support/Kxfunctions.h"
#include "support/TextFile.h"

#include <algorithm>
#include <limits>

namespace ColorSetFile {

namespace {

struct TLine {
    QStringView key;
    QStringView value;
};

// Split at the first "=", so names may hold "="; a line without one is all key.
TLine splitLine(QStringView line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return {line, {}};
    return {line.left(eq), line.mid(eq + 1)};
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

bool isSixHexDigits(QStringView key) {
    return key.size() == 6 &&
           std::all_of(key.begin(), key.end(), [](QChar c) { return hexDigit(c) >= 0; });
}

// Only a plain non-negative decimal count is accepted: anything else would
// make the number of entries a guess.
TParseResult parseHeader(const QStringList& lines, int& count) {
    TParseResult result;
    if (lines.isEmpty()) {
        result.error = TParseError::NotAColorSet;
        return result;
    }
    const TLine header = splitLine(lines.front());
    // The header is "key=count": the key alone is no header, as any other line is not.
    if (header.key != HeaderKey || !lines.front().contains(u'=')) {
        result.error = TParseError::NotAColorSet;
        return result;
    }
    bool ok = false;
    const qlonglong value = header.value.trimmed().toLongLong(&ok);
    if (!ok || value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
        result.error = TParseError::HasErrors;
        result.detail = QStringLiteral("'%1' is not a valid integer value").arg(header.value);
        return result;
    }
    if (value < 0) {
        result.error = TParseError::HasErrors;
        result.detail = QStringLiteral("'%1' is not a valid entry count").arg(header.value);
        return result;
    }
    count = static_cast<int>(value);
    return result;
}

QString missingLine(qsizetype lineNumber) {
    return QStringLiteral("Line %1 is missing").arg(lineNumber);
}

// The entry lines after the header, blank lines at the end not counted.
qsizetype entryLineCount(const QStringList& lines) {
    qsizetype last = lines.size();
    while (last > 1 && lines.at(last - 1).trimmed().isEmpty())
        --last;
    return last - 1;
}

// A count that disagrees with the lines after it leaves the file's meaning a
// guess: read as written, a save would drop lines or invent them.
bool checkCount(const QStringList& lines, int count, TParseResult& result) {
    const qsizetype entries = entryLineCount(lines);
    if (count > entries) {
        result.error = TParseError::HasErrors;
        result.detail = missingLine(entries + 2);
        return false;
    }
    if (count < entries) {
        result.error = TParseError::HasErrors;
        result.detail =
            QStringLiteral("The header counts %1 colours, but %2 colour lines follow it")
                .arg(count)
                .arg(entries);
        return false;
    }
    return true;
}

} // namespace

TParseResult Parse(const QString& text, TKeyDecoding decoding) {
    const QStringList lines = TextFile::splitLines(text);
    int count = 0;
    TParseResult result = parseHeader(lines, count);
    if (!result.ok()) return result;
    if (!checkCount(lines, count, result)) return result;
    const int wanted = std::min(count, kColorSetSize);
    for (int i = 0; i < wanted; ++i) {
        const TLine line = splitLine(lines.at(i + 1));
        result.entries[i].color = DecodeKey(line.key, decoding);
        result.entries[i].name = line.value.toString();
    }
    return result;
}

TParseResult ValidateImport(const QString& text) {
    const QStringList lines = TextFile::splitLines(text);
    int count = 0;
    TParseResult result = parseHeader(lines, count);
    if (!result.ok()) return result;
    // Every counted line exists from here on.
    if (!checkCount(lines, count, result)) return result;
    for (qsizetype i = 1; i <= count; ++i) {
        const TLine line = splitLine(lines.at(i));
        if (!isSixHexDigits(line.key)) {
            result.error = TParseError::HasErrors;
            result.detail = QStringLiteral("Wrong Color Value: ") + line.key.toString();
            return result;
        }
        if (i <= kColorSetSize) {
            result.entries[i - 1].color = DecodeKey(line.key, TKeyDecoding::Slots);
            result.entries[i - 1].name = line.value.toString();
        }
    }
    return result;
}

QString Format(const TColorSetEntries& entries) {
    QString text = HeaderKey + QStringLiteral("=%1\r\n").arg(kColorSetSize);
    for (const TColorSetEntry& entry : entries)
        text += KeyOf(entry.color) + u'=' + CleanName(entry.name) + QStringLiteral("\r\n");
    return text;
}

QString KeyOf(ColorValue color) {
    return QStringLiteral("%1").arg(color & kColorMask, 6, 16, QLatin1Char('0')).toUpper();
}

ColorValue DecodeKey(QStringView key, TKeyDecoding decoding) {
    if (decoding == TKeyDecoding::Slots) return ParseHexLenient(key) & kColorMask;
    ColorValue value = 0;
    qsizetype end = key.size();
    for (int pair = 0; pair < 4 && end >= 2; ++pair, end -= 2) {
        const int high = hexDigit(key.at(end - 2));
        if (high < 0) continue;
        const int low = hexDigit(key.at(end - 1));
        const ColorValue byte = low < 0 ? ColorValue(high) : ColorValue(high * 16 + low);
        value |= byte << (8 * pair);
    }
    return value & kColorMask;
}

QString CleanName(const QString& name) {
    QString clean = name;
    for (QChar& c : clean)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return clean;
}

TColorSetEntries SixteenColors() {
    struct TNamed {
        ColorValue color;
        const char* name;
    };
    static constexpr std::array<TNamed, 16> kColors{{
        {0x000000, "Black"},
        {0xFFFFFF, "White"},
        {0x000080, "Maroon"},
        {0x008080, "Olive"},
        {0x008000, "Green"},
        {0x808000, "Teal"},
        {0x800000, "Navy"},
        {0x800080, "Purple"},
        {0x0000FF, "Red"},
        {0x00FFFF, "Yellow"},
        {0xFFFF00, "Aqua"},
        {0x00FF00, "Lime"},
        {0xFF0000, "Blue"},
        {0xFF00FF, "Fuchsia"},
        {0xC0C0C0, "Silver"},
        {0x808080, "Gray"},
    }};
    TColorSetEntries entries;
    for (std::size_t i = 0; i < kColors.size(); ++i)
        entries[i] = {kColors[i].color, QString::fromLatin1(kColors[i].name)};
    return entries;
}

TColorSetEntries DefaultColors() {
    TColorSetEntries entries;
    for (int i = 0; i < kColorSetSize; ++i)
        entries[i].color = HlsToRgb(12 * i, 120, 240);
    return entries;
}

TColorSetEntries BlankColors() {
    return {};
}

} // namespace ColorSetFile
