#include "dialogs/AboutBox.h"

#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/Kxmsgbx.h"
#include "pixels/KxPngRC.h"
#include "platform/Platform.h"
#include "support/Kxglobals.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// Design sizes, in pixels at 144 pixels per inch.
constexpr int kDesignWidth = 520;
constexpr int kDesignHeight = 330;
constexpr int kDesignButtonPanel = 53;
constexpr int kDesignMargin = 24;
constexpr int kDesignIcon = 96;
constexpr int kDesignFont = 18;
constexpr int kDesignNameFont = 32;
constexpr int kDesignButtonWidth = 110;
constexpr int kDesignLinkWidth = 150;

int scaled(int designPixels) {
    return (designPixels * TKxPngRC::screenPixelsPerInch() + 72) / 144;
}

TKxPanel* gradientPanel(QWidget* parent, std::uint32_t begin, std::uint32_t end) {
    auto* panel = new TKxPanel(parent);
    panel->setBevelOuter(bvNone);
    panel->setClBegin(begin);
    panel->setClEnd(end);
    panel->setGradientFill(true);
    return panel;
}

} // namespace

TAboutBox::TAboutBox(const TAboutInfo& info, QWidget* reference)
    : TKxDialog(nullptr), FInfo(info), FReference(reference) {
    setModal(true);
    setWindowTitle(QStringLiteral("About %1").arg(info.name));
    // Arial's free twin where Arial is missing, rather than whatever face the system puts in.
    QFont form;
    form.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    form.setStyleHint(QFont::SansSerif);
    form.setPixelSize(scaled(kDesignFont));
    setFont(form);
    setFixedSize(scaled(kDesignWidth), scaled(kDesignHeight));

    const int panelHeight = scaled(kDesignButtonPanel);
    TKxPanel* top = gradientPanel(this, 0xFFF9F4, 0xFFEBDE);
    top->setGeometry(0, 0, width(), height() - panelHeight);
    TKxPanel* bottom = gradientPanel(this, 0xEEE0D9, 0xE4CCC0);
    bottom->setGeometry(0, height() - panelHeight, width(), panelHeight);
    bottom->OnPainted = [](TKxPanel* panel, QPainter& cnv, QRect) {
        cnv.fillRect(QRect(0, 0, panel->width(), 1), QColor(0, 0, 255));
    };

    const int margin = scaled(kDesignMargin);
    const int icon = scaled(kDesignIcon);
    if (!info.icon.isNull()) {
        auto* picture = new QLabel(top);
        picture->setPixmap(QPixmap::fromImage(
            info.icon.scaled(icon, icon, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        picture->setGeometry(margin, margin, icon, icon);
    }

    auto* text = new QWidget(top);
    const int textLeft = margin * 2 + icon;
    text->setGeometry(textLeft, margin, width() - textLeft - margin, top->height() - 2 * margin);
    auto* column = new QVBoxLayout(text);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(scaled(6));
    const auto addLine = [&](const QString& line, int pixelSize, bool bold) {
        auto* label = new QLabel(line, text);
        label->setTextFormat(Qt::PlainText);
        QFont f = font();
        f.setPixelSize(pixelSize);
        f.setBold(bold);
        label->setFont(f);
        column->addWidget(label);
        FLines.push_back(label);
    };
    addLine(info.name, scaled(kDesignNameFont), true);
    addLine(QStringLiteral("Version %1").arg(info.version), scaled(kDesignFont), false);
    if (!info.buildTime.isEmpty())
        addLine(QStringLiteral("Built %1").arg(info.buildTime), scaled(kDesignFont), false);
    column->addSpacing(scaled(8));
    addLine(info.copyright, scaled(kDesignFont), false);
    addLine(info.licence, scaled(kDesignFont), false);
    column->addStretch(1);

    auto* links = new QHBoxLayout;
    links->setSpacing(scaled(8));
    const auto addLink = [&](const QString& caption, const QUrl& url) {
        auto* link = new TKxButton(text);
        link->setCaption(caption);
        link->setHint(QStringLiteral(" %1 ").arg(url.toDisplayString()));
        link->setFixedSize(scaled(kDesignLinkWidth), scaled(34));
        link->setEnabled(!url.isEmpty());
        connect(link, &TKxButton::clicked, this, [this, url] { openLink(url); });
        links->addWidget(link);
        return link;
    };
    FButHelpPage = addLink(QStringLiteral("&Help page"), info.helpPage);
    FButHomePage = addLink(QStringLiteral("Home &page"), info.homePage);
    links->addStretch(1);
    column->addLayout(links);

    FButClose = new TKxButton(bottom);
    FButClose->setCaption(QStringLiteral("&Close"));
    FButClose->setModalResult(tmrOK);
    FButClose->setCancel(true);
    FButClose->setDefault(true);
    const int buttonMargin = scaled(10);
    FButClose->setGeometry(width() - buttonMargin - scaled(kDesignButtonWidth), 1 + buttonMargin,
                           scaled(kDesignButtonWidth), panelHeight - 1 - 2 * buttonMargin);
}

TAboutBox::~TAboutBox() = default;

QStringList TAboutBox::lines() const {
    QStringList out;
    for (const QLabel* label : FLines)
        out << label->text();
    return out;
}

void TAboutBox::showEvent(QShowEvent* event) {
    TKxDialog::showEvent(event);
    const QWidget* ref = FReference ? FReference->window() : nullptr;
    move(TKxMsgBox::placeOver(ref ? ref->frameGeometry() : QRect(), frameGeometry().size()));
    FButClose->setFocus(Qt::OtherFocusReason);
}

void TAboutBox::openLink(const QUrl& url) {
    OpenWebPage(url,
                url == FInfo.helpPage ? QStringLiteral("the help page")
                                      : QStringLiteral("the home page"),
                this);
}

void ShowAboutBox(const TAboutInfo& info, QWidget* reference) {
    TAboutBox box(info, reference);
    box.exec();
}

void OpenWebPage(const QUrl& url, const QString& what, QWidget* reference) {
    if (url.isEmpty()) {
        ShowErrorBox(
            QString(Kxglobals::ProgramName),
            QStringLiteral("Could not find %1: it was not installed with the program.").arg(what),
            reference);
        return;
    }
    const QString address = url.toString();
    if (!Platform::openUrl(address))
        ShowErrorBox(
            QString(Kxglobals::ProgramName),
            QStringLiteral("Could not open %1 in the web browser:\r\n%2").arg(what, address),
            reference);
}
