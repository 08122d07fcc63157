// Any bytes as a template list file: whatever the reader makes of them must format, build the
// submenu, and come back unchanged through the writer (maxima above 999 written as 0).
#include "colour/ColorTemplate.h"
#include "colour/ColorTemplateFile.h"
#include "colour/TemplateMenu.h"
#include "support/TextFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (text[i].isSurrogate()) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = TextFile::decode(bytes);
    const TTemplateParse parsed = ParseTemplateText(text);

    TColorTemplateList expected;
    for (const TColorTemplate& t : parsed.list) {
        // No field may hold what separates fields or lines.
        for (const QString& field : {t.text, t.name})
            if (field != SanitizeTemplateField(field)) std::abort();
        (void)FormatTemplate(0x00B81AFF, t);
        TColorTemplate written = t;
        for (int* maximum : {&written.hueMax, &written.satMax, &written.lumMax})
            if (*maximum > 999) *maximum = 0;
        expected.Append(written);
    }
    if (TemplateMenuEntries(parsed.list, parsed.list).size() !=
        static_cast<std::size_t>(2 * parsed.list.Count() + 1))
        std::abort();

    // A UTF-16 file may hold unpaired surrogates, which the UTF-8 the writer uses cannot carry.
    if (hasLoneSurrogate(text)) return 0;
    const QByteArray file = TextFile::encode(TemplateListText(parsed.list));
    const TTemplateParse again = ParseTemplateText(TextFile::decode(file));
    if (!again.error.isEmpty() || !(again.list == expected)) std::abort();
    return 0;
}
