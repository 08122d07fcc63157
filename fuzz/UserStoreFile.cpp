// The settings file as any program or a damaged disk may leave it.
#include "platform/UserStoreFile.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TUserStoreFile file =
        TUserStoreFile::parse(QByteArrayView(data, static_cast<qsizetype>(size)));
    // What is written from any file reads back sound, and writes again the same.
    const QByteArray written = file.toBytes();
    const TUserStoreFile again = TUserStoreFile::parse(written);
    if (again.damaged() || again.toBytes() != written) std::abort();
    return 0;
}
