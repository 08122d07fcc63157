// Any bytes as the settings store file, then the main window's whole load:
// whatever the file holds, every loaded value is inside its range and a save
// of it loads back the same.
#include "FuzzSupport.h"
#include "app/SettingsCodec.h"
#include "colour/CopyFormats.h"
#include "platform/UserStore.h"

#include <QDir>

#include <cstddef>
#include <cstdint>

namespace {

void checkRanges(const TStoredSettings& s) {
    FuzzCheck(s.pastel >= 0 && s.pastel <= TStoredSettings::MaxPastel);
    FuzzCheck(IsCopyStyle(int(s.clickAction)));
    FuzzCheck(s.fontSize >= 1 && s.fontSize <= TStoredSettings::MaxFontSize);
    FuzzCheck(s.windowState >= 0 && s.windowState <= 2);
    FuzzCheck(!(s.textColorLocked && s.bkgColorLocked));
    FuzzCheck((s.sampleTextColor & ~kColorMask) == 0 && (s.sampleBkgColor & ~kColorMask) == 0);
    for (ColorValue c : s.history)
        FuzzCheck((c & ~kColorMask) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = PutFuzzStoreFile(data, size);
    TUserStore store(folder);
    const auto ignore = [](const QString&) {};
    TStoredSettings loaded = TSettingsCodec::load(store, ignore);
    checkRanges(loaded);
    // The copies a damaged input leaves beside the file would pile up over the run.
    QDir vextora(folder + QStringLiteral("/Vextora"));
    for (const QString& copy : vextora.entryList({QStringLiteral("*.damaged*")}, QDir::Files))
        vextora.remove(copy);
    // A file the load could not keep a copy of is left alone by the save; the scratch store
    // is sound.
    loaded.keepStoreAsIs = false;

    TUserStore scratch(folder + QStringLiteral("/again"));
    TSettingsCodec::save(scratch, loaded, ignore);
    TStoredSettings reloaded = TSettingsCodec::load(scratch, ignore);
    reloaded.firstRun = loaded.firstRun;
    reloaded.hasPlacement = loaded.hasPlacement;
    reloaded.hasHistory = loaded.hasHistory;
    if (!loaded.hasPlacement) reloaded.mainWindow = loaded.mainWindow;
    if (!loaded.hasHistory) reloaded.history = loaded.history;
    FuzzCheck(reloaded == loaded);
    return 0;
}
