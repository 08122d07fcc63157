#include "colour/TemplateMenu.h"

namespace {

QString escapedAmpersands(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}

void appendEntries(std::vector<TTemplateMenuEntry>& entries, const TColorTemplateList& list) {
    for (const TColorTemplate& t : list)
        entries.push_back(
            {false, escapedAmpersands(t.name) + u'\t' + escapedAmpersands(t.text), t});
}

} // namespace

std::vector<TTemplateMenuEntry> TemplateMenuEntries(const TColorTemplateList& rgb,
                                                    const TColorTemplateList& hsl) {
    std::vector<TTemplateMenuEntry> entries;
    entries.reserve(static_cast<std::size_t>(rgb.Count() + hsl.Count() + 1));
    appendEntries(entries, rgb);
    entries.push_back({true, QString(), TColorTemplate()});
    appendEntries(entries, hsl);
    return entries;
}
