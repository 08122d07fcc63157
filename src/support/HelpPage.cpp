#include "support/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The build passes the installed data folder relative to the installed
// program, and the source tree's copy for runs from the build folder.
#ifndef HUESPLINTER_DATA_FROM_BINDIR
#define HUESPLINTER_DATA_FROM_BINDIR "../share/huesplinter"
#endif
#ifndef HUESPLINTER_SOURCE_HELP_PAGE
#define HUESPLINTER_SOURCE_HELP_PAGE ""
#endif

namespace {

const QString HelpFileName = QStringLiteral("help.html");

bool isReadableFile(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

} // namespace

QString FindHelpPage(const QString& programFolder, const QString& fallbackFile) {
    if (!programFolder.isEmpty()) {
        const QString installed = QDir::cleanPath(
            QDir(programFolder)
                .filePath(QStringLiteral(HUESPLINTER_DATA_FROM_BINDIR "/") + HelpFileName));
        if (isReadableFile(installed)) return installed;
    }
    return isReadableFile(fallbackFile) ? QFileInfo(fallbackFile).absoluteFilePath() : QString();
}

QUrl HelpPageUrl() {
    const QString path = FindHelpPage(QCoreApplication::applicationDirPath(),
                                      QStringLiteral(HUESPLINTER_SOURCE_HELP_PAGE));
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
}
