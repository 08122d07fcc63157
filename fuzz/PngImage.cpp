// PNG files as the resource holders and picture loaders read them.
#include "pixels/KxPngRC.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TKxPngImage image;
    if (!image.loadFromData(bytes)) {
        if (!image.isNull() || image.errorString().isEmpty()) std::abort();
        return 0;
    }
    // What was read is written and read back unchanged.
    TKxPngImage again;
    if (!again.loadFromData(image.saveToData()) || !(again == image)) std::abort();
    return 0;
}
