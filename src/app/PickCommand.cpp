#include "app/PickCommand.h"

#include "picker/Pickfrm.h"
#include "platform/ClipboardKeeper.h"
#include "platform/Platform.h"
#include "platform/UserStore.h"

#include <QTextStream>

int RunPickCommand(const TPickRequest& request, QTextStream& out, QTextStream& err) {
    const Platform::TDesktopPicture picture = Platform::grabDesktop();
    if (!picture.ok()) {
        err << "huesplinter: the screen cannot be read on this display system, so no colour can be "
               "picked from it.";
        if (!picture.failure.isEmpty()) err << ' ' << picture.failure;
        err << '\n';
        err.flush();
        return kExitTrouble;
    }

    TUserStore store;
    TPickerValues values;
    values.hintHidden = request.settings.pickerHintHidden;
    values.hintHsl = request.settings.pickerShowsHsl;
    ReadPickerValues(store, values);
    const FormatSettings& formats = request.settings.formats;
    TFrmPick picker(values, THslMaxima{formats.hueMax, formats.satMax, formats.lumMax}, nullptr);
    picker.UsePicture(picture);
    picker.SetAveragePick(request.average);
    const int result = picker.exec();
    if (!WritePickerValues(store, picker.Values())) {
        err << "huesplinter: the picker's size and lines could not be stored in "
            << store.fileName() << ".\n";
        err.flush();
    }

    const std::optional<ColorValue> picked = picker.PickedColor();
    if (result != TFrmPick::kResultOk || !picked) return kExitCancelled;
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
