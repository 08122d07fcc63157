#include "app/SettingsCodec.h"

#include "platform/UserStore.h"
#include "support/Kxglobals.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace {

constexpr int RecordFields = 16;
using TRecord = std::array<qint32, RecordFields>;

// Stored strings far beyond any sensible length are damage, not settings.
constexpr qsizetype MaxShortString = 4096;

namespace FormField {
constexpr int MainLeft = 0, MainTop = 1, MainWidth = 2, MainHeight = 3, State = 4;
constexpr int SampleLeft = 5, SampleTop = 6, SampleWidth = 7, SampleHeight = 8, Order = 9;
} // namespace FormField

namespace SettingsField {
constexpr int Pastel = 0, ClickAction = 1, CustomDecimal = 2, TextColor = 3, BkgColor = 4;
constexpr int Font = 5, SampleFlags = 6, WindowFlags = 7, HintHidden = 8, PickerHsl = 9;
constexpr int HslDecimal = 10;
} // namespace SettingsField

namespace WindowFlag {
constexpr quint32 HotTrack = 1, TunePanel = 2, HideOnPicking = 4, SaveAfterPaste = 8;
} // namespace WindowFlag

// A value whose top bit names a system colour takes that colour's present
// value; what reaches the settings is always a plain 24-bit colour.
ColorValue plainColor(quint32 stored) {
    return ResolveColor(stored);
}

qint32 fieldAt(const std::array<char, 64>& bytes, int index) {
    return qFromLittleEndian<qint32>(bytes.data() + index * 4);
}

void putField(std::array<char, 64>& bytes, int index, qint32 value) {
    qToLittleEndian<qint32>(value, bytes.data() + index * 4);
}

// A flag character: only "0" means off (a zero byte from a short record reads as on).
bool flagByte(qint32 field, int byte) {
    return static_cast<char>((static_cast<quint32>(field) >> (8 * byte)) & 0xFF) != '0';
}

bool readRecord(TUserStore& store, const QString& name, const QString& errorTitle,
                const TSettingsCodec::TReport& report, std::array<char, 64>& bytes) {
    if (!store.valueExists(name)) return false;
    bytes.fill(0);
    const auto result = store.readBinaryInto(name, bytes.data(), qsizetype(bytes.size()));
    if (!result.ok) {
        report(errorTitle + QStringLiteral("\r\n") + result.error);
        return false;
    }
    return true;
}

void takePlacement(const std::array<char, 64>& bytes, TStoredSettings& s) {
    using namespace FormField;
    s.hasPlacement = true;
    s.mainWindow = {fieldAt(bytes, MainLeft), fieldAt(bytes, MainTop), fieldAt(bytes, MainWidth),
                    fieldAt(bytes, MainHeight)};
    const qint32 state = fieldAt(bytes, State);
    s.windowState = state >= 0 && state <= 2 ? state : 0;
    s.sampleWindow = {fieldAt(bytes, SampleLeft), fieldAt(bytes, SampleTop),
                      fieldAt(bytes, SampleWidth), fieldAt(bytes, SampleHeight)};
    s.rgbOrder = fieldAt(bytes, Order) != 0;
}

void takeSettings(const std::array<char, 64>& bytes, TStoredSettings& s) {
    using namespace SettingsField;
    s.pastel = std::clamp<qint32>(fieldAt(bytes, Pastel), 0, TStoredSettings::MaxPastel);
    const qint32 action = fieldAt(bytes, ClickAction);
    s.clickAction = IsCopyStyle(action) ? CopyStyle(action) : CopyStyle::Html;
    s.formats.customHex = fieldAt(bytes, CustomDecimal) == 0;
    s.sampleTextColor = plainColor(quint32(fieldAt(bytes, TextColor)));
    s.sampleBkgColor = plainColor(quint32(fieldAt(bytes, BkgColor)));

    const quint32 font = quint32(fieldAt(bytes, Font));
    quint32 style = font & 0xFF;
    if (style > 3) style = 0;
    s.bold = style & 1;
    s.italic = style & 2;
    const int size = int(font >> 16);
    s.fontSize =
        size == 0 ? TStoredSettings::DefaultFontSize : std::min(size, TStoredSettings::MaxFontSize);

    const qint32 flags = fieldAt(bytes, SampleFlags);
    s.showText = flagByte(flags, 0);
    s.transparent = flagByte(flags, 1);
    s.textColorLocked = flagByte(flags, 2);
    s.bkgColorLocked = flagByte(flags, 3);
    // With both colours locked neither lock button could ever be released.
    if (s.textColorLocked && s.bkgColorLocked) s.bkgColorLocked = false;

    const quint32 window = quint32(fieldAt(bytes, WindowFlags));
    s.hotTrack = window & WindowFlag::HotTrack;
    s.tunePanelShown = window & WindowFlag::TunePanel;
    s.hideOnPicking = window & WindowFlag::HideOnPicking;
    s.saveSampleAfterPaste = window & WindowFlag::SaveAfterPaste;
    s.pickerHintHidden = fieldAt(bytes, HintHidden) != 0;
    s.pickerShowsHsl = fieldAt(bytes, PickerHsl) != 0;
    s.formats.hslHex = fieldAt(bytes, HslDecimal) == 0;
}

void readHistory(TUserStore& store, const TSettingsCodec::TReport& report, TStoredSettings& s) {
    const QString name = QStringLiteral("HistoryColors");
    if (!store.valueExists(name)) return;
    std::array<char, TStoredSettings::HistoryCount * 4> bytes;
    // Entries a short record leaves out stay the no-colour value until masked.
    bytes.fill(char(0xFF));
    const auto result = store.readBinaryInto(name, bytes.data(), qsizetype(bytes.size()));
    if (!result.ok) {
        report(QStringLiteral("Colors\r\n") + result.error);
        return;
    }
    for (int i = 0; i < TStoredSettings::HistoryCount; ++i)
        s.history[i] = plainColor(qFromLittleEndian<quint32>(bytes.data() + i * 4));
    s.hasHistory = true;
}

// A string longer than any the program writes is not used; the close then stores the default in
// its place, so the user hears of it now.
QString tooLong(const QString& name) {
    return QStringLiteral("Strings\r\nThe stored value %1 is longer than %2 characters and is "
                          "not used: the default is used instead and is stored at the close.")
        .arg(name)
        .arg(MaxShortString);
}

// Reads the strings in their fixed order; the first failure ends the step.
void readStrings(TUserStore& store, const TSettingsCodec::TReport& report, TStoredSettings& s) {
    const std::array<std::pair<const char*, QString*>, 5> strings{{
        {"TemplateStr", &s.formats.customTemplate},
        {"FontName", &s.fontName},
        {"MumbleFile", &s.mumbleFile},
        {"PasteColor", &s.pasteColor},
        {"ColorSetFile", &s.colorSetFile},
    }};
    for (const auto& [name, target] : strings) {
        const QString valueName = QLatin1StringView(name);
        if (!store.valueExists(valueName)) continue;
        const auto result = store.readString(valueName);
        if (!result.ok) {
            report(QStringLiteral("Strings\r\n") + result.error);
            return;
        }
        if (result.value.size() <= MaxShortString)
            *target = result.value;
        else
            report(tooLong(valueName));
    }
}

void readHsl(TUserStore& store, const TSettingsCodec::TReport& report, TStoredSettings& s) {
    const QString title = QStringLiteral("Hsl Registry Error\r\n");
    const QString templateName = QStringLiteral("HSLTemplateStr");
    if (store.valueExists(templateName)) {
        const auto result = store.readString(templateName);
        if (!result.ok) {
            report(title + result.error);
            return;
        }
        if (result.value.size() <= MaxShortString)
            s.formats.hslTemplate = result.value;
        else
            report(tooLong(templateName));
    }
    const std::array<std::pair<const char*, int*>, 3> maxima{{
        {"HSL_Hue", &s.formats.hueMax},
        {"HSL_Sat", &s.formats.satMax},
        {"HSL_Lum", &s.formats.lumMax},
    }};
    for (const auto& [name, target] : maxima) {
        const QString valueName = QLatin1StringView(name);
        if (!store.valueExists(valueName)) continue;
        const auto result = store.readInteger(valueName);
        if (!result.ok) {
            report(title + result.error);
            return;
        }
        *target = result.value;
    }
}

std::array<char, 64> placementRecord(const TStoredSettings& s) {
    using namespace FormField;
    std::array<char, 64> bytes{};
    putField(bytes, MainLeft, s.mainWindow.left);
    putField(bytes, MainTop, s.mainWindow.top);
    putField(bytes, MainWidth, s.mainWindow.width);
    putField(bytes, MainHeight, s.mainWindow.height);
    putField(bytes, State, s.windowState);
    putField(bytes, SampleLeft, s.sampleWindow.left);
    putField(bytes, SampleTop, s.sampleWindow.top);
    putField(bytes, SampleWidth, s.sampleWindow.width);
    putField(bytes, SampleHeight, s.sampleWindow.height);
    putField(bytes, Order, s.rgbOrder ? 1 : 0);
    return bytes;
}

} // namespace

std::array<char, 64> TSettingsCodec::settingsRecord(const TStoredSettings& s) {
    using namespace SettingsField;
    std::array<char, 64> bytes{};
    putField(bytes, Pastel, std::clamp(s.pastel, 0, TStoredSettings::MaxPastel));
    putField(bytes, ClickAction, int(s.clickAction));
    putField(bytes, CustomDecimal, s.formats.customHex ? 0 : 1);
    putField(bytes, TextColor, qint32(s.sampleTextColor & kColorMask));
    putField(bytes, BkgColor, qint32(s.sampleBkgColor & kColorMask));
    const quint32 style = (s.bold ? 1u : 0u) | (s.italic ? 2u : 0u);
    const quint32 size = quint32(std::clamp(s.fontSize, 1, TStoredSettings::MaxFontSize));
    putField(bytes, Font, qint32(style | (size << 16)));
    auto flag = [](bool on, int byte) { return quint32(on ? '1' : '0') << (8 * byte); };
    putField(bytes, SampleFlags,
             qint32(flag(s.showText, 0) | flag(s.transparent, 1) | flag(s.textColorLocked, 2) |
                    flag(s.bkgColorLocked, 3)));
    quint32 window = 0;
    if (s.hotTrack) window |= WindowFlag::HotTrack;
    if (s.tunePanelShown) window |= WindowFlag::TunePanel;
    if (s.hideOnPicking) window |= WindowFlag::HideOnPicking;
    if (s.saveSampleAfterPaste) window |= WindowFlag::SaveAfterPaste;
    putField(bytes, WindowFlags, qint32(window));
    putField(bytes, HintHidden, s.pickerHintHidden ? 1 : 0);
    putField(bytes, PickerHsl, s.pickerShowsHsl ? 1 : 0);
    putField(bytes, HslDecimal, s.formats.hslHex ? 0 : 1);
    return bytes;
}

TStoredSettings TSettingsCodec::load(TUserStore& store, const TReport& report) {
    TStoredSettings s;
    if (!store.usesRegistry() && store.fileName().isEmpty()) {
        report(QStringLiteral("There is no home folder to keep the settings in (the variable HOME "
                              "is not set).\r\n%1 starts with its default settings, and changes "
                              "to them will not be kept.")
                   .arg(Kxglobals::ProgramName));
        s.keepStoreAsIs = true;
    } else if (const TStoreDamage damage = store.keepDamagedCopy();
               !damage.why.isEmpty() &&
               (damage.unreadable || !store.keyExists(Kxglobals::ProgramKey))) {
        // Damage inside the program's key is reported value by value below.
        QString text = QStringLiteral("The settings file \"%1\" could not be read: %2\r\n")
                           .arg(store.fileName(), damage.why);
        if (!damage.copy.isEmpty()) {
            text += QStringLiteral("A copy of it was kept as \"%1\".\r\n%2 starts with its "
                                   "default settings.")
                        .arg(damage.copy, Kxglobals::ProgramName);
        } else {
            text += QStringLiteral("No copy of it could be kept (%1), so it is left as it is.\r\n"
                                   "%2 starts with its default settings and will not keep "
                                   "changes to them; move or repair the file to keep them again.")
                        .arg(damage.copyError, Kxglobals::ProgramName);
            s.keepStoreAsIs = true;
        }
        report(text);
    }
    if (!store.openKeyReadOnly(Kxglobals::ProgramKey)) {
        s.firstRun = true;
        return s;
    }
    std::array<char, 64> bytes;
    if (readRecord(store, QStringLiteral("FormSizePos"), QStringLiteral("FormSizePos"), report,
                   bytes))
        takePlacement(bytes, s);
    if (readRecord(store, QStringLiteral("Settings"), QStringLiteral("Settings"), report, bytes))
        takeSettings(bytes, s);
    readHistory(store, report, s);
    readStrings(store, report, s);
    readHsl(store, report, s);
    store.closeKey();
    return s;
}

void TSettingsCodec::save(TUserStore& store, const TStoredSettings& s, const TReport& report) {
    if (s.keepStoreAsIs) return;
    // One replacement of the file for the whole save, holding only what this
    // run changed: a close cut short leaves the old file or the new one, and
    // a second running copy keeps what it changed.
    store.beginBatch();
    if (!store.openKey(Kxglobals::ProgramKey, true)) {
        store.commitBatch();
        return;
    }
    auto check = [&](const char* name, const TStoreStatus& status) {
        if (!status.ok) report(QLatin1StringView(name) + QStringLiteral(" \r\n") + status.error);
    };
    const auto placement = placementRecord(s);
    check("FormSizePos", store.writeBinary(QStringLiteral("FormSizePos"),
                                           QByteArrayView(placement.data(), placement.size())));
    const auto settings = settingsRecord(s);
    check("Settings", store.writeBinary(QStringLiteral("Settings"),
                                        QByteArrayView(settings.data(), settings.size())));
    std::array<char, TStoredSettings::HistoryCount * 4> history{};
    for (int i = 0; i < TStoredSettings::HistoryCount; ++i)
        qToLittleEndian<quint32>(s.history[i] & kColorMask, history.data() + i * 4);
    check("HistoryColors", store.writeBinary(QStringLiteral("HistoryColors"),
                                             QByteArrayView(history.data(), history.size())));
    check("TemplateStr",
          store.writeString(QStringLiteral("TemplateStr"), s.formats.customTemplate));
    check("FontName", store.writeString(QStringLiteral("FontName"), s.fontName));
    check("MumbleFile", store.writeString(QStringLiteral("MumbleFile"), s.mumbleFile));
    check("PasteColor", store.writeString(QStringLiteral("PasteColor"), s.pasteColor));
    check("ColorSetFile", store.writeString(QStringLiteral("ColorSetFile"), s.colorSetFile));
    check("HSLTemplateStr",
          store.writeString(QStringLiteral("HSLTemplateStr"), s.formats.hslTemplate));
    check("HSL_Hue", store.writeInteger(QStringLiteral("HSL_Hue"), s.formats.hueMax));
    check("HSL_Sat", store.writeInteger(QStringLiteral("HSL_Sat"), s.formats.satMax));
    check("HSL_Lum", store.writeInteger(QStringLiteral("HSL_Lum"), s.formats.lumMax));
    store.closeKey();
    if (const TStoreStatus saved = store.commitBatch(); !saved) report(saved.error);
}

QRect FitToScreens(const TStoredPlacement& stored, const QList<QRect>& availableAreas,
                   QSize minimum) {
    // The union's extent bounds the size; every sum is done in 64 bits.
    qint64 maxWidth = 0, maxHeight = 0;
    if (!availableAreas.isEmpty()) {
        QRect all;
        for (const QRect& area : availableAreas)
            all |= area;
        maxWidth = all.width();
        maxHeight = all.height();
    }
    auto clampSize = [](qint64 value, qint64 low, qint64 high) {
        if (high > 0 && high < low) high = low;
        value = std::max(value, low);
        return high > 0 ? std::min(value, high) : value;
    };
    const qint64 width = clampSize(stored.width, std::max(minimum.width(), 1), maxWidth);
    const qint64 height = clampSize(stored.height, std::max(minimum.height(), 1), maxHeight);
    // QRect keeps its right edge as an int: never build one that overflows it.
    auto placed = [&](qint64 left, qint64 top) {
        left = std::min<qint64>(left, std::numeric_limits<int>::max() - width);
        top = std::min<qint64>(top, std::numeric_limits<int>::max() - height);
        return QRect(int(left), int(top), int(width), int(height));
    };
    if (availableAreas.isEmpty()) return placed(stored.left, stored.top);

    // Enough of it to grab with the pointer must lie on some screen.
    constexpr qint64 Visible = 32;
    const qint64 left = stored.left, top = stored.top;
    for (const QRect& area : availableAreas) {
        const qint64 overlapW = std::min<qint64>(left + width, qint64(area.x()) + area.width()) -
                                std::max<qint64>(left, area.x());
        const qint64 overlapH = std::min<qint64>(top + height, qint64(area.y()) + area.height()) -
                                std::max<qint64>(top, area.y());
        if (overlapW >= std::min<qint64>(Visible, width) &&
            overlapH >= std::min<qint64>(Visible, height))
            return placed(left, top);
    }
    const QRect& primary = availableAreas.front();
    const qint64 w = std::min<qint64>(width, primary.width());
    const qint64 h = std::min<qint64>(height, primary.height());
    return QRect(int(primary.x() + (primary.width() - w) / 2),
                 int(primary.y() + (primary.height() - h) / 2), int(w), int(h));
}
