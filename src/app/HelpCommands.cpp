#include "app/HelpCommands.h"

#include "app/AppIcon.h"
#include "app/Version.h"
#include "support/HelpPage.h"

TAboutInfo ProgramAboutInfo() {
    TAboutInfo info;
    info.name = Version::programName();
    info.version = Version::versionText();
    info.buildTime = Version::buildTime();
    info.copyright = Version::copyrightText();
    info.licence = Version::licenceText();
    info.helpPage = HelpPageUrl();
    info.homePage = QUrl(Version::homePage());
    info.icon = AppIcon().pixmap(128, 128).toImage();
    return info;
}

void HelpCommand(QWidget* window) {
    OpenWebPage(HelpPageUrl(), QStringLiteral("the help page"), window);
}

void AboutCommand(QWidget* window) {
    ShowAboutBox(ProgramAboutInfo(), window);
}
