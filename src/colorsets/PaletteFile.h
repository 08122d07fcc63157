#pragma once

#include "colorsets/ColorSetFile.h"
#include "colour/SwatchList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>

#include <array>
#include <vector>

// The file formats a colour set is imported from and exported to, and how a
// palette of any length becomes colour sets of 20 and back.

enum class TPaletteFormat { ColorSet, Gpl, Ase, Css, Json };

struct TPaletteFormatInfo {
    TPaletteFormat format;
    // With its dot, as the file name gets it.
    QLatin1StringView extension;
    // The file dialog's filter.
    QLatin1StringView filter;
    bool canImport;
};

namespace PaletteFile {

inline constexpr std::array<TPaletteFormatInfo, 5> kFormats{{
    {TPaletteFormat::ColorSet, QLatin1StringView(".Hspl"),
     QLatin1StringView("Color set data file (*.Hspl)"), true},
    {TPaletteFormat::Gpl, QLatin1StringView(".gpl"), QLatin1StringView("GIMP palette (*.gpl)"),
     true},
    {TPaletteFormat::Ase, QLatin1StringView(".ase"),
     QLatin1StringView("Adobe swatch exchange (*.ase)"), true},
    {TPaletteFormat::Css, QLatin1StringView(".css"),
     QLatin1StringView("CSS custom properties (*.css)"), false},
    {TPaletteFormat::Json, QLatin1StringView(".json"), QLatin1StringView("JSON palette (*.json)"),
     true},
}};

const TPaletteFormatInfo& InfoOf(TPaletteFormat format);

// The format a file to import is in: by its extension (any case) when that
// names one, otherwise by its first bytes; a colour set when nothing fits.
TPaletteFormat FormatToImport(const QString& path, QByteArrayView bytes);

// The path with the format's extension: another known extension is
// replaced, a missing one added, the right one (in any case) kept.
QString WithExtension(const QString& path, TPaletteFormat format);

// Reads a whole file of the format (a colour set by the import's check).
// A file without any colour is refused too: it would make an empty set.
TSwatchRead Read(TPaletteFormat format, QByteArrayView bytes);
QByteArray Write(TPaletteFormat format, const TSwatchList& list);

// The colour sets a palette makes: one per 20 colours, the last one filled
// with black and empty names; names on one line (ColorSetFile::CleanName).
std::vector<TColorSetEntries> SplitIntoSets(const std::vector<TSwatch>& swatches);
TSwatchList FromSet(const QString& name, const TColorSetEntries& entries);

} // namespace PaletteFile
