#pragma once

#include "colour/ColorTemplateList.h"

#include <QString>

#include <vector>

// One entry of the "copy as template" submenu. It carries its own copy of the template, so an
// entry stays usable whatever happens to the lists after the menu was built.
struct TTemplateMenuEntry {
    bool separator = false;
    // The name, a TAB and the template text (the TAB puts the text in the shortcut column), with
    // every "&" doubled so the menu shows it instead of taking it for a mnemonic.
    QString caption;
    TColorTemplate tmpl;
};

// The RGB templates in order, one separator, then the HSL templates.
std::vector<TTemplateMenuEntry> TemplateMenuEntries(const TColorTemplateList& rgb,
                                                    const TColorTemplateList& hsl);
