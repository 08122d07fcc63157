#include "dialogs/ShortcutTable.h"

std::vector<TShortcutGroup> DefaultShortcutGroups() {
    return {
        {QStringLiteral("Main Window Shortcuts:  "), ShortcutRows(kMainWindowShortcuts)},
        {QStringLiteral("Color Tuner Shortcuts:  "), ShortcutRows(kColorTunerShortcuts)},
        {QStringLiteral("Color Picker Shortcuts:  "), ShortcutRows(kColorPickerShortcuts)},
        {QStringLiteral("Sample Window Shortcuts:  "), ShortcutRows(kSampleWindowShortcuts)},
    };
}
