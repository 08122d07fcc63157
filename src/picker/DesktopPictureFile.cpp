#include "picker/DesktopPictureFile.h"

#include "pixels/KxPngRC.h"
#include "support/FileOps.h"

#include <QFileInfo>

#include <cstdint>

namespace {

QString readInto(const QString& path, QRect desktop, Platform::TDesktopPicture& picture) {
    const QFileInfo info(path);
    if (!info.isFile()) return QStringLiteral("The file %1 is missing or is no file.").arg(path);
    if (info.size() > kMaxDesktopPictureFileBytes)
        return QStringLiteral("The file %1 is too large for a picture of the screen.").arg(path);
    TKxPngImage png;
    if (!png.loadFromFile(path))
        return QStringLiteral("The file %1 could not be read as a PNG picture: %2")
            .arg(path, png.errorString());
    if (desktop.width() <= 0 || desktop.height() <= 0)
        return QStringLiteral("No screen is attached.");
    // Taken, not shared: the pass below then writes in place instead of copying a picture that
    // may be 33 MB.
    const bool alpha = png.hasAlpha();
    QImage image = png.takePixels();
    // A screen has no transparency; a picture that claims some is shown as its colours.
    if (alpha) {
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] |= 0xFF000000u;
        }
    }
    image.setDevicePixelRatio(qreal(image.width()) / desktop.width());
    picture.image = image;
    picture.origin = desktop.topLeft();
    return {};
}

} // namespace

Platform::TDesktopPicture ReadDesktopPictureFile(const QString& path, bool remove, QRect desktop) {
    Platform::TDesktopPicture picture;
    const QString failure = readInto(path, desktop, picture);
    if (!failure.isEmpty()) {
        picture.image = QImage();
        picture.failure = failure;
    }
    if (remove) FileOps::removeFile(path);
    return picture;
}
