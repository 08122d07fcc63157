#pragma once

#include "colour/SwatchList.h"

#include <QByteArray>
#include <QStringList>

// Style sheet custom properties: one "--name: #rrggbb;" per colour inside
// ":root { }", so a page uses a colour as var(--name).
namespace CssPalette {

// One property name per swatch, without the leading "--": lower case, every
// run of characters that an identifier cannot hold turned into one "-",
// "color-N" (N counting from 1) for a name that leaves nothing, and "-2",
// "-3" ... after a name already given.
QStringList PropertyNames(const std::vector<TSwatch>& swatches);

// The palette's name in a comment, then the properties. Black colours
// without a name are the unused places of a colour set and are left out.
// UTF-8, with a charset rule when a name is not plain ASCII.
QByteArray Write(const TSwatchList& list);

} // namespace CssPalette
