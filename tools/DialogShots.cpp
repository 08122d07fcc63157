// Opens the dialogs with sample contents and saves a picture of each as PNG, so their look can
// be checked (and kept in docs/) without clicking through the program.
//
//     huesplinter-shots OUTPUT_FOLDER

#include "app/HelpCommands.h"
#include "colour/ColorTemplateList.h"
#include "dialogs/AboutBox.h"
#include "dialogs/FrmTemplates.h"
#include "dialogs/HlpForm.h"
#include "dialogs/Kxmsgbx.h"

#include <QApplication>
#include <QDir>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>

namespace {

bool save(QWidget& window, const QString& path) {
    window.show();
    window.raise();
    window.activateWindow();
    // Let the window appear, lay itself out and finish any deferred filling.
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: huesplinter-shots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    TColorTemplateList hsl;
    BuildDefaultHslTemplates(hsl);
    TFrmTemplates templates(TTemplateKind::Hsl, hsl);
    templates.MarkMatchingCustom(hsl.at(0));
    templates.setWindowTitle(QStringLiteral("HSL Template List"));
    ok &= save(templates, out.filePath(QStringLiteral("template-list-dialog.png")));
    templates.hide();

    TColorTemplateList rgb;
    BuildDefaultRgbTemplates(rgb);
    TSettingsValues values;
    values.sampleTextPath = QStringLiteral("/home/user/Documents/Sample.txt");
    THlpForm settings(values, rgb, hsl, QDir::tempPath());
    ok &= save(settings, out.filePath(QStringLiteral("settings-dialog.png")));

    settings.hide();

    TKxMsgBox question;
    question.setWindowTitle(QStringLiteral("Huesplinter"));
    question.SetMessage(QStringLiteral("The colour set \"Autumn\" has been changed.\r\n"
                                       "Save the changes before closing?"));
    question.AddButton(mbYes);
    question.AddButton(mbNo);
    question.AddButton(mbCancel);
    question.SetIconKind(kMsgIconQuestion);
    ok &= save(question, out.filePath(QStringLiteral("message-box.png")));
    question.hide();

    TAboutBox about(ProgramAboutInfo());
    ok &= save(about, out.filePath(QStringLiteral("about-window.png")));

    return ok ? 0 : 1;
}
