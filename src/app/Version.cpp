#include "app/Version.h"

// The build passes the project's version, so the program, its metadata and
// its package never disagree.
#ifndef HUESPLINTER_VERSION
#define HUESPLINTER_VERSION "0.0.0"
#endif

namespace Version {

QString programName() {
    return QStringLiteral("Huesplinter");
}

QString versionText() {
    return QStringLiteral(HUESPLINTER_VERSION);
}

} // namespace Version
