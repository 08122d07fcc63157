#pragma once

#include <QString>

// The program's name and version as shown to the user.
namespace Version {
QString programName();
QString versionText();
} // namespace Version
