#pragma once

#include <QString>

#include <array>
#include <string_view>
#include <vector>

// The program's shortcut reference: what the settings dialog lists, grouped by window. The
// texts are display only (each window handles its own keys), and the command table of the main
// window can read its rows from here so that a shortcut is described in one place.

struct TShortcutText {
    std::u16string_view keys;
    std::u16string_view action;
};

inline constexpr std::array<TShortcutText, 43> kMainWindowShortcuts{{
    {u"Enter or Click", u"Select Color and send to Clipboard (as default)"},
    {u"Shift + Left Click **", u"Color to Clipboard as R:G:B: Values"},
    {u"Ctrl + Left Click **", u"Color to Clipboard as BGR Hex Values"},
    {u"Ctrl + Shift + Left Click **", u"Color to Clipboard as HTML Hex Values"},
    {u"Right Click", u"Popup Menu"},
    {u"Alt Key + Left Click", u"To Get the Web Safe Color  (** Add Alt Key)"},
    {u"Ctrl + H (on or off)", u"Hot Track mouse on color palette"},
    {u"+  (Shift = Vertical + or -)", u"Color Picker 10 % Bigger"},
    {u"-  (Ctrl = Horizontal + or -)", u"Color Picker 10 % Smaller"},
    {u"F1", u"Show the Help on the Web"},
    {u"F2", u"Show the Settings dialog"},
    {u"F3", u"Show the About Window"},
    {u"Ctrl + Q (on or off)", u"Show the Sample Window"},
    {u"Ctrl + T (on or off)", u"Show Text in the Sample Window"},
    {u"Ctrl + A (on or off)", u"Transparent Background in Sample Window"},
    {u"Ctrl + Arrow Up", u"Scroll the Font List Up"},
    {u"Ctrl + Arrow Down", u"Scroll the Font List Down"},
    {u"Shift + Arrow Up", u"Scroll the Font Size List Up"},
    {u"Shift + Arrow Down", u"Scroll the Font Size List Down"},
    {u"Ctrl + B (on or off)", u"Bold Text in the Sample Window"},
    {u"Ctrl + I (on or off)", u"Italic Text in the Sample Window"},
    {u"Ctrl + E", u"Lock the Sample Window Font Color"},
    {u"Ctrl + K", u"Lock the Sample Window Background Color"},
    {u"F11", u"Set Sample Font Color"},
    {u"F12", u"Set Sample Background Color"},
    {u"F7", u"Readable Sample Text Color (AA)"},
    {u"Shift + F7", u"Readable Sample Text Color (AAA)"},
    {u"F8", u"Next Color Vision in the Sample Window"},
    {u"Alt + 0, Alt + 2 to Alt + F", u"Set colors in 0, 1, 2 to F"},
    {u"Arrow Keys (alone)", u"Move the Color Cursor (palette have focus)"},
    {u"Ctrl + TAB", u"Focus Color Palette"},
    {u"Ctrl + 1", u"Focus Hue Slider"},
    {u"Ctrl + Shift + H", u"Focus Hue Slider"},
    {u"Ctrl + Shift + S", u"Focus Saturation Slider"},
    {u"Ctrl + Shift + L", u"Focus Lumination Slider"},
    {u"Ctrl + Shift + R", u"Focus Red Slider"},
    {u"Ctrl + Shift + G", u"Focus Green Slider"},
    {u"Ctrl + Shift + B", u"Focus Blue Slider"},
    {u"Shift + 0, Shift + 1 to Shift + F", u"Select one of the 16 user colors 0, 1, 2 to F"},
    {u"Ctrl + N", u"New Color Set"},
    {u"Ctrl + S", u"Save Color Set"},
    {u"Ctrl + M", u"Manage Color Sets"},
    {u"Escape", u"Close the Color Picker"},
}};

inline constexpr std::array<TShortcutText, 6> kColorTunerShortcuts{{
    {u"Ctrl + R", u"Set Color order to be Red Green Blue"},
    {u"Ctrl + G", u"Set Color order to be Blue Green Red"},
    {u"Ctrl + V", u"Paste a color value into the edit field"},
    {u"Ctrl + P", u"Opens the color picker tool (advanced eye dropper)"},
    {u"Arrow up", u"Color slide up (when focused, after click or tab)"},
    {u"Arrow down", u"Color slide down (when focused, after click or tab)"},
}};

inline constexpr std::array<TShortcutText, 13> kColorPickerShortcuts{{
    {u"+ or Scroll up", u"Zoom In"},
    {u"- or Scroll down", u"Zoom Out"},
    {u"Ctrl + + or Ctrl + Scroll up", u"Window 10% bigger"},
    {u"Ctrl + - or Ctrl + Scroll down", u"Window 10% smaller"},
    {u"Shift", u"Free the cursor for picking"},
    {u"Click or Enter", u"Select the color"},
    {u"Ctrl + Click or Ctrl + Enter", u"Select the average color of the whole window"},
    {u"Arrow right and left", u"Move the window horizontally"},
    {u"Arrow up and down", u"Move the window vertically"},
    {u"G (on or off)", u"Show Gridlines"},
    {u"P (on or off)", u"Show Pickerlines"},
    {u"R (on or off)", u"Contrast ratio on the sample color in the hint"},
    {u"Escape", u"Close the picker window"},
}};

inline constexpr std::array<TShortcutText, 14> kSampleWindowShortcuts{{
    {u"+ or Scroll up", u"Window 10% bigger"},
    {u"- or Scroll down", u"Window 10% smaller"},
    {u"Ctrl + or Ctrl + Scroll up", u"Window horizontal 10% bigger"},
    {u"Ctrl - or Ctrl + Scroll down", u"Window horizontal 10% smaller"},
    {u"Shift - or Shift + Scroll up", u"Window vertical 10% bigger"},
    {u"Shift - or Shift + Scroll down", u"Window vertical 10% smaller"},
    {u"Ctrl + V", u"Paste in new text in sample window"},
    {u"Ctrl + S", u"Save Sample to File"},
    {u"Ctrl + O", u"Load new Sample Text from File"},
    {u"F7", u"Readable Text Color (AA)"},
    {u"Shift + F7", u"Readable Text Color (AAA)"},
    {u"F8", u"Next Color Vision (simulation)"},
    {u"Right-Click", u"Popup menu"},
    {u"Escape", u"Close the window"},
}};
// One row of the dialog's list and one group of rows under its header.
struct TShortcutRow {
    QString keys;
    QString action;
    friend bool operator==(const TShortcutRow&, const TShortcutRow&) = default;
};

struct TShortcutGroup {
    QString header;
    std::vector<TShortcutRow> rows;
    friend bool operator==(const TShortcutGroup&, const TShortcutGroup&) = default;
};

// The four groups in their order: main window, colour tuner, screen picker, sample window.
std::vector<TShortcutGroup> DefaultShortcutGroups();

// The rows of one table, for callers that assemble their own groups.
template <std::size_t N>
std::vector<TShortcutRow> ShortcutRows(const std::array<TShortcutText, N>& table) {
    std::vector<TShortcutRow> rows;
    rows.reserve(N);
    for (const TShortcutText& t : table)
        rows.push_back({QStringView(t.keys).toString(), QStringView(t.action).toString()});
    return rows;
}
