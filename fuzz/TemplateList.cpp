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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TTemplateParse parsed = ParseTemplateText(TextFile::decode(bytes));

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

    // The encoding's own round trip is the text-file rule's business; this is the format's.
    const TTemplateParse again = ParseTemplateText(TemplateListText(parsed.list));
    if (!again.error.isEmpty() || !(again.list == expected)) std::abort();
    return 0;
}
