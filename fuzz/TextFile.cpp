// Any bytes as a text file: the decoder picks an encoding, and what it read
// must survive being written and read again.
#include "support/TextFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = TextFile::decode(bytes);
    // UTF-16 files may hold unpaired surrogates, which no UTF-8 file can carry.
    if (hasLoneSurrogate(text)) return 0;
    const QByteArray written = TextFile::encode(text);
    if (TextFile::decode(written) != text) std::abort();
    return 0;
}
