#include "colorsets/PaletteFile.h"

#include "colour/AsePalette.h"
#include "colour/CssPalette.h"
#include "colour/GplPalette.h"
#include "colour/JsonPalette.h"
#include "support/TextFile.h"

#include <QFileInfo>

namespace PaletteFile {

const TPaletteFormatInfo& InfoOf(TPaletteFormat format) {
    for (const TPaletteFormatInfo& info : kFormats)
        if (info.format == format) return info;
    return kFormats.front();
}

TPaletteFormat FormatToImport(const QString& path, QByteArrayView bytes) {
    const QString suffix = u'.' + QFileInfo(path).suffix();
    for (const TPaletteFormatInfo& info : kFormats)
        if (info.canImport && suffix.compare(info.extension, Qt::CaseInsensitive) == 0)
            return info.format;
    if (bytes.startsWith("ASEF")) return TPaletteFormat::Ase;
    QString head =
        TextFile::decode(bytes.first(std::min<qsizetype>(bytes.size(), 64)).toByteArray());
    head.remove(QChar(0xFEFF));
    head = head.trimmed();
    if (head.startsWith(GplPalette::Header)) return TPaletteFormat::Gpl;
    if (head.startsWith(u'{')) return TPaletteFormat::Json;
    return TPaletteFormat::ColorSet;
}

QString WithExtension(const QString& path, TPaletteFormat format) {
    const QLatin1StringView wanted = InfoOf(format).extension;
    if (path.endsWith(wanted, Qt::CaseInsensitive)) return path;
    // A name that is all extension (".json") keeps it as its name.
    const qsizetype nameSize = QFileInfo(path).fileName().size();
    for (const TPaletteFormatInfo& info : kFormats)
        if (path.endsWith(info.extension, Qt::CaseInsensitive) &&
            nameSize > info.extension.size())
            return path.left(path.size() - info.extension.size()) + wanted;
    return path + wanted;
}

TSwatchRead Read(TPaletteFormat format, QByteArrayView bytes) {
    TSwatchRead read;
    switch (format) {
    case TPaletteFormat::ColorSet: {
        const ColorSetFile::TParseResult parsed =
            ColorSetFile::ValidateImport(TextFile::decode(bytes.toByteArray()));
        if (!parsed.ok()) {
            read.error = parsed.detail;
            return read;
        }
        for (const TColorSetEntry& entry : parsed.entries)
            read.list.swatches.push_back({entry.color, entry.name});
        return read;
    }
    case TPaletteFormat::Gpl:
        read = GplPalette::Read(bytes);
        break;
    case TPaletteFormat::Ase:
        read = AsePalette::Read(bytes);
        break;
    case TPaletteFormat::Json:
        read = JsonPalette::Read(bytes);
        break;
    case TPaletteFormat::Css:
        read.error = QStringLiteral("Style sheets are exported only; they cannot be imported.");
        return read;
    }
    if (read.ok() && read.list.swatches.empty())
        read.error = QStringLiteral("The file holds no colours.");
    return read;
}

QByteArray Write(TPaletteFormat format, const TSwatchList& list) {
    switch (format) {
    case TPaletteFormat::ColorSet: {
        TColorSetEntries entries;
        for (std::size_t i = 0; i < entries.size() && i < list.swatches.size(); ++i)
            entries[i] = {list.swatches[i].color, list.swatches[i].name};
        return TextFile::encode(ColorSetFile::Format(entries));
    }
    case TPaletteFormat::Gpl:
        return GplPalette::Write(list);
    case TPaletteFormat::Ase:
        return AsePalette::Write(list);
    case TPaletteFormat::Css:
        return CssPalette::Write(list);
    case TPaletteFormat::Json:
        return JsonPalette::Write(list);
    }
    return {};
}

std::vector<TColorSetEntries> SplitIntoSets(const std::vector<TSwatch>& swatches) {
    std::vector<TColorSetEntries> sets((swatches.size() + kColorSetSize - 1) / kColorSetSize);
    for (std::size_t i = 0; i < swatches.size(); ++i)
        sets[i / kColorSetSize][i % kColorSetSize] = {swatches[i].color & kColorMask,
                                                      ColorSetFile::CleanName(swatches[i].name)};
    return sets;
}

TSwatchList FromSet(const QString& name, const TColorSetEntries& entries) {
    TSwatchList list{name, {}};
    for (const TColorSetEntry& entry : entries)
        list.swatches.push_back({entry.color & kColorMask, entry.name});
    return list;
}

} // namespace PaletteFile
