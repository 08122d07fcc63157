// Any bytes as a JSON palette: the reader refuses or gives plain colours, and
// what it gives is written and read back to the same colours.
#include "FuzzSupport.h"

#include "colour/JsonPalette.h"

#include <QByteArrayView>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TSwatchRead read =
        JsonPalette::Read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!read.ok()) {
        FuzzCheck(!read.error.isEmpty());
        return 0;
    }
    const TSwatchRead again = JsonPalette::Read(JsonPalette::Write(read.list));
    FuzzCheck(again.ok() && again.list.swatches.size() == read.list.swatches.size());
    for (std::size_t i = 0; i < read.list.swatches.size(); ++i) {
        FuzzCheck((read.list.swatches[i].color & ~kColorMask) == 0);
        FuzzCheck(again.list.swatches[i].color == read.list.swatches[i].color);
    }
    return 0;
}
