#pragma once

#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

class TUserStore;

// A window rectangle as the store keeps it: four signed 32-bit numbers that
// nothing guarantees to describe a usable window.
struct TStoredPlacement {
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
    bool operator==(const TStoredPlacement&) const = default;
};

// Everything the main window keeps in the per-user store, as plain values. A
// default-constructed value is what a run without stored settings uses
// (except the click action's first-run choice, which is HTML).
struct TStoredSettings {
    static constexpr int HistoryCount = 10;
    static constexpr int DefaultFontSize = 9;
    static constexpr int MaxFontSize = 255;
    static constexpr int MaxPastel = 255;

    // No settings key at all: the window sizes and centres itself.
    bool firstRun = false;
    // The settings file could not be read and no copy of it could be kept, or
    // there is no place for one: the close leaves it as it is (the start said so).
    bool keepStoreAsIs = false;

    // "FormSizePos".
    bool hasPlacement = false;
    TStoredPlacement mainWindow;
    // 0 normal, 1 minimised, 2 maximised.
    int windowState = 0;
    TStoredPlacement sampleWindow;
    bool rgbOrder = true;

    // "Settings".
    int pastel = 0;
    CopyStyle clickAction = CopyStyle::Html;
    ColorValue sampleTextColor = MakeColor(255, 237, 129);
    ColorValue sampleBkgColor = MakeColor(0, 116, 0);
    bool bold = false;
    bool italic = false;
    int fontSize = DefaultFontSize;
    bool showText = true;
    bool transparent = true;
    bool textColorLocked = true;
    bool bkgColorLocked = false;
    bool hotTrack = false;
    bool tunePanelShown = true;
    bool hideOnPicking = false;
    bool saveSampleAfterPaste = false;
    bool pickerHintHidden = true;
    bool pickerShowsHsl = false;

    // "HistoryColors": present only when the value was read; every entry is a
    // plain 24-bit colour.
    bool hasHistory = false;
    std::array<ColorValue, HistoryCount> history{};

    // Strings and the HSL display scale; the templates, hex switches and
    // maxima live in `formats`.
    FormatSettings formats;
    QString fontName = QStringLiteral("Arial");
    QString mumbleFile;
    QString pasteColor;
    QString colorSetFile;

    bool operator==(const TStoredSettings&) const = default;
};

// Reads and writes TStoredSettings under the program's key. Each value is
// read on its own: a missing value keeps its default, a value that cannot be
// read is reported and keeps what it held, and every value that is read is
// checked and brought into its range, so nothing stored can crash the
// program or spread into a later save.
class TSettingsCodec {
public:
    // Shows one failure text (the value's name, CR LF and the store's error).
    using TReport = std::function<void(const QString& text)>;

    static TStoredSettings load(TUserStore& store, const TReport& report);
    static void save(TUserStore& store, const TStoredSettings& settings, const TReport& report);

    // The 64-byte "Settings" record with `settings`' fields (reserved bytes 0).
    static std::array<char, 64> settingsRecord(const TStoredSettings& settings);
};

// Where a stored window rectangle may really go: sizes between `minimum`
// and the union of the screens' available areas, computed without overflow;
// a rectangle that meets no screen by less than a small visible corner is
// centred on the first (primary) area. With no screens the rectangle is only
// sized.
QRect FitToScreens(const TStoredPlacement& stored, const QList<QRect>& availableAreas,
                   QSize minimum);
