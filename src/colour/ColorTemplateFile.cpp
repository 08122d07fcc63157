#include "colour/ColorTemplateFile.h"

#include "support/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringView>

#include <limits>
#include <optional>

namespace {

// A maximum field: an optional sign and decimal digits within 32 bits, nothing else.
std::optional<int> parseMaximum(QStringView field) {
    qsizetype i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) {
        negative = field[i] == u'-';
        ++i;
    }
    if (i == field.size()) return std::nullopt;
    qint64 value = 0;
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

QString notAnInteger(QStringView field) {
    // A hand-edited file may hold anything here; the box shows no more than a readable piece.
    constexpr qsizetype kShown = 100;
    QString shown = field.left(kShown).toString();
    if (field.size() > kShown) shown += QStringLiteral("...");
    return QStringLiteral("'%1' is not a valid integer value").arg(shown);
}

// Fills a new template from one line; returns the message about a bad maximum, else empty.
QString parseLine(QStringView line, TColorTemplate& tmpl) {
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    if (nul >= 0) line = line.left(nul);

    int field = 0;
    qsizetype start = 0;
    while (field < 6 && start <= line.size()) {
        qsizetype end = line.indexOf(u'\t', start);
        const bool last = end < 0;
        if (last) end = line.size();
        const QStringView value = line.sliced(start, end - start);
        if (!value.isEmpty()) {
            switch (field) {
            case 0:
                tmpl.text = value.toString();
                break;
            case 1:
                tmpl.name = value.toString();
                break;
            case 2:
                tmpl.hex = value.front() == u'1';
                break;
            default: {
                const std::optional<int> number = parseMaximum(value);
                if (!number) return notAnInteger(value);
                (field == 3 ? tmpl.hueMax : field == 4 ? tmpl.satMax : tmpl.lumMax) = *number;
            }
            }
        }
        if (last) break;
        start = end + 1;
        ++field;
    }
    return {};
}

QString maximumText(int value) {
    return QString::number(value > 999 ? 0 : value);
}

} // namespace

QString TemplateFileName(TTemplateKind kind) {
    return kind == TTemplateKind::Rgb ? QStringLiteral("MruList.txt")
                                      : QStringLiteral("HslMruList.txt");
}

QString TemplateErrorCaption() {
    return QStringLiteral("Error saving color templates !!");
}

QString TemplateErrorText(const QString& systemText) {
    return QStringLiteral("The System say:\r\n") + systemText;
}

TTemplateParse ParseTemplateText(const QString& text) {
    TTemplateParse result;
    const QStringView all(text);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        const QStringView line = all.sliced(start, end - start);
        start = end;
        // CR LF, LF or CR.
        if (start < all.size() && all[start] == u'\r') {
            ++start;
            if (start < all.size() && all[start] == u'\n') ++start;
        } else if (start < all.size()) {
            ++start;
        }

        if (line.size() <= 2) continue;
        const QString error = parseLine(line, result.list.AddNew());
        if (!error.isEmpty() && result.error.isEmpty()) result.error = error;
    }
    return result;
}

QString TemplateListText(const TColorTemplateList& list) {
    QString text;
    for (const TColorTemplate& t : list) {
        text += SanitizeTemplateField(t.text);
        text += u'\t';
        text += SanitizeTemplateField(t.name);
        text += u'\t';
        text += t.hex ? u'1' : u'0';
        text += u'\t';
        text += maximumText(t.hueMax);
        text += u'\t';
        text += maximumText(t.satMax);
        text += u'\t';
        text += maximumText(t.lumMax);
        text += QStringLiteral("\t\r\n");
    }
    return text;
}

TTemplateFileRead ReadTemplateFile(const QString& path) {
    TTemplateFileRead result;
    const TextFile::TReadResult file = TextFile::read(path, kTemplateFileCap);
    if (!file.ok) {
        result.error = file.error;
        return result;
    }
    TTemplateParse parsed = ParseTemplateText(file.text);
    result.readOk = true;
    result.list = std::move(parsed.list);
    result.error = std::move(parsed.error);
    return result;
}

QString WriteTemplateFile(const QString& path, const TColorTemplateList& list) {
    const TextFile::TWriteResult written = TextFile::write(path, TemplateListText(list));
    return written.ok ? QString() : written.error;
}

QString LoadTemplatesOrBuiltIns(TTemplateKind kind, const QString& dataFolder,
                                TColorTemplateList& list) {
    const QString path = QDir(dataFolder).filePath(TemplateFileName(kind));
    if (QFileInfo::exists(path)) return list.LoadFromFile(path);
    TColorTemplateList builtIns;
    BuildDefaultTemplates(kind, builtIns);
    list = builtIns;
    return list.SaveToFile(path);
}
