// Any bytes as a swatch exchange file: the reader refuses with a byte offset
// or gives plain colours, in time linear in the size whatever the lengths and
// counts claim, and what it gives is written and read back unchanged.
#include "FuzzSupport.h"

#include "colour/AsePalette.h"

#include <QByteArrayView>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TSwatchRead read =
        AsePalette::Read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!read.ok()) {
        FuzzCheck(read.error.startsWith(QStringLiteral("Byte ")));
        return 0;
    }
    for (const TSwatch& swatch : read.list.swatches)
        FuzzCheck((swatch.color & ~kColorMask) == 0);
    const TSwatchRead again = AsePalette::Read(AsePalette::Write(read.list));
    FuzzCheck(again.ok() && again.list == read.list);
    return 0;
}
