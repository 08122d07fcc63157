// Picture files as the desktop portal leaves them for the frozen picker: read, placed on a
// desktop, and removed.
#include "picker/DesktopPictureFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QRect desktop(-7, 3, 1 + int(size % 97), 1 + int(size % 61));
    const Platform::TDesktopPicture picture = ReadDesktopPictureFile(path, true, desktop);
    // Either a usable opaque picture or a reason, and never the file left behind.
    if (!picture.ok() && picture.failure.isEmpty()) std::abort();
    if (picture.ok() &&
        (picture.origin != desktop.topLeft() || qAlpha(picture.image.pixel(0, 0)) != 255))
        std::abort();
    if (QFile::exists(path)) std::abort();
    return 0;
}
