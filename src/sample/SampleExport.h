#pragma once

#include "colour/ColorValue.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// The pictures the sample window saves and the way they reach the disk: numbered names, the
// forced ".png" extension, the crop to the text, the text alone with coverage alpha and the PNG
// write. Nothing here needs a window, so every export can be checked on plain images.
namespace SampleExport {

// How many numbered names the automatic name tries before it gives up.
inline constexpr int kMaxNumberedTries = 100000;

// The name with ".png" appended unless it already ends in it, ignoring case ("banner" gives
// "banner.png", "a.jpg" gives "a.jpg.png", "Sample.PNG" stays).
QString ForcePng(const QString& name);

// The first name after `path` in its numbering, with ".png" forced, that no file has: the last run
// of digits in the file name counts up ("img007.png" gives "img8.png"), a name without digits gets
// 1 before its extension ("shot.png" gives "shot1.png"). Empty for an empty path or when every
// tried name exists.
QString NextFreeName(const QString& path);

// The smallest rectangle holding every pixel whose red, green or blue differs from `key`; empty
// when there is none.
QRect CropRect(const QImage& image, ColorValue key);

// The text drawn in `font` into a `size` picture from its top-left corner (no margin, lines broken
// only at the text's own line breaks), as `textColor` with the drawn coverage as alpha, cut to the
// drawn pixels. Null when nothing was drawn.
QImage TextAloneImage(const QString& text, const QFont& font, ColorValue textColor, QSize size);

enum class TWriteMode {
    // The old file, if any, is replaced only once the new one is completely written.
    Replace,
    // The file must not exist yet; a file that appears in the meantime is never overwritten.
    NewOnly,
};

struct TWriteResult {
    bool ok = false;
    // The failing call's own text when !ok.
    QString error;
};

// Writes the picture as an 8-bit PNG: red, green and blue, plus alpha when `withAlpha` is set.
TWriteResult WritePng(const QImage& image, bool withAlpha, const QString& path, TWriteMode mode);

} // namespace SampleExport
