#pragma once

#include <QString>

// Font family names as the user sees them in the font list.

// The family name without the foundry that the font system appends when two
// foundries make a family of the same name ("C059 [urw]" gives "C059").
QString UntaggedFontFamily(const QString& family);

// The family the system draws when asked for its default sans-serif face.
QString DefaultSansSerifFamily();
