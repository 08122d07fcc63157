// Any bytes as the settings store file, then the screen picker's stored values: the side they give
// is odd and inside the screen, and what the picker would keep stores and loads back the same.
#include "picker/PickerValues.h"
#include "FuzzSupport.h"
#include "picker/Pickfrm.h"
#include "platform/UserStore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = PutFuzzStoreFile(data, size);
    TUserStore store(folder);
    TPickerValues values;
    const bool complete = ReadPickerValues(store, values);
    FuzzCheck(complete || values.windowSize == 0);

    for (const int fit : {31, 600, 1080, 100000}) {
        const int side = TFrmPick::SideFor(values.windowSize, 96, fit);
        FuzzCheck(side % 2 == 1 && side >= TFrmPick::kMinSide);
        FuzzCheck(side <= fit || side == TFrmPick::kMinSide);
        const int grown = TFrmPick::GrownSide(side, fit);
        FuzzCheck(grown == side || (grown > side && grown <= fit && grown % 2 == 1));
        const int shrunk = TFrmPick::ShrunkSide(side);
        FuzzCheck(shrunk <= side && shrunk % 2 == 1);
    }

    TPickerValues kept = values;
    kept.windowSize = TFrmPick::SideFor(values.windowSize, 96, 1080);
    TUserStore scratch(folder + QStringLiteral("/again"));
    FuzzCheck(WritePickerValues(scratch, kept));
    TPickerValues reloaded;
    FuzzCheck(ReadPickerValues(scratch, reloaded));
    reloaded.hintHidden = kept.hintHidden;
    reloaded.hintHsl = kept.hintHsl;
    FuzzCheck(reloaded == kept);
    return 0;
}
