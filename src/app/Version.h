#pragma once

#include <QString>

// The program's name and version as shown to the user.
namespace Version {
QString programName();
QString versionText();
// When the running program file was made ("2026-12-09 12:34"); empty when unknown.
QString buildTime();
QString copyrightText();
QString licenceText();
// The program's home on the web.
QString homePage();
} // namespace Version
