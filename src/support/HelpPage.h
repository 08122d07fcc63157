#pragma once

#include <QString>
#include <QUrl>

// Where the help page shipped with the program is. An installed program finds
// it in its data folder relative to the program file, so a moved or
// relocated install keeps working; a program run from its build folder falls
// back to the copy in the source tree.

// The help page as a local file address for the browser; empty when no copy
// is found.
QUrl HelpPageUrl();

// The lookup behind HelpPageUrl: the installed copy relative to
// `programFolder`, else `fallbackFile`; empty when neither is a readable file.
QString FindHelpPage(const QString& programFolder, const QString& fallbackFile);
