#pragma once

#include <QStringList>

// Which faces the program asks for where it wants the system's plain sans-serif face.
namespace SystemFonts {

// The sans-serif faces to try, in order, before the font system's own default. On Windows the
// faces it ships, then free faces of the same metrics: its font mapper knows no generic
// "sans-serif" and answers a face it lacks with whatever face it has, serif ones too. Empty
// elsewhere, where the generic name reaches the user's configured default.
QStringList PreferredSansSerifFamilies();

} // namespace SystemFonts
