#pragma once

#include <QString>

// The system's per-user folders that Qt does not name the way the program needs them.
namespace KnownFolders {

// The application data folder that follows the user from machine to machine, with "/"
// separators and none at the end; empty when the system knows none. On Windows that is the
// roaming folder ($APPDATA, which can redirect it, else the shell's answer), not the local one
// Qt takes for its generic data folder; elsewhere Qt's generic data folder (~/.local/share).
QString roamingAppData();

} // namespace KnownFolders
