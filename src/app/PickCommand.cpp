#include "app/PickCommand.h"

#include "picker/PickerValues.h"
#include "picker/ScreenPick.h"
#include "platform/ClipboardKeeper.h"
#include "platform/Platform.h"
#include "platform/UserStore.h"
#include "support/Kxglobals.h"

#include <QEventLoop>
#include <QTextStream>

int RunPickCommand(const TPickRequest& request, QTextStream& out, QTextStream& err) {
    TUserStore store;
    TPickerValues values;
    values.hintHidden = request.settings.pickerHintHidden;
    values.hintHsl = request.settings.pickerShowsHsl;
    ReadPickerValues(store, values);
    const bool frozen = request.frozen || ReadPickerFrozen(store);
    const FormatSettings& formats = request.settings.formats;

    bool failed = false;
    bool ended = false;
    std::optional<ColorValue> picked;
    TPickerValues kept = values;
    TScreenPick pick;
    pick.setAveragePick(request.average);
    pick.setReporter([&](const QString& text) {
        failed = true;
        // One line for a terminal; the window's texts break into paragraphs.
        QString line = text.trimmed();
        line.replace(QStringLiteral("\r\n\r\n"), QStringLiteral(" "));
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        err << "huesplinter: " << line << '\n';
        err.flush();
    });
    QEventLoop loop;
    QObject::connect(&pick, &TScreenPick::finished, &loop,
                     [&](std::optional<ColorValue> color, const TPickerValues& values) {
                         picked = color;
                         kept = values;
                         ended = true;
                         loop.quit();
                     });
    pick.start(values, THslMaxima{formats.hueMax, formats.satMax, formats.lumMax},
               frozen ? TScreenPick::TMode::Frozen : TScreenPick::TMode::Classic);
    // The classic picker has ended inside start(); the other ways end later.
    if (!ended) loop.exec();

    if (!failed && !WritePickerValues(store, kept)) {
        err << "huesplinter: the picker's size and lines could not be stored in "
            << store.place(Kxglobals::ProgramKey) << ".\n";
        err.flush();
    }
    if (failed) return kExitTrouble;
    if (!picked) return kExitCancelled;
    const QString lines = FormatLines(*picked, request.formats, request.settings);
    out << lines;
    out.flush();
    if (request.copy) {
        const QString text = lines.chopped(1);
        Platform::setClipboardText(text);
        ClipboardKeeper::handOver(text);
    }
    return kExitOk;
}
