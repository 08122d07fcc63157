#include "app/HelpCommands.h"

#include "app/AppIcon.h"
#include "app/Version.h"
#include "controls/KxButton.h"
#include "support/HelpPage.h"

#include <QShortcut>

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

void ConnectHelpCommands(QWidget* window, TKxButton* butHelp, TKxButton* butInfo) {
    QObject::connect(butHelp, &TKxButton::clicked, window, [window] { HelpCommand(window); });
    QObject::connect(butInfo, &TKxButton::clicked, window, [window] { AboutCommand(window); });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(f1, &QShortcut::activated, window, [window] { HelpCommand(window); });
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), window);
    QObject::connect(f3, &QShortcut::activated, window, [window] { AboutCommand(window); });
}
