#include "app/Version.h"
#include "support/Kxglobals.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

// The build passes the project's version, so the program, its metadata and
// its package never disagree.
#ifndef HUESPLINTER_VERSION
#define HUESPLINTER_VERSION "0.0.0"
#endif
#ifndef HUESPLINTER_HOMEPAGE
#define HUESPLINTER_HOMEPAGE "https://vextora.org/huesplinter"
#endif

namespace Version {

QString programName() {
    return QString(Kxglobals::ProgramName);
}

QString versionText() {
    return QStringLiteral(HUESPLINTER_VERSION);
}

// The program file is written when the program is linked, so its time is the build's own; a
// time compiled into one source file would only tell when that file was last compiled.
QString buildTime() {
    const QString program = QCoreApplication::applicationFilePath();
    if (program.isEmpty()) return {};
    const QDateTime made = QFileInfo(program).lastModified();
    return made.isValid() ? made.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QString copyrightText() {
    return QStringLiteral("Copyright \u00A9 2026 Vextora");
}

QString licenceText() {
    return QStringLiteral("Proprietary software; all rights reserved.");
}

QString homePage() {
    return QStringLiteral(HUESPLINTER_HOMEPAGE);
}

} // namespace Version
