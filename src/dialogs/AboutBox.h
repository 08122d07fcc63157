#pragma once

#include "controls/KxDialog.h"

#include <QImage>
#include <QString>
#include <QUrl>

#include <vector>

class QLabel;
class TKxButton;

// What the about window shows; the caller gathers it, so the window needs nothing of the
// program around it.
struct TAboutInfo {
    QString name;
    QString version;
    QString buildTime;
    QString copyright;
    QString licence;
    QUrl helpPage; // empty when the program has none to show
    QUrl homePage;
    QImage icon;
};

// The about window: the program's picture, name, version, build time, copyright and licence,
// and links to the help page and the home page, which open in the user's browser. It closes with
// its button, Esc or the window's close button.
class TAboutBox : public TKxDialog {
    Q_OBJECT
public:
    explicit TAboutBox(const TAboutInfo& info, QWidget* reference = nullptr);
    ~TAboutBox() override;

    // The lines of text it shows, top to bottom.
    QStringList lines() const;
    TKxButton* ButHelpPage() const { return FButHelpPage; }
    TKxButton* ButHomePage() const { return FButHomePage; }
    TKxButton* ButClose() const { return FButClose; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openLink(const QUrl& url);

    TAboutInfo FInfo;
    QWidget* FReference;
    std::vector<QLabel*> FLines;
    TKxButton* FButHelpPage = nullptr;
    TKxButton* FButHomePage = nullptr;
    TKxButton* FButClose = nullptr;
};

// Shows the about window modally over the reference window and returns when it is closed.
void ShowAboutBox(const TAboutInfo& info, QWidget* reference = nullptr);

// Opens a page in the user's browser; says so in an error box when there is no page or the
// browser could not be started.
void OpenWebPage(const QUrl& url, const QString& what, QWidget* reference = nullptr);
