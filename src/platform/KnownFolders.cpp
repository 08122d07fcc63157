#include "platform/KnownFolders.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#endif

namespace KnownFolders {

QString roamingAppData() {
#ifdef Q_OS_WIN
    if (const QString roaming = qEnvironmentVariable("APPDATA"); !roaming.isEmpty())
        return QDir::fromNativeSeparators(roaming);
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
}

} // namespace KnownFolders
