#include "app/AppIcon.h"

#include <QString>

#include <array>

// The resources live in the static library; naming their initialiser here
// links them into every program that shows the icon.
static void initIconResources() {
    Q_INIT_RESOURCE(AppIcon);
}

QIcon AppIcon() {
    initIconResources();
    static constexpr std::array Sizes{16, 22, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    for (const int size : Sizes)
        icon.addFile(QStringLiteral(":/icons/%1x%1/org.vextora.Huesplinter.png").arg(size),
                     QSize(size, size));
    return icon;
}
