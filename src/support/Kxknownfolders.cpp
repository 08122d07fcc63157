#include "support/Kxknownfolders.h"

#include "platform/KnownFolders.h"
#include "support/Kxfunctions.h"
#include "support/Kxglobals.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString createdFolder(const QString& folder) {
    // A folder that cannot be created is still the right answer: the file
    // operation that needs it fails and reports the system's reason.
    QDir().mkpath(folder);
    return WithTrailingBackslash(folder);
}

} // namespace

QString KnownFolderPath(TKnownFolder folder) {
    QStandardPaths::StandardLocation location = QStandardPaths::GenericDataLocation;
    switch (folder) {
    case TKnownFolder::RoamingAppData:
        // Colour sets and templates belong in the folder that follows the user from machine to
        // machine, which on Windows is not Qt's generic data folder.
        return WithTrailingBackslash(KnownFolders::roamingAppData());
    case TKnownFolder::Documents:
        location = QStandardPaths::DocumentsLocation;
        break;
    case TKnownFolder::Pictures:
        location = QStandardPaths::PicturesLocation;
        break;
    case TKnownFolder::Desktop:
        location = QStandardPaths::DesktopLocation;
        break;
    }
    return WithTrailingBackslash(QStandardPaths::writableLocation(location));
}

QString RoamingAppDataFolder() {
    return KnownFolderPath(TKnownFolder::RoamingAppData);
}

QString DataFolder() {
    const QString roaming = RoamingAppDataFolder();
    if (roaming.isEmpty()) return {};
    return createdFolder(WithoutTrailingBackslash(roaming) + QLatin1Char('/') +
                         Kxglobals::CompanyFolderName + QLatin1Char('/') +
                         Kxglobals::ProgramFolderName);
}

QString SharedFolder() {
    const QString roaming = RoamingAppDataFolder();
    if (roaming.isEmpty()) return {};
    return createdFolder(WithoutTrailingBackslash(roaming) + QLatin1Char('/') +
                         Kxglobals::CompanyFolderName + QLatin1Char('/') +
                         Kxglobals::SharedFolderName);
}

TFolderCheck CheckFolder(const QString& folder) {
    using TState = TFolderCheck::TState;
    const QFileInfo info(WithoutTrailingBackslash(folder));
    const QString shown = QDir::toNativeSeparators(info.filePath());
    if (info.exists() && !info.isDir())
        return {TState::Unusable, QStringLiteral("\"%1\" is a file, not a folder. Move or rename "
                                                 "that file, then start the program again.")
                                      .arg(shown)};
    if (!info.exists())
        return {TState::Unusable,
                QStringLiteral("The folder \"%1\" does not exist and could not be created. Make "
                               "sure the folders above it exist and can be written, then start "
                               "the program again.")
                    .arg(shown)};
    if (!info.isWritable())
        return {TState::ReadOnly,
                QStringLiteral("The folder \"%1\" is read-only: what is in it can be used, but "
                               "nothing can be saved in it. Make it writable, then start the "
                               "program again.")
                    .arg(shown)};
    return {};
}
