#include "sample/SamplePngSaver.h"

#include "dialogs/Kxmsgbx.h"
#include "sample/SampleExport.h"
#include "support/Kxfunctions.h"
#include "support/Kxglobals.h"
#include "support/Kxknownfolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCaption{Kxglobals::ProgramName};
const QString kPngValue = QStringLiteral("SamplePngFile");

// Where the name question starts: the folder of the last picture saved while it exists, else the
// user's pictures folder, else the home folder; never the folder the program was started from.
QString startFolder(const QString& lastPicture) {
    if (!lastPicture.isEmpty()) {
        const QString last = QFileInfo(lastPicture).absolutePath();
        if (QFileInfo(last).isDir()) return last;
    }
    const QString pictures = QDir::cleanPath(KnownFolderPath(TKnownFolder::Pictures));
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
    return QDir::homePath();
}

} // namespace

void TSamplePngSaver::readPngPath() {
    if (FPngPath.isEmpty())
        FPngPath = ReadUserRegistryString(QString(Kxglobals::ProgramKey), kPngValue);
}

QString TSamplePngSaver::askName(const TChooser& choose) {
    const QString chosen = choose ? choose(startFolder(FPngPath)) : QString();
    if (chosen.isEmpty()) return {};
    const QString name = SampleExport::ForcePng(chosen);
    // The dialog asked about the name it was given, not about the one written.
    if (name != chosen && QFileInfo::exists(name)) {
        const int answer =
            AskYesNoCancel(kCaption,
                           QStringLiteral("%1 already exists.\r\nDo you want to replace it?")
                               .arg(QDir::toNativeSeparators(name)),
                           FBoxParent);
        if (answer != kMsgYes) return {};
    }
    return name;
}

void TSamplePngSaver::save(const TPictureSource& picture, const QString& name, bool newOnly) {
    const TPicture shot = picture ? picture() : TPicture();
    if (shot.image.isNull()) {
        ShowMessageBox(kCaption,
                       QStringLiteral("There is nothing to save: no text stands out from the "
                                      "background."),
                       kMsgIconInfo, FBoxParent);
        return;
    }
    const SampleExport::TWriteResult result = SampleExport::WritePng(
        shot.image, shot.withAlpha, name,
        newOnly ? SampleExport::TWriteMode::NewOnly : SampleExport::TWriteMode::Replace);
    if (!result.ok) {
        ShowErrorBox(kCaption,
                     QStringLiteral("Could not save the image\r\n%1\r\n\r\nSystem Say:\r\n%2")
                         .arg(QDir::toNativeSeparators(name), result.error),
                     FBoxParent);
        return;
    }
    if (name == FPngPath) return;
    FPngPath = name;
    WriteUserRegistryString(QString(Kxglobals::ProgramKey), kPngValue, name);
}

void TSamplePngSaver::saveNumbered(const TChooser& choose, const TPictureSource& picture) {
    readPngPath();
    QString name = SampleExport::NextFreeName(FPngPath);
    const bool automatic = !name.isEmpty();
    if (!automatic) name = askName(choose);
    if (name.isEmpty()) return;
    // An automatic name must never replace a file, also one made since the name was chosen.
    save(picture, name, automatic);
}

void TSamplePngSaver::saveAs(const TChooser& choose, const TPictureSource& picture) {
    readPngPath();
    const QString name = askName(choose);
    if (name.isEmpty()) return;
    save(picture, name, false);
}
