// Any bytes as a colour set file: whatever either reader makes of them is 20 plain colours,
// the writer gives exactly 21 lines for them, and those lines read back to the same entries.
#include "colorsets/ColorSetFile.h"
#include "support/TextFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkWritten(const TColorSetEntries& entries) {
    const QString text = ColorSetFile::Format(entries);
    if (text.count(QStringLiteral("\r\n")) != kColorSetSize + 1 ||
        text.count(u'\n') != kColorSetSize + 1 || text.count(u'\r') != kColorSetSize + 1)
        std::abort();
    for (TKeyDecoding decoding : {TKeyDecoding::Slots, TKeyDecoding::Tiles}) {
        const ColorSetFile::TParseResult again = ColorSetFile::Parse(text, decoding);
        if (!again.ok()) std::abort();
        for (int i = 0; i < kColorSetSize; ++i)
            if (again.entries[i].color != entries[i].color ||
                again.entries[i].name != ColorSetFile::CleanName(entries[i].name))
                std::abort();
    }
    if (!ColorSetFile::ValidateImport(text).ok()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = TextFile::decode(bytes);
    const ColorSetFile::TParseResult imported = ColorSetFile::ValidateImport(text);
    for (TKeyDecoding decoding : {TKeyDecoding::Slots, TKeyDecoding::Tiles}) {
        const ColorSetFile::TParseResult parsed = ColorSetFile::Parse(text, decoding);
        // A file the import accepts is one both readers take.
        if (imported.ok() && !parsed.ok()) std::abort();
        if (!parsed.ok()) {
            if (parsed.entries != ColorSetFile::BlankColors()) std::abort();
            continue;
        }
        for (const TColorSetEntry& entry : parsed.entries)
            if (entry.color & ~kColorMask) std::abort();
        checkWritten(parsed.entries);
    }
    return 0;
}
