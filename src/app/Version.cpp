#include "app/Version.h"

namespace Version {

QString programName() {
    return QStringLiteral("Huesplinter");
}

QString versionText() {
    return QStringLiteral("0.1.0");
}

} // namespace Version
