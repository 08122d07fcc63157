#include "colour/GplPalette.h"

#include "support/TextFile.h"

namespace GplPalette {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// One decimal channel from `pos` on; moves `pos` past it. -1 when there is no
// number there, -2 when it is out of range.
int readChannel(QStringView line, qsizetype& pos) {
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    const qsizetype start = pos;
    int value = 0;
    while (pos < line.size() && line[pos].isDigit() && line[pos].unicode() < 0x80) {
        // Digits past the fourth cannot bring a value back into range.
        if (value <= 9999) value = value * 10 + (line[pos].unicode() - u'0');
        ++pos;
    }
    if (pos == start) return -1;
    if (pos < line.size() && !isBlank(line[pos])) return -1;
    return value > 255 ? -2 : value;
}

// Names stay on their one line, whatever they hold.
QString oneLine(const QString& name) {
    QString clean = name;
    for (QChar& c : clean)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return clean;
}

QString lineError(qsizetype number, const QString& what) {
    return QStringLiteral("Line %1: %2").arg(number).arg(what);
}

} // namespace

TSwatchRead Read(QByteArrayView bytes) {
    TSwatchRead result;
    const QStringList lines = TextFile::splitLines(TextFile::decode(bytes.toByteArray()));
    if (lines.isEmpty() || lines.front().trimmed() != Header) {
        result.error = lineError(1, QStringLiteral("this is not a GIMP palette; its first line "
                                                   "must be \"GIMP Palette\"."));
        return result;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = QStringView(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(QLatin1StringView("Name:"))) {
            result.list.name = line.mid(5).trimmed().toString();
            continue;
        }
        if (line.startsWith(QLatin1StringView("Columns:"))) continue;
        qsizetype pos = 0;
        int channels[3] = {};
        for (int& c : channels) {
            c = readChannel(line, pos);
            if (c == -2) {
                result.error = lineError(i + 1, QStringLiteral("a colour value is above 255."));
                return result;
            }
            if (c < 0) {
                result.error = lineError(
                    i + 1, QStringLiteral("expected red, green and blue as numbers 0 to 255, "
                                          "found \"%1\".")
                               .arg(line.left(40)));
                return result;
            }
        }
        result.list.swatches.push_back(
            {MakeColor(channels[0], channels[1], channels[2]), line.mid(pos).trimmed().toString()});
    }
    return result;
}

QByteArray Write(const TSwatchList& list) {
    QString text =
        Header + QStringLiteral("\nName: ") + oneLine(list.name) + QStringLiteral("\n#\n");
    for (const TSwatch& swatch : list.swatches) {
        text += QStringLiteral("%1 %2 %3")
                    .arg(RedOf(swatch.color), 3)
                    .arg(GreenOf(swatch.color), 3)
                    .arg(BlueOf(swatch.color), 3);
        if (!swatch.name.isEmpty()) text += u'\t' + oneLine(swatch.name);
        text += u'\n';
    }
    return text.toUtf8();
}

} // namespace GplPalette
